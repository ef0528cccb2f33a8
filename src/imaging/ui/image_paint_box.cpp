#include "imaging/ui/image_paint_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <cstring>

namespace imaging::ui {

QImage ToQImage(const platform::Bitmap& bitmap) {
  using platform::PixelFormat;
  const int w = bitmap.Width(), h = bitmap.Height();
  if (bitmap.Format() == PixelFormat::Bgra32) {
    QImage out(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) std::memcpy(out.scanLine(y), bitmap.Row(y), static_cast<size_t>(w) * 4);
    return out;
  }
  QImage out(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    if (bitmap.Format() == PixelFormat::Bgr24) {
      const uint8_t* src = bitmap.Row(y);
      for (int x = 0; x < w; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
    } else {
      for (int x = 0; x < w; ++x) {
        platform::Color c = bitmap.PixelColor(x, y);
        dst[x] = qRgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
      }
    }
  }
  return out;
}

TlmImageVcl::TlmImageVcl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TlmImageVcl::NewImageFromBitmap(const platform::Bitmap& source) {
  bool ok = image_.NewImageFromBitmap(source);
  if (ok && image_.AutoSize) {
    setFixedSize(image_.ImageWidth(), image_.ImageHeight());
    updateGeometry();
  }
  update();
  return ok;
}

void TlmImageVcl::PaintImage() { repaint(); }

QSize TlmImageVcl::sizeHint() const {
  if (image_.ImageWidth() > 0) return QSize(image_.ImageWidth(), image_.ImageHeight());
  return QWidget::sizeHint();
}

void TlmImageVcl::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const platform::Bitmap* show = image_.ShowBmp();
  if (!image_.CanReDraw() || !show) {
    p.fillRect(event->rect(), palette().window());
    return;
  }
  // Only the clip rectangle is copied; outside the image the control shows its own colour.
  QRect clip = event->rect();
  QRect inImage = clip.intersected(QRect(0, 0, show->Width(), show->Height()));
  if (inImage != clip) p.fillRect(clip, palette().window());
  if (inImage.isEmpty()) return;
  QImage img(inImage.width(), inImage.height(), QImage::Format_RGB32);
  for (int y = 0; y < inImage.height(); ++y) {
    const uint8_t* src = show->Row(inImage.top() + y) + inImage.left() * 3;
    auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < inImage.width(); ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
  }
  p.drawImage(inImage.topLeft(), img);
}

}  // namespace imaging::ui
