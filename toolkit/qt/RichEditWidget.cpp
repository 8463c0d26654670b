// The rich edit's widget: a plain text field that shows the lines.

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/qt/ShowWatcher.h"
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
  new ShowWatcher(edit, [this, edit] {
    if (!linesBehind_) return;
    ShowLines();
    // Where the appends would have left the caret, and the view with it.
    edit->moveCursor(QTextCursor::End);
  });
  return ToHandle<QWidget>(edit);
}

void TRichEdit::WidgetCreated() {
  inherited::WidgetCreated();
  ShowLines();
  UpdateOptions();
}

void TRichEdit::ShowAppendedLine(const std::string& Line) {
  QPlainTextEdit* edit = WidgetOf<QPlainTextEdit>(this);
  if (edit == nullptr) return;
  // Each line appended is laid out at once; a list nobody sees (an unattended run's, in its
  // hidden window) takes its lines in one go when it is shown, if ever.
  if (!edit->isVisible() || linesBehind_) {
    linesBehind_ = true;
    return;
  }
  const QSignalBlocker block(edit);
  edit->appendPlainText(QString::fromStdString(Line));
}

void TRichEdit::ShowLines() {
  linesBehind_ = false;
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
