#pragma once
// Frames whose pixels name themselves: blue = x, green = y, red = which frame (old or new),
// so a test reads at any target pixel which frame and which source pixel it shows.
#include <gtest/gtest.h>

#include <memory>

#include "maker/transitions/pic_movie.h"
#include "platform/bitmap.h"

namespace transitions::testing {

constexpr int kOldTag = 0x11, kNewTag = 0xEE, kTargetTag = 0x55;

inline std::unique_ptr<platform::Bitmap> TaggedFrame(int w, int h, int tag) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->SetPixelColor(x, y, platform::Rgb(tag, y & 0xFF, x & 0xFF));
  return b;
}

struct Seen {
  int tag, x, y;
  bool operator==(const Seen&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << "{tag " << s.tag << " at " << s.x << "," << s.y << "}";
}
inline Seen At(const platform::Bitmap& b, int x, int y) {
  const platform::Color c = b.PixelColor(x, y);
  return {platform::RedOf(c), platform::BlueOf(c), platform::GreenOf(c)};
}
inline Seen Old(int x, int y) { return {kOldTag, x, y}; }
inline Seen New(int x, int y) { return {kNewTag, x, y}; }

// An engine prepared with tagged frames of w x h, drawing into a target of the same size.
class Stage {
 public:
  Stage(int w, int h) : w_(w), h_(h) {
    auto o = TaggedFrame(w, h, kOldTag), n = TaggedFrame(w, h, kNewTag);
    engine.PrepareFrames(o.get(), n.get(), w, h);
    engine.SeedRandom(12345);
    target = TaggedFrame(w, h, kTargetTag);
  }
  // Draws one step onto the target and returns it.
  const platform::Bitmap& Draw(int effect, int step) {
    BitmapCanvas canvas(*target);
    engine.DrawStep(step, canvas, effect);
    lastDraws = canvas.draws;
    return *target;
  }
  bool TargetIsNewFrame() const { return target->SamePixels(*engine.NewFrame()); }
  // Which frame each pixel of the target shows: counts of old and new pixels in place.
  int CountInPlace(int tag) const {
    int n = 0;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) n += At(*target, x, y) == Seen{tag, x, y};
    return n;
  }

  TlmPicMovieunit engine;
  std::unique_ptr<platform::Bitmap> target;
  int lastDraws = 0;

 private:
  int w_, h_;
};

}  // namespace transitions::testing
