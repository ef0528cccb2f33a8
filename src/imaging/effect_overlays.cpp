// The overlays: colour, gradient and pattern, painted over the layer in proportion to its own
// coverage.
#include <algorithm>

#include "imaging/effect_painters.h"
#include "imaging/gradient.h"

namespace imaging {

BitmapPtr PaintGradientImage(int width, int height, const TGradientFillStyle& g) {
  auto image = platform::Bitmap::Create(std::max(width, 1), std::max(height, 1), platform::PixelFormat::Bgr24);
  if (!image) return nullptr;
  const int count = std::clamp(g.stopCount, 2, kMaxGradientStops);
  std::vector<ColorStop> stops;
  for (int k = 0; k < count; ++k) stops.push_back({g.stops[k].color, g.stops[k].fraction});
  if (g.reverse) std::reverse(stops.begin(), stops.end());
  PaintGradient(*image, g.type, stops, g.angle);
  return image;
}

bool FillGradientOverlayImage(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto image = PaintGradientImage(L.Width(), L.Height(), L.GradientOverlay);
  if (!image) return false;
  L.GradientOverlayImage = std::move(image);
  return true;
}

namespace {
constexpr auto kFull = [](int, int) { return 255; };
}

bool DrawColorOverlay(const TlmLayer& L, DrawTarget& t) {
  if (!L.ColorOverlayOn) return true;
  const TColorOverlayStyle& s = L.ColorOverlay;
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintOverlay(L, t, L.EffectStrength(s.opacity), s.blendMode, [color](int, int) { return color; }, kFull);
}

bool DrawGradientOverlay(const TlmLayer& L, DrawTarget& t) {
  if (!L.GradientOverlayOn) return true;
  if (!L.GradientOverlayImage || L.GradientOverlayImage->Width() != L.Width() ||
      L.GradientOverlayImage->Height() != L.Height())
    return false;
  const platform::Bitmap& g = *L.GradientOverlayImage;
  return PaintOverlay(L, t, L.EffectStrength(L.GradientOverlay.opacity), L.GradientOverlay.blendMode,
                      [&g](int lx, int ly) { return ImageColor(g, lx, ly); }, kFull);
}

bool DrawPatternOverlay(const TlmLayer& L, DrawTarget& t) {
  if (!L.PatternOverlayOn) return true;
  if (!L.PatternImage || L.PatternImage->Empty()) return false;
  const platform::Bitmap& p = *L.PatternImage;
  const int pw = p.Width(), ph = p.Height();
  const double x = L.EffectStrength(L.PatternOverlay.opacity);
  // The pattern tiles from the layer's top-left corner.
  auto color = [&p, pw, ph](int lx, int ly) { return ImageColor(p, lx % pw, ly % ph); };
  if (p.Format() == platform::PixelFormat::Bgra32) {
    return PaintOverlay(L, t, x, L.PatternOverlay.blendMode, color,
                        [&p, pw, ph](int lx, int ly) { return static_cast<int>(p.Row(ly % ph)[(lx % pw) * 4 + 3]); });
  }
  return PaintOverlay(L, t, x, L.PatternOverlay.blendMode, color, kFull);
}

}  // namespace imaging
