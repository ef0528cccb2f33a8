#pragma once
// The transition engine: composes the picture on show and the next picture into two frames of
// the display size, then draws any of the 196 effects (EffectID 1..196) one step (1..100) at a
// time. Each step builds a whole work image from the two frames and hands it to the target in
// one piece, so a target never shows a half-drawn step.
#include <cstdint>
#include <memory>
#include <random>

#include "platform/bitmap.h"
#include "platform/color.h"

namespace transitions {

constexpr int kEffectCount = 196;
constexpr int kStepCount = 100;

// Where a step lands: the show box's surface in the programs, a bitmap in tools and tests.
class TransitionCanvas {
 public:
  virtual ~TransitionCanvas() = default;
  // Draws image unscaled with its top-left corner at (x, y); the canvas clips to its extent.
  virtual void DrawImage(const platform::Bitmap& image, int x, int y) = 0;
};

// A canvas over a 24-bit bitmap.
class BitmapCanvas : public TransitionCanvas {
 public:
  explicit BitmapCanvas(platform::Bitmap& target) : target_(target) {}
  void DrawImage(const platform::Bitmap& image, int x, int y) override;
  int draws = 0;  // how many images reached the target

 private:
  platform::Bitmap& target_;
};

class TlmPicMovieunit {
 public:
  TlmPicMovieunit();
  ~TlmPicMovieunit();

  // Set before PrepareFrames: the colour around pictures that do not fill the frame.
  void SetBkColor(platform::Color c) { bkColor_ = c; }
  platform::Color BkColor() const { return bkColor_; }

  // Builds the old and new frames (width x height, 24-bit) from the picture on show and the
  // next picture, each fitted, centred and resampled. Earlier frames are released first.
  // Pictures of any pixel format are accepted; a null or empty picture leaves its frame plain.
  void PrepareFrames(const platform::Bitmap* onShow, const platform::Bitmap* next, int width, int height);

  // Draws step (1..100) of effect (1..196) onto the target at (0, 0). Out-of-range steps or
  // effects, or frames not prepared, draw nothing.
  void DrawStep(int step, TransitionCanvas& target, int effect);

  const platform::Bitmap* OldFrame() const { return old_.get(); }
  const platform::Bitmap* NewFrame() const { return new_.get(); }
  platform::Bitmap* NewFrame() { return new_.get(); }
  // Replaces the new frame (the frame on show) with a plain bitmap of the given size.
  void ResetNewFrame(int width, int height);

  // The random patterns draw from this generator; seeded once per run, re-seedable for tests.
  void SeedRandom(uint32_t seed) { rng_.seed(seed); }

 private:
  platform::Color bkColor_ = 0;
  std::unique_ptr<platform::Bitmap> old_, new_, work_;
  std::mt19937 rng_;
};

// Composes a picture into a frame of the given size: background colour, then the picture
// copied (same size) or fitted keeping its proportions, centred, with an area-average resample.
std::unique_ptr<platform::Bitmap> ComposeFrame(const platform::Bitmap* picture, int width, int height,
                                               platform::Color background);

// Area-average resampling of a whole 24-bit picture to dw x dh (enlarging interpolates
// bilinearly, so the result stays smooth).
std::unique_ptr<platform::Bitmap> ResampleSmooth(const platform::Bitmap& src, int dw, int dh);

}  // namespace transitions
