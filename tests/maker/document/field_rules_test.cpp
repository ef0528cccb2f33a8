#include "maker/document/field_rules.h"

#include <gtest/gtest.h>

#include "maker/document/designer_rules.h"
#include "platform/error.h"

using namespace document;

TEST(FieldRules, MinusOnlyWhereTheKindAllowsIt) {
  EXPECT_TRUE(NumberFieldAccepts(ElementKind::Label, NumberField::Left, '-'));
  EXPECT_TRUE(NumberFieldAccepts(ElementKind::Image, NumberField::Top, '-'));
  EXPECT_FALSE(NumberFieldAccepts(ElementKind::Label, NumberField::Width, '-'));
  EXPECT_FALSE(NumberFieldAccepts(ElementKind::Gif, NumberField::Height, '-'));
  EXPECT_TRUE(NumberFieldAccepts(ElementKind::Button, NumberField::Width, '-'));
  EXPECT_TRUE(NumberFieldAccepts(ElementKind::Scl, NumberField::Height, '-'));
  EXPECT_TRUE(NumberFieldAccepts(ElementKind::Label, NumberField::Width, '7'));
  EXPECT_TRUE(NumberFieldAccepts(ElementKind::Label, NumberField::Width, kBackspace));
  EXPECT_FALSE(NumberFieldAccepts(ElementKind::Label, NumberField::Left, 'a'));
  EXPECT_FALSE(NumberFieldAccepts(ElementKind::Label, NumberField::Left, ' '));
  EXPECT_FALSE(DigitsFieldAccepts('-'));
  EXPECT_TRUE(DigitsFieldAccepts('0'));
}

TEST(FieldRules, ApplyingRestoresEmptyFieldsAndRefusesALoneMinus) {
  EXPECT_EQ(ApplyNumberField(ElementKind::Label, "-5", 10), -5);
  EXPECT_EQ(ApplyNumberField(ElementKind::Label, "", 120), 120);
  EXPECT_EQ(ApplyNumberField(ElementKind::Label, "  ", 120), 120);
  EXPECT_EQ(ApplyNumberField(ElementKind::Scl, "", 150), 150);
  // A caption field counts as empty only when it holds nothing at all.
  EXPECT_THROW(ApplyNumberField(ElementKind::Scl, "  ", 150), platform::ConvertError);
  EXPECT_THROW(ApplyNumberField(ElementKind::Button, "-", 68), platform::ConvertError);
  Rect r{1, 2, 3, 4};
  EXPECT_EQ(WithField(r, NumberField::Height, 9), (Rect{1, 2, 3, 9}));
  EXPECT_EQ(FieldOf(r, NumberField::Top), 2);
}

TEST(FieldRules, SpeedSliderAndEffectList) {
  EXPECT_EQ(IntervalFromSlider(570), 30);
  EXPECT_EQ(IntervalFromSlider(599), 1);
  EXPECT_EQ(SliderFromInterval(100), 500);
  EXPECT_EQ(SliderFromInterval(900), 0);  // a hand-made interval stays on the slider
  EXPECT_EQ(SliderFromInterval(0), kSliderMax);
  std::vector<std::string> effects = EffectChoices();
  ASSERT_EQ(effects.size(), 197u);
  EXPECT_EQ(effects[0], "随机选择");
  EXPECT_EQ(effects[1], "效果 1");
  EXPECT_EQ(effects[19], "效果 19 (渐变)");
  EXPECT_EQ(effects[196], "效果 196");
  EXPECT_EQ(ParseInterval("12"), 12);
  EXPECT_FALSE(ParseInterval(""));
}

TEST(FieldRules, PictureListButtons) {
  std::vector<std::string> list{"a.jpg", "b.jpg", "c.jpg"};
  std::string msg;
  EXPECT_FALSE(RemovePicture(list, -1, msg));
  EXPECT_EQ(msg, "请首先选中要移除的图像。");
  EXPECT_FALSE(MovePictureUp(list, -1, msg));
  EXPECT_EQ(msg, "请首先选中要上移的图像。");
  EXPECT_FALSE(MovePictureDown(list, 5, msg));
  EXPECT_EQ(msg, "请首先选中要下移的图像。");
  EXPECT_EQ(MovePictureUp(list, 0, msg), 0);  // nothing above the first
  EXPECT_EQ(MovePictureDown(list, 0, msg), 1);
  EXPECT_EQ(list, (std::vector<std::string>{"b.jpg", "a.jpg", "c.jpg"}));
  EXPECT_EQ(MovePictureDown(list, 2, msg), 2);  // nothing below the last
  EXPECT_EQ(RemovePicture(list, 1, msg), 1);    // the selection stays at the index
  EXPECT_EQ(list, (std::vector<std::string>{"b.jpg", "c.jpg"}));
  EXPECT_EQ(RemovePicture(list, 1, msg), 0);
  EXPECT_EQ(RemovePicture(list, 0, msg), -1);
  EXPECT_TRUE(list.empty());
}

TEST(DesignerRules, ClockPanels) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_wday = 1;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  ClockPanels p = ClockTexts(t);
  EXPECT_EQ(p.time, "07:03:09");
  EXPECT_EQ(p.weekday, "星期一");
  EXPECT_EQ(p.date, " 2026年1月5日");
  t.tm_wday = 0;
  EXPECT_EQ(ClockTexts(t).weekday, "星期日");
}

TEST(DesignerRules, PreviewPicksTheCardFileAndStub) {
  CardDocument doc;
  EXPECT_EQ(PreviewCardName(doc), "TestCard.crd2");
  doc.crd3 = true;
  EXPECT_EQ(PreviewCardName(doc), "TestCard.crd3");
  doc.crd3 = false;
  doc.flashes.emplace_back();
  EXPECT_EQ(PreviewCardName(doc), "TestCard.crd3");
  EXPECT_EQ(PreviewCommandLine("/opt/card/", "exe2.exe", "TestCard.crd2"),
            "/opt/card/exe2.exe /opt/card/TestCard.crd2");
  EXPECT_EQ(PreviewCommandLine("C:\\My Cards\\", "exe3.exe", "TestCard.crd3"),
            "\"C:\\My Cards\\exe3.exe\" \"C:\\My Cards\\TestCard.crd3\"");
}
