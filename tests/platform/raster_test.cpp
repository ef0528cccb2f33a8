#include "platform/raster.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A bitmap whose pixel (x, y) is Rgb(x, y, 9): every copy can be traced to its source.
std::unique_ptr<Bitmap> Coords(int w, int h, PixelFormat f = PixelFormat::Bgr24) {
  auto b = Bitmap::Create(w, h, f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->SetPixelColor(x, y, Rgb(x, y, 9));
  return b;
}

}  // namespace

TEST(Raster, FillRectIsClippedToTheBitmap) {
  auto b = Bitmap::Create(4, 3, PixelFormat::Bgra32);
  FillRect(*b, {-5, 1, 2, 99}, Rgb(1, 2, 3), 77);
  EXPECT_EQ(b->PixelColor(0, 1), Rgb(1, 2, 3));
  EXPECT_EQ(b->PixelAlpha(1, 2), 77);
  EXPECT_EQ(b->PixelColor(2, 1), 0);
  EXPECT_EQ(b->PixelColor(0, 0), 0);
  FillRect(*b, {10, 10, 20, 20}, Rgb(9, 9, 9));  // wholly outside: nothing
  auto g = Bitmap::Create(3, 1, PixelFormat::Indexed8);
  FillRect(*g, {0, 0, 3, 1}, Rgb(200, 0, 0));
  EXPECT_EQ(g->Row(0)[2], 200);
}

TEST(Raster, CopyClipsAtEveryEdgeOfSourceAndTarget) {
  auto src = Coords(6, 5);
  auto dst = Bitmap::Create(4, 4, PixelFormat::Bgr24);
  // Target offset negative and source rectangle partly outside the source.
  CopyRect(*dst, -1, -2, *src, {3, 2, 10, 10});
  EXPECT_EQ(dst->PixelColor(0, 0), Rgb(4, 4, 9));
  EXPECT_EQ(dst->PixelColor(1, 0), Rgb(5, 4, 9));
  EXPECT_EQ(dst->PixelColor(2, 0), 0);  // beyond the source's right edge
  EXPECT_EQ(dst->PixelColor(0, 1), 0);  // beyond its bottom edge
  CopyRect(*dst, 0, 0, *src, {-2, -2, 1, 1});
  EXPECT_EQ(dst->PixelColor(2, 2), Rgb(0, 0, 9));
  EXPECT_EQ(dst->PixelColor(1, 1), 0);
}

TEST(Raster, CopyConvertsBetweenFormats) {
  auto src = Coords(3, 2, PixelFormat::Bgra32);
  src->SetPixelColor(1, 1, Rgb(255, 255, 255), 10);
  auto d24 = Bitmap::Create(3, 2, PixelFormat::Bgr24);
  CopyBitmap(*d24, 0, 0, *src);
  EXPECT_EQ(d24->PixelColor(1, 1), Rgb(255, 255, 255));
  auto d32 = Bitmap::Create(3, 2, PixelFormat::Bgra32);
  CopyBitmap(*d32, 0, 0, *d24);
  EXPECT_EQ(d32->PixelAlpha(1, 1), 255);
  CopyBitmap(*d32, 0, 0, *src);
  EXPECT_EQ(d32->PixelAlpha(1, 1), 10);
  auto d8 = Bitmap::Create(3, 2, PixelFormat::Indexed8);
  CopyBitmap(*d8, 0, 0, *src);
  EXPECT_EQ(d8->Row(1)[1], 255);
  EXPECT_EQ(d8->Row(0)[0], (114 * 9 + 500) / 1000);
}

TEST(Raster, StretchPicksNearestSourcePixels) {
  auto src = Coords(4, 2);
  auto dst = Bitmap::Create(8, 4, PixelFormat::Bgr24);
  StretchRect(*dst, {0, 0, 8, 4}, *src, {0, 0, 4, 2});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst->PixelColor(x, y), Rgb(x / 2, y / 2, 9)) << x << "," << y;
  // Shrinking by 3: target pixel k takes source column (2k + 1) * 9 / 6.
  auto wide = Coords(9, 1);
  auto small = Bitmap::Create(3, 1, PixelFormat::Bgr24);
  StretchRect(*small, {0, 0, 3, 1}, *wide, {0, 0, 9, 1});
  EXPECT_EQ(small->PixelColor(0, 0), Rgb(1, 0, 9));
  EXPECT_EQ(small->PixelColor(1, 0), Rgb(4, 0, 9));
  EXPECT_EQ(small->PixelColor(2, 0), Rgb(7, 0, 9));
}

TEST(Raster, StretchWithNegativeExtentMirrors) {
  auto src = Coords(4, 3);
  auto dst = Bitmap::Create(4, 3, PixelFormat::Bgr24);
  StretchRect(*dst, {4, 0, 0, 3}, *src, {0, 0, 4, 3});  // right < left
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst->PixelColor(x, 1), Rgb(3 - x, 1, 9));
  StretchRect(*dst, {0, 3, 4, 0}, *src, {0, 0, 4, 3});  // bottom < top
  for (int y = 0; y < 3; ++y) EXPECT_EQ(dst->PixelColor(2, y), Rgb(2, 2 - y, 9));
}

TEST(Raster, StretchIsClippedWithoutShiftingTheMapping) {
  auto src = Coords(4, 4);
  auto dst = Bitmap::Create(4, 4, PixelFormat::Bgr24);
  // An 8x8 stretch placed at (-4, -4): only its bottom-right quarter shows.
  StretchRect(*dst, {-4, -4, 4, 4}, *src, {0, 0, 4, 4});
  EXPECT_EQ(dst->PixelColor(0, 0), Rgb(2, 2, 9));
  EXPECT_EQ(dst->PixelColor(3, 3), Rgb(3, 3, 9));
}

TEST(Raster, MirrorCopyReversesEitherDirection) {
  auto src = Coords(5, 3);
  auto dst = Bitmap::Create(3, 3, PixelFormat::Bgr24);
  MirrorRect(*dst, 0, 0, *src, {1, 0, 4, 3}, true, false);
  EXPECT_EQ(dst->PixelColor(0, 0), Rgb(3, 0, 9));
  EXPECT_EQ(dst->PixelColor(2, 2), Rgb(1, 2, 9));
  MirrorRect(*dst, 0, 0, *src, {1, 0, 4, 3}, false, true);
  EXPECT_EQ(dst->PixelColor(0, 0), Rgb(1, 2, 9));
  EXPECT_EQ(dst->PixelColor(2, 2), Rgb(3, 0, 9));
  // Partly off the target: the visible part still comes from the mirrored place.
  auto d2 = Bitmap::Create(3, 3, PixelFormat::Bgr24);
  MirrorRect(*d2, -1, 0, *src, {0, 0, 3, 3}, true, false);
  EXPECT_EQ(d2->PixelColor(0, 0), Rgb(1, 0, 9));
  EXPECT_EQ(d2->PixelColor(1, 0), Rgb(0, 0, 9));
  EXPECT_EQ(d2->PixelColor(2, 0), 0);
}

TEST(Raster, DrawingThroughAClipRegionTouchesOnlyItsPixels) {
  auto src = Coords(10, 10);
  auto dst = Bitmap::Create(10, 10, PixelFormat::Bgr24);
  dst->Fill(Rgb(255, 255, 255));
  Region clip = Region::Ellipse({0, 0, 10, 10});
  clip.UniteRect({8, 8, 20, 20});
  CopyThroughRegion(*dst, *src, clip);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(dst->PixelColor(x, y), clip.Contains(x, y) ? Rgb(x, y, 9) : Rgb(255, 255, 255)) << x << "," << y;
  auto s2 = Bitmap::Create(10, 10, PixelFormat::Bgr24);
  const Region band = Region::FromRect({0, 4, 10, 6});
  StretchRect(*s2, {0, 0, 10, 10}, *Coords(5, 5), {0, 0, 5, 5}, &band);
  EXPECT_EQ(s2->PixelColor(3, 4), Rgb(1, 2, 9));
  EXPECT_EQ(s2->PixelColor(3, 3), 0);
  auto f = Bitmap::Create(4, 4, PixelFormat::Bgr24);
  FillRegion(*f, Region::Polygon({{0, 0}, {4, 0}, {0, 4}}), Rgb(0, 0, 200));
  EXPECT_EQ(f->PixelColor(0, 0), Rgb(0, 0, 200));
  EXPECT_EQ(f->PixelColor(3, 3), 0);
}
