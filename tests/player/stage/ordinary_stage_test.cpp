#include "player/stage/ordinary_stage.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/bmp_codec.h"
#include "player/stage/null_hosts.h"
#include "stage_fixture.h"

using platform::Bitmap;
using platform::Rgb;

namespace {

class FirstDraws : public ordinary::RandomSource {
 public:
  int Next(int) override {
    const int v = values.empty() ? 0 : values.front();
    if (!values.empty()) values.pop_front();
    return v;
  }
  std::deque<int> values;
};

// A 100 x 80 red card at the screen's top left with a 120 x 60 green greeting box.
struct Rig {
  testing_support::TempDir dir;
  FirstDraws random;
  stage::SilentCardMedia media;
  stage::NullUi ui;
  std::vector<std::string> opened;
  ordinary::OrdinarySettings settings = ordinary::NewCardSettings();
  std::unique_ptr<stage::OrdinaryStage> stage;

  Rig() {
    settings = stage_fixture::SmallOrdinaryCard(dir);
    settings.boxWord = "";
    settings.openUrl = true;
    settings.url = "http://example.com/";
  }
  stage::OrdinaryStage& Make() {
    std::tm now{};
    stage::OrdinaryStageHosts hosts;
    hosts.media = &media;
    hosts.random = &random;
    hosts.ui = &ui;
    hosts.open = [this](const std::string& t) {
      opened.push_back(t);
      return true;
    };
    stage = std::make_unique<stage::OrdinaryStage>(settings, ordinary::MakeCardPlayerConfig(settings, now), hosts,
                                                   ordinary::ScreenSize{800, 600});
    return *stage;
  }
  std::unique_ptr<Bitmap> Frame(int64_t t, const Bitmap* screen = nullptr) {
    auto b = Bitmap::Create(ui.window.width, ui.window.height, platform::PixelFormat::Bgr24);
    stage->Draw(*b, t, screen);
    return b;
  }
};

}  // namespace

TEST(OrdinaryStage, ClickBringsTheGreetingRolledInThenClosesWithTheLinks) {
  Rig rig;
  rig.random.values = {0};  // the entrance rolls from left to right
  stage::OrdinaryStage& s = rig.Make();
  s.Start(1000);
  EXPECT_EQ(rig.ui.window, (stage::ScreenRect{0, 0, 100, 80}));
  EXPECT_EQ(rig.Frame(1000)->PixelColor(50, 40), Rgb(255, 0, 0));  // the picture stretched over the card
  s.Click(1100);
  ASSERT_TRUE(s.GreetingShown());
  EXPECT_EQ(rig.ui.window, (stage::ScreenRect{0, 0, 120, 60}));
  // Half way through the entrance the left half is the box, the right half the screen.
  auto screen = Bitmap::Create(800, 600, platform::PixelFormat::Bgr24);
  screen->Fill(Rgb(255, 0, 255));
  auto half = rig.Frame(1400, screen.get());
  EXPECT_EQ(half->PixelColor(20, 30), Rgb(0, 255, 0));
  EXPECT_EQ(half->PixelColor(100, 30), Rgb(255, 0, 255));
  EXPECT_TRUE(s.EntranceRunning(1699));
  EXPECT_FALSE(s.EntranceRunning(1700));
  EXPECT_EQ(rig.Frame(1700, screen.get())->PixelColor(100, 30), Rgb(0, 255, 0));
  EXPECT_FALSE(rig.ui.closed);
  s.Click(2000);
  EXPECT_TRUE(rig.ui.closed);
  EXPECT_EQ(rig.opened, std::vector<std::string>{"http://example.com/"});
}

TEST(OrdinaryStage, TheGreetingComesByItselfOnTheHostsTime) {
  Rig rig;
  rig.settings.useTime = true;
  rig.settings.timelen = "2";
  stage::OrdinaryStage& s = rig.Make();
  s.Start(5000);
  for (int64_t t = 5000; t < 7000; t += 5) s.Advance(t);
  EXPECT_FALSE(s.GreetingShown());
  s.Advance(7000);
  EXPECT_TRUE(s.GreetingShown());
  EXPECT_EQ(rig.ui.window.width, 120);
}

TEST(OrdinaryStage, AScrollingGreetingStartsBelowTheBoxAndRisesAStepEachInterval) {
  Rig rig;
  rig.settings.boxScroll = true;
  rig.settings.boxInv = "10";
  rig.settings.boxWord = "WWWWWWWW\r\nWWWWWWWW\r\nWWWWWWWW";
  rig.settings.boxFontSize = 12;
  rig.random.values = {5};  // fade in
  stage::OrdinaryStage& s = rig.Make();
  s.Start(0);
  s.Click(0);
  EXPECT_EQ(s.GreetingLineCount(), 3);
  EXPECT_GT(s.GreetingLineHeight(), 10);
  for (int64_t t = 0; t <= 600; t += 5) s.Advance(t);
  EXPECT_EQ(s.Player().scrollOffset(), 0);  // 60 steps of 10 ms up from the box's height
}

TEST(OrdinaryStage, AnimationsKeepTheirProportions) {
  EXPECT_EQ(stage::ProportionalRect(4, 2, 100, 80), platform::Rect::FromSize(0, 15, 100, 50));
  EXPECT_EQ(stage::ProportionalRect(1, 2, 100, 80), platform::Rect::FromSize(30, 0, 40, 80));
}
