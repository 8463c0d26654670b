#include <qdrawutil.h>
#include <QPainter>
#include <QWidget>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/ExtCtrls.h"

// Draws the panel's bevels and caption as the classic panel does.
class TPanelWidget : public QWidget {
 public:
  TPanelWidget(TCustomPanel* panel, QWidget* parent) : QWidget(parent), panel_(panel) {
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (panel_->WindowHandle() == nullptr) return;
    QPainter painter(this);
    QRect rect = this->rect();
    auto bevel = [&](TPanelBevel kind) {
      if (kind == bvNone) return;
      if (kind != bvSpace) {
        qDrawShadePanel(&painter, rect, palette(), kind == bvLowered, panel_->BevelWidth());
      }
      rect.adjust(panel_->BevelWidth(), panel_->BevelWidth(), -panel_->BevelWidth(),
                  -panel_->BevelWidth());
    };
    bevel(panel_->BevelOuter());
    rect.adjust(panel_->BorderWidth(), panel_->BorderWidth(), -panel_->BorderWidth(),
                -panel_->BorderWidth());
    bevel(panel_->BevelInner());
    const TAlignment alignment = panel_->Alignment();
    const int flags = Qt::AlignVCenter | (alignment == taLeftJustify    ? Qt::AlignLeft
                                          : alignment == taRightJustify ? Qt::AlignRight
                                                                        : Qt::AlignHCenter);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect, flags, QString::fromStdString(panel_->Caption()));
  }

 private:
  TCustomPanel* panel_;
};

HWND TQtWidgetSet::CreatePanel(TCustomPanel& Panel, HWND Parent) {
  return Adopt(Panel, new TPanelWidget(&Panel, ParentWidget(Parent)));
}
