#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "maker/transitions/ui/bitmap_image.h"
#include "maker/transitions/ui/gif_animation_widget.h"
#include "maker/transitions/ui/pic_show_box_widget.h"
#include "maker/transitions/ui/scroll_caption_widget.h"
#include "platform/bmp_codec.h"
#include "platform/gif_codec.h"
#include "platform/message_pump.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

using namespace widgets;
using platform::Bitmap;
using platform::PixelFormat;
using platform::Rgb;
using testing_support::TempDir;

namespace {

QApplication& App() { return testing_support::QtApp("widgets_test"); }

std::unique_ptr<Bitmap> Solid(int w, int h, platform::Color c) {
  auto b = Bitmap::Create(w, h, PixelFormat::Bgr24);
  b->Fill(c);
  return b;
}

QRgb Centre(const QImage& img) { return img.pixel(img.width() / 2, img.height() / 2) & 0xFFFFFF; }

constexpr QRgb kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

// A show box of three solid pictures (red, green, blue) with effect 1, shown and sized.
struct ShowBox {
  QApplication& app = App();
  PicShowBoxWidget box;
  ShowBox() {
    box.resize(80, 60);
    box.SetEffect(1);
    box.SetIntervalSeconds(3);
    std::vector<std::unique_ptr<Bitmap>> pics;
    pics.push_back(Solid(40, 30, Rgb(255, 0, 0)));
    pics.push_back(Solid(40, 30, Rgb(0, 255, 0)));
    pics.push_back(Solid(40, 30, Rgb(0, 0, 255)));
    box.SetPictures(std::move(pics));
  }
};

}  // namespace

TEST(PicShowBoxWidget, LoadingShowsTheFirstPictureAndStartsTheTimer) {
  ShowBox s;
  EXPECT_EQ(s.box.PictureCount(), 3);
  EXPECT_EQ(s.box.ShownIndex(), 0);
  EXPECT_EQ(Centre(s.box.Surface()), kRed);
  EXPECT_TRUE(s.box.IsRunning());
  EXPECT_EQ(s.box.Box().Interval(), 3000);
  EXPECT_EQ(s.box.Box().LastEffect(), 1);
  s.box.Stop();
  EXPECT_FALSE(s.box.IsRunning());
}

TEST(PicShowBoxWidget, NextPreviousAndNumberKeepListOrder) {
  ShowBox s;
  s.box.ShowNext();
  EXPECT_EQ(s.box.ShownIndex(), 1);
  EXPECT_EQ(Centre(s.box.Surface()), kGreen);
  s.box.ShowPrevious();
  EXPECT_EQ(s.box.ShownIndex(), 0);
  EXPECT_EQ(Centre(s.box.Surface()), kRed);
  s.box.ShowPrevious();  // wraps to the last
  EXPECT_EQ(s.box.ShownIndex(), 2);
  EXPECT_EQ(Centre(s.box.Surface()), kBlue);
  EXPECT_TRUE(s.box.ShowIndex(1));
  EXPECT_EQ(Centre(s.box.Surface()), kGreen);
  // The timer's next change continues the list after the picture chosen by number.
  s.box.ShowNext();
  EXPECT_EQ(s.box.ShownIndex(), 2);
  EXPECT_EQ(Centre(s.box.Surface()), kBlue);
  EXPECT_FALSE(s.box.ShowIndex(3));
  EXPECT_FALSE(s.box.ShowIndex(-1));
  EXPECT_EQ(s.box.ShownIndex(), 2);
}

TEST(PicShowBoxWidget, ClickShowsNextOnlyWithTheClickRule) {
  ShowBox s;
  int clicks = 0;
  QObject::connect(&s.box, &PicShowBoxWidget::clicked, [&] { ++clicks; });
  QTest::mouseClick(&s.box, Qt::LeftButton);
  EXPECT_EQ(s.box.ShownIndex(), 0);
  s.box.SetClickShowsNext(true);
  QTest::mouseClick(&s.box, Qt::LeftButton);
  EXPECT_EQ(s.box.ShownIndex(), 1);
  QTest::mouseClick(&s.box, Qt::RightButton);
  EXPECT_EQ(s.box.ShownIndex(), 1);
  EXPECT_EQ(clicks, 2);
}

TEST(PicShowBoxWidget, UnreadablePicturesAreLeftOut) {
  App();
  TempDir dir;
  platform::SaveBmp(*Solid(10, 10, Rgb(0, 0, 255)), dir.File("a.bmp"));
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("bad.jpg"), "not a picture"));
  PicShowBoxWidget box;
  box.resize(20, 20);
  box.SetEffect(5);
  EXPECT_EQ(box.LoadPictures({dir.File("missing.jpg"), dir.File("bad.jpg"), dir.File("a.bmp")}), 1);
  EXPECT_EQ(box.ShownIndex(), 0);
  EXPECT_EQ(Centre(box.Surface()), kBlue);
  EXPECT_EQ(box.LoadPictures({}), 0);
  EXPECT_FALSE(box.IsRunning());
}

TEST(ScrollCaptionWidget, TicksScrollAndTheFrameFollowsTheWidgetSize) {
  App();
  ScrollCaptionWidget cap;
  cap.resize(100, 50);
  document::CaptionLook look;
  look.text = "新年快乐";
  look.way = document::kWayLeft;
  look.transparent = true;
  cap.SetLook(look);
  EXPECT_EQ(cap.Look().width, 100);
  EXPECT_EQ(cap.Frame().size(), QSize(100, 50));
  EXPECT_EQ(qAlpha(cap.Frame().pixel(50, 45)), 0);  // transparent background
  cap.SetInterval(40);
  cap.Start();
  EXPECT_TRUE(cap.IsRunning());
  cap.Tick();
  cap.Tick();
  EXPECT_EQ(cap.Scroller().Position(), 2);
  EXPECT_TRUE(cap.IsRunning());
  cap.Stop();
  // Way 2 restarts after twice the width; a wider caption scrolls further.
  cap.resize(150, 50);
  cap.Refresh();
  EXPECT_EQ(document::CaptionPositionLimit(cap.Scroller().Geometry()), 300);
  EXPECT_EQ(cap.Frame().size(), QSize(150, 50));
}

TEST(GifAnimationWidget, FramesWithTheirDelaysLoopAndStillPictures) {
  App();
  TempDir dir;
  platform::GifAnimation a;
  a.width = 8;
  a.height = 6;
  const int delays[] = {5, 0, 20};
  const platform::Color colours[] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)};
  for (int k = 0; k < 3; ++k) {
    platform::GifFrame f;
    f.width = 8;
    f.height = 6;
    f.delay = delays[k];
    f.image = Bitmap::Create(8, 6, PixelFormat::Bgra32);
    f.image->Fill(colours[k]);
    a.frames.push_back(std::move(f));
  }
  const auto bytes = platform::EncodeGif(a);
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("anim.gif"), std::string(bytes.begin(), bytes.end())));

  GifAnimationWidget gif;
  ASSERT_TRUE(gif.LoadFile(dir.File("anim.gif")));
  EXPECT_EQ(gif.FrameCount(), 3);
  EXPECT_EQ(gif.NaturalSize(), QSize(8, 6));
  EXPECT_EQ(gif.DelayMs(0), 50);
  EXPECT_EQ(gif.DelayMs(1), 100);  // a zero delay plays at 100 ms
  EXPECT_EQ(gif.DelayMs(2), 200);
  EXPECT_EQ(gif.FrameImage(1).pixel(2, 2) & 0xFFFFFF, kGreen);
  gif.Start();
  EXPECT_TRUE(gif.IsRunning());
  gif.Advance();
  gif.Advance();
  EXPECT_EQ(gif.CurrentFrame(), 2);
  gif.Advance();
  EXPECT_EQ(gif.CurrentFrame(), 0);  // loops
  gif.Stop();

  // Drawn stretched over the widget, or at its natural size.
  gif.resize(32, 24);
  EXPECT_EQ(gif.grab().toImage().pixel(30, 22) & 0xFFFFFF, kRed);
  gif.SetStretch(false);
  EXPECT_NE(gif.grab().toImage().pixel(30, 22) & 0xFFFFFF, kRed);

  platform::SaveBmp(*Solid(4, 4, Rgb(0, 0, 255)), dir.File("still.bmp"));
  ASSERT_TRUE(gif.LoadFile(dir.File("still.bmp")));
  EXPECT_EQ(gif.FrameCount(), 1);
  gif.Start();
  EXPECT_FALSE(gif.IsRunning());
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("bad.gif"), "GIF89a broken"));
  EXPECT_FALSE(gif.LoadFile(dir.File("bad.gif")));
  EXPECT_EQ(gif.FrameCount(), 0);
}

TEST(BitmapImage, FormatsConvertToQImages) {
  auto b24 = Solid(3, 2, Rgb(10, 20, 30));
  EXPECT_EQ(ToQImage(*b24).pixel(1, 1), qRgb(10, 20, 30));
  auto b32 = Bitmap::Create(3, 2, PixelFormat::Bgra32);
  b32->SetPixelColor(0, 0, Rgb(1, 2, 3), 128);
  const QImage q = ToQImage(*b32);
  EXPECT_EQ(qAlpha(q.pixel(0, 0)), 128);
  EXPECT_EQ(qRed(q.pixel(0, 0)), 1);
  auto b8 = Bitmap::Create(2, 2, PixelFormat::Indexed8);
  b8->Row(0)[0] = 200;
  EXPECT_EQ(ToQImage(*b8).pixel(0, 0), qRgb(200, 200, 200));
  EXPECT_TRUE(ToQImage(*Bitmap::Create(0, 0, PixelFormat::Bgr24)).isNull());
}

TEST(PicShowBoxWidget, DestroyedByAHandlerDuringAChange) {
  App();
  auto* box = new PicShowBoxWidget;
  box->resize(40, 30);
  box->SetEffect(3);
  std::vector<std::unique_ptr<Bitmap>> pics;
  pics.push_back(Solid(10, 10, Rgb(255, 0, 0)));
  pics.push_back(Solid(10, 10, Rgb(0, 255, 0)));
  box->SetPictures(std::move(pics));
  int rounds = 0;
  // Events run between the steps of a change; one of them destroys the box.
  auto previous = platform::SetMessagePump([&] {
    if (++rounds == 10 && box) {
      delete box;
      box = nullptr;
    }
  });
  PicShowBoxWidget* target = box;
  target->ShowIndex(1);
  platform::SetMessagePump(previous);
  EXPECT_EQ(box, nullptr);
  EXPECT_EQ(rounds, 10);  // no further step ran after the box was gone
}
