#include "player/stage/show_box_player.h"

#include <gtest/gtest.h>

#include "maker/transitions/pic_movie.h"
#include "stage_fixture.h"

using platform::Bitmap;
using platform::Rgb;

namespace {

std::unique_ptr<Bitmap> Plain(int w, int h, platform::Color c) {
  auto b = Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(c);
  return b;
}

player::PicsBoxModel Model(int effect) {
  player::PicsBoxModel m;
  m.present = true;
  m.rect = {10, 10, 60, 40};
  m.bkColor = Rgb(0, 0, 128);
  m.intervalSeconds = 2;
  m.effectId = effect;
  return m;
}

std::vector<std::unique_ptr<Bitmap>> Pictures() {
  std::vector<std::unique_ptr<Bitmap>> v;
  v.push_back(Plain(30, 20, Rgb(255, 0, 0)));
  v.push_back(Plain(20, 30, Rgb(0, 255, 0)));
  v.push_back(Plain(40, 40, Rgb(0, 0, 255)));
  return v;
}

}  // namespace

TEST(ShowBoxPlayer, StepsAreTheEnginesFramesOnTheStagesClock) {
  for (int effect : {1, 37, 120, 190}) {
    SCOPED_TRACE(effect);
    stage::ShowBoxPlayer box(Model(effect), 320, 240, 99, 10);
    box.SetPictures(Pictures(), 1000);
    // The engine alone, from the plain frame of the background colour to the first picture.
    transitions::TlmPicMovieunit engine;
    engine.SeedRandom(100);  // the box seeds its engine with its seed + 1
    engine.SetBkColor(Rgb(0, 0, 128));
    auto start = Plain(320, 240, Rgb(0, 0, 128));
    auto first = Plain(30, 20, Rgb(255, 0, 0));
    engine.PrepareFrames(start.get(), first.get(), 60, 40);
    auto expected = Plain(60, 40, 0);
    transitions::BitmapCanvas canvas(*expected);
    int drawn = 0;
    for (int at : {1000, 1005, 1010, 1254, 1990}) {
      box.Advance(at);
      const int due = (at - 1000) / 10 + 1;
      while (drawn < due) engine.DrawStep(++drawn, canvas, effect);
      EXPECT_EQ(box.StepsDrawn(), due);
      EXPECT_TRUE(box.Surface().SamePixels(*expected)) << "step " << due;
    }
    // The last step ends the change; the next one starts the interval after it.
    box.Advance(1990);
    EXPECT_FALSE(box.InChange());
    EXPECT_EQ(box.NextChangeAt(), 1990 + 2000);
    EXPECT_TRUE(box.Surface().SamePixels(*transitions::ComposeFrame(first.get(), 60, 40, Rgb(0, 0, 128))));
    box.Advance(3990);
    EXPECT_TRUE(box.InChange());
    EXPECT_EQ(box.ShownIndex(), 1);
  }
}

TEST(ShowBoxPlayer, ActionsTurnTheListAndClicksFollowClk) {
  player::PicsBoxModel m = Model(5);
  m.clickShowsNext = true;
  stage::ShowBoxPlayer box(m, 320, 240, 7, 1);
  box.SetPictures(Pictures(), 0);
  EXPECT_EQ(box.ShownIndex(), 0);
  box.ShowPrevious(50);
  EXPECT_EQ(box.ShownIndex(), 2);
  box.Advance(200);
  box.ShowNext(300);  // list order goes on from the picture shown
  EXPECT_EQ(box.ShownIndex(), 0);
  EXPECT_TRUE(box.ShowIndex(1, 400));
  EXPECT_EQ(box.ShownIndex(), 1);
  EXPECT_FALSE(box.ShowIndex(3, 410));
  box.Click(500);
  EXPECT_EQ(box.ShownIndex(), 2);
  box.Advance(700);
  EXPECT_TRUE(box.Surface().SamePixels(
      *transitions::ComposeFrame(Pictures()[2].get(), 60, 40, Rgb(0, 0, 128))));

  m.clickShowsNext = false;
  m.intervalSeconds = 0;  // taken as one second, never a change without pause
  stage::ShowBoxPlayer still(m, 320, 240, 7, 1);
  still.SetPictures(Pictures(), 0);
  still.Click(10);
  EXPECT_EQ(still.ShownIndex(), 0);
  still.Advance(99);
  EXPECT_EQ(still.NextChangeAt(), 99 + 1000);
  still.Stop();
  still.Advance(100000);
  EXPECT_EQ(still.NextChangeAt(), -1);
  EXPECT_EQ(still.ShownIndex(), 0);
}
