#include "imaging/blur.h"

#include <gtest/gtest.h>

namespace imaging {
namespace {

using platform::Bitmap;
using platform::PixelFormat;

std::unique_ptr<Bitmap> Mask(int w, int h, uint8_t fill = 0) {
  auto m = Bitmap::Create(w, h, PixelFormat::Indexed8);
  for (int y = 0; y < h; ++y) std::fill(m->Row(y), m->Row(y) + w, fill);
  return m;
}

TEST(BlurMask, HalfWidthFollowsTheTailRule) {
  EXPECT_EQ(BlurHalfWidth(0.6), 1);
  EXPECT_EQ(BlurHalfWidth(1.0), 2);
  EXPECT_EQ(BlurHalfWidth(1.5), 4);
  EXPECT_EQ(BlurHalfWidth(2.0), 5);
  EXPECT_EQ(BlurHalfWidth(5.0), 14);
  EXPECT_EQ(BlurHalfWidth(10.0), 30);
  EXPECT_DOUBLE_EQ(BlurRadiusForPixels(1), 0.6);
  EXPECT_DOUBLE_EQ(BlurRadiusForPixels(7), 3.5);
}

TEST(BlurMask, UniformMaskLosesAtMostOneLevel) {
  for (int v : {0, 1, 77, 128, 254, 255}) {
    for (double sigma : {0.6, 1.0, 2.5, 10.0}) {
      auto m = Mask(23, 9, static_cast<uint8_t>(v));
      BlurMask(*m, sigma);
      for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 23; ++x) {
          int got = m->Row(y)[x];
          ASSERT_LE(got, v) << "sigma " << sigma;
          ASSERT_GE(got, v - 2) << "sigma " << sigma;  // one level per pass, two passes
        }
      }
      // Every pixel of a uniform mask ends at the same value.
      EXPECT_EQ(m->Row(0)[0], m->Row(8)[22]);
    }
  }
}

TEST(BlurMask, OnePixelWideMaskKeepsItsValueUpToTruncation) {
  auto m = Mask(1, 1, 200);
  BlurMask(*m, 3.0);
  EXPECT_GE(m->Row(0)[0], 198);
  EXPECT_LE(m->Row(0)[0], 200);
}

TEST(BlurMask, ImpulseSpreadsSymmetricallyWithinTheHalfWidth) {
  auto m = Mask(21, 21);
  m->Row(10)[10] = 255;
  BlurMask(*m, 1.0);  // half-width 2
  EXPECT_GT(m->Row(10)[10], m->Row(10)[11]);
  EXPECT_EQ(m->Row(10)[8], m->Row(10)[12]);
  EXPECT_EQ(m->Row(8)[10], m->Row(12)[10]);
  EXPECT_EQ(m->Row(9)[11], m->Row(11)[9]);
  EXPECT_EQ(m->Row(10)[7], 0);  // beyond the half-width nothing arrives
  EXPECT_EQ(m->Row(13)[10], 0);
  // Along one axis the first pass gives trunc(255*256*w(d)) >> 8 per tap; the centre keeps
  // most of the weight.
  EXPECT_GT(m->Row(10)[10], 30);
}

TEST(BlurMask, NonPositiveRadiusOrWrongFormatChangesNothing) {
  auto m = Mask(5, 5);
  m->Row(2)[2] = 255;
  BlurMask(*m, 0.0);
  EXPECT_EQ(m->Row(2)[2], 255);
  auto rgb = Bitmap::Create(5, 5, PixelFormat::Bgr24);
  rgb->Row(2)[6] = 255;
  BlurMask(*rgb, 2.0);
  EXPECT_EQ(rgb->Row(2)[6], 255);
}

// Flat stretches of a mask take a shortcut; the results stay those of the full convolution
// (fingerprints of what the plain filter gave for a box with scattered dots around it).
TEST(BlurMask, ResultsOnMixedMaskAreThoseOfTheFullConvolution) {
  const std::pair<double, uint32_t> cases[] = {{0.6, 0xec10d3a2u}, {3.0, 0x973ea421u}, {40.0, 0x5e1b4c4du}};
  for (const auto& [sigma, expected] : cases) {
    auto m = Mask(97, 61);
    for (int y = 0; y < 61; ++y)
      for (int x = 0; x < 97; ++x)
        m->Row(y)[x] = (x >= 30 && x < 70 && y >= 20 && y < 45) ? 255 : ((x * 7 + y * 13) % 29 == 0 ? 90 : 0);
    BlurMask(*m, sigma);
    uint32_t h = 2166136261u;
    for (int y = 0; y < 61; ++y)
      for (int x = 0; x < 97; ++x) h = (h ^ m->Row(y)[x]) * 16777619u;
    EXPECT_EQ(h, expected) << "sigma " << sigma;
  }
}

}  // namespace
}  // namespace imaging
