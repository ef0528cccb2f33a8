#include "maker/transitions/pic_movie.h"

#include <gtest/gtest.h>

#include "maker/transitions/transition_fixture.h"

using platform::Bitmap;
using platform::PixelFormat;
using platform::Rgb;

namespace transitions {
namespace {

using namespace transitions::testing;

class LastStep : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(LastStep, EveryEffectEndsOnExactlyTheNewFrame) {
  const auto [w, h] = GetParam();
  for (int effect = 1; effect <= kEffectCount; ++effect) {
    Stage st(w, h);
    st.Draw(effect, 100);
    EXPECT_TRUE(st.TargetIsNewFrame()) << "effect " << effect << " at " << w << "x" << h;
    EXPECT_EQ(st.lastDraws, 1) << "effect " << effect;
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LastStep,
                         ::testing::Values(std::pair{100, 60}, std::pair{64, 48}, std::pair{101, 61},
                                           std::pair{33, 17}, std::pair{7, 5}, std::pair{200, 150},
                                           // portrait, odd by even, and sides of three pixels or less
                                           std::pair{300, 400}, std::pair{120, 160}, std::pair{401, 300},
                                           std::pair{99, 60}, std::pair{3, 3}, std::pair{2, 3}, std::pair{3, 1},
                                           std::pair{1, 1}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

TEST(PicMovie, EveryStepOfEveryEffectReachesTheTargetInOnePiece) {
  Stage st(40, 30);
  for (int effect = 1; effect <= kEffectCount; ++effect)
    for (int step : {1, 33, 50, 51, 99}) {
      st.Draw(effect, step);
      const int expected = (effect == 19 && step % 4 != 0) ? 0 : 1;
      EXPECT_EQ(st.lastDraws, expected) << "effect " << effect << " step " << step;
    }
}

TEST(PicMovie, SparingCrossFadeLeavesTheTargetAloneBetweenMultiplesOfFour) {
  Stage st(20, 10);
  for (int step : {1, 2, 3, 5, 6, 7, 97, 99}) {
    st.Draw(19, step);
    EXPECT_EQ(st.CountInPlace(kTargetTag), 200) << "step " << step;
  }
  st.Draw(19, 8);
  EXPECT_EQ(st.CountInPlace(kTargetTag), 0);
}

TEST(PicMovie, CrossFadeDividesEachProductWithTruncation) {
  auto oldP = Bitmap::Create(4, 3, PixelFormat::Bgr24);
  auto newP = Bitmap::Create(4, 3, PixelFormat::Bgr24);
  oldP->Fill(Rgb(200, 99, 7));
  newP->Fill(Rgb(10, 250, 255));
  TlmPicMovieunit m;
  m.PrepareFrames(oldP.get(), newP.get(), 4, 3);
  auto target = Bitmap::Create(4, 3, PixelFormat::Bgr24);
  BitmapCanvas canvas(*target);
  for (int effect : {19, 20}) {
    m.DrawStep(36, canvas, effect);
    // 64 * v div 100 + 36 * v' div 100 per channel.
    EXPECT_EQ(target->PixelColor(3, 2), Rgb(128 + 3, 63 + 90, 4 + 91)) << effect;
  }
  m.DrawStep(1, canvas, 20);
  EXPECT_EQ(target->PixelColor(0, 0), Rgb(198 + 0, 98 + 2, 6 + 2));
}

TEST(PicMovie, CrossFadeEveryStepChangesTheTarget) {
  Stage st(10, 10);
  Bitmap before = *st.target->Clone();
  for (int step = 1; step <= 100; ++step) {
    st.Draw(20, step);
    EXPECT_FALSE(st.target->SamePixels(before)) << step;
    before = *st.target->Clone();
  }
}

TEST(PicMovie, StepsOutsideTheRangeOrUnknownEffectsDrawNothing) {
  Stage st(10, 10);
  for (auto [effect, step] : {std::pair{0, 50}, {197, 50}, {5, 0}, {5, 101}, {-1, -1}}) {
    st.Draw(effect, step);
    EXPECT_EQ(st.lastDraws, 0);
  }
  TlmPicMovieunit unprepared;
  auto t = Bitmap::Create(5, 5, PixelFormat::Bgr24);
  BitmapCanvas c(*t);
  unprepared.DrawStep(50, c, 1);
  EXPECT_EQ(c.draws, 0);
}

TEST(PicMovie, StepsMayBeDrawnInAnyOrder) {
  Stage a(50, 40), b(50, 40);
  for (int effect : {5, 24, 44, 57, 64, 88, 104, 116, 131, 150, 160, 170, 193}) {
    a.Draw(effect, 10);
    a.Draw(effect, 70);
    b.Draw(effect, 70);
    EXPECT_TRUE(a.target->SamePixels(*b.target)) << effect;
  }
}

TEST(PicMovie, StretchShowsAllOfTheNewFrameSqueezedWhileWipeShowsItsLeftPart) {
  Stage st(100, 20);
  st.Draw(1, 50);  // the whole new frame squeezed into the left half
  EXPECT_EQ(At(*st.target, 10, 5), New(21, 5));
  EXPECT_EQ(At(*st.target, 49, 5), New(99, 5));
  EXPECT_EQ(At(*st.target, 50, 5), Old(50, 5));
  st.Draw(21, 50);  // the new frame's left half unchanged
  EXPECT_EQ(At(*st.target, 10, 5), New(10, 5));
  EXPECT_EQ(At(*st.target, 49, 5), New(49, 5));
  EXPECT_EQ(At(*st.target, 50, 5), Old(50, 5));
}

TEST(PicMovie, StretchOutFromTheBottomKeepsTheOldFrameBelowItsTop) {
  Stage st(20, 50);
  st.Draw(13, 37);  // top R(50 * 37 / 100) = R(18.5) = 18
  EXPECT_EQ(At(*st.target, 3, 17), New(3, 17));
  EXPECT_EQ(At(*st.target, 3, 18).tag, kOldTag);
  EXPECT_EQ(At(*st.target, 3, 49), Old(3, 49));
}

// --- composing frames ---------------------------------------------------------------------

TEST(ComposeFrame, APictureOfTheFrameSizeIsCopiedUnchanged) {
  auto p = TaggedFrame(37, 23, 0x42);
  auto f = ComposeFrame(p.get(), 37, 23, Rgb(1, 2, 3));
  EXPECT_TRUE(f->SamePixels(*p));
}

TEST(ComposeFrame, AWiderPictureFillsTheWidthCentredOnTheBackground) {
  // 200 x 50 into 100 x 100: drawn 100 x 25 at top (100 - 25) div 2 = 37. Columns alternate 10
  // and 30, so every two source columns average to 20.
  auto p = Bitmap::Create(200, 50, PixelFormat::Bgr24);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 200; ++x) p->SetPixelColor(x, y, x % 2 ? Rgb(30, 30, 30) : Rgb(10, 10, 10));
  const platform::Color bg = Rgb(255, 0, 128);
  auto f = ComposeFrame(p.get(), 100, 100, bg);
  for (int x : {0, 50, 99}) {
    EXPECT_EQ(f->PixelColor(x, 36), bg);
    EXPECT_EQ(f->PixelColor(x, 37), Rgb(20, 20, 20));
    EXPECT_EQ(f->PixelColor(x, 61), Rgb(20, 20, 20));
    EXPECT_EQ(f->PixelColor(x, 62), bg);
  }
}

TEST(ComposeFrame, ATallerPictureFillsTheHeightCentredHorizontally) {
  auto p = Bitmap::Create(30, 90, PixelFormat::Bgr24);
  p->Fill(Rgb(9, 8, 7));
  auto f = ComposeFrame(p.get(), 61, 30, Rgb(0, 0, 0));  // drawn 10 x 30 at ((61 - 10) div 2, 0)
  EXPECT_EQ(f->PixelColor(24, 0), Rgb(0, 0, 0));
  EXPECT_EQ(f->PixelColor(25, 0), Rgb(9, 8, 7));
  EXPECT_EQ(f->PixelColor(34, 29), Rgb(9, 8, 7));
  EXPECT_EQ(f->PixelColor(35, 29), Rgb(0, 0, 0));
}

TEST(ComposeFrame, ASmallerPictureIsEnlargedSmoothly) {
  // A 2 x 1 picture, black and white, enlarged to 8 x 4: the ends keep their colours and the
  // middle passes through grey in steps.
  auto p = Bitmap::Create(2, 1, PixelFormat::Bgr24);
  p->SetPixelColor(0, 0, Rgb(0, 0, 0));
  p->SetPixelColor(1, 0, Rgb(255, 255, 255));
  auto f = ComposeFrame(p.get(), 8, 4, Rgb(255, 0, 0));
  EXPECT_EQ(f->PixelColor(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(f->PixelColor(7, 3), Rgb(255, 255, 255));
  int last = -1;
  for (int x = 0; x < 8; ++x) {
    const int v = platform::RedOf(f->PixelColor(x, 2));
    EXPECT_GE(v, last);
    last = v;
  }
  EXPECT_GT(platform::RedOf(f->PixelColor(3, 0)), 0);
  EXPECT_LT(platform::RedOf(f->PixelColor(3, 0)), 255);
}

TEST(ComposeFrame, ShrinkingAveragesTheCoveredAreaIncludingPartialPixels) {
  // 3 columns 0, 90, 180 into 2: the first target pixel covers column 0 and half of column 1.
  auto p = Bitmap::Create(3, 3, PixelFormat::Bgr24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) p->SetPixelColor(x, y, Rgb(90 * x, 90 * x, 90 * x));
  auto r = ResampleSmooth(*p, 2, 2);
  EXPECT_EQ(r->PixelColor(0, 0), Rgb(30, 30, 30));    // (0 + 45) / 1.5
  EXPECT_EQ(r->PixelColor(1, 1), Rgb(150, 150, 150));  // (45 + 180) / 1.5
}

TEST(ComposeFrame, PicturesOfOtherFormatsAndMissingPicturesAreAccepted) {
  auto p = Bitmap::Create(10, 10, PixelFormat::Bgra32);
  p->Fill(Rgb(1, 2, 3));
  auto f = ComposeFrame(p.get(), 10, 10, 0);
  EXPECT_EQ(f->Format(), PixelFormat::Bgr24);
  EXPECT_EQ(f->PixelColor(5, 5), Rgb(1, 2, 3));
  auto plain = ComposeFrame(nullptr, 4, 4, Rgb(7, 7, 7));
  EXPECT_EQ(plain->PixelColor(3, 3), Rgb(7, 7, 7));
}

TEST(PicMovie, PrepareFramesUsesTheBackgroundColourAndReplacesEarlierFrames) {
  TlmPicMovieunit m;
  m.SetBkColor(Rgb(0, 0, 200));
  auto p = Bitmap::Create(10, 5, PixelFormat::Bgr24);
  m.PrepareFrames(p.get(), p.get(), 10, 10);
  EXPECT_EQ(m.OldFrame()->PixelColor(0, 0), Rgb(0, 0, 200));
  m.PrepareFrames(nullptr, p.get(), 6, 4);
  EXPECT_EQ(m.OldFrame()->Width(), 6);
  EXPECT_EQ(m.NewFrame()->Height(), 4);
}

}  // namespace
}  // namespace transitions
