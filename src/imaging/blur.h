#pragma once
// Gaussian blur of 8-bit masks in fixed point: per-distance lookup tables of pre-scaled
// products, symmetric taps summed before the lookup, rows then columns.
#include "platform/bitmap.h"

namespace imaging {

// The half-width the blur uses for radius sigma (1..100).
int BlurHalfWidth(double sigma);

// Blurs an 8-bit mask in place; nothing happens for sigma <= 0 or a non-8-bit bitmap.
void BlurMask(platform::Bitmap& mask, double sigma);

// The radius that blurs by a pixel count v: 0.6 for 1, else v / 2.
inline double BlurRadiusForPixels(int v) { return v == 1 ? 0.6 : v / 2.0; }
// Blurs by a pixel count (nothing for v < 1).
inline void BlurByPixels(platform::Bitmap& mask, int v) {
  if (v >= 1) BlurMask(mask, BlurRadiusForPixels(v));
}

}  // namespace imaging
