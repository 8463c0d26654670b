// The label's widget: its caption as shown, aligned and wrapped as the label says.

#include <QLabel>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

HWND TLabel::CreateWidget(HWND ParentWidget) {
  return ToHandle<QWidget>(new QLabel(FromHandle<QWidget>(ParentWidget)));
}

void TLabel::WidgetCreated() {
  inherited::WidgetCreated();
  UpdateLabel();
}

void TLabel::UpdateLabel() {
  auto* label = WidgetOf<QLabel>(this);
  if (label == nullptr) return;
  label->setText(QString::fromStdString(ShownCaption()));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(wordWrap_);
  Qt::Alignment alignment = alignment_ == taRightJustify ? Qt::AlignRight
                            : alignment_ == taCenter     ? Qt::AlignHCenter
                                                         : Qt::AlignLeft;
  alignment |= layout_ == tlCenter   ? Qt::AlignVCenter
               : layout_ == tlBottom ? Qt::AlignBottom
                                     : Qt::AlignTop;
  label->setAlignment(alignment);
  label->setAutoFillBackground(!transparent_);
}
