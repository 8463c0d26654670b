// The widget set of programs that show nothing. A control's window is a token that names the
// control: the controls go through the states they go through with widgets (windows made with
// their parents, freed before them), while nothing is drawn and nothing holds state but the
// controls themselves. What a widget would report back (a combo box's text and selection) is
// the control's own, and the focus is the form's focused control. Nothing waits for input, and
// the presenter tells message boxes on standard error (the contract's defaults).

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "toolkit/forms/WidgetSet.h"

struct HWND__ {
  TControl* Control;  // null for the application's own window
};

namespace {

class TWindowlessWidgetSet final : public TWidgetSet {
 public:
  HWND CreatePlainWindow(TControl& Control, HWND) override { return new HWND__{&Control}; }

  HWND CreateApplicationWindow(TApplication&) override { return new HWND__{nullptr}; }

  // A window that goes takes the calls posted to it along.
  void DestroyWindow(HWND Window) override {
    std::erase_if(posted_, [Window](const Posted& call) { return call.Window == Window; });
    delete Window;
  }

  TControl* FindControl(HWND Window) override { return Window->Control; }

  // Text is measured in an average glyph half as wide as the font's pixel size is high, and a
  // line as high as that size and a little leading: steady figures for forms nobody sees.
  TPoint TextExtent(const TFont& Font, const std::string& Text) override {
    const int pixels = Font.PixelSize();
    const auto glyphs = std::count_if(Text.begin(), Text.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return {static_cast<int>(glyphs) * pixels / 2, pixels + pixels / 4};
  }

  void PostToWindow(HWND Window, std::function<void()> Call) override {
    posted_.push_back({Window, std::move(Call)});
  }

  // One at a time from the list itself: a call may free windows (and their calls) or post more.
  void RunPostedCalls() override {
    while (!posted_.empty()) {
      const std::function<void()> call = std::move(posted_.front().Call);
      posted_.erase(posted_.begin());
      call();
    }
  }

  bool Focused(const TWinControl& Control) override {
    const TCustomForm* form = GetParentForm(&Control);
    return form != nullptr && form->FocusedControl() == &Control;
  }

  void SetFocus(TWinControl& Control) override {
    if (TCustomForm* form = GetParentForm(&Control)) form->SetFocusedControl(&Control);
  }

 private:
  struct Posted {
    HWND Window;
    std::function<void()> Call;
  };
  std::vector<Posted> posted_;
};

}  // namespace

TWidgetSet& WidgetSet() {
  static TWindowlessWidgetSet widgets;
  return widgets;
}
