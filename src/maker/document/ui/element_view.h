#pragma once
// One element's control on the card panel: a transparent word-wrapping label, a flat button,
// an image (stretched or at natural size), an animated GIF, the sound icon, the Flash
// placeholder, the scrolling caption or the picture show box. Every control shows the move
// cursor and the element's shown name as tooltip, and hands its mouse events (left button
// only) to the canvas.
#include <QFont>
#include <QImage>
#include <QWidget>
#include <memory>
#include <string>

#include "maker/document/card_document.h"
#include "platform/bitmap.h"
#include "platform/font_spec.h"
#include "platform/qt/qt_paint.h"

namespace widgets {
class GifAnimationWidget;
class ScrollCaptionWidget;
class PicShowBoxWidget;
}  // namespace widgets

namespace designer {

class DesignCanvas;

using platform::ToQColor;
using platform::ToQFont;
// The program's own 32 x 32 sound icon and 28 x 28 Flash placeholder.
const QImage& SoundIcon();
const QImage& FlashPlaceholder();

class ElementView : public QWidget {
  Q_OBJECT

 public:
  ElementView(DesignCanvas& canvas, document::CardDocument& doc, document::ElementRef ref, QWidget* parent);
  ~ElementView() override;

  document::ElementRef Ref() const { return ref_; }
  // Takes the element's rectangle and tooltip from the document.
  void SyncGeometry();
  // Takes everything the control shows from the document (reloads a changed picture).
  void Refresh();

  widgets::GifAnimationWidget* Gif() const { return gif_; }
  widgets::ScrollCaptionWidget* Caption() const { return caption_; }
  widgets::PicShowBoxWidget* Pics() const { return pics_; }
  // The image control's loaded picture (null when none).
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const document::ElementControl* Control() const;

  DesignCanvas& canvas_;
  document::CardDocument& doc_;
  document::ElementRef ref_;
  bool pressed_ = false;
  QImage picture_;
  std::string loaded_;  // the picture file now loaded
  std::shared_ptr<const platform::Bitmap> captionPicture_;
  widgets::GifAnimationWidget* gif_ = nullptr;
  widgets::ScrollCaptionWidget* caption_ = nullptr;
  widgets::PicShowBoxWidget* pics_ = nullptr;
};

}  // namespace designer
