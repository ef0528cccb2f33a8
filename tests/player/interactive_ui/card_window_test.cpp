#include "player/interactive_ui/card_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "maker/packaging/side_files.h"
#include "platform/bmp_codec.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "player/interactive_ui/flash_view.h"
#include "player/stage/show_box_player.h"
#include "../player_fixture.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "maker/transitions/ui/bitmap_image.h"

using namespace cardplayer;
using document::ElementKind;
using platform::Bitmap;
using player_fixture::CardBytes;

namespace {

QApplication& App() { return testing_support::QtApp("interactive_player_ui_tests"); }

std::string Bmp(int w, int h, platform::Color c) {
  auto b = Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(c);
  const auto bytes = platform::EncodeBmp(*b);
  return std::string(bytes.begin(), bytes.end());
}

struct NoLauncher : player::Launcher {
  std::vector<std::string> opened;
  bool Open(const std::string& t) override {
    opened.push_back(t);
    return true;
  }
  bool StartProgram(const std::string&) override { return false; }
  bool StartPlayer(const std::string&, const std::string&) override { return false; }
};

// A card file written to a temporary folder and opened as the player opens it.
struct Played {
  QApplication& app = App();
  testing_support::TempDir dir;
  player::OpenedCard card;
  NoLauncher launcher;
  std::unique_ptr<CardWindow> window;
  explicit Played(const std::string& bytes, CardWindowOptions options = {false, false, false}) {
    EXPECT_TRUE(testing_support::WriteBytes(dir.File("card.crd2"), bytes));
    card = player::OpenCard({dir.File("card.crd2")}, "");
    window = std::make_unique<CardWindow>(card, launcher, options);
  }
};

// The small card plus an image (Tag 2, autosize, packed 30 x 20 red BMP) whose click puts a
// packed blue picture in, a GIF, a Flash element, and a caption.
CardBytes Rich() {
  CardBytes c = player_fixture::SmallCard();
  const int red = c.AddMedia(Bmp(30, 20, platform::Rgb(255, 0, 0)));
  const int blue = c.AddMedia(Bmp(12, 10, platform::Rgb(0, 0, 255)));
  c.Set("Application", "ImageCount", "1").Set("Application", "FlashCount", "1").Set("Application", "lmsclCount", "1");
  c.Set("Image1", "AutoSize", "True").Set("Image1", "Filename", "C:\\p\\red.bmp").Set("Image1", "FilenameId", std::to_string(red));
  c.Set("Image1", "Hint", "点我").Set("Image1", "Cursor", "1");
  c.Set("Image1", "Left", "50").Set("Image1", "Top", "60").Set("Image1", "Width", "5").Set("Image1", "Height", "5");
  c.Set("Image1", "Tag", "2").Set("Image1", "Ind", "5").Set("Image1", "Cmd", "图片2改为设置值1中的值");
  c.Set("Image1", "Pic", "C:\\p\\blue.bmp").Set("Image1", "PicUrl", std::to_string(blue));
  c.Set("Flash1", "Tag", "1").Set("Flash1", "FileName", "C:\\m\\movie.swf").Set("Flash1", "FileNameID", "-1");
  c.Set("Flash1", "Left", "0").Set("Flash1", "Top", "100").Set("Flash1", "Width", "100").Set("Flash1", "Height", "80");
  c.Set("Flash1", "Ind", "3");
  c.Set("lmscl1", "Tag", "1").Set("lmscl1", "Left", "150").Set("lmscl1", "Top", "10").Set("lmscl1", "Width", "120");
  c.Set("lmscl1", "Height", "40").Set("lmscl1", "SD", "30").Set("lmscl1", "Txt1", "滚动字幕").Set("lmscl1", "Ind", "4");
  c.Set("Label1", "Cmd", "文本框1的内容改为设置值2中的值").Set("Label1", "Text", "新的<%BR%>内容");
  return c;
}

}  // namespace

TEST(CardWindow, WindowShowsWhatTheStageDraws) {
  Played p(Rich().Build());
  CardWindow& w = *p.window;
  EXPECT_EQ(w.size(), QSize(300, 200));
  EXPECT_EQ(platform::FromQString(w.windowTitle()), "测试贺卡");
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);  // no title bar asked for
  w.show();
  // The window's picture is the stage's (the Flash view lies over its own rectangle).
  const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage drawn = widgets::ToQImage(*p.window->Stage().Render(0));
  int differ = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) differ += (shown.pixel(x, y) & 0xFFFFFF) != (drawn.pixel(x, y) & 0xFFFFFF);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(shown.pixel(60, 70) & 0xFFFFFF, 0xFF0000u);  // the image at its natural size

  // The mouse over the image: its hint and its hand cursor.
  QTest::mouseMove(&w, QPoint(60, 70));
  EXPECT_EQ(platform::FromQString(w.toolTip()), "点我");
  EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(&w, QPoint(5, 195));
  EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);

  // exe2 has no web view: the Flash element is a placeholder naming the movie's file.
  auto* flash = dynamic_cast<FlashPlaceholder*>(w.FlashMovie(1));
  ASSERT_TRUE(flash);
  EXPECT_EQ(flash->geometry(), QRect(0, 100, 100, 80));
  EXPECT_FALSE(flash->OpenButton()->isEnabled());  // the movie was not packed and is not there
}

TEST(CardWindow, ClicksRunTheCardsActions) {
  platform::ScriptedDialogs dialogs;
  Played p(Rich().Build());
  CardWindow& w = *p.window;
  w.show();
  QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(15, 25));  // the label
  EXPECT_EQ(w.Stage().LabelText(1), "新的\r\n内容");

  QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(55, 65));  // the image
  EXPECT_EQ(w.Stage().ElementRect(ElementKind::Image, 2), (player::Rect{50, 60, 12, 10}));
  EXPECT_EQ(w.grab().toImage().pixel(55, 65) & 0xFFFFFF, 0x0000FFu);  // the packed blue picture

  EXPECT_TRUE(w.isVisible());
  QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(210, 175));  // "结束贺卡运行"
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(w.Stage().Closed());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(CardWindow, ShowBoxPlaysPackedPicturesAndTakesActions) {
  CardBytes c;
  c.Set("Application", "Width", "200").Set("Application", "Height", "150").Set("Application", "ButtonCount", "1");
  const int a = c.AddMedia(Bmp(20, 20, platform::Rgb(255, 0, 0)));
  const int b = c.AddMedia(Bmp(20, 20, platform::Rgb(0, 255, 0)));
  c.Set("Button1", "Tag", "1").Set("Button1", "Cmd", "展示框显示序为设置值1的图像").Set("Button1", "Pic", "2");
  for (const char* k : {"Left", "Top", "Width", "Height", "Ind", "Wav"}) c.Set("Button1", k, "0");
  c.Set("Button1", "Width", "40").Set("Button1", "Height", "20").Set("Button1", "Top", "120");
  c.Set("PicsBox", "Left", "10").Set("PicsBox", "Top", "10").Set("PicsBox", "Width", "60").Set("PicsBox", "Height", "40");
  c.Set("PicsBox", "EffectID", "1").Set("PicsBox", "Clk", "1").Set("PicsBox", "Inv", "7");
  c.Set("PicsBox", "Pic0", std::to_string(a)).Set("PicsBox", "Pic1", std::to_string(b)).Set("PicsBox", "PicCount", "2");
  c.Set("PicsBox", "Use", "True");
  int64_t now = 0;
  CardWindowOptions options{false, false, false, [&now] { return now; }};
  Played p(c.Build(), options);
  CardWindow& w = *p.window;
  stage::ShowBoxPlayer* box = w.Stage().ShowBox();
  ASSERT_TRUE(box);
  w.show();
  EXPECT_EQ(box->PictureCount(), 2);
  EXPECT_EQ(box->ShownIndex(), 0);
  EXPECT_EQ(box->Box().Interval(), 7000);
  now = 2000;  // the change has ended
  w.Tick();
  EXPECT_EQ(w.grab().toImage().pixel(40, 30) & 0xFFFFFF, 0xFF0000u);
  QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(40, 30));  // the click rule shows the next picture
  EXPECT_EQ(box->ShownIndex(), 1);
  QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(20, 130));  // picture number 2
  EXPECT_EQ(box->ShownIndex(), 1);
}

TEST(CardWindow, MaskShapesTheWindowAndThePatchedIconIsTheWindowIcon) {
  // A 40 x 30 mask whose left half is white: only the right half is window.
  auto mask = Bitmap::Create(40, 30, platform::PixelFormat::Bgr24);
  mask->Fill(platform::Rgb(0, 0, 0));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) mask->SetPixelColor(x, y, platform::kClWhite);
  const auto maskBytes = platform::EncodeBmp(*mask);

  // A 32 x 32 icon image, all green, patched in front of the payload as the builders do.
  std::string dib(40, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) dib[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  put32(0, 40);
  put32(4, 32);
  put32(8, 64);
  dib[12] = 1;
  dib[14] = 32;
  for (int i = 0; i < 32 * 32; ++i) dib += std::string("\x00\xFF\x00\xFF", 4);
  dib += std::string(32 * 4, '\0');  // AND mask: all shown
  // An EXE card (the stub here a stand-in that starts as programs do).
  const std::string header = "MZ stub stand-in\r\n" + packaging::FormFileBytes(3).substr(0, 38) + dib.substr(9);

  CardBytes c;
  c.Set("Application", "Width", "400").Set("Application", "Height", "300").Set("Application", "ShowTitbar", "True");
  const int m = c.AddMedia(std::string(maskBytes.begin(), maskBytes.end()));
  c.Set("Application", "YxPic", std::to_string(m)).Set("Application", "YxPicName", "C:\\m\\shape.bmp");
  Played p(c.Build(header));
  CardWindow& w = *p.window;
  EXPECT_EQ(w.size(), QSize(40, 30));  // the mask's size is the card's size
  EXPECT_FALSE(w.windowFlags() & Qt::FramelessWindowHint);
  const QRegion shape = w.mask();
  EXPECT_FALSE(shape.contains(QPoint(5, 5)));
  EXPECT_TRUE(shape.contains(QPoint(25, 5)));
  EXPECT_EQ(shape.boundingRect(), QRect(20, 0, 20, 30));
  ASSERT_FALSE(w.windowIcon().isNull());
  const QImage icon = w.windowIcon().pixmap(32, 32).toImage();
  EXPECT_EQ(icon.pixel(16, 16) & 0xFFFFFF, 0x00FF00u);
}

TEST(CardWindow, LockedCardsOpenAtTheScreenCentreAndWindowActionsRun) {
  platform::ScriptedDialogs dialogs;
  CardBytes c = player_fixture::SmallCard();
  c.Set("Application", "SuoScr", "1").Set("Application", "OnLoad", "2").Set("Application", "OnLoadSet", "欢迎光临");
  c.Set("Application", "OnClose", "1").Set("Application", "OnCloseSet", "http://example.org/");
  Played p(c.Build(), CardWindowOptions{false, true, true});
  CardWindow& w = *p.window;
  w.show();
  ASSERT_TRUE(w.Motion());
  EXPECT_FALSE(w.Motion()->Moving());
  const QRect screen = w.screen()->geometry();
  EXPECT_EQ(w.pos(), QPoint(screen.left() + screen.width() / 2 - w.frameGeometry().width() / 2,
                            screen.top() + screen.height() / 2 - w.frameGeometry().height() / 2));
  QTRY_COMPARE(dialogs.shown.size(), size_t(1));
  EXPECT_EQ(dialogs.shown[0].text, "欢迎光临");
  w.close();
  EXPECT_EQ(p.launcher.opened, (std::vector<std::string>{"http://example.org/"}));
}

TEST(CardWindow, MovingCardsStepAlongTheirPath) {
  CardBytes c = player_fixture::SmallCard();
  c.Set("Application", "SPos", "3").Set("Application", "EPos", "9").Set("Application", "MoveSD", "5");
  int64_t now = 0;
  Played p(c.Build(), CardWindowOptions{false, false, true, [&now] { return now; }});
  CardWindow& w = *p.window;
  w.show();
  ASSERT_TRUE(w.Motion());
  EXPECT_TRUE(w.Motion()->Moving());
  EXPECT_EQ(w.Motion()->IntervalMs(), 5);
  const QPoint start = w.pos();
  now = 10;
  w.Tick();
  EXPECT_EQ(w.pos(), start + QPoint(2, 0));  // top-left to top-right: along the top edge
}

TEST(CardWindow, BackgroundColourAndPictureWithItsLayout) {
  auto shot = [](int layout) {
    CardBytes c;
    c.Set("Application", "Width", "100").Set("Application", "Height", "80");
    c.Set("Application", "BkColor", std::to_string(platform::Rgb(0, 0, 255)));
    const int bk = c.AddMedia(Bmp(30, 20, platform::Rgb(255, 0, 0)));
    c.Set("Application", "BkPic", std::to_string(bk)).Set("Application", "BkPicName", "C:\\b\\bk.bmp");
    c.Set("Application", "BkPicSet", std::to_string(layout));
    Played p(c.Build());
    return p.window->grab().toImage();
  };
  auto rgb = [](const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
  const QImage centre = shot(2);
  EXPECT_EQ(rgb(centre, 50, 40), 0xFF0000u);  // the picture at (35, 30), natural size
  EXPECT_EQ(rgb(centre, 34, 40), 0x0000FFu);
  EXPECT_EQ(rgb(centre, 5, 5), 0x0000FFu);
  const QImage tiled = shot(0);
  EXPECT_EQ(rgb(tiled, 5, 5), 0xFF0000u);
  EXPECT_EQ(rgb(tiled, 95, 75), 0xFF0000u);  // tiles reach the far corner
  const QImage stretched = shot(1);
  EXPECT_EQ(rgb(stretched, 99, 79), 0xFF0000u);
}
