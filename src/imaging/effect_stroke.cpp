// The stroke: a hardened outline around the layer's coverage, painted under the layer (outside,
// centre) and over it (inside, centre), with its colour or with the stroke gradient.
#include "imaging/effect_painters.h"

namespace imaging {

bool FillStrokeMask(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto mask = BuildStrokeMask(*L.Alpha, L.Stroke.size, L.Stroke.softness);
  if (!mask) return false;
  L.StrokeMask = std::move(mask);
  return true;
}

bool FillStrokeGradientImage(TlmLayer& L) {
  if (!L.Alpha) return false;
  // The image lies over the stroke mask pixel for pixel.
  const int m = ClampEffectPixels(L.Stroke.size) + ClampEffectPixels(L.Stroke.softness);
  auto image = PaintGradientImage(L.Width() + 4 * m, L.Height() + 4 * m, L.StrokeGradient);
  if (!image) return false;
  L.StrokeGradientImage = std::move(image);
  return true;
}

namespace {

bool UsesGradient(const TlmLayer& L) {
  return L.StrokeGradientOn && L.StrokeGradientImage && L.StrokeMask &&
         L.StrokeGradientImage->Width() == L.StrokeMask->Width() &&
         L.StrokeGradientImage->Height() == L.StrokeMask->Height();
}

}  // namespace

bool DrawStrokeUnder(const TlmLayer& L, DrawTarget& t) {
  if (!L.StrokeOn || (L.Stroke.position != kStrokeOutside && L.Stroke.position != kStrokeCentre)) return true;
  if (!L.StrokeMask) return false;
  const TStrokeStyle& s = L.Stroke;
  const double x = L.EffectStrength(s.opacity);
  auto value = [&](int n) { return ContourOf(s.contourOn, s.contourTable, n); };
  if (UsesGradient(L)) {
    const platform::Bitmap& g = *L.StrokeGradientImage;
    return PaintUnderLayer(L, t, *L.StrokeMask, s.originX, s.originY, x, s.blendMode, UnderAlpha::Normal, value,
                           [&g](int mx, int my) { return ImageColor(g, mx, my); });
  }
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintUnderLayer(L, t, *L.StrokeMask, s.originX, s.originY, x, s.blendMode, UnderAlpha::Shadow, value,
                         [color](int, int) { return color; });
}

bool DrawStrokeOver(const TlmLayer& L, DrawTarget& t) {
  if (!L.StrokeOn || (L.Stroke.position != kStrokeInside && L.Stroke.position != kStrokeCentre)) return true;
  if (!L.StrokeMask) return false;
  const TStrokeStyle& s = L.Stroke;
  const double x = L.EffectStrength(s.opacity);
  if (UsesGradient(L)) {
    const platform::Bitmap& g = *L.StrokeGradientImage;
    return PaintOverLayer(L, t, *L.StrokeMask, s.originX, s.originY, x, s.blendMode, false, nullptr,
                          [&g](int mx, int my) { return ImageColor(g, mx, my); });
  }
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintOverLayer(L, t, *L.StrokeMask, s.originX, s.originY, x, s.blendMode, false, nullptr,
                        [color](int, int) { return color; });
}

}  // namespace imaging
