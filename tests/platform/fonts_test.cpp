#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace platform;
using namespace platform::fonts;

namespace {

FontSpec Spec(const std::string& name, int height) {
  FontSpec s;
  s.name = name;
  s.height = height;
  return s;
}

long long Ink(const Bitmap& b) {
  long long sum = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) sum += b.PixelColor(x, y) & 0xFF;
  return sum;
}

// White text on a black 8-bit bitmap: the coverage image the text layers work from.
std::unique_ptr<Bitmap> Coverage(const Font& f, const std::string& text, int extra = 0) {
  auto b = Bitmap::Create(std::max(1, f.Measure(text, extra).width), f.Height(), PixelFormat::Indexed8);
  f.Draw(*b, 0, 0, text, kClWhite, extra);
  return b;
}

}  // namespace

TEST(Fonts, ShippedAliasesMapTheSystemsFamilyNames) {
  UseAliasFile(std::string(CARD_SOURCE_DIR) + "/data/fonts/fonts.conf");
  EXPECT_EQ(HostFamilyFor("宋体"), "AR PL UMing CN");
  EXPECT_EQ(HostFamilyFor("隶书"), "AR PL UKai CN");
  EXPECT_EQ(HostFamilyFor("华文行楷"), "AR PL UKai CN");
  EXPECT_EQ(HostFamilyFor("MS Sans Serif"), "DejaVu Sans");
  const std::vector<std::string> all = InstalledFamilies();
  for (const char* name : {"宋体", "隶书", "华文行楷", "MS Sans Serif", "DejaVu Sans"})
    EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
  EXPECT_TRUE(IsInstalled("dejavu sans"));
  EXPECT_FALSE(IsInstalled("No Such Family 42"));
}

TEST(Fonts, MissingFamilyFallsBackToSongti) {
  EXPECT_EQ(ResolveFamily("No Such Family 42"), "宋体");
  EXPECT_EQ(ResolveFamily("隶书"), "隶书");
  EXPECT_EQ(ResolveFamily(""), "宋体");
  auto f = Font::Create(Spec("No Such Family 42", -20));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Family(), "宋体");
}

TEST(Fonts, SizeInPointsOrPlatformHeight) {
  EXPECT_EQ(Font::Create(Spec("宋体", -20))->EmHeight(), 20);
  FontSpec points;
  points.size = 15;  // 15 pt at 96 dpi = 20 px
  EXPECT_EQ(Font::Create(points)->EmHeight(), 20);
  // A positive height is the whole cell.
  EXPECT_NEAR(Font::Create(Spec("MS Sans Serif", 30))->Height(), 30, 1);
  EXPECT_GT(Font::Create(Spec("宋体", -40))->Height(), Font::Create(Spec("宋体", -20))->Height());
}

TEST(Fonts, CharacterSpacingCountsOncePerCharacterInMeasurement) {
  auto f = Font::Create(Spec("宋体", -16));
  const std::string text = "贺卡ab";  // four characters, six bytes
  const int plain = f->Measure(text).width;
  EXPECT_GT(plain, 0);
  EXPECT_EQ(f->Measure(text, 5).width, plain + 4 * 5);
  EXPECT_EQ(f->Measure(text, -2).width, plain - 4 * 2);
  EXPECT_EQ(f->Measure(text).height, f->Height());
  EXPECT_EQ(f->Measure("").width, 0);
  // Drawing with spacing moves the second character right by the spacing.
  auto tight = Coverage(*f, "中中", 0), loose = Coverage(*f, "中中", 8);
  auto lastInk = [](const Bitmap& b) {
    int last = -1;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (b.Row(y)[x] > 0) last = std::max(last, x);
    return last;
  };
  EXPECT_EQ(lastInk(*loose) - lastInk(*tight), 8);
}

TEST(Fonts, ChineseTextDrawsRealDistinctGlyphs) {
  auto f = Font::Create(Spec("宋体", -32));
  auto he = Coverage(*f, "贺"), ka = Coverage(*f, "卡"), box = Coverage(*f, "\xAA\xA1");  // a private-use code
  EXPECT_GT(Ink(*he), 255 * 40);
  EXPECT_FALSE(he->SamePixels(*ka));
  EXPECT_FALSE(he->SamePixels(*box));
  // Chinese characters of a Latin family come from the Chinese fallback, not as empty boxes.
  auto sans = Font::Create(Spec("MS Sans Serif", -32));
  EXPECT_GT(Ink(*Coverage(*sans, "贺")), 255 * 40);
}

TEST(Fonts, StylesChangeTheInk) {
  auto plain = Font::Create(Spec("宋体", -24));
  FontSpec b = Spec("宋体", -24);
  b.bold = true;
  auto bold = Font::Create(b);
  EXPECT_GT(Ink(*Coverage(*bold, "Hello")), Ink(*Coverage(*plain, "Hello")) * 11 / 10);
  FontSpec u = Spec("MS Sans Serif", -24);
  u.underline = true;
  auto under = Font::Create(u);
  auto line = Coverage(*under, "ab");
  // One row below the baseline is inked across the whole text.
  bool full = false;
  for (int y = under->Ascent(); y < line->Height(); ++y) {
    int n = 0;
    for (int x = 0; x < line->Width(); ++x) n += line->Row(y)[x] > 128;
    full |= n == line->Width();
  }
  EXPECT_TRUE(full);
  FontSpec s = Spec("MS Sans Serif", -24);
  s.strikeOut = true;
  EXPECT_GT(Ink(*Coverage(*Font::Create(s), "ab")), Ink(*Coverage(*Font::Create(Spec("MS Sans Serif", -24)), "ab")));
  FontSpec i = Spec("MS Sans Serif", -24);
  i.italic = true;
  EXPECT_FALSE(Coverage(*Font::Create(i), "l")->SamePixels(*Coverage(*Font::Create(Spec("MS Sans Serif", -24)), "l")));
}

TEST(Fonts, DrawingIsClippedAndKeepsColourAndAlpha) {
  auto f = Font::Create(Spec("宋体", -20));
  auto b = Bitmap::Create(30, 30, PixelFormat::Bgra32);
  const Rect clip{5, 5, 15, 15};
  f->Draw(*b, -8, -3, "贺卡贺卡", Rgb(200, 0, 0), 0, &clip);
  bool inside = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      if (!clip.Contains(x, y)) {
        EXPECT_EQ(b->PixelAlpha(x, y), 0) << x << "," << y;
      } else if (b->PixelAlpha(x, y) == 255) {
        inside = true;
        EXPECT_EQ(b->PixelColor(x, y), Rgb(200, 0, 0));
      }
    }
  EXPECT_TRUE(inside);
  f->Draw(*b, 1000, 1000, "far away", kClBlack);  // nothing to draw, nothing broken
}

TEST(Fonts, LinesSplitAtEveryKindOfBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("\n"), (std::vector<std::string>{""}));
}

TEST(Fonts, WrapBreaksChineseAnywhereAndKeepsLatinWordsWhole) {
  auto f = Font::Create(Spec("宋体", -16));
  const int cjk = f->Measure("中").width;
  // Three Chinese characters fit a line.
  EXPECT_EQ(WrapText(*f, "一二三四五六七", cjk * 3 + cjk / 2),
            (std::vector<std::string>{"一二三", "四五六", "七"}));
  // A word that does not fit moves to the next line whole; the blank at the break is dropped.
  const int word = f->Measure("hello").width;
  EXPECT_EQ(WrapText(*f, "hello world", word + f->Measure(" wo").width),
            (std::vector<std::string>{"hello", "world"}));
  // A Latin word may follow a Chinese character without a blank and still moves whole.
  EXPECT_EQ(WrapText(*f, "中hello", word + cjk / 2), (std::vector<std::string>{"中", "hello"}));
  // A word wider than the line is cut by characters.
  const int line = f->Measure("abcd").width;
  const std::vector<std::string> cut = WrapText(*f, "abcdefghij", line);
  ASSERT_GE(cut.size(), 3u);
  EXPECT_EQ(cut[0], "abcd");
  std::string joined;
  for (const std::string& l : cut) {
    EXPECT_LE(f->Measure(l).width, line) << l;
    joined += l;
  }
  EXPECT_EQ(joined, "abcdefghij");
  // Hard breaks stay, including empty lines; a width of zero still ends with a character a line.
  EXPECT_EQ(WrapText(*f, "ab\r\n\r\ncd", 1000), (std::vector<std::string>{"ab", "", "cd"}));
  EXPECT_EQ(WrapText(*f, "中文", 0), (std::vector<std::string>{"中", "文"}));
  // Spacing counts in the widths.
  EXPECT_EQ(WrapText(*f, "一二三四", cjk * 4 + 1, 0).size(), 1u);
  EXPECT_EQ(WrapText(*f, "一二三四", cjk * 4 + 1, 2).size(), 2u);
}
