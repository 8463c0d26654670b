#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"

TClass TRichEditStrings::StaticClass() {
  return DefineClass<TRichEditStrings>("TRichEditStrings", [](ClassBuilder<TRichEditStrings>&) {});
}

// A line added at the end is appended to the widget, which costs the same however long
// the list is; any other change rebuilds it.
void TRichEditStrings::LinesChanged(TLinesChange Change, int Index) {
  if (Change == TLinesChange::Inserted && Index == GetCount() - 1) {
    if (UpdateCount() == 0) edit_->LineAppended(Get(Index));
    return;
  }
  edit_->LinesChanged();
}

void TRichEditStrings::SetUpdateState(bool Updating) {
  if (!Updating) edit_->LinesChanged();
}

TClass TRichEdit::StaticClass() {
  return DefineClass<TRichEdit>("TRichEdit", [](ClassBuilder<TRichEdit>& c) {
    PublishControlProperties(c, {"Align", "Color", "Cursor", "Enabled", "Font"});
    c.Property("Lines", &TRichEdit::Lines, &TRichEdit::SetLines);
    PublishControlProperties(c, {"ParentColor", "ParentFont", "ParentShowHint", "Hint"});
    c.Property("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText).Default(false);
    c.Property("ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly).Default(false);
    c.Property("ScrollBars", &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars).Default(ssNone);
    PublishControlProperties(c, {"ShowHint", "TabOrder", "TabStop", "Visible"});
    c.Property("WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap).Default(true);
    c.Property("OnChange", &TRichEdit::OnChange);
    PublishControlProperties(c, {"OnEnter", "OnExit", "OnKeyDown", "OnKeyPress"});
  });
}

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner), lines_(new TRichEditStrings(this)) {
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 185, 89);
}

TRichEdit::~TRichEdit() {
  if (HandleAllocated()) DestroyView();
  delete lines_;
}

std::string TRichEdit::GetText() const {
  return lines_->Text();
}

void TRichEdit::SetTextValue(const std::string& Value) {
  lines_->SetText(Value);
}

void TRichEdit::SetReadOnly(bool Value) {
  readOnly_ = Value;
  UpdateOptions();
}

void TRichEdit::SetScrollBars(TScrollStyle Value) {
  scrollBars_ = Value;
  UpdateOptions();
}

void TRichEdit::SetWordWrap(bool Value) {
  wordWrap_ = Value;
  UpdateOptions();
}

void TRichEdit::LineAppended(const std::string& Line) {
  ShowAppendedLine(Line);
  if (OnChange) OnChange(this);
}

void TRichEdit::LinesChanged() {
  if (lines_->UpdateCount() > 0) return;
  ShowLines();
  if (OnChange) OnChange(this);
}

HWND TRichEdit::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateRichEdit(*this, ParentWidget);
}

void TRichEdit::WidgetCreated() {
  inherited::WidgetCreated();
  ShowLines();
  UpdateOptions();
}

void TRichEdit::ShowAppendedLine(const std::string& Line) {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowRichEditAppendedLine(*this, Line);
}

void TRichEdit::ShowLines() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowRichEditLines(*this);
}

void TRichEdit::UpdateOptions() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowRichEditOptions(*this);
}
