// The bevel: one inverted, shrunk and softened mask painted twice, once as highlight and once
// as shadow at opposite displacements; under the layer for the outer bevel, over it for the
// inner bevel. Other styles draw nothing.
#include "imaging/effect_painters.h"

namespace imaging {

bool FillBevelMask(TlmLayer& L) {
  if (!L.Alpha) return false;
  auto mask = BuildChokeMask(*L.Alpha, L.Bevel.choke, L.Bevel.size);
  if (!mask) return false;
  L.BevelMask = std::move(mask);
  return true;
}

bool DrawBevelUnder(const TlmLayer& L, DrawTarget& t) {
  if (!L.BevelOn || L.Bevel.style != kOuterBevel) return true;
  if (!L.BevelMask) return false;
  const TBevelStyle& b = L.Bevel;
  auto value = [&](int n) { return 255 - ContourOf(b.contourOn, b.contourTable, n); };
  // Shadow settings at the highlight origin, then highlight settings at the shadow origin.
  const uint32_t shadow = ToSourceColor(platform::ResolveColor(b.shadowColor));
  const uint32_t light = ToSourceColor(platform::ResolveColor(b.highlightColor));
  bool ok = PaintUnderLayer(L, t, *L.BevelMask, b.highlightOriginX, b.highlightOriginY,
                            L.EffectStrength(b.shadowOpacity), b.shadowBlendMode, UnderAlpha::Add, value,
                            [shadow](int, int) { return shadow; });
  ok = PaintUnderLayer(L, t, *L.BevelMask, b.shadowOriginX, b.shadowOriginY,
                       L.EffectStrength(b.highlightOpacity), b.highlightBlendMode, UnderAlpha::Add, value,
                       [light](int, int) { return light; }) && ok;
  return ok;
}

bool DrawBevelOver(const TlmLayer& L, DrawTarget& t) {
  if (!L.BevelOn || L.Bevel.style != kInnerBevel) return true;
  if (!L.BevelMask) return false;
  const TBevelStyle& b = L.Bevel;
  const uint32_t light = ToSourceColor(platform::ResolveColor(b.highlightColor));
  const uint32_t shadow = ToSourceColor(platform::ResolveColor(b.shadowColor));
  bool ok = PaintOverLayer(L, t, *L.BevelMask, b.highlightOriginX, b.highlightOriginY,
                           L.EffectStrength(b.highlightOpacity), b.highlightBlendMode, b.contourOn,
                           b.contourTable, [light](int, int) { return light; });
  ok = PaintOverLayer(L, t, *L.BevelMask, b.shadowOriginX, b.shadowOriginY, L.EffectStrength(b.shadowOpacity),
                      b.shadowBlendMode, b.contourOn, b.contourTable, [shadow](int, int) { return shadow; }) && ok;
  return ok;
}

}  // namespace imaging
