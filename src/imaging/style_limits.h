#pragma once
// What the effects can use of the numbers a style record carries. Style files come from other
// programs and from strangers: the file reader brings every number into these ranges (the
// editing program never writes values outside them), the style description reader refuses
// values outside them, and the painters rely on them.
#include <cstdint>

namespace imaging {

struct StyleFile;

// Sizes, spreads, chokes and softness, in pixels. A mask grows by four times its margin on
// every axis, and the blur reaches at most 100 pixels, so wider effects only cost memory.
constexpr int32_t kMaxEffectPixels = 250;
// Mask origins and displacements, in pixels either way from the layer's corner.
constexpr int32_t kMaxEffectOrigin = 10000;
// Opacities are percentages.
constexpr int kMaxEffectPercent = 100;
// Contour points lie on the curve's 256 x 256 square.
constexpr int32_t kMaxContourValue = 255;
// The gradient's angle in degrees.
constexpr int32_t kMaxGradientAngle = 360;

// A run's share of the gradient's length, brought into 0..1 (NaN gives 0).
double GradientFraction(double f);

// Brings every number of every record into the ranges above (the layer opacity into 0..1,
// NaN giving 0; the stop count into 0..51, of which the painters take 2..51).
void ClampStyleFile(StyleFile& s);

}  // namespace imaging
