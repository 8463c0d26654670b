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

// Lines added while the field was hidden: they are shown when it is.
constexpr const char* kLinesBehind = "toolkitLinesBehind";

}  // namespace

HWND TQtWidgetSet::CreateRichEdit(TRichEdit& Edit, HWND Parent) {
  auto* edit = new QPlainTextEdit(ParentWidget(Parent));
  edit->setTabChangesFocus(true);
  new ShowWatcher(edit, [this, &Edit, edit] {
    if (!edit->property(kLinesBehind).toBool()) return;
    ShowRichEditLines(Edit);
    // Where the appends would have left the caret, and the view with it.
    edit->moveCursor(QTextCursor::End);
  });
  return Adopt(Edit, edit);
}

void TQtWidgetSet::ShowRichEditAppendedLine(TRichEdit& Edit, const std::string& Line) {
  auto* edit = WidgetOf<QPlainTextEdit>(&Edit);
  // Each line appended is laid out at once; a list nobody sees (an unattended run's, in its
  // hidden window) takes its lines in one go when it is shown, if ever.
  if (!edit->isVisible() || edit->property(kLinesBehind).toBool()) {
    edit->setProperty(kLinesBehind, true);
    return;
  }
  const QSignalBlocker block(edit);
  edit->appendPlainText(QString::fromStdString(Line));
}

void TQtWidgetSet::ShowRichEditLines(TRichEdit& Edit) {
  auto* edit = WidgetOf<QPlainTextEdit>(&Edit);
  edit->setProperty(kLinesBehind, false);
  const QSignalBlocker block(edit);
  edit->setPlainText(Joined(*Edit.Lines()));
}

void TQtWidgetSet::ShowRichEditOptions(TRichEdit& Edit) {
  auto* edit = WidgetOf<QPlainTextEdit>(&Edit);
  edit->setReadOnly(Edit.ReadOnly());
  edit->setLineWrapMode(Edit.WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  const TScrollStyle bars = Edit.ScrollBars();
  const bool horizontal = bars == ssHorizontal || bars == ssBoth;
  const bool vertical = bars == ssVertical || bars == ssBoth;
  edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}
