#include "maker/ordinary/ui/picture_part.h"

#include <QMouseEvent>
#include <QMediaPlayer>
#include <QPainter>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include "maker/transitions/ui/bitmap_image.h"
#include "maker/transitions/ui/gif_animation_widget.h"
#include "platform/gif_codec.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/qt/qt_text.h"

namespace ordinary_ui {

QSize FittedSize(QSize natural, QSize box, FitMode mode) {
  if (mode == FitMode::Natural || natural.isEmpty()) return natural;
  if (mode == FitMode::Stretch) return box;
  return natural.scaled(box, Qt::KeepAspectRatio);
}

PicturePart::PicturePart(QWidget* parent) : QWidget(parent) {
  connect(&timer_, &QTimer::timeout, this, &PicturePart::Advance);
  timer_.setSingleShot(true);
}

void PicturePart::LoadPicture(std::string_view path) {
  std::unique_ptr<platform::Bitmap> bitmap = platform::LoadPicture(path);
  Stop();
  frames_.assign(1, widgets::ToQImage(*bitmap));
  delays_.assign(1, 0);
  natural_ = frames_[0].size();
  current_ = 0;
  update();
}

void PicturePart::LoadAnimation(std::string_view path) {
  platform::GifAnimation animation = platform::LoadGifAnimation(path);
  std::vector<std::unique_ptr<platform::Bitmap>> composed = platform::ComposeGifFrames(animation);
  Stop();
  frames_.clear();
  delays_.clear();
  for (size_t i = 0; i < composed.size(); ++i) {
    frames_.push_back(widgets::ToQImage(*composed[i]));
    delays_.push_back(widgets::GifFrameDelayMs(animation.frames[i].delay));
  }
  natural_ = QSize(animation.width, animation.height);
  current_ = 0;
  update();
}

void PicturePart::Clear() {
  Stop();
  frames_.clear();
  delays_.clear();
  natural_ = QSize();
  current_ = 0;
  update();
}

void PicturePart::SetFit(FitMode mode) {
  fit_ = mode;
  update();
}

void PicturePart::Start() {
  if (frames_.size() > 1) timer_.start(delays_[static_cast<size_t>(current_)]);
}

void PicturePart::Stop() { timer_.stop(); }

void PicturePart::Advance() {
  if (frames_.empty()) return;
  current_ = (current_ + 1) % static_cast<int>(frames_.size());
  update();
  Start();
}

void PicturePart::paintEvent(QPaintEvent*) {
  if (frames_.empty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QImage& frame = frames_[static_cast<size_t>(current_)];
  p.drawImage(QRect(QPoint(0, 0), FittedSize(natural_, size(), fit_)), frame);
}

MoviePart::MoviePart(QWidget* parent) : QFrame(parent) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  pal.setColor(QPalette::WindowText, QColor(220, 220, 220));
  setPalette(pal);
}

MoviePart::~MoviePart() { Stop(); }

void MoviePart::SetMovie(const std::string& path, int lengthMs) {
  name_ = platform::ToQString(platform::paths::ExtractFileName(path));
  length_ = lengthMs;
  position_ = 0;
  frame_ = QImage();
  if (!player_) {
    player_ = new QMediaPlayer(this);
    sink_ = new QVideoSink(this);
    player_->setVideoSink(sink_);  // no audio output: the picture only
    player_->setLoops(QMediaPlayer::Infinite);
    connect(sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
      QImage image = frame.toImage();
      if (image.isNull()) return;
      frame_ = std::move(image);
      update();
    });
  }
  player_->setSource(QUrl::fromLocalFile(QString::fromStdString(platform::paths::ToHost(path))));
  update();
}

void MoviePart::Play() {
  if (player_) player_->play();
}

void MoviePart::Stop() {
  if (player_) player_->pause();
}

void MoviePart::SetPosition(int positionMs) {
  if (positionMs == position_) return;
  position_ = positionMs;
  update();
}

void MoviePart::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  if (!frame_.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), frame_);
    return;
  }
  p.setPen(palette().color(QPalette::WindowText));
  // A film strip's sprocket holes along the top and bottom, the name and the time in the middle.
  for (int x = 6; x < width(); x += 16) {
    p.fillRect(x, 4, 8, 6, QColor(90, 90, 90));
    p.fillRect(x, height() - 10, 8, 6, QColor(90, 90, 90));
  }
  auto time = [](int ms) {
    return QString("%1:%2").arg(ms / 60000, 2, 10, QChar('0')).arg(ms / 1000 % 60, 2, 10, QChar('0'));
  };
  p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
             name_ + "\n" + time(position_) + " / " + time(length_));
}

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::SetColour(platform::Color colour) {
  colour_ = colour;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  setPalette(pal);
  update();
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) setFrameShadow(QFrame::Sunken);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  setFrameShadow(QFrame::Raised);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace ordinary_ui
