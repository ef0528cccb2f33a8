#pragma once
// TlmPics, the picture show box: a rectangle that shows its pictures one after another and
// changes to the next one with a transition every interval. The owner places it, fills its
// pictures and settings, and calls PaintFrame from its paint event; the box draws on the
// owner's surface through a canvas in box coordinates. A hidden timer drives the changes.
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "maker/transitions/pic_movie.h"
#include "platform/bitmap.h"
#include "platform/color.h"

namespace transitions {

// The identifier of the box's one timer on its hidden window.
constexpr int kPicsTimerId = 1000;

// The hidden timer window: a repeating message timer. The window programs run it on their
// event loop; tests fire it by hand.
class PicsTimer {
 public:
  virtual ~PicsTimer() = default;
  // (Re)starts the timer with the period; onFire runs on every tick until Stop.
  virtual void Start(int intervalMs, std::function<void()> onFire) = 0;
  virtual void Stop() = 0;
};

// The timer period for "每隔 n 秒更换一幅图像": n × 1000 ms, with n taken as at least one second
// (a period of 0 would fire without pause) and small enough that the product fits an int.
int ShowBoxIntervalMs(long long seconds);

class TlmPics {
 public:
  // The frame on show starts as a plain 24-bit bitmap of the screen's size.
  TlmPics(std::unique_ptr<PicsTimer> timer, int screenWidth, int screenHeight);
  ~TlmPics();
  TlmPics(const TlmPics&) = delete;
  TlmPics& operator=(const TlmPics&) = delete;

  // Published settings, written directly by the owner.
  bool RandomPic = false;
  int OnlyUseXGID = 0;  // 0 (or less): a random effect per change; 1..196: always this one

  void SetBounds(int left, int top, int width, int height);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The owner's surface in box coordinates (it clips to the box); null draws nowhere.
  void SetCanvas(TransitionCanvas* canvas) { canvas_ = canvas; }

  // Replaces the pictures, freeing the old ones. A change in progress ends at once: its
  // remaining steps are not drawn and the frame it composed becomes the frame on show.
  void SetPictures(std::vector<std::unique_ptr<platform::Bitmap>> pictures);
  int PictureCount() const { return static_cast<int>(pictures_.size()); }

  void SetBkColor(platform::Color c);
  // Stores the interval and restarts the timer: the next change comes one interval later.
  void SetInterval(int ms);
  // Changes to the next picture with a transition; does nothing without pictures.
  void NextPic();
  // NextPic in two halves, for an owner that draws the steps on its own clock. BeginChange
  // stops the timer, chooses the picture and the effect and composes both frames; it answers
  // the effect (0 without pictures: nothing begins). The owner then draws steps 1..100 with
  // Engine().DrawStep and calls EndChange, which shows the new frame and restarts the timer.
  int BeginChange();
  void EndChange();
  // Draws the frame on show centred in the box; nothing while a transition is drawn.
  void PaintFrame();
  // Stops the timer; the frame on show stays.
  void StopPics();

  int Current() const { return current_; }
  int Last() const { return last_; }
  int Interval() const { return interval_; }
  bool Showing() const { return showing_; }
  bool FirstPaint() const { return firstPaint_; }
  int LastEffect() const { return lastEffect_; }  // the EffectID of the latest change
  const platform::Bitmap* FrameOnShow() const { return engine_->NewFrame(); }
  TlmPicMovieunit& Engine() { return *engine_; }
  void SeedRandom(uint32_t seed);

 private:
  int ChoosePicture();
  int ChooseEffect();

  std::unique_ptr<TlmPicMovieunit> engine_;
  std::unique_ptr<PicsTimer> timer_;
  std::vector<std::unique_ptr<platform::Bitmap>> pictures_;
  TransitionCanvas* canvas_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int current_ = -1, last_ = -1;
  int interval_ = 0;
  int lastEffect_ = 0;
  bool showing_ = true, firstPaint_ = true;
  // A change checks these after every round of pending messages: the box may have been
  // destroyed, or its pictures reloaded or another change begun, by a handler.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  uint64_t changeSerial_ = 0;
  std::mt19937 rng_;
};

}  // namespace transitions
