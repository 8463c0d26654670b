#include "toolkit/qt/GlyphIcon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QStyle>

void ApplyGlyph(HWND Button, const TBitmap* Glyph, int NumGlyphs, int StandardIcon) {
  auto* button = static_cast<QAbstractButton*>(FromHandle<QWidget>(Button));
  if (button == nullptr) return;
  if (Glyph == nullptr || Glyph->Empty()) {
    button->setIcon(StandardIcon >= 0 ? button->style()->standardIcon(
                                            static_cast<QStyle::StandardPixmap>(StandardIcon))
                                      : QIcon());
    return;
  }
  const TBytes& data = Glyph->Data();
  QImage image = QImage::fromData(data.data(), static_cast<int>(data.size()), "BMP");
  if (image.isNull()) {
    button->setIcon(QIcon());
    return;
  }
  const int count = std::clamp(NumGlyphs, 1, 4);
  image = image.copy(0, 0, image.width() / count, image.height());
  QPixmap pixmap = QPixmap::fromImage(image);
  const QColor transparent = image.pixelColor(0, image.height() - 1);
  pixmap.setMask(pixmap.createMaskFromColor(transparent));
  button->setIcon(QIcon(pixmap));
  button->setIconSize(pixmap.size());
}
