// The wizard's rules without windows: command line, tile rule, handle arithmetic, scene
// deletion, stacking, decoration file names, seconds and the effect lists.
#include "flashwizard/ui/wizard_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "flashwizard/flash_project.h"
#include "platform/error.h"
#include "support/temp_dir.h"

using namespace flashwizard;
using namespace flashwizard::ui;

TEST(FlashUiRules, CommandLineJoinsArgumentsAndDropsOneQuoteEachSide) {
  EXPECT_EQ(TemplateNameFromArgs({"新年", "快乐"}), "新年快乐");
  EXPECT_EQ(TemplateNameFromArgs({"\"生日贺卡\""}), "生日贺卡");
  EXPECT_EQ(TemplateNameFromArgs({"\"春节", "快乐\""}), "春节快乐");
  EXPECT_EQ(TemplateNameFromArgs({"a\"b"}), "a\"b");
  EXPECT_EQ(TemplateNameFromArgs({"\"\"x\"\""}), "\"x\"");
  EXPECT_EQ(TemplateNameFromArgs({}), "");
}

TEST(FlashUiRules, TileRuleUsesHalfTheMovieSize) {
  EXPECT_TRUE(ShouldTileBackground(300, 200, 800, 600));
  EXPECT_FALSE(ShouldTileBackground(500, 400, 800, 600));
  EXPECT_TRUE(ShouldTileBackground(400, 500, 800, 600));  // width exactly half
  EXPECT_TRUE(ShouldTileBackground(700, 300, 800, 600));  // height exactly half
}

TEST(FlashUiRules, HandlesSitOnTheFrameCorners) {
  Box o{10, 20, 200, 100};
  int x = 0, y = 0;
  HandleCorner(o, 1, x, y);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 16);
  HandleCorner(o, 3, x, y);
  EXPECT_EQ(x, 206);
  EXPECT_EQ(y, 116);
  HandleCorner(o, 7, x, y);
  EXPECT_EQ(x, 106);
  EXPECT_EQ(y, 116);
  HandleCorner(o, 8, x, y);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 66);
}

TEST(FlashUiRules, CornersKeepThePictureAspectAndEdgesChangeOneSide) {
  Box o{10, 10, 200, 100};
  EXPECT_EQ(ResizeByHandle(o, 3, 310, 999, 200, 100), (Box{10, 10, 300, 150}));
  // Top-left: the right edge stays, the height follows the width.
  EXPECT_EQ(ResizeByHandle(o, 1, 110, 40, 200, 100), (Box{110, 40, 100, 50}));
  // The aspect is the picture's own, not the current frame's.
  EXPECT_EQ(ResizeByHandle(Box{0, 0, 50, 50}, 2, 80, 0, 200, 100), (Box{0, 0, 80, 40}));
  EXPECT_EQ(ResizeByHandle(o, 6, 50, 999, 200, 100), (Box{10, 10, 40, 100}));
  EXPECT_EQ(ResizeByHandle(o, 7, 999, 30, 200, 100), (Box{10, 10, 200, 20}));
  EXPECT_EQ(ResizeByHandle(o, 5, 999, 0, 200, 100), (Box{10, 0, 200, 110}));
}

TEST(FlashUiRules, NegativeSizesBecomePositiveOnRelease) {
  Box o{50, 50, 200, 100};
  Box dragged = ResizeByHandle(o, 8, 350, 0, 200, 100);  // left edge past the right edge
  EXPECT_EQ(dragged.width, -100);
  EXPECT_EQ(NormalizeBox(dragged), (Box{250, 50, 100, 100}));
  EXPECT_EQ(NormalizeBox(Box{10, 90, 20, -30}), (Box{10, 60, 20, 30}));
}

namespace {

int AddObject(FlashProject& p, int scene, const std::string& name) {
  int slot = p.ObjectCount++;
  p.Objects[slot] = TpvFlashImageObj{};
  p.Objects[slot].Name = name;
  p.Objects[slot].SceneID = scene;
  return slot;
}

}  // namespace

TEST(FlashUiRules, DeletingTheMiddleSceneMovesTheLaterOneDown) {
  FlashProject p;
  p.SceneCount = 3;
  for (int s = 0; s < 3; ++s) p.Scenes[s].Name = "场景 " + std::to_string(s + 1);
  int a = AddObject(p, 1, "a");
  int gap = AddObject(p, 1, "gap");
  int b = AddObject(p, 2, "b");
  int c = AddObject(p, 1, "c");
  int d = AddObject(p, 0, "d");
  p.DelObj(gap);  // a deleted slot between scene 2's objects
  EXPECT_EQ(DeleteScene(p, 1), 1);
  EXPECT_EQ(p.SceneCount, 2);
  EXPECT_EQ(p.Scenes[1].Name, "场景 3");
  EXPECT_TRUE(p.Objects[a].Deleted);
  EXPECT_TRUE(p.Objects[c].Deleted);
  EXPECT_FALSE(p.Objects[b].Deleted);
  EXPECT_EQ(p.Objects[b].SceneID, 1);
  EXPECT_EQ(p.Objects[d].SceneID, 0);
  // The last row deleted: the first row is selected; nothing left: none.
  EXPECT_EQ(DeleteScene(p, 1), 0);
  EXPECT_EQ(DeleteScene(p, 0), -1);
  EXPECT_EQ(p.SceneCount, 0);
  EXPECT_EQ(DeleteScene(p, 0), -1);
}

TEST(FlashUiRules, StackingPutsHigherLayersOverLowerOnesAcrossScenes) {
  FlashProject p;
  int a = AddObject(p, 0, "a");
  int b = AddObject(p, 1, "b");
  int c = AddObject(p, 0, "c");
  p.Objects[a].LayerID = 9;
  p.Objects[c].LayerID = 3;
  EXPECT_EQ(StackingOrder(p), (std::vector<int>{b, c, a}));
  p.DelObj(a);
  EXPECT_EQ(StackingOrder(p), (std::vector<int>{b, c}));
}

TEST(FlashUiRules, DecorationFilesTakeTheSmallestFreeNumber) {
  testing_support::TempDir dir;
  EXPECT_EQ(DecorationFileName(dir.Path()), dir.File("~文字0.bmp"));
  testing_support::WriteBytes(dir.File("~文字0.bmp"), "x");
  testing_support::WriteBytes(dir.File("~文字2.bmp"), "x");
  EXPECT_EQ(DecorationFileName(dir.Path()), dir.File("~文字1.bmp"));
}

TEST(FlashUiRules, TimesAreSecondsOnScreenAndMillisecondsStored) {
  EXPECT_EQ(SecondsText(1500), "1.5");
  EXPECT_EQ(SecondsText(30000), "30");
  EXPECT_EQ(SecondsText(0), "0");
  EXPECT_EQ(MillisecondsFromText("1.5"), 1500);
  EXPECT_EQ(MillisecondsFromText(" 2.0004 "), 2000);
  EXPECT_EQ(MillisecondsFromText("0.0005"), 1);
  EXPECT_THROW(MillisecondsFromText("abc"), platform::ConvertError);
  EXPECT_THROW(MillisecondsFromText(""), platform::ConvertError);
  EXPECT_THROW(MillisecondsFromText("1.5s"), platform::ConvertError);
}

TEST(FlashUiRules, ListsAndNames) {
  auto sizes = SizeEntries(36);
  ASSERT_EQ(sizes.size(), 52u);
  EXPECT_EQ(sizes[35], "36");
  EXPECT_EQ(sizes[36], "初号");
  EXPECT_EQ(sizes.back(), "八号");
  ASSERT_EQ(SceneAppearEffects().size(), 36u);
  ASSERT_EQ(SceneDisappearEffects().size(), 36u);
  EXPECT_EQ(SceneAppearEffects()[9], "9.从顶部移入");
  EXPECT_EQ(SceneAppearEffects()[10], "10.透明+左上角移入");
  EXPECT_EQ(SceneAppearEffects()[25], "25.顶边缩放");
  EXPECT_EQ(SceneDisappearEffects()[17], "17.透明+顶部移出");
  EXPECT_EQ(SceneDisappearEffects()[35], "35.透明+中央缩放");
  ASSERT_EQ(ObjectAppearEffects().size(), 10u);
  EXPECT_EQ(ObjectAppearEffects()[3], "从左边移入");
  EXPECT_EQ(ObjectDisappearEffects()[9], "从顶边移出");
  EXPECT_EQ(ChineseColorName("money green"), "灰绿色");
  EXPECT_EQ(ChineseColorName("Custom..."), "自定义...");
  EXPECT_EQ(ChineseColorName("Mauve"), "Mauve");
  // Every colour of the boxes has its Chinese name, the system colours included.
  int system = 0;
  for (const NamedColor& c : ColorBoxColors()) {
    system += platform::IsSystemColor(c.color);
    if (std::string(c.english) != "Hot Light") {
      EXPECT_NE(ChineseColorName(c.english), c.english);
    }
  }
  EXPECT_EQ(system, 30);
  auto face = std::find_if(ColorBoxColors().begin(), ColorBoxColors().end(),
                           [](const NamedColor& c) { return c.color == platform::kClBtnFace; });
  ASSERT_NE(face, ColorBoxColors().end());
  EXPECT_EQ(ChineseColorName(face->english), "按钮底色");
  EXPECT_EQ(FontListEntries({"@宋体", "宋", "隶书", "X", "Arial"}), (std::vector<std::string>{"隶书", "Arial"}));
}
