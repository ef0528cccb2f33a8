#include "maker/transitions/ui/gif_animation_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "maker/transitions/ui/bitmap_image.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace widgets {

int GifFrameDelayMs(int hundredths) { return hundredths <= 1 ? 100 : hundredths * 10; }

GifAnimationWidget::GifAnimationWidget(QWidget* parent) : QWidget(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &GifAnimationWidget::Advance);
}

bool GifAnimationWidget::LoadFile(std::string_view path) {
  try {
    const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
    if (ext == ".gif") {
      SetAnimation(platform::LoadGifAnimation(path));
      return true;
    }
    auto still = platform::LoadPicture(path);
    if (!still) throw platform::LoadError("no picture");
    Clear();
    frames_.push_back(ToQImage(*still));
    delays_.push_back(0);
    natural_ = frames_.front().size();
    update();
    return true;
  } catch (const platform::Error&) {
    Clear();
    return false;
  }
}

void GifAnimationWidget::SetAnimation(const platform::GifAnimation& animation) {
  Clear();
  auto composed = platform::ComposeGifFrames(animation);
  for (size_t i = 0; i < composed.size(); ++i) {
    frames_.push_back(ToQImage(*composed[i]));
    delays_.push_back(i < animation.frames.size() ? animation.frames[i].delay : 0);
  }
  natural_ = QSize(animation.width, animation.height);
  if (wanted_) Start();
  update();
}

void GifAnimationWidget::Clear() {
  timer_.stop();
  frames_.clear();
  delays_.clear();
  natural_ = {};
  current_ = 0;
  update();
}

void GifAnimationWidget::SetStretch(bool stretch) {
  stretch_ = stretch;
  update();
}

int GifAnimationWidget::DelayMs(int frame) const {
  if (frame < 0 || frame >= FrameCount()) return 0;
  return GifFrameDelayMs(delays_[static_cast<size_t>(frame)]);
}

void GifAnimationWidget::ShowFrame(int frame) {
  if (frame < 0 || frame >= FrameCount()) return;
  current_ = frame;
  update();
}

void GifAnimationWidget::Start() {
  wanted_ = true;
  if (FrameCount() > 1) timer_.start(DelayMs(current_));
}

void GifAnimationWidget::Stop() {
  wanted_ = false;
  timer_.stop();
}

void GifAnimationWidget::Advance() {
  if (FrameCount() == 0) return;
  current_ = (current_ + 1) % FrameCount();
  update();
  if (wanted_ && FrameCount() > 1) timer_.start(DelayMs(current_));
}

void GifAnimationWidget::paintEvent(QPaintEvent*) {
  if (frames_.empty()) return;
  QPainter p(this);
  const QImage& img = frames_[static_cast<size_t>(current_)];
  if (stretch_) {
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rect(), img);
  } else {
    p.drawImage(0, 0, img);
  }
}

void GifAnimationWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
}

}  // namespace widgets
