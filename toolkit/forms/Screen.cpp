#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSet.h"
#include "toolkit/model/ClassBuilder.h"

TClass TScreen::StaticClass() {
  return DefineClass<TScreen>("TScreen", [](ClassBuilder<TScreen>&) {});
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* form = ActiveForm();
  return form != nullptr ? form->FocusedControl() : nullptr;
}

void TScreen::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  const TCursor previous = cursor_;
  cursor_ = Value;
  WidgetSet().ShowScreenCursor(previous, Value);
}

int TScreen::Width() const {
  return WidgetSet().ScreenSize().X;
}

int TScreen::Height() const {
  return WidgetSet().ScreenSize().Y;
}

TCustomForm* TScreen::ActiveForm() const {
  return WidgetSet().ActiveForm();
}
