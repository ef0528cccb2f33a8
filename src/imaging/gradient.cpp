#include "imaging/gradient.h"

#include <algorithm>
#include <cmath>

#include "imaging/blend_modes.h"
#include "imaging/style_limits.h"

namespace imaging {

namespace {

struct Pen {
  uint8_t b = 0, g = 0, r = 0;
};

Pen PenOf(platform::Color c) {
  c = platform::ResolveColor(c);
  return {static_cast<uint8_t>(platform::BlueOf(c)), static_cast<uint8_t>(platform::GreenOf(c)),
          static_cast<uint8_t>(platform::RedOf(c))};
}

Pen Interpolate(Pen a, Pen b, double u) {
  auto ch = [u](int c0, int c1) { return static_cast<uint8_t>(std::clamp(RoundInt(u * (c1 - c0) + c0), 0, 255)); };
  return {ch(a.b, b.b), ch(a.g, b.g), ch(a.r, b.r)};
}

// Clipped plotting with a 1-pixel pen.
class Plotter {
 public:
  explicit Plotter(platform::Bitmap& b) : bmp_(b), bpp_(platform::BytesPerPixel(b.Format())) {}
  void Plot(int x, int y, Pen p) {
    if (x < 0 || y < 0 || x >= bmp_.Width() || y >= bmp_.Height()) return;
    uint8_t* q = bmp_.Row(y) + x * bpp_;
    q[0] = p.b; q[1] = p.g; q[2] = p.r;
  }
  void HLine(int x0, int x1, int y, Pen p) {
    if (y < 0 || y >= bmp_.Height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, bmp_.Width() - 1);
    uint8_t* q = bmp_.Row(y);
    for (int x = x0; x <= x1; ++x) { q[x * bpp_] = p.b; q[x * bpp_ + 1] = p.g; q[x * bpp_ + 2] = p.r; }
  }
  void VLine(int x, int y0, int y1, Pen p) {
    if (x < 0 || x >= bmp_.Width()) return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, bmp_.Height() - 1);
    for (int y = y0; y <= y1; ++y) Plot(x, y, p);
  }
  // Outline of the rectangle [l, r) x [t, b), as the platform's Rectangle draws it with no fill.
  void RectOutline(int l, int t, int r, int b, Pen p) {
    if (r <= l || b <= t) return;
    HLine(l, r - 1, t, p);
    HLine(l, r - 1, b - 1, p);
    VLine(l, t, b - 1, p);
    VLine(r - 1, t, b - 1, p);
  }
  // Outline of the ellipse inscribed in [l, r) x [t, b).
  void EllipseOutline(int l, int t, int r, int b, Pen p) {
    if (r <= l || b <= t) return;
    double cx = (l + r - 1) / 2.0, cy = (t + b - 1) / 2.0;
    double rx = (r - l - 1) / 2.0, ry = (b - t - 1) / 2.0;
    if (rx <= 0 || ry <= 0) { RectOutline(l, t, r, b, p); return; }
    // Sample along x and along y so that the outline has no gaps on either flank.
    for (int x = l; x < r; ++x) {
      double u = (x - cx) / rx;
      double v = std::sqrt(std::max(0.0, 1.0 - u * u)) * ry;
      Plot(x, RoundInt(cy - v), p);
      Plot(x, RoundInt(cy + v), p);
    }
    for (int y = t; y < b; ++y) {
      double v = (y - cy) / ry;
      double u = std::sqrt(std::max(0.0, 1.0 - v * v)) * rx;
      Plot(RoundInt(cx - u), y, p);
      Plot(RoundInt(cx + u), y, p);
    }
  }

 private:
  platform::Bitmap& bmp_;
  int bpp_;
};

// Types 0..3: runs of positions 0..L; each position up to `visible` is handed to draw(p, pen)
// (positions past it draw nothing on the bitmap). Fractions outside 0..1 are brought into it,
// so a run is never longer than the gradient.
template <class Draw>
void PaintRuns(const std::vector<ColorStop>& stops, int L, bool lastRunToEnd, int visible, Draw draw) {
  const int n = static_cast<int>(stops.size());
  Pen pen = PenOf(stops[0].color);
  int s = 0;
  for (int k = 0; k <= n - 2 && s <= visible; ++k) {
    int g = (k == n - 2) ? (lastRunToEnd ? L - s : L - s - 1) : RoundInt(L * GradientFraction(stops[k].fraction));
    Pen c0 = PenOf(stops[k].color), c1 = PenOf(stops[k + 1].color);
    for (int p = s, end = std::min(s + g, visible); p <= end; ++p) {
      if (g > 0) pen = Interpolate(c0, c1, static_cast<double>(p - s) / g);
      draw(p, pen);
    }
    s += g;
  }
}

Pen AngledColor(const std::vector<ColorStop>& stops, double t) {
  const int n = static_cast<int>(stops.size());
  double before = 0;
  for (int k = 0; k <= n - 2; ++k) {
    const double fraction = GradientFraction(stops[k].fraction);
    double sum = before + fraction;
    if (t < sum && fraction > 0) {
      double u = (t - before) / fraction;
      return Interpolate(PenOf(stops[k].color), PenOf(stops[k + 1].color), u);
    }
    before = sum;
  }
  return PenOf(stops[n - 1].color);
}

void PaintAngled(platform::Bitmap& bmp, const std::vector<ColorStop>& stops, double angle) {
  bool mirrored;
  double theta;
  if (angle <= 90) { theta = angle; mirrored = true; }
  else if (angle <= 180) { theta = 180 - angle; mirrored = false; }
  else if (angle <= 270) { theta = angle - 180; mirrored = true; }
  else { theta = 360 - angle; mirrored = false; }
  theta = RoundEven(theta) * M_PI / 180.0;
  const double cs = std::cos(theta), sn = std::sin(theta);
  const int W = bmp.Width(), H = bmp.Height();
  auto proj = [&](int c, int k) { return RoundInt(c * cs - k * sn); };
  int corners[4] = {proj(0, 0), proj(W, 0), proj(0, H), proj(W, H)};
  int pmin = *std::min_element(corners, corners + 4), pmax = *std::max_element(corners, corners + 4);
  const int bpp = platform::BytesPerPixel(bmp.Format());
  for (int k = 0; k < H; ++k) {
    uint8_t* row = bmp.Row(H - 1 - k);
    for (int c = 0; c < W; ++c) {
      double t = pmax == pmin ? 0.0 : static_cast<double>(proj(c, k) - pmin) / (pmax - pmin);
      Pen pen = AngledColor(stops, t);
      int x = mirrored ? W - 1 - c : c;
      row[x * bpp] = pen.b; row[x * bpp + 1] = pen.g; row[x * bpp + 2] = pen.r;
    }
  }
}

}  // namespace

void PaintGradient(platform::Bitmap& bmp, int type, const std::vector<ColorStop>& stops, double angle) {
  if (bmp.Format() == platform::PixelFormat::Indexed8 || bmp.Empty() || stops.size() < 2) return;
  Plotter plot(bmp);
  const int W = bmp.Width(), H = bmp.Height();
  switch (type) {
    case kGradientHorizontal:
      PaintRuns(stops, W, false, W - 1, [&](int p, Pen pen) { plot.VLine(p, 0, H - 1, pen); });
      break;
    case kGradientVertical:
      PaintRuns(stops, H, false, H - 1, [&](int p, Pen pen) { plot.HLine(0, W - 1, p, pen); });
      break;
    case kGradientRectangular:
    case kGradientElliptical: {
      Pen last = PenOf(stops.back().color);
      for (int y = 0; y < H; ++y) plot.HLine(0, W - 1, y, last);
      const int longer = std::max(W, H), shorter = std::min(W, H);
      const int L = longer / 2, cx = W / 2, cy = H / 2;
      // An outline of half-size 2L lies wholly outside the bitmap, ellipses included.
      PaintRuns(stops, L, true, 2 * L + 1, [&](int p, Pen pen) {
        int q = RoundInt(static_cast<double>(p) * shorter / longer);
        int hx = W >= H ? p : q, hy = W >= H ? q : p;
        if (type == kGradientRectangular) plot.RectOutline(cx - hx, cy - hy, cx + hx + 1, cy + hy + 1, pen);
        else plot.EllipseOutline(cx - hx, cy - hy, cx + hx + 1, cy + hy + 1, pen);
      });
      break;
    }
    case kGradientAngled:
      PaintAngled(bmp, stops, angle);
      break;
    default:
      break;
  }
}

}  // namespace imaging
