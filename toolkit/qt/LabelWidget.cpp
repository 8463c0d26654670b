// The label's widget: its caption as shown, aligned and wrapped as the label says.

#include <QLabel>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

HWND TQtWidgetSet::CreateLabel(TLabel& Label, HWND Parent) {
  return Adopt(Label, new QLabel(ParentWidget(Parent)));
}

void TQtWidgetSet::ShowLabel(TLabel& Label) {
  auto* label = WidgetOf<QLabel>(&Label);
  label->setText(QString::fromStdString(Label.ShownCaption()));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(Label.WordWrap());
  Qt::Alignment alignment = Label.Alignment() == taRightJustify ? Qt::AlignRight
                            : Label.Alignment() == taCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
  alignment |= Label.Layout() == tlCenter   ? Qt::AlignVCenter
               : Label.Layout() == tlBottom ? Qt::AlignBottom
                                            : Qt::AlignTop;
  label->setAlignment(alignment);
  label->setAutoFillBackground(!Label.Transparent());
  // The control the label names is labelled by it for assistive technology, and called by its
  // caption unless it has a name of its own.
  TWinControl* named = Label.FocusControl();
  QWidget* buddy = named != nullptr ? WidgetOf<QWidget>(named) : nullptr;
  label->setBuddy(buddy);
  if (buddy != nullptr && named->AccessibleName().empty()) {
    SetAccessibleName(buddy, Label.ShownCaption());
  }
}
