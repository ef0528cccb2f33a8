// The inner shadow and the inner glow: the inverted, shrunk and softened coverage, painted over
// the layer's own pixels (so only edges and uncovered displaced parts receive it).
#include "imaging/effect_painters.h"

namespace imaging {

bool FillInnerShadowMask(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto mask = BuildChokeMask(*L.Alpha, L.InnerShadow.spread, L.InnerShadow.size);
  if (!mask) return false;
  L.InnerShadowMask = std::move(mask);
  return true;
}

bool FillInnerGlowMask(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto mask = BuildChokeMask(*L.Alpha, L.InnerGlow.spread, L.InnerGlow.size);
  if (!mask) return false;
  L.InnerGlowMask = std::move(mask);
  return true;
}

bool DrawInnerShadow(const TlmLayer& L, DrawTarget& t) {
  if (!L.InnerShadowOn) return true;
  if (!L.InnerShadowMask) return false;
  const TShadowStyle& s = L.InnerShadow;
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintOverLayer(L, t, *L.InnerShadowMask, s.originX, s.originY, L.EffectStrength(s.opacity),
                        s.blendMode, s.contourOn, s.contourTable, [color](int, int) { return color; });
}

bool DrawInnerGlow(const TlmLayer& L, DrawTarget& t) {
  if (!L.InnerGlowOn) return true;
  if (!L.InnerGlowMask) return false;
  const TGlowStyle& s = L.InnerGlow;
  const uint32_t color = ToSourceColor(platform::ResolveColor(s.color));
  return PaintOverLayer(L, t, *L.InnerGlowMask, s.originX, s.originY, L.EffectStrength(s.opacity),
                        s.blendMode, s.contourOn, s.contourTable, [color](int, int) { return color; });
}

}  // namespace imaging
