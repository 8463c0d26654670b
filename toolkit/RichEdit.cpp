#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "toolkit/ClassBuilder.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ControlProperties.h"
#include "toolkit/Exceptions.h"

namespace {

QPlainTextEdit* EditOf(const TRichEdit* edit) {
  return static_cast<QPlainTextEdit*>(FromHandle<QWidget>(edit->WindowHandle()));
}

QString Joined(const std::vector<std::string>& lines) {
  QString text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QString::fromStdString(lines[i]);
  }
  return text;
}

}  // namespace

TClass TRichEditStrings::StaticClass() {
  return DefineClass<TRichEditStrings>("TRichEditStrings", [](ClassBuilder<TRichEditStrings>&) {});
}

void TRichEditStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit) Error("List index out of bounds", Index);
}

std::string TRichEditStrings::Get(int Index) const {
  CheckIndex(Index, GetCount() - 1);
  return lines_[static_cast<std::size_t>(Index)];
}

void TRichEditStrings::Put(int Index, const std::string& S) {
  CheckIndex(Index, GetCount() - 1);
  lines_[static_cast<std::size_t>(Index)] = S;
  edit_->LinesChanged();
}

int TRichEditStrings::Add(const std::string& S) {
  lines_.push_back(S);
  if (UpdateCount() == 0) edit_->LineAppended(S);
  return GetCount() - 1;
}

void TRichEditStrings::Insert(int Index, const std::string& S) {
  CheckIndex(Index, GetCount());
  if (Index == GetCount()) {
    Add(S);
    return;
  }
  lines_.insert(lines_.begin() + Index, S);
  edit_->LinesChanged();
}

void TRichEditStrings::Delete(int Index) {
  CheckIndex(Index, GetCount() - 1);
  lines_.erase(lines_.begin() + Index);
  edit_->LinesChanged();
}

void TRichEditStrings::Clear() {
  lines_.clear();
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
  std::string text;
  for (const std::string& line : lines_->lines_)
    text += line + "\r\n";
  return text;
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
  if (QPlainTextEdit* edit = EditOf(this)) {
    const QSignalBlocker block(edit);
    edit->appendPlainText(QString::fromStdString(Line));
  }
  if (OnChange) OnChange(this);
}

void TRichEdit::LinesChanged() {
  if (lines_->UpdateCount() > 0) return;
  if (QPlainTextEdit* edit = EditOf(this)) {
    const QSignalBlocker block(edit);
    edit->setPlainText(Joined(lines_->lines_));
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
  QPlainTextEdit* edit = EditOf(this);
  const QSignalBlocker block(edit);
  edit->setPlainText(Joined(lines_->lines_));
  UpdateOptions();
}

void TRichEdit::UpdateOptions() {
  QPlainTextEdit* edit = EditOf(this);
  if (edit == nullptr) return;
  edit->setReadOnly(readOnly_);
  edit->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}
