#pragma once
// The display parts of the wizard's card picture area and greeting box area: a picture or GIF
// animation shown at its natural size, stretched over the part, or stretched keeping its
// proportions; the movie part; and the colour swatch.
#include <QFrame>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <string_view>
#include <vector>

#include "platform/color.h"

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

// The movie part: the media control has no picture of its own here, so the part shows the
// movie's area with its name and the play position.
class MoviePart : public QFrame {
  Q_OBJECT

 public:
  explicit MoviePart(QWidget* parent = nullptr);
  void SetMovie(const QString& name, int lengthMs);
  void SetPosition(int positionMs);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
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

// A platform colour as a Qt colour (system colours resolved).
QColor ToQColor(platform::Color colour);

}  // namespace ordinary_ui
