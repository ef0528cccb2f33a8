#include "imaging/blend_modes.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>

#include "platform/files.h"

namespace imaging {

namespace {

uint8_t gMul[65536];
uint8_t gAdd[65536];
bool gTablesBuilt = false;

uint32_t gDissolveState = 0x2545F491u;

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline double Clamp255d(double v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// "mix t": round(t * x + (1 - x) * d).
inline int Mix(double t, double x, int d) { return RoundInt(t * x + (1.0 - x) * d); }

// One channel of the per-channel modes 1..12, 15..17 and 22..32.
int BlendChannel(int mode, int s, int d, double x, const CustomBlendTables* custom) {
  switch (mode) {
    case 1: return std::min(255, RoundInt(s * x + d));
    case 2: return std::max(0, RoundInt(d - s * x));
    case 3: return d ^ RoundInt(s * x);
    case 4: return d | RoundInt(s * x);
    case 5: return d & RoundInt(s * x);
    case 6: return std::abs(RoundInt(d - s * x));
    case 7: return Mix(std::min(d, s), x, d);
    case 8: return Mix(std::max(d, s), x, d);
    case 9: return Mix(s * d / 255.0, x, d);
    case 10: return Mix(std::min(255, s - d + 255), x, d);
    case 11: return Mix(Clamp255(s + d - 128), x, d);
    case 12:
      if (s >= 128) return Mix(s, x, d);
      {
        double o = s / 128.0 * x;
        return RoundInt((1.0 - o) * d + s * o);
      }
    case 15: return Clamp255(RoundInt((d - s) * x + d));
    case 16: return Mix(std::min(255.0, d + s - d * s / 255.0), x, d);
    case 17: {
      int t = d >= 129 ? 255 - RoundInt((1.0 - d / 255.0) * (1.0 - s / 255.0) * 512.0)
                       : RoundInt(d / 255.0 * s / 255.0 * 512.0);
      return Mix(Clamp255(t), x, d);
    }
    case 22:
      if (s != 0) return Mix(std::max(0, RoundInt(d - (255.0 - d) / s * (255.0 - s))), x, d);
      return RoundInt((1.0 - x) * d);
    case 23:
      if (s == 255) return Mix(255, x, d);
      return Mix(std::min(255, RoundInt(d / ((255.0 - s) / 255.0))), x, d);
    case 24:
      if (s != 0) return Mix(std::min(255, RoundInt((255.0 - d) / s * (255.0 - s) + d)), x, d);
      return d;
    case 25:
      if (s >= 129) return Mix(std::min(255, RoundInt(d + (s - 128) * 0.465)), x, d);
      return Mix(std::max(0, RoundInt(d - (127 - s) * 0.485)), x, d);
    default: {  // 26..32
      int t = custom ? custom->Table(mode)[s * 256 + d] : 0;
      return Mix(t, x, d);
    }
  }
}

// Modes 18..21: recombine the HSL of source and destination, then mix per channel.
bool BlendHsl(uint8_t* p, int mode, double x, int sr, int sg, int sb) {
  int dr = p[2], dg = p[1], db = p[0];
  Hsl src = RgbToHsl(sr, sg, sb);
  Hsl dst = RgbToHsl(dr, dg, db);
  Hsl out;
  switch (mode) {
    case 18: out = {dst.l, dst.s, src.h}; break;  // hue
    case 19: out = {dst.l, src.s, dst.h}; break;  // saturation
    case 20: out = {src.l, dst.s, dst.h}; break;  // luminosity
    default: out = {dst.l, src.s, src.h}; break;  // colour
  }
  int rgb[3];
  HslToRgb(out.l, out.s, out.h, rgb);
  p[2] = static_cast<uint8_t>(Mix(Clamp255(rgb[0]), x, dr));
  p[1] = static_cast<uint8_t>(Mix(Clamp255(rgb[1]), x, dg));
  p[0] = static_cast<uint8_t>(Mix(Clamp255(rgb[2]), x, db));
  return true;
}

}  // namespace

double RoundEven(double v) { return std::nearbyint(v); }

void BuildBlendTables() {
  if (gTablesBuilt) return;
  for (int i = 0; i < 256; ++i) {
    for (int j = 0; j < 256; ++j) {
      gMul[i * 256 + j] = static_cast<uint8_t>(std::trunc(i * j / 255.0 + 0.5));
      gAdd[i * 256 + j] = static_cast<uint8_t>(std::min(255, i + j));
    }
  }
  gTablesBuilt = true;
}

const uint8_t* MulTable() { BuildBlendTables(); return gMul; }
const uint8_t* AddTable() { BuildBlendTables(); return gAdd; }

CustomBlendTables::CustomBlendTables() {
  for (auto& t : tables_) t.assign(65536, 0);
}

int CustomBlendTables::LoadFromFolder(const std::string& folder) {
  int loaded = 0;
  for (int k = 26; k <= 32; ++k) {
    auto bytes = platform::files::ReadFile(folder + std::to_string(k) + ".mode");
    if (!bytes) continue;
    size_t n = std::min<size_t>(bytes->size(), 65536);
    std::copy(bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(n), tables_[k - 26].begin());
    ++loaded;
  }
  return loaded;
}

bool BlendPixel(uint8_t* p, int mode, float xf, uint32_t color, const CustomBlendTables* custom) {
  if (xf == 0.0f) return true;
  if (mode < 0 || mode >= kBlendModeCount) return true;
  int sr = (color >> 16) & 0xFF, sg = (color >> 8) & 0xFF, sb = color & 0xFF;
  double x = xf;
  if (mode == 0) {
    if (!gTablesBuilt) BuildBlendTables();
    int h = Clamp255(RoundInt(x * 255.0));
    const uint8_t* ms = gMul + h;            // M[s][h] = ms[s*256]
    const uint8_t* md = gMul + (255 - h);    // M[d][255-h]
    p[2] = gAdd[ms[sr * 256] * 256 + md[p[2] * 256]];
    p[1] = gAdd[ms[sg * 256] * 256 + md[p[1] * 256]];
    p[0] = gAdd[ms[sb * 256] * 256 + md[p[0] * 256]];
    return true;
  }
  if (mode == 13) {
    double g = (sr + sg + sb) / 3.0;
    if (g < 128) x = g / 128.0 * x;
    p[2] = static_cast<uint8_t>(Mix(sr, x, p[2]));
    p[1] = static_cast<uint8_t>(Mix(sg, x, p[1]));
    p[0] = static_cast<uint8_t>(Mix(sb, x, p[0]));
    return true;
  }
  if (mode == 14) {
    if (DissolveRandom() < x * 100.0) {
      p[2] = static_cast<uint8_t>(sr);
      p[1] = static_cast<uint8_t>(sg);
      p[0] = static_cast<uint8_t>(sb);
    }
    return true;
  }
  if (mode >= 18 && mode <= 21) return BlendHsl(p, mode, x, sr, sg, sb);
  p[2] = static_cast<uint8_t>(Clamp255(BlendChannel(mode, sr, p[2], x, custom)));
  p[1] = static_cast<uint8_t>(Clamp255(BlendChannel(mode, sg, p[1], x, custom)));
  p[0] = static_cast<uint8_t>(Clamp255(BlendChannel(mode, sb, p[0], x, custom)));
  return true;
}

Hsl RgbToHsl(int ri, int gi, int bi) {
  double r = ri / 255.0, g = gi / 255.0, b = bi / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double l = (mx + mn) / 2.0, s = 0, h = 0;
  if (mx != mn) {
    double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2.0 - mx - mn);
    if (r == mx) h = (g - b) / d;
    else if (g == mx) h = (b - r) / d + 2.0;
    else h = (r - g) / d + 4.0;
    h /= 6.0;
    if (h < 0) h += 1.0;
  }
  return {l * 100.0, s * 100.0, h * 360.0};
}

void HslToRgb(double l, double s, double h, int out[3]) {
  out[0] = out[1] = out[2] = 0;
  if (!(l >= 0 && l <= 100 && s >= 0 && s <= 100 && h >= 0 && h < 360)) return;
  // Hue ramp, 4.25 levels per degree.
  double c[3];
  if (h <= 60) { c[0] = 255; c[1] = RoundEven(4.25 * h); c[2] = 0; }
  else if (h <= 120) { c[0] = RoundEven(255 - 4.25 * (h - 60)); c[1] = 255; c[2] = 0; }
  else if (h <= 180) { c[0] = 0; c[1] = 255; c[2] = RoundEven(4.25 * (h - 120)); }
  else if (h <= 240) { c[0] = 0; c[1] = RoundEven(255 - 4.25 * (h - 180)); c[2] = 255; }
  else if (h <= 300) { c[0] = RoundEven(4.25 * (h - 240)); c[1] = 0; c[2] = 255; }
  else { c[0] = 255; c[1] = 0; c[2] = RoundEven(255 - 4.25 * (h - 300)); }
  // Saturation pulls every channel towards 128.
  double e = std::fabs(s - 100.0) / 100.0;
  for (double& v : c) v = RoundEven(v - (v - 128.0) * e);
  // Lightness pushes towards white or black.
  double f = (l - 50.0) / 50.0;
  if (f > 0) for (double& v : c) v = RoundEven(v + f * (255.0 - v));
  else if (f < 0) for (double& v : c) v = RoundEven(v + f * v);
  for (int i = 0; i < 3; ++i) out[i] = static_cast<int>(Clamp255d(c[i]));
}

int DissolveRandom() {
  gDissolveState = gDissolveState * 0x08088405u + 1u;
  return static_cast<int>((static_cast<uint64_t>(gDissolveState) * 100u) >> 32);
}

void SeedDissolve(uint32_t seed) { gDissolveState = seed; }

}  // namespace imaging
