// The rotating and stretching effects checked at every pixel against the plain formulas:
// the fast loops (tiles, column ranges, stretched rows) must give exactly these pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "maker/transitions/transition_fixture.h"

namespace transitions {
namespace {

using namespace transitions::testing;

TEST(ReferencePixels, SwingsMatchTheRotationFormulaEverywhere) {
  const int W = 77, H = 45;
  const int sign[8] = {1, -1, -1, 1, -1, 1, 1, -1};
  for (int v = 1; v <= 8; ++v)
    for (bool in : {true, false})
      for (int s : {1, 13, 50, 87, 99}) {
        const int effect = (in ? 167 : 175) + v;
        Stage st(W, H);
        st.Draw(effect, s);
        const int px = (v == 3 || v == 4 || v == 7 || v == 8) ? W : 0;
        const int py = (v == 2 || v == 4 || v == 6 || v == 8) ? H : 0;
        const double theta = sign[v - 1] * (in ? 100 - s : s) * std::numbers::pi / 200;
        const double c = std::cos(theta), sn = std::sin(theta);
        for (int y = 0; y < H; ++y)
          for (int x = 0; x < W; ++x) {
            const int sx = px + static_cast<int>(std::nearbyint((x - px) * c - (y - py) * sn));
            const int sy = py + static_cast<int>(std::nearbyint((x - px) * sn + (y - py) * c));
            const bool inside = sx >= 0 && sx < W && sy >= 0 && sy < H;
            const Seen expected = inside ? Seen{in ? kNewTag : kOldTag, sx, sy} : Seen{in ? kOldTag : kNewTag, x, y};
            ASSERT_EQ(At(*st.target, x, y), expected) << "effect " << effect << " step " << s << " at " << x << "," << y;
          }
      }
}

TEST(ReferencePixels, StretchesTakeThePixelUnderEachCentre) {
  const int W = 61, H = 37;
  for (int s : {7, 33, 50, 71}) {
    Stage st(W, H);
    st.Draw(5, s);  // the new frame stretched into the centred rectangle
    const int w = static_cast<int>(std::nearbyint(s * W / 100.0)), h = static_cast<int>(std::nearbyint(s * H / 100.0));
    const int l = (W - w) / 2, t = (H - h) / 2;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const bool inside = x >= l && x < l + w && y >= t && y < t + h;
        const Seen expected = inside ? New((2 * (x - l) + 1) * W / (2 * w), (2 * (y - t) + 1) * H / (2 * h)) : Old(x, y);
        ASSERT_EQ(At(*st.target, x, y), expected) << "step " << s << " at " << x << "," << y;
      }
  }
  Stage st(W, H);
  st.Draw(72, 40);  // a vertical-only stretch: whole rows of the new frame
  const int h = static_cast<int>(std::nearbyint(0.4 * H)), t = (H - h) / 2;
  for (int y = t; y < t + h; ++y) EXPECT_EQ(At(*st.target, W - 1, y), New(W - 1, (2 * (y - t) + 1) * H / (2 * h)));
}

}  // namespace
}  // namespace transitions
