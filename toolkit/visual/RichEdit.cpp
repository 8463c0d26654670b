#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ControlProperties.h"

namespace {

QString Joined(const TStrings& lines) {
  QString text;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QString::fromStdString(lines.Strings(i));
  }
  return text;
}

}  // namespace

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
  if (QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this)) {
    const QSignalBlocker block(edit);
    edit->appendPlainText(QString::fromStdString(Line));
  }
  if (OnChange) OnChange(this);
}

void TRichEdit::LinesChanged() {
  if (lines_->UpdateCount() > 0) return;
  if (QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this)) {
    const QSignalBlocker block(edit);
    edit->setPlainText(Joined(*lines_));
  }
  if (OnChange) OnChange(this);
}

HWND TRichEdit::CreateWidget(HWND ParentWidget) {
  auto* edit = new QPlainTextEdit(FromHandle<QWidget>(ParentWidget));
  edit->setTabChangesFocus(true);
  return ToHandle<QWidget>(edit);
}

void TRichEdit::WidgetCreated() {
  inherited::WidgetCreated();
  QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this);
  const QSignalBlocker block(edit);
  edit->setPlainText(Joined(*lines_));
  UpdateOptions();
}

void TRichEdit::UpdateOptions() {
  QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this);
  if (edit == nullptr) return;
  edit->setReadOnly(readOnly_);
  edit->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}
