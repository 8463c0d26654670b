// The rich edit's widget: a plain text field that shows the lines.

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/ComCtrls.h"

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

HWND TRichEdit::CreateWidget(HWND ParentWidget) {
  auto* edit = new QPlainTextEdit(FromHandle<QWidget>(ParentWidget));
  edit->setTabChangesFocus(true);
  return ToHandle<QWidget>(edit);
}

void TRichEdit::WidgetCreated() {
  inherited::WidgetCreated();
  ShowLines();
  UpdateOptions();
}

void TRichEdit::ShowAppendedLine(const std::string& Line) {
  if (QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this)) {
    const QSignalBlocker block(edit);
    edit->appendPlainText(QString::fromStdString(Line));
  }
}

void TRichEdit::ShowLines() {
  if (QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this)) {
    const QSignalBlocker block(edit);
    edit->setPlainText(Joined(*lines_));
  }
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
