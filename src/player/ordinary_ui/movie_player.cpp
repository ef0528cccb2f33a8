#include "player/ordinary_ui/movie_player.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace ordinary_player_ui {

QImage ToQImage(const platform::Bitmap& bitmap) {
  std::unique_ptr<platform::Bitmap> converted;
  const platform::Bitmap* b = &bitmap;
  if (b->Format() == platform::PixelFormat::Indexed8) {
    converted = b->ConvertTo(platform::PixelFormat::Bgr24);
    if (!converted) return {};
    b = converted.get();
  }
  const bool alpha = b->Format() == platform::PixelFormat::Bgra32;
  QImage img(b->Width(), b->Height(), alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
  if (img.isNull()) return {};
  const size_t rowBytes = static_cast<size_t>(b->Width()) * (alpha ? 4 : 3);
  for (int y = 0; y < b->Height(); ++y) std::memcpy(img.scanLine(y), b->Row(y), rowBytes);
  return img;
}

std::unique_ptr<platform::Bitmap> ToBitmap(const QImage& image) {
  if (image.isNull()) return nullptr;
  const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
  auto out = platform::Bitmap::Create(rgb.width(), rgb.height(), platform::PixelFormat::Bgr24);
  if (!out) return nullptr;
  for (int y = 0; y < rgb.height(); ++y) std::memcpy(out->Row(y), rgb.constScanLine(y), static_cast<size_t>(rgb.width()) * 3);
  return out;
}

MoviePlayer::MoviePlayer(const std::string& path, std::function<void()> onFrame)
    : player_(new QMediaPlayer(this)),
      sink_(new QVideoSink(this)),
      audio_(new QAudioOutput(this)),
      onFrame_(std::move(onFrame)) {
  player_->setVideoSink(sink_);
  player_->setAudioOutput(audio_);
  player_->setLoops(QMediaPlayer::Infinite);
  player_->setSource(QUrl::fromLocalFile(QString::fromStdString(platform::paths::ToHost(path))));
  connect(sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
    QImage img = frame.toImage();
    if (img.isNull()) return;
    frame_ = std::move(img);
    if (onFrame_) onFrame_();
  });
}

MoviePlayer::~MoviePlayer() { player_->stop(); }

void MoviePlayer::Play() { player_->play(); }
void MoviePlayer::Stop() { player_->stop(); }

}  // namespace ordinary_player_ui
