// Mask building shared by the mask effects: margins, spread, choke and stroke hardening.
#include <algorithm>
#include <cstring>

#include "imaging/blur.h"
#include "imaging/effect_painters.h"

namespace imaging {

BitmapPtr MaskWithMargin(const platform::Bitmap& alpha, int m) {
  auto mask = platform::Bitmap::Create(alpha.Width() + 4 * m, alpha.Height() + 4 * m,
                                       platform::PixelFormat::Indexed8);
  if (!mask) return nullptr;
  for (int y = 0; y < alpha.Height(); ++y) {
    std::memcpy(mask->Row(y + 2 * m) + 2 * m, alpha.Row(y), static_cast<size_t>(alpha.Width()));
  }
  return mask;
}

namespace {

template <class Fn>
void ForEachValue(platform::Bitmap& mask, Fn fn) {
  for (int y = 0; y < mask.Height(); ++y) {
    uint8_t* row = mask.Row(y);
    for (int x = 0; x < mask.Width(); ++x) row[x] = fn(row[x]);
  }
}

}  // namespace

BitmapPtr BuildSpreadMask(const platform::Bitmap& alpha, int spread, int size) {
  spread = ClampEffectPixels(spread);
  size = ClampEffectPixels(size);
  auto mask = MaskWithMargin(alpha, std::max(spread, size));
  if (!mask) return nullptr;
  if (spread >= 1) {
    // Grow: any reached pixel becomes solid, then soften what is left of the size.
    BlurByPixels(*mask, spread);
    ForEachValue(*mask, [](uint8_t v) -> uint8_t { return v ? 255 : 0; });
    if (size - spread >= 1) BlurByPixels(*mask, size - spread);
  } else if (size >= 1) {
    BlurByPixels(*mask, size);
  }
  return mask;
}

BitmapPtr BuildChokeMask(const platform::Bitmap& alpha, int choke, int size) {
  choke = ClampEffectPixels(choke);
  size = ClampEffectPixels(size);
  auto mask = MaskWithMargin(alpha, std::max(size, choke));
  if (!mask) return nullptr;
  if (choke >= 1) {
    // Shrink: only what stays nearly solid after the blur survives.
    BlurByPixels(*mask, choke);
    ForEachValue(*mask, [](uint8_t v) -> uint8_t { return v < 253 ? 0 : v; });
    if (size - choke >= 1) BlurByPixels(*mask, size - choke);
  } else {
    BlurByPixels(*mask, size);
  }
  ForEachValue(*mask, [](uint8_t v) -> uint8_t { return static_cast<uint8_t>(255 - v); });
  return mask;
}

int StrokeThreshold(int size) {
  if (size <= 1) return 15;
  if (size <= 5) return 8;
  if (size <= 7) return 6;
  return 0;
}

BitmapPtr BuildStrokeMask(const platform::Bitmap& alpha, int size, int softness) {
  size = ClampEffectPixels(size);
  softness = ClampEffectPixels(softness);
  auto mask = MaskWithMargin(alpha, size + softness);
  if (!mask) return nullptr;
  if (size > 0) {
    BlurByPixels(*mask, size);
    // Harden the blurred edge into an outline of about the stroke's width.
    const int t = StrokeThreshold(size);
    ForEachValue(*mask, [t](uint8_t v) -> uint8_t {
      if (v > t) return 255;
      if (t > 3) return static_cast<uint8_t>(RoundInt(v / static_cast<double>(t) * 255.0));
      return v;
    });
  }
  BlurByPixels(*mask, softness);
  return mask;
}

}  // namespace imaging
