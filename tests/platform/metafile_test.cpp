#include "platform/metafile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/bmp_codec.h"
#include "platform/error.h"
#include "platform/picture.h"
#include "platform/region.h"
#include "platform/text.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

struct Bytes {
  std::vector<uint8_t> v;
  void U16(int x) { v.push_back(static_cast<uint8_t>(x)); v.push_back(static_cast<uint8_t>(x >> 8)); }
  void U32(uint32_t x) { U16(static_cast<int>(x & 0xFFFF)); U16(static_cast<int>(x >> 16)); }
  void F32(float f) { uint32_t u; std::memcpy(&u, &f, 4); U32(u); }
  void Raw(const std::vector<uint8_t>& b) { v.insert(v.end(), b.begin(), b.end()); }
};

// A bare DIB (info header, no file header) of a 2x2 picture: red, green / blue, white.
std::vector<uint8_t> SmallDib() {
  auto b = Bitmap::Create(2, 2, PixelFormat::Bgr24);
  b->SetPixelColor(0, 0, Rgb(255, 0, 0));
  b->SetPixelColor(1, 0, Rgb(0, 255, 0));
  b->SetPixelColor(0, 1, Rgb(0, 0, 255));
  b->SetPixelColor(1, 1, Rgb(255, 255, 255));
  std::vector<uint8_t> f = EncodeBmp(*b);
  return {f.begin() + 14, f.end()};
}

// WMF records: size in 16-bit words, function, 16-bit parameters.
class Wmf {
 public:
  void Rec(int fn, std::initializer_list<int> params, const std::vector<uint8_t>& tail = {}) {
    const size_t words = 3 + params.size() + (tail.size() + 1) / 2;
    body_.U32(static_cast<uint32_t>(words));
    body_.U16(fn);
    for (int p : params) body_.U16(p);
    body_.Raw(tail);
    if (tail.size() % 2) body_.v.push_back(0);
  }
  std::vector<uint8_t> File(int right, int bottom, int inch) {
    Rec(0, {});
    Bytes f;
    f.U32(0x9AC6CDD7u);
    f.U16(0);
    f.U16(0); f.U16(0); f.U16(right); f.U16(bottom);
    f.U16(inch);
    f.U32(0);
    f.U16(0);
    f.U16(1); f.U16(9); f.U16(0x300);
    f.U32(static_cast<uint32_t>(9 + body_.v.size() / 2));
    f.U16(8); f.U32(100); f.U16(0);
    f.Raw(body_.v);
    return f.v;
  }

 private:
  Bytes body_;
};

// EMF records: type, size, 32-bit fields.
class Emf {
 public:
  Bytes& Begin(uint32_t type) {
    start_ = body_.v.size();
    body_.U32(type);
    body_.U32(0);
    return body_;
  }
  void End() {
    while (body_.v.size() % 4) body_.v.push_back(0);
    const uint32_t size = static_cast<uint32_t>(body_.v.size() - start_);
    for (int k = 0; k < 4; ++k) body_.v[start_ + 4 + k] = static_cast<uint8_t>(size >> (8 * k));
    ++records_;
  }
  void Rec(uint32_t type, std::initializer_list<int32_t> fields) {
    Bytes& b = Begin(type);
    for (int32_t f : fields) b.U32(static_cast<uint32_t>(f));
    End();
  }
  // A picture of w x h pixels at 96 dpi.
  std::vector<uint8_t> File(int w, int h) {
    Rec(14, {0, 0, 20});
    Bytes f;
    f.U32(1); f.U32(88);
    f.U32(0); f.U32(0); f.U32(w - 1); f.U32(h - 1);
    f.U32(0); f.U32(0); f.U32(w * 2540 / 96 - 1); f.U32(h * 2540 / 96 - 1);
    f.U32(0x464D4520u); f.U32(0x10000);
    f.U32(static_cast<uint32_t>(88 + body_.v.size())); f.U32(records_ + 1);
    f.U16(10); f.U16(0); f.U32(0); f.U32(0); f.U32(0);
    f.U32(960); f.U32(960); f.U32(254); f.U32(254);
    f.Raw(body_.v);
    return f.v;
  }

 private:
  Bytes body_;
  size_t start_ = 0;
  uint32_t records_ = 0;
};

bool Near(Color a, Color b) {
  return std::abs(RedOf(a) - RedOf(b)) < 40 && std::abs(GreenOf(a) - GreenOf(b)) < 40 && std::abs(BlueOf(a) - BlueOf(b)) < 40;
}

// Pixels of the colour inside the rectangle.
int CountColor(const Bitmap& b, Rect r, Color c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += b.PixelAlpha(x, y) == 255 && Near(b.PixelColor(x, y), c);
  return n;
}

std::vector<uint8_t> SampleWmf() {
  Wmf w;
  w.Rec(0x02FA, {5, 0, 0, 0, 0});                   // 0: null pen
  w.Rec(0x012D, {0});
  w.Rec(0x02FC, {0, 0x00FF, 0x0000, 0});            // 1: red brush
  w.Rec(0x012D, {1});
  w.Rec(0x041B, {40, 50, 10, 10});                  // rectangle (10,10)-(50,40)
  w.Rec(0x01F0, {1});                               // delete the red brush: slot 1 is free again
  w.Rec(0x02FC, {0, 0x0000, 0x00FF, 0});            // 1: blue brush
  w.Rec(0x012D, {1});
  w.Rec(0x0418, {50, 100, 10, 60});                 // ellipse (60,10)-(100,50)
  w.Rec(0x02FC, {0, 0xFF00, 0x0000, 0});            // 2: green brush
  w.Rec(0x012D, {2});
  w.Rec(0x0324, {3, 110, 50, 150, 50, 130, 10});   // triangle
  w.Rec(0x061C, {20, 20, 95, 195, 60, 155});        // round rect (155,60)-(195,95)
  w.Rec(0x02FA, {0, 3, 0, 0x0000, 0});              // 3: black pen 3 wide
  w.Rec(0x012D, {3});
  w.Rec(0x0325, {2, 10, 60, 60, 60});               // horizontal line at y 60
  w.Rec(0x0214, {70, 10});                          // move to (10,70)
  w.Rec(0x0213, {70, 60});                          // line to (60,70)
  w.Rec(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 20, 20, 75, 70}, SmallDib());  // DIB stretched into (70,75) 20x20
  std::vector<uint8_t> font(18 + 32, 0);
  font[0] = static_cast<uint8_t>(-24 & 0xFF); font[1] = 0xFF;  // height -24
  font[8] = 0x90; font[9] = 0x01;                               // weight 400
  const std::string face = "宋体";
  std::copy(face.begin(), face.end(), font.begin() + 18);
  w.Rec(0x02FB, {}, font);                          // 4: font
  w.Rec(0x012D, {4});
  w.Rec(0x0209, {0x00FF, 0x00FF});                  // text colour magenta
  w.Rec(0x0102, {1});                               // transparent background
  const std::string text = "贺";
  std::vector<uint8_t> t(text.begin(), text.end());
  t.push_back(70); t.push_back(0);                  // y
  t.push_back(110); t.push_back(0);                 // x
  w.Rec(0x0521, {static_cast<int>(text.size())}, t);
  w.Rec(0x9999, {1, 2, 3});                         // an unknown record: skipped
  return w.File(200, 100, 96);
}

std::vector<uint8_t> SampleEmf() {
  Emf e;
  e.Rec(17, {8});                       // MM_ANISOTROPIC
  e.Rec(9, {2000, 1000});               // window extent
  e.Rec(11, {200, 100});                // viewport extent: logical units are tenths of pixels
  e.Rec(37, {static_cast<int32_t>(0x80000008u)});  // NULL_PEN
  e.Rec(39, {1, 0, 0x0000FF, 0});       // red brush
  e.Rec(37, {1});
  e.Rec(43, {100, 100, 500, 400});      // rectangle (10,10)-(50,40) in pixels
  e.Rec(39, {2, 0, 0xFF0000, 0});       // blue brush
  e.Rec(37, {2});
  e.Rec(42, {600, 100, 1000, 500});     // ellipse
  e.Rec(33, {});                        // SAVEDC
  e.Rec(35, {});                        // world transform set below
  {
    Bytes& b = e.Begin(36);             // MODIFYWORLDTRANSFORM: move by (1000, 0), set
    b.F32(1); b.F32(0); b.F32(0); b.F32(1); b.F32(1000); b.F32(0); b.U32(4);
    e.End();
  }
  e.Rec(39, {3, 0, 0x00FF00, 0});       // green brush
  e.Rec(37, {3});
  {
    Bytes& b = e.Begin(86);             // POLYGON16 triangle, drawn 100 px to the right
    b.U32(0); b.U32(0); b.U32(0); b.U32(0); b.U32(3);
    b.U16(100); b.U16(500); b.U16(500); b.U16(500); b.U16(300); b.U16(100);
    e.End();
  }
  e.Rec(34, {-1});                      // RESTOREDC: transform back to identity
  e.Rec(38, {4, 0, 30, 0, 0x000000});   // black pen 30 logical = 3 px
  e.Rec(37, {4});
  {
    Bytes& b = e.Begin(87);             // POLYLINE16 at y 60
    b.U32(0); b.U32(0); b.U32(0); b.U32(0); b.U32(2);
    b.U16(100); b.U16(600); b.U16(600); b.U16(600);
    e.End();
  }
  // A path: a filled Bézier-topped shape in yellow.
  e.Rec(39, {5, 0, 0x00FFFF, 0});
  e.Rec(37, {5});
  e.Rec(37, {static_cast<int32_t>(0x80000008u)});
  e.Rec(59, {});
  e.Rec(27, {1500, 900});
  e.Rec(54, {1900, 900});
  {
    Bytes& b = e.Begin(88);             // POLYBEZIERTO16 back to the start through two controls
    b.U32(0); b.U32(0); b.U32(0); b.U32(0); b.U32(3);
    b.U16(1900); b.U16(500); b.U16(1500); b.U16(500); b.U16(1500); b.U16(900);
    e.End();
  }
  e.Rec(61, {});
  e.Rec(60, {});
  e.Rec(62, {0, 0, 0, 0});
  {
    // STRETCHDIBITS: the 2x2 DIB into (70,75) 20x20 pixels.
    const std::vector<uint8_t> dib = SmallDib();
    const uint32_t bmiSize = 40, bitsSize = static_cast<uint32_t>(dib.size() - 40);
    Bytes& b = e.Begin(81);
    b.U32(0); b.U32(0); b.U32(0); b.U32(0);
    b.U32(700); b.U32(750); b.U32(0); b.U32(0); b.U32(2); b.U32(2);
    b.U32(80); b.U32(bmiSize); b.U32(80 + bmiSize); b.U32(bitsSize);
    b.U32(0); b.U32(0x00CC0020); b.U32(200); b.U32(200);
    b.Raw(dib);
    e.End();
  }
  {
    Bytes& b = e.Begin(82);             // font: height -240 logical = 24 px, 宋体
    b.U32(6);
    b.U32(static_cast<uint32_t>(-240)); b.U32(0); b.U32(0); b.U32(0); b.U32(400);
    b.U32(0); b.U32(0);
    const std::u16string face = u"宋体";
    for (int k = 0; k < 32; ++k) b.U16(k < static_cast<int>(face.size()) ? face[static_cast<size_t>(k)] : 0);
    e.End();
  }
  e.Rec(37, {6});
  e.Rec(24, {0xFF00FF});
  e.Rec(18, {1});
  {
    Bytes& b = e.Begin(84);             // EXTTEXTOUTW "贺" at (110, 70) px
    b.U32(0); b.U32(0); b.U32(0); b.U32(0);
    b.U32(1); b.F32(1); b.F32(1);
    b.U32(1100); b.U32(700); b.U32(1); b.U32(76); b.U32(0);
    b.U32(0); b.U32(0); b.U32(0); b.U32(0); b.U32(0);
    b.U16(0x8D3A); b.U16(0);
    e.End();
  }
  e.Rec(70, {4, 0x12345678});           // a comment: skipped
  return e.File(200, 100);
}

// Both samples draw the same scene; this checks it.
void ExpectScene(const Bitmap& b) {
  ASSERT_EQ(b.Width(), 200);
  ASSERT_EQ(b.Height(), 100);
  EXPECT_EQ(b.PixelAlpha(5, 5), 0);  // nothing drawn: transparent
  EXPECT_EQ(b.PixelColor(30, 25), Rgb(255, 0, 0));
  EXPECT_EQ(b.PixelAlpha(30, 25), 255);
  EXPECT_EQ(b.PixelColor(80, 30), Rgb(0, 0, 255));
  EXPECT_EQ(b.PixelAlpha(61, 11), 0);  // outside the ellipse, inside its box
  EXPECT_EQ(b.PixelColor(130, 40), Rgb(0, 255, 0));
  EXPECT_EQ(b.PixelAlpha(112, 12), 0);  // outside the triangle
  EXPECT_EQ(b.PixelColor(30, 60), Rgb(0, 0, 0));
  EXPECT_EQ(b.PixelAlpha(30, 64), 0);  // a 3-pixel pen
  // The DIB's four quadrants, top row red and green.
  EXPECT_EQ(b.PixelColor(74, 79), Rgb(255, 0, 0));
  EXPECT_EQ(b.PixelColor(86, 79), Rgb(0, 255, 0));
  EXPECT_EQ(b.PixelColor(74, 91), Rgb(0, 0, 255));
  EXPECT_EQ(b.PixelColor(86, 91), Rgb(255, 255, 255));
  // Text in magenta below and right of its reference point.
  EXPECT_GT(CountColor(b, {110, 70, 140, 100}, Rgb(255, 0, 255)), 20);
  EXPECT_EQ(CountColor(b, {0, 70, 60, 100}, Rgb(255, 0, 255)), 0);
}

}  // namespace

TEST(Metafile, WmfRecordsDrawTheirShapes) {
  const std::vector<uint8_t> wmf = SampleWmf();
  MetafileInfo info;
  ASSERT_TRUE(ProbeMetafile(wmf, info));
  EXPECT_FALSE(info.enhanced);
  EXPECT_EQ(info.width, 200);
  auto b = RenderMetafile(wmf);
  ExpectScene(*b);
  // The round rectangle, filled green, with its corner cut.
  EXPECT_EQ(b->PixelColor(175, 78), Rgb(0, 255, 0));
  EXPECT_EQ(b->PixelAlpha(156, 61), 0);
}

TEST(Metafile, EmfRecordsDrawTheirShapes) {
  const std::vector<uint8_t> emf = SampleEmf();
  MetafileInfo info;
  ASSERT_TRUE(ProbeMetafile(emf, info));
  EXPECT_TRUE(info.enhanced);
  EXPECT_EQ(info.width, 200);
  EXPECT_EQ(info.height, 100);
  auto b = RenderMetafile(emf);
  ExpectScene(*b);
  // The filled path: yellow inside its curve, nothing above the curve's top.
  EXPECT_EQ(b->PixelColor(170, 85), Rgb(255, 255, 0));
  EXPECT_EQ(b->PixelAlpha(170, 52), 0);
}

TEST(Metafile, RendersAtAnyRequestedSize) {
  auto b = RenderMetafile(SampleEmf(), 400, 50);
  ASSERT_EQ(b->Width(), 400);
  EXPECT_EQ(b->PixelColor(60, 12), Rgb(255, 0, 0));   // the rectangle, scaled
  EXPECT_EQ(b->PixelColor(160, 15), Rgb(0, 0, 255));  // the ellipse
  auto w = RenderMetafile(SampleWmf(), 100, 50);
  EXPECT_EQ(w->PixelColor(15, 12), Rgb(255, 0, 0));
}

TEST(Metafile, LoadedByExtension) {
  testing_support::TempDir dir;
  const std::vector<uint8_t> emf = SampleEmf(), wmf = SampleWmf();
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("a.emf"), std::string(emf.begin(), emf.end())));
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("a.wmf"), std::string(wmf.begin(), wmf.end())));
  EXPECT_EQ(LoadPicture(dir.File("a.emf"))->PixelColor(30, 25), Rgb(255, 0, 0));
  EXPECT_EQ(LoadPicture(dir.File("a.wmf"))->PixelColor(30, 25), Rgb(255, 0, 0));
  SavePng(*LoadPicture(dir.File("a.emf")), dir.File("a.png"));  // for looking at by hand
}

TEST(Metafile, DamagedFilesNeverCrashOrReadOutside) {
  EXPECT_THROW(RenderMetafile(std::vector<uint8_t>{1, 2, 3}), LoadError);
  for (const std::vector<uint8_t>& good : {SampleWmf(), SampleEmf()}) {
    // Every cut and a flipped byte at every place: rendered or refused, never a crash.
    for (size_t len = 0; len < good.size(); len += 3) {
      try {
        RenderMetafile(std::vector<uint8_t>(good.begin(), good.begin() + len), 50, 25);
      } catch (const LoadError&) {
      }
    }
    for (size_t k = 0; k < good.size(); ++k) {
      std::vector<uint8_t> bad = good;
      bad[k] ^= 0xFF;
      try {
        RenderMetafile(bad, 50, 25);
      } catch (const LoadError&) {
      }
    }
  }
  // A polygon record promising a million points it does not hold.
  Wmf w;
  w.Rec(0x0324, {0x7FFF, 1, 1});
  w.Rec(0x0538, {0x7FFF, 1, 2, 3});
  auto b = RenderMetafile(w.File(10, 10, 96));
  EXPECT_EQ(b->Width(), 10);
}
