#pragma once
// The display parts of the wizard's card picture area and greeting box area: a picture or GIF
// animation shown at its natural size, stretched over the part, or stretched keeping its
// proportions; the movie part; and the colour swatch.
#include <QFrame>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/qt/qt_paint.h"

class QMediaPlayer;
class QVideoSink;

namespace ordinary_ui {

enum class FitMode { Natural, Stretch, Proportional };

// The size a picture of natural size takes in a box under a fit mode (Proportional fits the
// whole picture in, keeping its aspect).
QSize FittedSize(QSize natural, QSize box, FitMode mode);

class PicturePart : public QWidget {
  Q_OBJECT

 public:
  explicit PicturePart(QWidget* parent = nullptr);

  // A still picture (first frame of a GIF); raises the platform's errors when it cannot be read.
  void LoadPicture(std::string_view path);
  // Every frame of a GIF animation; raises the platform's errors when it cannot be read.
  void LoadAnimation(std::string_view path);
  void Clear();
  bool Empty() const { return frames_.empty(); }
  QSize NaturalSize() const { return natural_; }
  int FrameCount() const { return static_cast<int>(frames_.size()); }

  void SetFit(FitMode mode);
  FitMode Fit() const { return fit_; }
  void Start();
  void Stop();
  bool Running() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Advance();
  std::vector<QImage> frames_;
  std::vector<int> delays_;
  QSize natural_;
  int current_ = 0;
  FitMode fit_ = FitMode::Natural;
  QTimer timer_;
};

// The movie part: the movie's pictures stretched over the part, looping, without sound (the
// media control plays the movie's sound). Where the host cannot decode the movie, the part
// shows the movie's name and the media control's play position instead.
class MoviePart : public QFrame {
  Q_OBJECT

 public:
  explicit MoviePart(QWidget* parent = nullptr);
  ~MoviePart() override;
  // path: a system path; lengthMs as the media control measured it.
  void SetMovie(const std::string& path, int lengthMs);
  void SetPosition(int positionMs);
  void Play();
  void Stop();
  bool HasPicture() const { return !frame_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QMediaPlayer* player_ = nullptr;
  QVideoSink* sink_ = nullptr;
  QImage frame_;
  QString name_;
  int length_ = 0;
  int position_ = 0;
};

// A colour swatch ("背景色:", "窗体背景色:"): a bevelled panel in its colour, lowered while
// pressed with any button but the right one.
class ColorSwatch : public QFrame {
  Q_OBJECT

 public:
  explicit ColorSwatch(QWidget* parent = nullptr);
  void SetColour(platform::Color colour);
  platform::Color Colour() const { return colour_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  platform::Color colour_ = 0;
};

using platform::ToQColor;

}  // namespace ordinary_ui
