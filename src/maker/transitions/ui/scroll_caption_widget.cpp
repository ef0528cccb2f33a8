#include "maker/transitions/ui/scroll_caption_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "maker/transitions/ui/bitmap_image.h"

namespace widgets {

ScrollCaptionWidget::ScrollCaptionWidget(QWidget* parent) : QWidget(parent) {
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, &ScrollCaptionWidget::Tick);
}

void ScrollCaptionWidget::SetLook(document::CaptionLook look) {
  look.width = width();
  look.height = height();
  scroller_.SetLook(std::move(look));
  Redraw();
}

void ScrollCaptionWidget::SetInterval(int ms) { timer_.setInterval(std::max(ms, 1)); }

void ScrollCaptionWidget::Start() { timer_.start(); }

void ScrollCaptionWidget::Stop() { timer_.stop(); }

void ScrollCaptionWidget::Tick() {
  // The timer pauses while a frame is drawn, as the caption's own timer does.
  const bool running = timer_.isActive();
  timer_.stop();
  SyncSize();
  if (auto frame = scroller_.Tick()) frame_ = ToQImage(*frame);
  update();
  if (running) timer_.start();
}

void ScrollCaptionWidget::Redraw() {
  SyncSize();
  if (auto frame = scroller_.Frame()) frame_ = ToQImage(*frame);
  update();
}

void ScrollCaptionWidget::resizeEvent(QResizeEvent*) {
  if (SyncSize()) Redraw();
}

// The caption's lines follow the widget's width; a hidden widget gets its resize events
// only when shown, so every drawing checks the size itself.
bool ScrollCaptionWidget::SyncSize() {
  document::CaptionLook look = scroller_.Look();
  if (look.width == width() && look.height == height()) return false;
  look.width = width();
  look.height = height();
  scroller_.SetLook(std::move(look));
  return true;
}

void ScrollCaptionWidget::paintEvent(QPaintEvent*) {
  if (frame_.isNull()) return;
  QPainter p(this);
  p.drawImage(rect(), frame_);  // stretched, should the widget and frame sizes differ
}

void ScrollCaptionWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
}

}  // namespace widgets
