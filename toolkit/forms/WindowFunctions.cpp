#include "toolkit/forms/WindowFunctions.h"

#include "toolkit/forms/BrowseDialog.h"

bool GetWindowRect(HWND Wnd, TRect* Rect) {
  const TBrowseDialog* dialog = TBrowseDialog::Find(Wnd);
  if (dialog == nullptr || Rect == nullptr) return false;
  *Rect = dialog->WindowRect();
  return true;
}

bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool) {
  TBrowseDialog* dialog = TBrowseDialog::Find(Wnd);
  if (dialog == nullptr) return false;
  // The toolkit's windows paint themselves when moved; Repaint asks for nothing more.
  dialog->MoveTo({X, Y, X + Width, Y + Height});
  return true;
}

std::intptr_t SendMessageA(HWND Wnd, std::uint32_t Msg, std::intptr_t WParam,
                           std::intptr_t LParam) {
  TBrowseDialog* dialog = TBrowseDialog::Find(Wnd);
  return dialog != nullptr ? dialog->Perform(Msg, WParam, LParam) : 0;
}
