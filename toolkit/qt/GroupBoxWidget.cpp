// The group box's widget: a frame with the caption as its title.

#include <QGroupBox>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

HWND TQtWidgetSet::CreateGroupBox(TGroupBox& Box, HWND Parent) {
  return Adopt(Box, new QGroupBox(ParentWidget(Parent)));
}

void TQtWidgetSet::ShowGroupBoxCaption(TGroupBox& Box) {
  WidgetOf<QGroupBox>(&Box)->setTitle(QString::fromStdString(Box.Caption()));
}
