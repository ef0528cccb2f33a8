#include "imaging/style_limits.h"

#include <algorithm>
#include <cmath>

#include "imaging/layer_style_file.h"

namespace imaging {

namespace {

void Pixels(int32_t& v) { v = std::clamp(v, 0, kMaxEffectPixels); }
void Origin(int32_t& v) { v = std::clamp(v, -kMaxEffectOrigin, kMaxEffectOrigin); }
void Percent(uint8_t& v) { v = std::min<uint8_t>(v, kMaxEffectPercent); }

template <class Rec>
void Contour(Rec& r) {
  r.contourCount = std::clamp(r.contourCount, 0, kContourPoints);
  for (TContourPoint& p : r.contour) {
    p.x = std::clamp(p.x, 0, kMaxContourValue);
    p.y = std::clamp(p.y, 0, kMaxContourValue);
  }
}

void Shadow(TShadowStyle& s) {
  Percent(s.opacity);
  Pixels(s.spread); Pixels(s.size);
  Origin(s.originX); Origin(s.originY);
  Contour(s);
}

void Glow(TGlowStyle& g) {
  Percent(g.opacity);
  Pixels(g.spread); Pixels(g.size);
  Origin(g.originX); Origin(g.originY);
  Contour(g);
}

void Gradient(TGradientFillStyle& g) {
  Percent(g.opacity);
  g.angle = std::clamp(g.angle, 0, kMaxGradientAngle);
  g.stopCount = std::clamp(g.stopCount, 0, kMaxGradientStops);
  for (TGradientStop& stop : g.stops) stop.fraction = GradientFraction(stop.fraction);
}

}  // namespace

double GradientFraction(double f) {
  if (!(f > 0)) return 0;  // NaN and negatives
  return f > 1 ? 1 : f;
}

void ClampStyleFile(StyleFile& s) {
  s.opacity = std::isnan(s.opacity) ? 0 : std::clamp(s.opacity, 0.0, 1.0);
  Shadow(s.dropShadow);
  Shadow(s.innerShadow);
  Glow(s.innerGlow);
  Glow(s.outerGlow);
  TBevelStyle& b = s.bevel;
  Percent(b.highlightOpacity); Percent(b.shadowOpacity);
  Pixels(b.size); Pixels(b.choke);
  Origin(b.highlightOriginX); Origin(b.highlightOriginY);
  Origin(b.shadowOriginX); Origin(b.shadowOriginY);
  Contour(b);
  TStrokeStyle& st = s.stroke;
  Percent(st.opacity);
  Pixels(st.size); Pixels(st.softness);
  Origin(st.originX); Origin(st.originY);
  Contour(st);
  Percent(s.colorOverlay.opacity);
  Gradient(s.gradientOverlay);
  Gradient(s.strokeGradient);
  Percent(s.pattern.opacity);
}

}  // namespace imaging
