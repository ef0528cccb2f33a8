#include "platform/gif_writer.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "platform/error.h"
#include "platform/files.h"

namespace platform {
namespace {

// Decodes a whole GIF from memory with giflib's reader.
struct Decoded {
  explicit Decoded(const std::vector<uint8_t>& bytes) : data(bytes) {
    int err = 0;
    gif = DGifOpen(this, Read, &err);
    if (gif && DGifSlurp(gif) != GIF_OK) {
      DGifCloseFile(gif, &err);
      gif = nullptr;
    }
  }
  ~Decoded() {
    if (gif) DGifCloseFile(gif, nullptr);
  }
  static int Read(GifFileType* g, GifByteType* buf, int len) {
    auto* self = static_cast<Decoded*>(g->UserData);
    const int n = std::min<int>(len, int(self->data.size() - self->pos));
    std::memcpy(buf, self->data.data() + self->pos, size_t(n));
    self->pos += size_t(n);
    return n;
  }
  Color Pixel(int frame, int x, int y) const {
    const SavedImage& im = gif->SavedImages[frame];
    const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : gif->SColorMap;
    const GifColorType c = map->Colors[im.RasterBits[y * im.ImageDesc.Width + x]];
    return Rgb(c.Red, c.Green, c.Blue);
  }
  int Delay(int frame) const {
    GraphicsControlBlock gcb;
    DGifSavedExtensionToGCB(gif, frame, &gcb);
    return gcb.DelayTime;
  }
  bool Loops() const {
    for (int i = 0; i < gif->SavedImages[0].ExtensionBlockCount; ++i) {
      const ExtensionBlock& b = gif->SavedImages[0].ExtensionBlocks[i];
      if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 && std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0)
        return true;
    }
    return false;
  }
  std::vector<uint8_t> data;
  size_t pos = 0;
  GifFileType* gif = nullptr;
};

std::unique_ptr<Bitmap> Gradient(int w, int h) {
  auto b = Bitmap::Create(w, h, PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->SetPixelColor(x, y, Rgb(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) % 256));
  return b;
}

TEST(GifWriter, FramesWithFewColoursRoundTripExactlyWithTheirDelays) {
  auto a = Bitmap::Create(7, 5, PixelFormat::Bgr24);
  a->Fill(Rgb(10, 20, 30));
  a->SetPixelColor(6, 4, Rgb(250, 1, 2));
  auto b = Bitmap::Create(7, 5, PixelFormat::Bgr24);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) b->SetPixelColor(x, y, Rgb(x * 30, y * 40, 99));
  GifWriter w(7, 5);
  w.AddFrame(*a, 50);
  w.AddFrame(*b, 4);
  EXPECT_EQ(w.FrameCount(), 2);
  Decoded d(w.Finish());
  ASSERT_NE(d.gif, nullptr);
  ASSERT_EQ(d.gif->ImageCount, 2);
  EXPECT_EQ(d.gif->SWidth, 7);
  EXPECT_EQ(d.gif->SHeight, 5);
  EXPECT_TRUE(d.Loops());
  EXPECT_EQ(d.Delay(0), 50);
  EXPECT_EQ(d.Delay(1), 4);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(d.Pixel(0, x, y), a->PixelColor(x, y));
      EXPECT_EQ(d.Pixel(1, x, y), b->PixelColor(x, y));
    }
}

TEST(GifWriter, ManyColoursAreReducedToAClosePalette) {
  auto g = Gradient(160, 120);  // about 19000 colours
  const QuantizedImage q = QuantizeMedianCut(*g, 256);
  EXPECT_LE(q.palette.size(), 256u);
  EXPECT_GT(q.palette.size(), 200u);
  long long err = 0;
  int worst = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      const PaletteEntry& e = q.palette[q.indices[size_t(y) * 160 + x]];
      const Color c = g->PixelColor(x, y);
      const int d = std::max({std::abs(e.r - RedOf(c)), std::abs(e.g - GreenOf(c)), std::abs(e.b - BlueOf(c))});
      worst = std::max(worst, d);
      err += d;
    }
  EXPECT_LT(double(err) / (160 * 120), 12.0);
  EXPECT_LT(worst, 48);
}

TEST(GifWriter, FewerColoursWhenAskedAndEveryIndexInThePalette) {
  auto g = Gradient(64, 64);
  const QuantizedImage q = QuantizeMedianCut(*g, 16);
  EXPECT_LE(q.palette.size(), 16u);
  std::set<int> used(q.indices.begin(), q.indices.end());
  EXPECT_LT(*used.rbegin(), int(q.palette.size()));
}

TEST(GifWriter, FramesOfAnotherSizeAreCutOrPadded) {
  auto big = Bitmap::Create(10, 10, PixelFormat::Bgr24);
  big->Fill(Rgb(200, 0, 0));
  auto small = Bitmap::Create(2, 2, PixelFormat::Bgra32);
  small->Fill(Rgb(0, 0, 200));
  GifWriter w(4, 3);
  w.AddFrame(*big, 1);
  w.AddFrame(*small, 1);
  Decoded d(w.Finish());
  ASSERT_EQ(d.gif->ImageCount, 2);
  EXPECT_EQ(d.Pixel(0, 3, 2), Rgb(200, 0, 0));
  EXPECT_EQ(d.Pixel(1, 1, 1), Rgb(0, 0, 200));
  EXPECT_EQ(d.Pixel(1, 3, 2), Rgb(0, 0, 0));
}

TEST(GifWriter, SavesToAFileAndReportsAFolderThatCannotBeWritten) {
  auto a = Bitmap::Create(3, 3, PixelFormat::Bgr24);
  const std::string path = files::TempFolder() + "gif_writer_test.gif";
  {
    GifWriter w(3, 3);
    w.AddFrame(*a, 10);
    w.Save(path);
  }
  auto bytes = files::ReadFile(path);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 6), "GIF89a");
  files::DeleteFile(path);
  GifWriter w(3, 3);
  w.AddFrame(*a, 10);
  EXPECT_THROW(w.Save("/no/such/folder/x.gif"), FileError);
}

}  // namespace
}  // namespace platform
