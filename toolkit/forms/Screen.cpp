#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"

TClass TScreen::StaticClass() {
  return DefineClass<TScreen>("TScreen", [](ClassBuilder<TScreen>&) {});
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* form = ActiveForm();
  return form != nullptr ? form->FocusedControl() : nullptr;
}
