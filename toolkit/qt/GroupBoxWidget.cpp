// The group box's widget: a frame with the caption as its title.

#include <QGroupBox>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

HWND TGroupBox::CreateWidget(HWND ParentWidget) {
  return ToHandle<QWidget>(new QGroupBox(FromHandle<QWidget>(ParentWidget)));
}

void TGroupBox::WidgetCreated() {
  inherited::WidgetCreated();
  auto* box = WidgetOf<QGroupBox>(this);
  box->setTitle(QString::fromStdString(Caption()));
}

void TGroupBox::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (auto* box = WidgetOf<QGroupBox>(this)) {
    box->setTitle(QString::fromStdString(Caption()));
  }
}
