#pragma once
// GifAnimationWidget: an animated GIF ("GIF 动画") as a Qt widget. The frames come from the
// platform GIF codec, composed as a player shows them (disposal methods followed), and each
// is held for its own delay. The animation loops for ever; a one-frame GIF is a still picture.
//
// Use:
//   auto* gif = new widgets::GifAnimationWidget(parent);
//   if (!gif->LoadFile(path)) ...          // false: not a readable GIF (the widget stays empty)
//   gif->SetStretch(!autoSize);            // stretched to the widget, or natural size at (0, 0)
//   gif->setGeometry(...);  gif->Start();
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gif_codec.h"

namespace widgets {

// The time a frame stays on show: its delay in hundredths of a second, and 100 ms for the
// delays 0 and 1 that many GIFs carry to mean "as fast as the player likes".
int GifFrameDelayMs(int hundredths);

class GifAnimationWidget : public QWidget {
  Q_OBJECT

 public:
  explicit GifAnimationWidget(QWidget* parent = nullptr);

  // Loads a GIF file (system path); false when it cannot be read or decoded, in which case
  // the widget shows nothing. A non-GIF picture (JPEG, BMP, ...) is shown as one still frame.
  bool LoadFile(std::string_view path);
  void SetAnimation(const platform::GifAnimation& animation);
  void Clear();

  void SetStretch(bool stretch);
  bool Stretch() const { return stretch_; }
  QSize NaturalSize() const { return natural_; }

  int FrameCount() const { return static_cast<int>(frames_.size()); }
  int CurrentFrame() const { return current_; }
  int DelayMs(int frame) const;
  const QImage& FrameImage(int frame) const { return frames_[static_cast<size_t>(frame)]; }
  void ShowFrame(int frame);

  // Starts or stops the animation (a still picture never starts its timer).
  void Start();
  void Stop();
  bool IsRunning() const { return timer_.isActive(); }
  // Moves on to the next frame (the timer calls this).
  void Advance();

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::vector<QImage> frames_;
  std::vector<int> delays_;
  QSize natural_;
  int current_ = 0;
  bool stretch_ = true;
  bool wanted_ = false;  // Start was called: keep running across reloads
  QTimer timer_;
};

}  // namespace widgets
