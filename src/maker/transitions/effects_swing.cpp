// Swing in (168-175) and swing out (176-183): a frame drawn rotated about a corner.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "maker/transitions/effects.h"

namespace transitions {

namespace {

// x rounded to the nearest integer, halves to even, for |x| < 2^51: adding and taking away
// 1.5 * 2^52 leaves the rounded value in the current (nearest-even) rounding mode.
inline int FastRound(double x) {
  const double t = x + 6755399441055744.0;
  return static_cast<int>(t - 6755399441055744.0);
}

// Every pixel of the work image takes the pixel of src that the rotation by theta about
// (px, py) carries onto it; where that lies outside the frame, the base pixel stays.
void Rotate(const StepFrames& f, const Bitmap& src, int px, int py, double theta) {
  const double c = std::cos(theta), sn = std::sin(theta);
  const int W = f.W, H = f.H;
  // Tiles of the work image keep the rotated reads of the source within a few cache lines.
  constexpr int kTile = 32;
  for (int ty = 0; ty < H; ty += kTile)
    for (int tx = 0; tx < W; tx += kTile) {
      const int yEnd = std::min(ty + kTile, H), xEnd = std::min(tx + kTile, W);
      for (int y = ty; y < yEnd; ++y) {
        const double dy = y - py;
        const double uRow = -dy * sn, vRow = dy * c;
        // Columns whose source can lie inside the frame: px + dx c + uRow in [0, W) and
        // py + dx sn + vRow in [0, H), widened by a pixel for the rounding.
        double lo = tx - px, hi = xEnd - px;
        auto within = [&](double k, double base, double minV, double maxV) {
          if (std::fabs(k) < 1e-12) {
            if (base < minV || base > maxV) hi = lo - 1;
            return;
          }
          double a = (minV - base) / k, b = (maxV - base) / k;
          if (a > b) std::swap(a, b);
          lo = std::max(lo, a);
          hi = std::min(hi, b);
        };
        within(c, uRow, -px - 1.0, W - px + 1.0);
        within(sn, vRow, -py - 1.0, H - py + 1.0);
        if (hi < lo) continue;
        const int xa = std::max(tx, static_cast<int>(std::floor(lo)) + px - 1);
        const int xb = std::min(xEnd, static_cast<int>(std::ceil(hi)) + px + 1);
        uint8_t* out = f.work.Row(y);
        for (int x = xa; x < xb; ++x) {
          const double dx = x - px;
          const int sx = px + FastRound(dx * c + uRow);
          const int sy = py + FastRound(dx * sn + vRow);
          if (static_cast<unsigned>(sx) < static_cast<unsigned>(W) &&
              static_cast<unsigned>(sy) < static_cast<unsigned>(H)) {
            const uint8_t* p = src.Row(sy) + sx * 3;
            uint8_t* o = out + x * 3;
            o[0] = p[0];
            o[1] = p[1];
            o[2] = p[2];
          }
        }
      }
    }
}

struct SwingSpec {
  bool right, bottom;  // pivot at (W or 0, H or 0)
  int sign;
};
constexpr SwingSpec kSwings[8] = {{false, false, 1}, {false, true, -1}, {true, false, -1}, {true, true, 1},
                                  {false, false, -1}, {false, true, 1}, {true, false, 1}, {true, true, -1}};

}  // namespace

void SwingIn(const StepFrames& f, int v) {
  if (f.s == 100) {  // no rotation left: the whole new frame
    CopyWhole(f.newF, f.work);
    return;
  }
  const SwingSpec& sp = kSwings[v - 1];
  Rotate(f, f.newF, sp.right ? f.W : 0, sp.bottom ? f.H : 0, sp.sign * (100 - f.s) * std::numbers::pi / 200);
}

void SwingOut(const StepFrames& f, int v) {
  if (f.s == 100) return;  // swung away: nothing over the new frame
  const SwingSpec& sp = kSwings[v - 1];
  Rotate(f, f.oldF, sp.right ? f.W : 0, sp.bottom ? f.H : 0, sp.sign * f.s * std::numbers::pi / 200);
}

}  // namespace transitions
