#pragma once
// The movie an ordinary card can show instead of a picture, played into images that the window
// hands to its stage; and platform bitmaps as Qt images (and back) at the window's edge.
#include <QImage>
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/qt/qt_paint.h"

class QMediaPlayer;
class QVideoSink;
class QAudioOutput;

namespace ordinary_player_ui {

// A platform bitmap as a Qt image (32-bit bitmaps keep their alpha).
QImage ToQImage(const platform::Bitmap& bitmap);
// A Qt image as a 24-bit platform bitmap (null for a null image).
std::unique_ptr<platform::Bitmap> ToBitmap(const QImage& image);
using platform::ToQColor;

// A movie played without end into images of its frames.
class MoviePlayer : public QObject {
  Q_OBJECT

 public:
  // onFrame is called when a new frame is there.
  MoviePlayer(const std::string& path, std::function<void()> onFrame);
  ~MoviePlayer() override;
  void Play();
  void Stop();
  const QImage& Frame() const { return frame_; }

 private:
  QMediaPlayer* player_;
  QVideoSink* sink_;
  QAudioOutput* audio_;
  QImage frame_;
  std::function<void()> onFrame_;
};

}  // namespace ordinary_player_ui
