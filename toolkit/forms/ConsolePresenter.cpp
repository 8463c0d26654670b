#include <ostream>

#include "toolkit/forms/Presenter.h"

int FirstButtonOf(std::int32_t Flags) {
  switch (Flags & 0x0F) {
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDYES;
    case MB_RETRYCANCEL:
      return IDRETRY;
    default:
      return IDOK;
  }
}

int TConsolePresenter::MessageBox(const TMessageBoxRequest& Request) {
  if (!Request.Caption.empty()) out_ << Request.Caption << ": ";
  out_ << Request.Text << '\n';
  out_.flush();
  return FirstButtonOf(Request.Flags);
}

bool TConsolePresenter::FileDialog(TFileDialogRequest&) {
  return false;
}

bool TConsolePresenter::BrowseForFolder(TBrowseDialog&) {
  return false;
}
