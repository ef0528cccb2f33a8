#pragma once
// Shared steps of the layer style effects: building masks around a layer's Alpha and the three
// ways an effect paints (under the layer from a mask, over the layer from a mask, over the
// layer from its own Alpha). Each painter clips once to the image and the layer, then walks
// rows; the same code serves the 24-bit display and the 32-bit export (which also builds alpha).
#include <algorithm>
#include <cstdint>

#include "imaging/blend_modes.h"
#include "imaging/layered_image.h"
#include "imaging/style_limits.h"

namespace imaging {

// Sizes beyond the limit are clamped: a record cannot make a mask grow without bound.
inline int ClampEffectPixels(int v) { return std::clamp(v, 0, kMaxEffectPixels); }

// Where an effect paints and whether it builds the export alpha.
struct DrawTarget {
  platform::Bitmap& bmp;
  bool exportAlpha;  // 32-bit export: alpha byte per pixel is kept up to date
  const CustomBlendTables* custom;
  int Bpp() const { return exportAlpha ? 4 : 3; }
};

inline int ContourOf(bool on, const uint8_t* table, int v) { return on ? table[v] : v; }
inline uint8_t AddAlpha(int A, double s) { return static_cast<uint8_t>(std::min(255, RoundInt(A + s * 255.0))); }

// --- masks ---------------------------------------------------------------------------
// A new 8-bit mask of the layer's size plus 2m on every side, with the Alpha drawn at (2m, 2m).
BitmapPtr MaskWithMargin(const platform::Bitmap& alpha, int m);
// Drop shadow and outer glow: grow by spread (blur, then every non-zero value to 255), then
// soften by size - spread; without spread, blur by size.
BitmapPtr BuildSpreadMask(const platform::Bitmap& alpha, int spread, int size);
// Bevel, inner shadow and inner glow: shrink by choke (blur, values below 253 to 0), soften by
// size - choke (or by size without choke), then invert.
BitmapPtr BuildChokeMask(const platform::Bitmap& alpha, int choke, int size);
// Stroke: blur by size, harden by the size's threshold, soften by softness.
BitmapPtr BuildStrokeMask(const platform::Bitmap& alpha, int size, int softness);
int StrokeThreshold(int size);

// --- painters --------------------------------------------------------------------------
// How an effect under the layer builds the export alpha.
enum class UnderAlpha {
  Shadow,  // drop shadow, outer glow, stroke colour: the part the layer will cover is held back
  Add,     // outer bevel: alpha += s, blend with s
  Normal,  // stroke gradient: ordinary "over" composition
};

// Paints a mask placed at (Left + ox, Top + oy) under the layer. value(n) gives the drawing
// value 0..255 of a mask value; color(mx, my) the source colour (0x00RRGGBB) at a mask pixel.
template <class ValueFn, class ColorFn>
bool PaintUnderLayer(const TlmLayer& L, DrawTarget& t, const platform::Bitmap& mask, int ox, int oy,
                     double x, int mode, UnderAlpha rule, ValueFn value, ColorFn color) {
  if (!L.Alpha || x <= 0) return true;
  const int W = t.bmp.Width(), H = t.bmp.Height(), bpp = t.Bpp();
  // Positions in 64 bits: origins come from files and may be anything.
  const long long mx0 = static_cast<long long>(L.Left) + ox, my0 = static_cast<long long>(L.Top) + oy;
  const int x0 = static_cast<int>(std::max(mx0, 0LL)), x1 = static_cast<int>(std::min(mx0 + mask.Width(), static_cast<long long>(W)));
  const int y0 = static_cast<int>(std::max(my0, 0LL)), y1 = static_cast<int>(std::min(my0 + mask.Height(), static_cast<long long>(H)));
  const int lw = L.Width(), lh = L.Height();
  for (int y = y0; y < y1; ++y) {
    const uint8_t* mrow = mask.Row(static_cast<int>(y - my0));
    uint8_t* trow = t.bmp.Row(y);
    const int ly = y - L.Top;
    const uint8_t* arow = (ly >= 0 && ly < lh) ? L.Alpha->Row(ly) : nullptr;
    for (int px = x0; px < x1; ++px) {
      const int v = value(mrow[px - mx0]);
      if (v == 0) continue;
      const int lx = px - L.Left;
      const int a = (arow && lx >= 0 && lx < lw) ? arow[lx] : 0;
      if (a == 255) continue;
      uint8_t* p = trow + px * bpp;
      const double h = x * (1.0 - a / 255.0);
      const uint32_t c = color(static_cast<int>(px - mx0), static_cast<int>(y - my0));
      if (!t.exportAlpha) {
        BlendPixel(p, mode, static_cast<float>(v * h / 255.0), c, t.custom);
        continue;
      }
      const int A = p[3];
      const double s = v * h / 255.0;
      switch (rule) {
        case UnderAlpha::Shadow: {
          const double k = x * a / 255.0, rest = 1.0 - A / 255.0;
          p[3] = AddAlpha(A, s);
          double q = std::clamp(s + (1.0 - s) * rest - rest * k, 0.0, 1.0);
          BlendPixel(p, mode, static_cast<float>(q), c, t.custom);
          break;
        }
        case UnderAlpha::Add:
          p[3] = AddAlpha(A, s);
          BlendPixel(p, mode, static_cast<float>(s), c, t.custom);
          break;
        case UnderAlpha::Normal:
          p[3] = static_cast<uint8_t>(std::min(255, RoundInt((1.0 - s) * A + s * 255.0)));
          BlendPixel(p, mode, static_cast<float>(s), c, t.custom);
          break;
      }
    }
  }
  return true;
}

// Paints a mask placed at (Left + ox, Top + oy) over the layer's own pixels: strength
// contour(a) * (x * n / 255) / 255 for mask value n and layer alpha a.
template <class ColorFn>
bool PaintOverLayer(const TlmLayer& L, DrawTarget& t, const platform::Bitmap& mask, int ox, int oy,
                    double x, int mode, bool contourOn, const uint8_t* contour, ColorFn color) {
  if (!L.Alpha || x <= 0) return true;
  const int W = t.bmp.Width(), H = t.bmp.Height(), bpp = t.Bpp();
  const int x0 = std::max(L.Left, 0), x1 = std::min(L.Left + L.Width(), W);
  const int y0 = std::max(L.Top, 0), y1 = std::min(L.Top + L.Height(), H);
  const int mw = mask.Width(), mh = mask.Height();
  for (int y = y0; y < y1; ++y) {
    const long long myl = static_cast<long long>(y) - L.Top - oy;
    if (myl < 0 || myl >= mh) continue;
    const int my = static_cast<int>(myl);
    const uint8_t* mrow = mask.Row(my);
    const uint8_t* arow = L.Alpha->Row(y - L.Top);
    uint8_t* trow = t.bmp.Row(y);
    for (int px = x0; px < x1; ++px) {
      const long long mxl = static_cast<long long>(px) - L.Left - ox;
      if (mxl < 0 || mxl >= mw) continue;
      const int mx = static_cast<int>(mxl);
      const int n = mrow[mx];
      const int a = arow[px - L.Left];
      if (n == 0) continue;
      const double s = ContourOf(contourOn, contour, a) * (x * n / 255.0) / 255.0;
      if (s <= 0) continue;
      uint8_t* p = trow + px * bpp;
      if (t.exportAlpha) p[3] = AddAlpha(p[3], s);
      BlendPixel(p, mode, static_cast<float>(s), color(mx, my), t.custom);
    }
  }
  return true;
}

// Paints over the layer from its own Alpha: strength a * x / 255 * factor(lx, ly) / 255.
template <class ColorFn, class FactorFn>
bool PaintOverlay(const TlmLayer& L, DrawTarget& t, double x, int mode, ColorFn color, FactorFn factor) {
  if (!L.Alpha || x <= 0) return true;
  const int W = t.bmp.Width(), H = t.bmp.Height(), bpp = t.Bpp();
  const int x0 = std::max(L.Left, 0), x1 = std::min(L.Left + L.Width(), W);
  const int y0 = std::max(L.Top, 0), y1 = std::min(L.Top + L.Height(), H);
  for (int y = y0; y < y1; ++y) {
    const uint8_t* arow = L.Alpha->Row(y - L.Top);
    uint8_t* trow = t.bmp.Row(y);
    for (int px = x0; px < x1; ++px) {
      const int lx = px - L.Left, a = arow[lx];
      if (a == 0) continue;
      const double s = a * x / 255.0 * factor(lx, y - L.Top) / 255.0;
      uint8_t* p = trow + px * bpp;
      if (t.exportAlpha) p[3] = AddAlpha(p[3], s);
      BlendPixel(p, mode, static_cast<float>(s), color(lx, y - L.Top), t.custom);
    }
  }
  return true;
}

// The source colour (0x00RRGGBB) of pixel (x, y) of a 24/32-bit image, wrapping nothing.
inline uint32_t ImageColor(const platform::Bitmap& b, int x, int y) {
  return PixelSourceColor(b.Row(y) + x * platform::BytesPerPixel(b.Format()));
}

// --- the effect families ------------------------------------------------------------------
// Each Fill* (re)builds a cache from the layer's Alpha and parameters; each Draw* paints one
// effect when its switch is on (true at once otherwise).
bool FillDropShadowMask(TlmLayer& L);
bool FillOuterGlowMask(TlmLayer& L);
bool DrawDropShadow(const TlmLayer& L, DrawTarget& t);
bool DrawOuterGlow(const TlmLayer& L, DrawTarget& t);

bool FillInnerShadowMask(TlmLayer& L);
bool FillInnerGlowMask(TlmLayer& L);
bool DrawInnerShadow(const TlmLayer& L, DrawTarget& t);
bool DrawInnerGlow(const TlmLayer& L, DrawTarget& t);

bool FillBevelMask(TlmLayer& L);
bool DrawBevelUnder(const TlmLayer& L, DrawTarget& t);
bool DrawBevelOver(const TlmLayer& L, DrawTarget& t);

bool FillStrokeMask(TlmLayer& L);
bool FillStrokeGradientImage(TlmLayer& L);
bool DrawStrokeUnder(const TlmLayer& L, DrawTarget& t);
bool DrawStrokeOver(const TlmLayer& L, DrawTarget& t);

// A 24-bit image of the given size painted with a gradient record's stops (count limited to
// 2..51, reversed when asked) and type.
BitmapPtr PaintGradientImage(int width, int height, const TGradientFillStyle& g);
bool FillGradientOverlayImage(TlmLayer& L);
bool DrawColorOverlay(const TlmLayer& L, DrawTarget& t);
bool DrawGradientOverlay(const TlmLayer& L, DrawTarget& t);
bool DrawPatternOverlay(const TlmLayer& L, DrawTarget& t);

}  // namespace imaging
