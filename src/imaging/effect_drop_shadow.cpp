// The drop shadow and the outer glow: a grown and softened copy of the layer's coverage,
// painted under the layer where the layer does not cover it.
#include "imaging/effect_painters.h"

namespace imaging {

bool FillDropShadowMask(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto mask = BuildSpreadMask(*L.Alpha, L.DropShadow.spread, L.DropShadow.size);
  if (!mask) return false;
  L.DropShadowMask = std::move(mask);
  return true;
}

bool FillOuterGlowMask(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto mask = BuildSpreadMask(*L.Alpha, L.OuterGlow.spread, L.OuterGlow.size);
  if (!mask) return false;
  L.OuterGlowMask = std::move(mask);
  return true;
}

bool DrawDropShadow(const TlmLayer& L, DrawTarget& t) {
  if (!L.DropShadowOn) return true;
  if (!L.DropShadowMask) return false;
  const TShadowStyle& s = L.DropShadow;
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintUnderLayer(
      L, t, *L.DropShadowMask, s.originX, s.originY, L.EffectStrength(s.opacity), s.blendMode,
      UnderAlpha::Shadow, [&](int n) { return ContourOf(s.contourOn, s.contourTable, n); },
      [color](int, int) { return color; });
}

bool DrawOuterGlow(const TlmLayer& L, DrawTarget& t) {
  if (!L.OuterGlowOn) return true;
  if (!L.OuterGlowMask) return false;
  const TGlowStyle& s = L.OuterGlow;
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintUnderLayer(
      L, t, *L.OuterGlowMask, s.originX, s.originY, L.EffectStrength(s.opacity), s.blendMode,
      UnderAlpha::Shadow, [&](int n) { return ContourOf(s.contourOn, s.contourTable, n); },
      [color](int, int) { return color; });
}

}  // namespace imaging
