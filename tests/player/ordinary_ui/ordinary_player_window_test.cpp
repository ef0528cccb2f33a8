#include "player/ordinary_ui/ordinary_player_window.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <memory>

#include "ordinary_ui_fixture.h"
#include "platform/gif_codec.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "player/ordinary_ui/movie_player.h"
#include "player/ordinary_ui/safe_open.h"
#include "support/temp_dir.h"

using namespace ordinary_player_ui;
using namespace ordinary_ui_test;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

const QColor kScreen(255, 0, 255);      // the desktop in the snapshot
const QColor kScreenLow(0, 128, 128);   // its lower right part

QImage Snapshot() {
  QImage img(800, 600, QImage::Format_RGB32);
  img.fill(kScreen);
  for (int y = 300; y < 600; ++y)
    for (int x = 400; x < 800; ++x) img.setPixelColor(x, y, kScreenLow);
  return img;
}

std::string SolidGif(int w, int h, platform::Color c) {
  platform::GifAnimation a;
  a.width = w;
  a.height = h;
  platform::GifFrame f;
  f.width = w;
  f.height = h;
  f.image = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgra32);
  f.image->Fill(c);
  a.frames.push_back(std::move(f));
  std::vector<uint8_t> bytes = platform::EncodeGif(a);
  return std::string(bytes.begin(), bytes.end());
}

// A player window over a fake clock, scripted random draws and silent sound, on an 800 x 600
// screen; the test drives its timers.
struct Rig {
  FakeClock clock;
  ScriptedRandom random;
  SilentMedia media;
  std::vector<std::string> opened;
  TempDir dir;
  std::unique_ptr<TForm5> form;

  explicit Rig(ordinary::OrdinarySettings s, bool useOpener = true) {
    App();
    WriteBytes(dir.File("card.bmp"), QuarterBmp());
    WriteBytes(dir.File("box.bmp"), QuarterBmp(6, 6));
    WriteBytes(dir.File("card.gif"), SolidGif(4, 2, platform::Rgb(0, 0, 200)));
    s.cardImg = dir.File(s.cardImg);
    s.cardBox = dir.File(s.cardBox);
    if (!s.music.empty()) s.music = dir.File(s.music);
    PlayerHooks h;
    h.clock = &clock;
    h.random = &random;
    h.media = &media;
    h.screenSize = QSize(800, 600);
    h.screenSnapshot = Snapshot();
    if (useOpener) {
      h.open = [this](const std::string& t) {
        opened.push_back(t);
        return true;
      };
    }
    h.runTimers = false;
    form = std::make_unique<TForm5>(s, h);
  }
  void Advance(int ms) {
    for (int t = 0; t < ms; t += 5) {
      clock.now += 5;
      form->Tick();
    }
  }
  void Mouse(QEvent::Type type) {
    const QPointF p(5, 5);
    QMouseEvent e(type, p, form->mapToGlobal(p), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &e);
  }
  void Click() {
    Mouse(QEvent::MouseButtonPress);
    Mouse(QEvent::MouseButtonRelease);
  }
  // What the platform delivers for a double click: the second press comes as a double click.
  void DoubleClick() {
    Click();
    Mouse(QEvent::MouseButtonDblClick);
    Mouse(QEvent::MouseButtonRelease);
  }
  QColor At(int x, int y) { return form->Frame().pixelColor(x, y); }
};

}  // namespace

TEST(TForm5, TheCardWindowFollowsTheSettings) {
  Rig rig(SmallCard());
  rig.form->Start();
  EXPECT_TRUE(rig.form->isVisible());
  EXPECT_EQ(rig.form->geometry(), QRect(0, 0, 100, 80));  // top left corner, card size
  EXPECT_TRUE(rig.form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(rig.form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(platform::FromQString(rig.form->windowTitle()), "Lumo贺卡");
  // The still picture is stretched over the whole window.
  EXPECT_EQ(rig.At(10, 10), QColor(255, 0, 0));
  EXPECT_EQ(rig.At(90, 10), QColor(0, 255, 0));
  EXPECT_EQ(rig.At(10, 70), QColor(0, 0, 255));
  EXPECT_EQ(rig.At(90, 70), QColor(255, 255, 255));
}

TEST(TForm5, AnAnimationKeepsItsProportionsOverTheWindowColourOrTheScreen) {
  ordinary::OrdinarySettings s = SmallCard();
  s.cardImg = "card.gif";  // 4 x 2 on a 100 x 80 card: 100 x 50, 15 rows above and below
  {
    Rig rig(s);
    rig.form->Start();
    EXPECT_EQ(rig.At(50, 5), QColor(10, 20, 30));
    EXPECT_EQ(rig.At(50, 40), QColor(0, 0, 200));
    EXPECT_EQ(rig.At(50, 75), QColor(10, 20, 30));
  }
  s.cardBkTran = true;
  s.moveSet1 = s.moveSet2 = 7;  // bottom right: the lower right part of the screen shows through
  Rig rig(s);
  rig.form->Start();
  EXPECT_EQ(rig.form->geometry(), QRect(700, 520, 100, 80));
  EXPECT_EQ(rig.At(50, 5), kScreenLow);
  EXPECT_EQ(rig.At(50, 40), QColor(0, 0, 200));
}

TEST(TForm5, SingleClickBringsTheGreetingThenClosesAndOpensTheLinks) {
  ordinary::OrdinarySettings s = SmallCard();
  s.moveSet1 = s.moveSet2 = 7;  // the greeting, wider than the card, is pulled onto the screen
  s.openUrl = true;
  s.url = "http://example.com/";
  s.sendMail = true;
  s.email = "a@b.c";
  s.subject = "seen";
  Rig rig(s);
  QSignalSpy closed(rig.form.get(), &TForm5::Closed);
  rig.form->Start();
  // A double click is first a click: it brings the greeting, and its second half does nothing.
  rig.DoubleClick();
  EXPECT_TRUE(rig.form->GreetingShown());
  EXPECT_FALSE(rig.form->ClosedCard());
  EXPECT_EQ(rig.form->geometry(), QRect(680, 520, 120, 60));
  EXPECT_TRUE(rig.opened.empty());
  rig.Click();
  EXPECT_TRUE(rig.form->ClosedCard());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(rig.form->isVisible());
  EXPECT_EQ(rig.opened, (std::vector<std::string>{"http://example.com/", "mailto:a@b.c?subject=seen&body="}));
}

// The click rules are the player's own tests; here, the platform's double click reaches them.
TEST(TForm5, DoubleClicksReachTheDoubleClickMode) {
  ordinary::OrdinarySettings s = SmallCard();
  s.click = false;
  Rig rig(s);
  rig.form->Start();
  rig.Click();
  EXPECT_FALSE(rig.form->GreetingShown());
  rig.DoubleClick();
  EXPECT_TRUE(rig.form->GreetingShown());
}

TEST(TForm5, TheGreetingComesUpByItselfAfterItsTime) {
  ordinary::OrdinarySettings s = SmallCard();
  s.useTime = true;
  s.timelen = "2";
  Rig rig(s);
  rig.form->Start();
  rig.Advance(1990);
  EXPECT_FALSE(rig.form->GreetingShown());
  rig.Advance(10);
  EXPECT_TRUE(rig.form->GreetingShown());
  EXPECT_EQ(rig.form->size(), QSize(120, 60));
}

TEST(TForm5, TheWindowTravelsAlongItsPathOrStaysAtTheCentre) {
  ordinary::OrdinarySettings s = SmallCard();
  s.moveSet1 = 3;  // (0, 0)
  s.moveSet2 = 7;  // (700, 520)
  s.move = "10";
  {
    Rig rig(s);
    rig.form->Start();
    rig.Advance(100);  // ten steps
    EXPECT_EQ(rig.form->pos(), QPoint(10, 7));  // 7 = round((1 - 690/700) * 520)
  }
  s.cen = true;
  Rig rig(s);
  rig.form->Start();
  EXPECT_EQ(rig.form->pos(), QPoint(350, 260));
  rig.Advance(200);
  EXPECT_EQ(rig.form->pos(), QPoint(350, 260));
}

TEST(TForm5, TheGreetingRollsInOverTheScreenUnderIt) {
  Rig rig(SmallCard());
  rig.random.values = {0};  // roll from left to right
  rig.form->Start();
  rig.Click();
  ASSERT_TRUE(rig.form->GreetingShown());
  EXPECT_TRUE(rig.form->EntranceRunning());
  rig.Advance(300);  // half way: the left half shows the box, the right half the screen
  EXPECT_EQ(rig.At(55, 27), QColor(255, 0, 0));  // below the greeting text
  EXPECT_EQ(rig.At(110, 50), kScreen);
  rig.Advance(300);
  EXPECT_FALSE(rig.form->EntranceRunning());
  EXPECT_EQ(rig.At(110, 50), QColor(255, 255, 255));
}

TEST(TForm5, ScrollingTextEntersFromTheBottomEdge) {
  ordinary::OrdinarySettings s = SmallCard();
  s.boxScroll = true;
  s.boxWord = "WWWWWWWW\r\nWWWWWWWW\r\nWWWWWWWW";
  s.boxFontSize = 12;
  s.boxFontColor = platform::Rgb(0, 0, 0);
  // One step a second: after the entrance the text still stands below the window, and each
  // step shows more of it from the bottom edge.
  s.boxInv = "1000";
  Rig rig(s);
  rig.random.values = {5};
  rig.form->Start();
  rig.Click();
  rig.Advance(600);
  ASSERT_FALSE(rig.form->EntranceRunning());
  ASSERT_EQ(rig.form->Player()->scrollOffset(), 60);
  const QImage before = rig.form->Frame();
  rig.Advance(10000);
  ASSERT_EQ(rig.form->Player()->scrollOffset(), 50);
  const QImage after = rig.form->Frame();
  int changedAbove = 0, changedBelow = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      if (before.pixel(x, y) != after.pixel(x, y)) (y < 50 ? changedAbove : changedBelow)++;
  EXPECT_EQ(changedAbove, 0);
  EXPECT_GT(changedBelow, 0);
}

TEST(TForm5, ClosingTheWindowClosesTheCard) {
  ordinary::OrdinarySettings s = SmallCard();
  s.bkMusic = true;
  s.music = "music.mid";
  s.openUrl = true;
  s.url = "http://example.com/";
  Rig rig(s);
  QSignalSpy closed(rig.form.get(), &TForm5::Closed);
  rig.form->Start();
  EXPECT_EQ(rig.media.log.front(), "open " + rig.dir.File("music.mid"));
  rig.form->close();
  EXPECT_TRUE(rig.form->ClosedCard());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(rig.opened, std::vector<std::string>{"http://example.com/"});
  EXPECT_EQ(rig.media.log.back(), "close");
}

TEST(TForm5, AProgramNamedByTheCardRunsOnlyWhenTheUserAgrees) {
  ordinary::OrdinarySettings s = SmallCard();
  s.boxIndex = 0;
  s.openUrl = true;
  s.url = "C:\\Windows\\evil.exe";
  platform::ScriptedDialogs dialogs;
  dialogs.messageAnswers.push_back(platform::MsgResult::No);
  Rig rig(s, /*useOpener=*/false);
  rig.form->Start();
  rig.Click();
  EXPECT_TRUE(rig.form->ClosedCard());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, ProgramConsentQuestion("C:\\Windows\\evil.exe"));
  EXPECT_EQ(dialogs.shown[0].buttons, platform::MsgButtons::YesNo);
}

TEST(TForm5, APreviewScriptSeesTheWindowInsteadOfTheModalShowing) {
  App();
  ordinary::OrdinarySettings s = SmallCard();
  s.cardWidth = "123";
  int seen = 0;
  PreviewScript previous = SetPreviewScript([&](TForm5& form) {
    ++seen;
    EXPECT_EQ(form.Config().width, 123);
    EXPECT_FALSE(form.isVisible());
  });
  PreviewCard(s);
  SetPreviewScript(previous);
  EXPECT_EQ(seen, 1);
}
