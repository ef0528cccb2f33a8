#pragma once
// TlmImageVcl on screen: a paint box that owns a layered image and copies its composed
// display image to the control on every paint event.
#include <QImage>
#include <QWidget>

#include "imaging/layered_image.h"

namespace imaging::ui {

// The 24-bit or 32-bit picture as a Qt image (alpha kept for 32-bit).
QImage ToQImage(const platform::Bitmap& bitmap);

class TlmImageVcl : public QWidget {
  Q_OBJECT
 public:
  explicit TlmImageVcl(QWidget* parent = nullptr);

  imaging::TlmImageVcl& Image() { return image_; }
  const imaging::TlmImageVcl& Image() const { return image_; }

  // Starts a new image; with AutoSize the control takes the image size.
  bool NewImageFromBitmap(const platform::Bitmap& source);
  bool AutoSize() const { return image_.AutoSize; }
  void SetAutoSize(bool on) { image_.AutoSize = on; }
  // Shows the composed image now (the callers redraw the image first).
  void PaintImage();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  imaging::TlmImageVcl image_;
};

}  // namespace imaging::ui
