#include "maker/transitions/pic_show_box.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/message_pump.h"

using platform::Bitmap;
using platform::Color;
using platform::PixelFormat;
using platform::Rgb;

namespace transitions {
namespace {

// The hidden timer window, driven by hand.
struct FakeTimer : PicsTimer {
  struct Log {
    bool running = false;
    int period = -1;
    int starts = 0, stops = 0;
    std::function<void()> onFire;
  };
  explicit FakeTimer(std::shared_ptr<Log> l) : log(std::move(l)) {}
  void Start(int ms, std::function<void()> fire) override {
    log->running = true;
    log->period = ms;
    ++log->starts;
    log->onFire = std::move(fire);
  }
  void Stop() override {
    log->running = false;
    ++log->stops;
  }
  std::shared_ptr<Log> log;
};

// A canvas that remembers the images it was given.
struct RecordingCanvas : TransitionCanvas {
  explicit RecordingCanvas(Bitmap& t) : inner(t) {}
  void DrawImage(const Bitmap& image, int x, int y) override {
    if (!first) first = image.Clone();
    inner.DrawImage(image, x, y);
    ++draws;
  }
  BitmapCanvas inner;
  std::unique_ptr<Bitmap> first;
  int draws = 0;
};

std::unique_ptr<Bitmap> Solid(int w, int h, Color c) {
  auto b = Bitmap::Create(w, h, PixelFormat::Bgr24);
  b->Fill(c);
  return b;
}

constexpr Color kA = Rgb(255, 0, 0), kB = Rgb(0, 255, 0), kC = Rgb(0, 0, 255);

// Resets the message pump when a test ends.
struct PumpGuard {
  ~PumpGuard() { platform::SetMessagePump(nullptr); }
};

class ShowBox : public ::testing::Test {
 protected:
  ShowBox() {
    box = std::make_unique<TlmPics>(std::make_unique<FakeTimer>(timer), 64, 48);
    box->SetBounds(10, 20, 40, 30);
    box->SetCanvas(&canvas);
    box->SeedRandom(7);
  }
  void Load(std::initializer_list<Color> colours) {
    std::vector<std::unique_ptr<Bitmap>> pics;
    for (Color c : colours) pics.push_back(Solid(40, 30, c));
    box->SetPictures(std::move(pics));
  }
  Color Centre() const { return surface->PixelColor(20, 15); }

  std::shared_ptr<FakeTimer::Log> timer = std::make_shared<FakeTimer::Log>();
  std::unique_ptr<Bitmap> surface = Solid(40, 30, Rgb(1, 2, 3));
  RecordingCanvas canvas{*surface};
  std::unique_ptr<TlmPics> box;
  PumpGuard pumpGuard;
};

TEST_F(ShowBox, ListOrderShowsABCAndStartsOver) {
  Load({kA, kB, kC});
  box->OnlyUseXGID = 21;
  std::vector<Color> shown;
  for (int i = 0; i < 5; ++i) {
    box->NextPic();
    shown.push_back(Centre());
    EXPECT_TRUE(surface->SamePixels(*box->FrameOnShow()));
  }
  EXPECT_EQ(shown, (std::vector<Color>{kA, kB, kC, kA, kB}));
  EXPECT_EQ(box->Current(), 1);
  EXPECT_EQ(box->Last(), 1);
}

TEST_F(ShowBox, RandomOrderNeverShowsThePictureTwiceInARow) {
  Load({kA, kB, kC});
  box->RandomPic = true;
  box->OnlyUseXGID = 59;
  box->SetBounds(0, 0, 4, 3);  // small frames keep 300 changes quick
  std::set<int> seen;
  int previous = -1;
  for (int i = 0; i < 300; ++i) {
    box->NextPic();
    EXPECT_NE(box->Last(), previous);
    previous = box->Last();
    seen.insert(previous);
  }
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(ShowBox, OnePictureInRandomOrderComesBackWithNewEffects) {
  Load({kB});
  box->RandomPic = true;
  box->SetBounds(0, 0, 4, 3);
  std::set<int> effects;
  for (int i = 0; i < 20; ++i) {
    box->NextPic();
    EXPECT_EQ(box->Last(), 0);
    effects.insert(box->LastEffect());
  }
  EXPECT_GT(effects.size(), 10u);
}

TEST_F(ShowBox, RandomEffectsNeverIncludeTheSwings) {
  Load({kA, kB});
  box->SetBounds(0, 0, 3, 2);
  std::set<int> effects;
  for (int i = 0; i < 1500; ++i) {
    box->NextPic();
    const int e = box->LastEffect();
    ASSERT_TRUE(e >= 1 && e <= 196) << e;
    ASSERT_FALSE(e >= 168 && e <= 183) << e;
    effects.insert(e);
  }
  EXPECT_GT(effects.size(), 170u);  // 180 effects can be chosen
  box->OnlyUseXGID = 170;
  for (int i = 0; i < 5; ++i) {
    box->NextPic();
    EXPECT_EQ(box->LastEffect(), 170);
  }
}

TEST_F(ShowBox, PaintsThePlainBackgroundBeforeTheFirstChangeAndStartsFromIt) {
  box->SetBkColor(kC);
  box->PaintFrame();  // the screen-sized frame, centred and cut at the box
  EXPECT_EQ(surface->PixelColor(0, 0), kC);
  EXPECT_EQ(surface->PixelColor(39, 29), kC);
  box->SetBkColor(kB);  // a colour change shows at once on the next paint
  box->PaintFrame();
  EXPECT_EQ(Centre(), kB);
  Load({kA});
  box->OnlyUseXGID = 21;  // wipe from the left: step 1 still shows the old frame on the right
  canvas.first.reset();
  box->NextPic();
  ASSERT_TRUE(canvas.first);
  EXPECT_EQ(canvas.first->PixelColor(39, 15), kB);
  EXPECT_EQ(Centre(), kA);
  EXPECT_FALSE(box->FirstPaint());
  box->SetBkColor(kC);  // from now on the composed frame is painted
  box->PaintFrame();
  EXPECT_EQ(Centre(), kA);
}

TEST_F(ShowBox, AChangeStopsTheTimerAndRestartsItWhenItEnds) {
  Load({kA, kB});
  box->SetInterval(5000);
  EXPECT_TRUE(timer->running);
  EXPECT_EQ(timer->period, 5000);
  int stepsSeen = 0;
  bool timerRanDuringChange = false, showingDuringChange = true;
  const int drawsBefore = canvas.draws;
  platform::SetMessagePump([&] {
    ++stepsSeen;
    timerRanDuringChange |= timer->running;
    showingDuringChange &= box->Showing();
    box->PaintFrame();  // a paint event during the change draws nothing
  });
  timer->onFire();  // the timer message starts a change
  EXPECT_EQ(stepsSeen, 100);
  EXPECT_FALSE(timerRanDuringChange);
  EXPECT_FALSE(showingDuringChange);
  EXPECT_EQ(canvas.draws - drawsBefore, 100);  // only the steps
  EXPECT_TRUE(timer->running);  // the interval counts from the end of the change
  EXPECT_EQ(timer->period, 5000);
  EXPECT_EQ(Centre(), kA);
  box->StopPics();
  EXPECT_FALSE(timer->running);
  EXPECT_EQ(Centre(), kA);
}

TEST_F(ShowBox, ReloadingPicturesDuringAChangeEndsItWithoutDrawingMore) {
  Load({kA, kB});
  box->OnlyUseXGID = 21;
  int steps = 0;
  platform::SetMessagePump([&] {
    if (++steps == 40) Load({kC});
  });
  const int drawsBefore = canvas.draws;
  box->NextPic();
  EXPECT_EQ(canvas.draws - drawsBefore, 39);
  EXPECT_TRUE(box->Showing());
  platform::SetMessagePump(nullptr);
  box->NextPic();  // the next change uses the new pictures
  EXPECT_EQ(Centre(), kC);
}

TEST_F(ShowBox, DestroyingTheBoxDuringAChangeEndsItSafely) {
  Load({kA, kB});
  int steps = 0;
  platform::SetMessagePump([&] {
    if (++steps == 10) box.reset();
  });
  TlmPics* raw = box.get();
  raw->NextPic();
  EXPECT_EQ(box, nullptr);
  EXPECT_EQ(steps, 10);
}

TEST_F(ShowBox, ANestedChangeFromATimerTickTakesOver) {
  Load({kA, kB, kC});
  box->OnlyUseXGID = 30;
  box->SetInterval(0);
  int steps = 0;
  platform::SetMessagePump([&] {
    if (++steps == 5) {
      box->SetInterval(0);  // a handler restarts the timer, which fires at once
      timer->onFire();
    }
  });
  box->NextPic();
  EXPECT_EQ(steps, 105);  // 5 rounds of the outer change, 100 of the inner one
  EXPECT_EQ(Centre(), kB);
  EXPECT_TRUE(box->Showing());
}

TEST_F(ShowBox, AfterAResizeTheOldFrameIsPaintedCentredUntilTheNextChange) {
  Load({kA, kB});
  box->NextPic();
  auto big = Solid(60, 50, Rgb(9, 9, 9));
  BitmapCanvas bigCanvas(*big);
  box->SetCanvas(&bigCanvas);
  box->SetBounds(0, 0, 60, 50);
  box->PaintFrame();  // the 40 x 30 frame at (10, 10), margins untouched
  EXPECT_EQ(big->PixelColor(10, 10), kA);
  EXPECT_EQ(big->PixelColor(9, 10), Rgb(9, 9, 9));
  EXPECT_EQ(big->PixelColor(49, 39), kA);
  EXPECT_EQ(big->PixelColor(50, 40), Rgb(9, 9, 9));
  box->NextPic();  // composed at 60 x 50 now: B (40 x 30) fitted to 60 x 45 on black
  EXPECT_EQ(box->FrameOnShow()->Width(), 60);
  EXPECT_EQ(big->PixelColor(0, 2), kB);
  EXPECT_EQ(big->PixelColor(0, 1), Rgb(0, 0, 0));
}

TEST_F(ShowBox, NextPicWithoutPicturesDoesNothing) {
  box->SetInterval(1000);
  box->NextPic();
  EXPECT_EQ(canvas.draws, 0);
  EXPECT_EQ(box->Last(), -1);
}

}  // namespace
}  // namespace transitions

TEST(ShowBoxInterval, SecondsBecomeAPeriodThatNeitherSpinsNorOverflows) {
  EXPECT_EQ(transitions::ShowBoxIntervalMs(5), 5000);
  EXPECT_EQ(transitions::ShowBoxIntervalMs(0), 1000);  // no timer that fires without pause
  EXPECT_EQ(transitions::ShowBoxIntervalMs(-3), 1000);
  EXPECT_EQ(transitions::ShowBoxIntervalMs(2147484), 2147483000);  // Inv x 1000 would pass INT_MAX
  EXPECT_EQ(transitions::ShowBoxIntervalMs(99999999999LL), 2147483000);
}
