#include "player/ordinary_ui/card_picture.h"

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

QRect ProportionalRect(QSize picture, QSize box) {
  if (picture.width() <= 0 || picture.height() <= 0) return QRect(QPoint(0, 0), box);
  int w, h;
  if (static_cast<int64_t>(picture.width()) * box.height() > static_cast<int64_t>(picture.height()) * box.width()) {
    w = box.width();
    h = static_cast<int>(std::lround(static_cast<double>(box.width()) * picture.height() / picture.width()));
  } else {
    h = box.height();
    w = static_cast<int>(std::lround(static_cast<double>(box.height()) * picture.width() / picture.height()));
  }
  return QRect((box.width() - w) / 2, (box.height() - h) / 2, w, h);
}

CardPicture::CardPicture(const std::string& path) {
  if (path.empty()) return;
  try {
    if (platform::AsciiLower(platform::paths::ExtractFileExt(path)) == ".gif") {
      platform::GifAnimation gif = platform::LoadGifAnimation(path);
      std::vector<std::unique_ptr<platform::Bitmap>> composed = platform::ComposeGifFrames(gif);
      for (size_t i = 0; i < composed.size(); ++i) {
        frames_.push_back(ToQImage(*composed[i]));
        // Browsers and the platform's animation control run delays under 20 ms at 100 ms.
        int delay = i < gif.frames.size() ? gif.frames[i].delay * 10 : 100;
        delays_.push_back(delay < 20 ? 100 : delay);
      }
    } else {
      std::unique_ptr<platform::Bitmap> bmp = platform::LoadPicture(path);
      if (bmp) {
        frames_.push_back(ToQImage(*bmp));
        delays_.push_back(0);
      }
    }
  } catch (const std::exception& e) {
    frames_.clear();
    delays_.clear();
    error_ = e.what();
  }
}

QSize CardPicture::Size() const { return frames_.empty() ? QSize() : frames_.front().size(); }

const QImage& CardPicture::Current() const {
  static const QImage kNone;
  return frames_.empty() ? kNone : frames_[static_cast<size_t>(index_)];
}

bool CardPicture::Advance(int64_t nowMs) {
  if (frames_.size() < 2) return false;
  if (frameStart_ < 0) {
    frameStart_ = nowMs;
    return false;
  }
  bool changed = false;
  // Catch up frame by frame, but never loop more than once per call after a long pause.
  for (size_t n = 0; n < frames_.size() && nowMs - frameStart_ >= delays_[static_cast<size_t>(index_)]; ++n) {
    frameStart_ += delays_[static_cast<size_t>(index_)];
    index_ = (index_ + 1) % static_cast<int>(frames_.size());
    changed = true;
  }
  if (nowMs - frameStart_ >= delays_[static_cast<size_t>(index_)]) frameStart_ = nowMs;
  return changed;
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

GreetingText::GreetingText(const ordinary::OrdinarySettings& s, int labelWidth) {
  platform::FontSpec fontSpec;
  fontSpec.name = s.boxFontName;
  fontSpec.size = s.boxFontSize > 0 ? s.boxFontSize : 9;
  fontSpec.bold = s.boxFontBold;
  fontSpec.italic = s.boxFontItalic;
  fontSpec.underline = s.boxFontUnderline;
  fontSpec.strikeOut = s.boxFontStrikeOut;
  fontSpec.color = s.boxFontColor;
  std::shared_ptr<platform::fonts::Font> font = platform::fonts::Font::Create(fontSpec);
  if (!font) return;
  lineHeight_ = std::max(1, font->Measure("a").height);
  lines_ = platform::fonts::WrapText(*font, s.boxWord, std::max(1, labelWidth));
  const int width = std::max(1, labelWidth);
  const int height = std::max(1, lineHeight_ * LineCount());
  std::unique_ptr<platform::Bitmap> work = platform::Bitmap::Create(width, height, platform::PixelFormat::Bgra32);
  if (!work) return;
  work->Fill(0, 0);
  for (size_t i = 0; i < lines_.size(); ++i) {
    font->Draw(*work, 0, static_cast<int>(i) * lineHeight_, lines_[i], platform::ResolveColor(fontSpec.color));
  }
  image_ = ToQImage(*work);
}

}  // namespace ordinary_player_ui
