// The text effects shipped in the program folder: all readable, the default title effect
// present, and "null.style" meaning no effect at all.
#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/layer_style_file.h"
#include "imaging/text_effect.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace imaging {
namespace {

const std::string kFolder = platform::paths::FromHost(CARD_SOURCE_DIR) + "/data/文字特效/";

TEST(ShippedStyles, EveryEffectIsAValidStyleFile) {
  const auto names = platform::files::ListFiles(kFolder, {".style"});
  EXPECT_GE(names.size(), 12u);
  EXPECT_EQ(std::count(names.begin(), names.end(), "null.style"), 0);  // it lies in the program folder
  bool titleDefault = false;
  for (const std::string& name : names) {
    auto bytes = platform::files::ReadFile(kFolder + name);
    ASSERT_TRUE(bytes) << name;
    StyleFile s;
    ASSERT_EQ(ParseStyleFile(*bytes, s), StyleParse::Ok) << name;
    // Every effect renders; the sanitizer build watches the blur tables and painters here.
    TextEffectRequest req;
    req.info.SetText("Ab");
    req.info.size = -12;
    req.styleFile = kFolder + name;
    bool loaded = false;
    EXPECT_TRUE(RenderTextEffect(req, &loaded) && loaded) << name;
    titleDefault |= name == "黄字红边加投影.style";
    if (name == "黄字红边加投影.style") {
      EXPECT_TRUE(s.strokeOn && s.dropShadowOn && s.colorOverlayOn);
      EXPECT_EQ(s.stroke.position, kStrokeOutside);
    }
  }
  EXPECT_TRUE(titleDefault);
}

TEST(ShippedStyles, NullStyleSwitchesEverythingOff) {
  auto bytes = platform::files::ReadFile(kFolder + "../null.style");
  ASSERT_TRUE(bytes);
  StyleFile s;
  ASSERT_EQ(ParseStyleFile(*bytes, s), StyleParse::Ok);
  EXPECT_EQ(s.opacity, 1.0);
  EXPECT_EQ(s.blendMode, 0);
  EXPECT_EQ(s.effectsKeepOpacity, 0);
  EXPECT_EQ(s.dropShadowOn | s.innerShadowOn | s.innerGlowOn | s.outerGlowOn | s.bevelOn | s.strokeOn |
                s.colorOverlayOn | s.gradientOverlayOn | s.strokeGradientOn | s.patternOn,
            0);
}

TEST(TextEffect, SizeNamesAndTheCroppedExport) {
  EXPECT_EQ(FontSizeFromText("二号"), -29);
  EXPECT_EQ(FontSizeFromText("八号"), -7);
  EXPECT_EQ(FontSizeFromText("14"), 14);
  EXPECT_EQ(FontSizeFromText("0"), -12);
  EXPECT_EQ(FontSizeFromText("large"), -12);
  TextEffectRequest req;
  req.info.SetText("Hi");
  req.info.SetFontName("宋体");
  req.info.size = -29;
  req.info.color = platform::Rgb(255, 0, 0);
  BitmapPtr plain = RenderTextEffect(req);
  req.styleFile = kFolder + "黄字红边加投影.style";
  bool loaded = false;
  BitmapPtr styled = RenderTextEffect(req, &loaded);
  ASSERT_TRUE(plain && styled && loaded);
  // The crop keeps one transparent pixel around the text; the stroke and shadow widen it.
  EXPECT_GT(styled->Width(), plain->Width());
  for (int x = 0; x < plain->Width(); ++x) EXPECT_EQ(plain->PixelAlpha(x, 0), 0);
  int top = 0;
  for (int x = 0; x < plain->Width(); ++x) top = std::max<int>(top, plain->PixelAlpha(x, 1));
  EXPECT_GT(top, 0);
}

}  // namespace
}  // namespace imaging
