#include "flashwizard/frame_packets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "flashwizard/flash_project.h"
#include "platform/bmp_codec.h"
#include "support/temp_dir.h"

using namespace flashwizard;
using platform::Bitmap;
using platform::PixelFormat;

namespace {

// A frame of its own size and offset, one colour, optionally with transparent pixels where
// `hole` says so.
platform::GifFrame Frame(int left, int top, int w, int h, platform::Color c, int delay = 5,
                         bool transparent = false, std::function<bool(int, int)> hole = nullptr) {
  platform::GifFrame f;
  f.left = left; f.top = top; f.width = w; f.height = h;
  f.image = Bitmap::Create(w, h, PixelFormat::Bgra32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.image->SetPixelColor(x, y, c, hole && hole(x, y) ? 0 : 255);
  f.hasControlBlock = true;
  f.delay = delay;
  f.hasTransparent = transparent;
  f.transparentColor = platform::Rgb(1, 2, 3);
  f.disposal = platform::GifDisposal::Keep;
  return f;
}

platform::GifAnimation Gif(int w, int h, int frames) {
  platform::GifAnimation g;
  g.width = w; g.height = h;
  for (int i = 0; i < frames; ++i) g.frames.push_back(Frame(0, 0, w, h, platform::Rgb(i, 0, 0)));
  return g;
}

struct ParsedPacket {
  int w = 0, h = 0, n = 0;
  std::vector<int> delays;
  std::unique_ptr<Bitmap> sheet;
};

ParsedPacket Parse(const Packet& p) {
  ParsedPacket out;
  auto i32 = [&](size_t at) { int32_t v; std::memcpy(&v, p.data() + at, 4); return v; };
  out.w = i32(0); out.h = i32(4); out.n = i32(8);
  for (int k = 0; k < out.n; ++k) out.delays.push_back(p[12 + 2 * k] | (p[13 + 2 * k] << 8));
  out.sheet = platform::DecodeBmp(std::span<const uint8_t>(p.data() + 12 + 2 * out.n, p.size() - 12 - 2 * out.n));
  return out;
}

}  // namespace

TEST(FrameSheet, RowsFollowTheFrameCountAndHeight) {
  FrameSheet twelve = BuildFrameSheet(Gif(30, 100, 12));
  EXPECT_EQ(twelve.rows, 6);
  EXPECT_EQ(twelve.sheet->Width(), 60);
  EXPECT_EQ(twelve.sheet->Height(), 600);
  FrameSheet seven = BuildFrameSheet(Gif(30, 100, 7));
  EXPECT_EQ(seven.rows, 1);
  EXPECT_EQ(seven.sheet->Width(), 210);
  // Five rows would make the sheet higher than 2048 pixels: two rows of five.
  EXPECT_EQ(SheetRows(10, 500), 2);
  EXPECT_EQ(SheetRows(10, 300), 5);
  EXPECT_EQ(SheetRows(8, 600), 2);
  EXPECT_EQ(SheetRows(9, 900), 3);
  // Frame k lies at column k mod columns, row k div columns.
  EXPECT_EQ(twelve.sheet->PixelColor(30, 100), platform::Rgb(3, 0, 0));
  EXPECT_EQ(twelve.delays, std::vector<int>(12, 50));
}

TEST(FrameSheet, FramesBuildOnThePreviousCellUnlessTheyRestoreTheBackground) {
  platform::GifAnimation g;
  g.width = 10; g.height = 10;
  g.frames.push_back(Frame(0, 0, 10, 10, platform::Rgb(255, 0, 0)));
  g.frames.push_back(Frame(5, 5, 2, 2, platform::Rgb(0, 0, 255)));        // drawn over frame 0
  g.frames.push_back(Frame(0, 0, 2, 2, platform::Rgb(0, 255, 0)));        // restores: white cell
  g.frames.back().disposal = platform::GifDisposal::RestoreBackground;
  g.frames.push_back(Frame(8, 8, 1, 1, platform::Rgb(0, 0, 0)));
  g.frames.back().hasControlBlock = false;                                 // no delay given
  FrameSheet s = BuildFrameSheet(g);
  ASSERT_EQ(s.rows, 4);  // four frames of height 10: four rows of one
  const Bitmap& b = *s.sheet;
  auto cell = [&](int k, int x, int y) { return b.PixelColor((k % (4 / s.rows)) * 10 + x, (k / (4 / s.rows)) * 10 + y); };
  EXPECT_EQ(cell(1, 0, 0), platform::Rgb(255, 0, 0));
  EXPECT_EQ(cell(1, 5, 5), platform::Rgb(0, 0, 255));
  EXPECT_EQ(cell(2, 5, 5), platform::kClWhite);
  EXPECT_EQ(cell(2, 1, 1), platform::Rgb(0, 255, 0));
  EXPECT_EQ(cell(3, 1, 1), platform::Rgb(0, 255, 0));  // copied from cell 2
  EXPECT_EQ(s.delays, (std::vector<int>{50, 50, 50, 100}));
  EXPECT_EQ(b.Format(), PixelFormat::Bgr24);
}

TEST(FrameSheet, TransparencyBecomesAlphaAndSingleFramesShowTenSeconds) {
  platform::GifAnimation g;
  g.width = 4; g.height = 4;
  g.frames.push_back(Frame(0, 0, 4, 4, platform::Rgb(200, 0, 0), 5, true, [](int x, int) { return x < 2; }));
  FrameSheet s = BuildFrameSheet(g);
  ASSERT_EQ(s.sheet->Format(), PixelFormat::Bgra32);
  EXPECT_EQ(s.sheet->PixelAlpha(0, 0), 0);
  EXPECT_EQ(s.sheet->PixelAlpha(3, 0), 255);
  EXPECT_EQ(s.delays, std::vector<int>{10000});
  // At most 1001 frames.
  EXPECT_EQ(BuildFrameSheet(Gif(2, 2, 1003)).delays.size(), 1001u);
}

TEST(FramePacket, OpacityGoesOutAsPremultipliedAlpha) {
  testing_support::TempDir dir;
  auto b = Bitmap::Create(6, 4, PixelFormat::Bgr24);
  b->Fill(platform::Rgb(200, 100, 50));
  platform::SaveBmp(*b, dir.File("p.bmp"));
  Packet full, half, none;
  ASSERT_TRUE(MakeImagePacket(dir.File("p.bmp"), 100, full));
  ParsedPacket f = Parse(full);
  EXPECT_EQ(f.w, 6);
  EXPECT_EQ(f.n, 1);
  EXPECT_EQ(f.delays, std::vector<int>{100});
  EXPECT_EQ(f.sheet->Format(), PixelFormat::Bgr24);
  ASSERT_TRUE(MakeImagePacket(dir.File("p.bmp"), 50, half));
  ParsedPacket h = Parse(half);
  ASSERT_EQ(h.sheet->Format(), PixelFormat::Bgra32);
  EXPECT_EQ(h.sheet->PixelAlpha(3, 2), 128);
  EXPECT_EQ(h.sheet->PixelColor(3, 2), platform::Rgb(100, 50, 25));
  // Unknown extensions give an empty packet; unreadable pictures answer false.
  EXPECT_TRUE(MakeImagePacket(dir.File("x.txt"), 100, none));
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(MakeImagePacket(dir.File("gone.bmp"), 100, none));
  testing_support::WriteBytes(dir.File("bad.gif"), "GIF89a junk");
  EXPECT_FALSE(MakeImagePacket(dir.File("bad.gif"), 100, none));
  // A bitmap packet: one frame, delay 1.
  auto alpha = Bitmap::Create(2, 2, PixelFormat::Bgra32);
  alpha->Fill(platform::Rgb(255, 255, 255), 64);
  ParsedPacket bp = Parse(MakeBitmapPacket(*alpha));
  EXPECT_EQ(bp.delays, std::vector<int>{1});
  EXPECT_EQ(bp.sheet->PixelColor(1, 1), platform::Rgb(64, 64, 64));
}

TEST(FramePacket, CropKeepsOnePixelAroundTheOpaquePartWithinTheBitmap) {
  auto b = Bitmap::Create(20, 20, PixelFormat::Bgra32);
  for (int y = 8; y <= 9; ++y)
    for (int x = 5; x <= 7; ++x) b->SetPixelColor(x, y, platform::Rgb(9, 9, 9), 255);
  auto c = CropToOpaque(*b);
  EXPECT_EQ(c->Width(), 5);
  EXPECT_EQ(c->Height(), 4);
  EXPECT_EQ(c->PixelAlpha(1, 1), 255);
  EXPECT_EQ(c->PixelAlpha(0, 0), 0);
  b->SetPixelColor(0, 19, platform::Rgb(9, 9, 9), 1);  // reaches the border: no margin there
  auto d = CropToOpaque(*b);
  EXPECT_EQ(d->Width(), 9);
  EXPECT_EQ(d->Height(), 13);
}

TEST(FramePacket, BicubicStretchInterpolatesAndClamps) {
  auto src = Bitmap::Create(2, 1, PixelFormat::Bgr24);
  src->SetPixelColor(0, 0, platform::Rgb(0, 0, 0));
  src->SetPixelColor(1, 0, platform::Rgb(255, 255, 255));
  auto out = StretchBicubic(*src, 4, 1);
  EXPECT_EQ(platform::RedOf(out->PixelColor(0, 0)), 0);
  EXPECT_EQ(platform::RedOf(out->PixelColor(1, 0)), 128);
  EXPECT_EQ(platform::RedOf(out->PixelColor(2, 0)), 255);
  EXPECT_EQ(platform::RedOf(out->PixelColor(3, 0)), 255);  // overshoot clamped
  auto flat = Bitmap::Create(3, 3, PixelFormat::Bgra32);
  flat->Fill(platform::Rgb(10, 20, 30), 77);
  auto big = StretchBicubic(*flat, 7, 5);
  EXPECT_EQ(big->PixelColor(6, 4), platform::Rgb(10, 20, 30));
  EXPECT_EQ(big->PixelAlpha(3, 2), 77);
}

TEST(FramePacket, SceneBackgroundsTileStretchFillOrStayEmpty) {
  testing_support::TempDir dir;
  auto tile = Bitmap::Create(3, 2, PixelFormat::Bgr24);
  tile->Fill(platform::Rgb(0, 0, 255));
  tile->SetPixelColor(0, 0, platform::Rgb(255, 0, 0));
  platform::SaveBmp(*tile, dir.File("t.bmp"));
  auto p = std::make_unique<FlashProject>();
  p->Settings.Width = 10;
  p->Settings.Height = 7;
  p->SceneCount = 4;
  p->Scenes[0].UseBackPic = true;
  p->Scenes[0].BackPic = dir.File("t.bmp");
  p->Scenes[0].TileBack = true;
  p->Scenes[1] = p->Scenes[0];
  p->Scenes[1].TileBack = false;
  p->Scenes[1].StretchBack = true;
  p->Scenes[2].UseBackColor = true;
  p->Scenes[2].BackColor = platform::Rgb(1, 2, 3);
  auto tiled = GetSceneBmp(*p, 0);
  EXPECT_EQ(tiled->Width(), 10);
  EXPECT_EQ(tiled->PixelColor(9, 6), platform::Rgb(255, 0, 0));  // (9 mod 3, 6 mod 2) = (0, 0)
  EXPECT_EQ(tiled->PixelColor(8, 6), platform::Rgb(0, 0, 255));
  EXPECT_EQ(GetSceneBmp(*p, 1)->Height(), 7);
  EXPECT_EQ(GetSceneBmp(*p, 2)->PixelColor(5, 5), platform::Rgb(1, 2, 3));
  auto none = GetSceneBmp(*p, 3);
  EXPECT_EQ(none->Width(), 8);
  EXPECT_EQ(none->Format(), PixelFormat::Bgra32);
  EXPECT_EQ(none->PixelAlpha(4, 4), 0);
  p->Scenes[0].BackPic = dir.File("gone.bmp");
  EXPECT_EQ(GetSceneBmp(*p, 0)->Width(), 8);
}
