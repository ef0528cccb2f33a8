#pragma once
// The pictures the ordinary card player draws: a still picture, or a GIF animation that runs
// by its frame delays; a movie played into images; and the greeting text drawn as the
// greeting label draws it. Pictures are read through the platform's decoders.
#include <QImage>
#include <QObject>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "maker/ordinary/ordinary_settings.h"
#include "platform/bitmap.h"
#include "platform/qt/qt_paint.h"

class QMediaPlayer;
class QVideoSink;
class QAudioOutput;

namespace ordinary_player_ui {

// A platform bitmap as a Qt image (32-bit bitmaps keep their alpha).
QImage ToQImage(const platform::Bitmap& bitmap);
using platform::ToQColor;

// The rectangle in which a picture of size picture, scaled to fit box keeping its proportions,
// is drawn centred in the box.
QRect ProportionalRect(QSize picture, QSize box);

class CardPicture {
 public:
  // Reads a picture file (a ".gif" as an animation); an unreadable file gives an empty picture
  // and its error in Error().
  explicit CardPicture(const std::string& path);

  bool Empty() const { return frames_.empty(); }
  bool Animated() const { return frames_.size() > 1; }
  const std::string& Error() const { return error_; }
  QSize Size() const;
  const QImage& Current() const;
  int FrameIndex() const { return index_; }
  // Moves to the frame due at nowMs (the first call starts the clock); true when it changed.
  bool Advance(int64_t nowMs);

 private:
  std::vector<QImage> frames_;
  std::vector<int> delays_;  // ms
  std::string error_;
  int index_ = 0;
  int64_t frameStart_ = -1;
};

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

// The greeting text broken into lines for the greeting label's width, in the greeting font,
// drawn transparent, one line under the other at the height of "a" in that font.
class GreetingText {
 public:
  GreetingText(const ordinary::OrdinarySettings& settings, int labelWidth);
  int LineHeight() const { return lineHeight_; }
  int LineCount() const { return static_cast<int>(lines_.size()); }
  const std::vector<std::string>& Lines() const { return lines_; }
  // All lines: labelWidth wide, LineCount() x LineHeight() high, transparent around the glyphs.
  const QImage& Image() const { return image_; }

 private:
  std::vector<std::string> lines_;
  int lineHeight_ = 0;
  QImage image_;
};

}  // namespace ordinary_player_ui
