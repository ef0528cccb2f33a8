// The Windows players under Wine and Xvfb, on cards that cardtool builds on Linux: what each
// card shows on the screen, and that a damaged card is reported without a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/bitmap.h"
#include "platform/bmp_codec.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/region.h"
#include "platform/text.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ProgramRun;
using testing_support::RunProgram;

constexpr platform::Color kCardBlue = 0x00C08040;   // RGB(64, 128, 192)
constexpr platform::Color kPictureRed = 0x000000E0;  // RGB(224, 0, 0)
constexpr platform::Color kOrdinaryGreen = 0x005AA01E;  // RGB(30, 160, 90)

std::string Q(const std::string& s) { return "'" + s + "'"; }

class WindowsPlayers : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"wine", "xvfb-run", "import", "convert"}) {
      ASSERT_EQ(RunProgram(std::string("command -v ") + tool + " >/dev/null").exitCode, 0)
          << tool << " is missing: run scripts/install-deps.sh";
    }
    ASSERT_TRUE(platform::files::FileExists(std::string(CARD_PROGRAM_DIR) + "/windows/exe2.exe"))
        << "the Windows players are not built (target windows_players)";
  }

  std::string Host(const std::string& name) const { return dir_.HostPath() + name; }

  // Writes a solid picture as a BMP file.
  std::string SolidBmp(const std::string& name, int w, int h, platform::Color c) const {
    auto bmp = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
    bmp->Fill(c);
    platform::SaveBmp(*bmp, dir_.File(name));
    return dir_.File(name);
  }

  ProgramRun Cardtool(const std::string& args) const {
    return RunProgram(Q(std::string(CARD_PROGRAM_DIR) + "/cardtool") + " " + args + " --yes 2>&1");
  }

  // Runs a Windows program under Wine on a virtual screen. The screen is photographed into
  // shot.bmp a second after the program reports its first frame (or ends, or a minute passes);
  // the program reports its windows and quits quitMs after its start.
  ProgramRun RunOnScreen(const std::string& program, int quitMs) const {
    const std::string wine = "CARD_WINE_PREFIX=" + Q(CARD_WINE_PREFIX) + " sh " +
                             Q(std::string(CARD_SOURCE_DIR) + "/cmake/windows/wine_run.sh");
    const std::string out = Q(Host("out.txt"));
    const std::string session = "LMCARD_REPORT_FIRST_FRAME=1 LMCARD_QUIT_AFTER_MS=" + std::to_string(quitMs) + " " +
                                wine + " " + Q(program) + " > " + out + " 2>/dev/null & p=$!; n=0\n" +
                                "while [ $n -lt 120 ] && kill -0 $p 2>/dev/null && ! grep -q 'first frame' " + out +
                                "; do sleep 0.5; n=$((n+1)); done\nsleep 1; import -window root " + Q(Host("shot.png")) +
                                "\nwait $p\n";
    platform::files::WriteFileAtomic(dir_.File("session.sh"), session);
    ProgramRun r = RunProgram("xvfb-run -a -s '-screen 0 800x600x24' sh " + Q(Host("session.sh")) + " 2>&1");
    RunProgram("convert " + Q(Host("shot.png")) + " BMP3:" + Q(Host("shot.bmp")));
    r.output += platform::files::ReadFile(dir_.File("out.txt")).value_or("");
    return r;
  }

  std::unique_ptr<platform::Bitmap> Shot() const {
    try {
      return platform::LoadPicture(dir_.File("shot.bmp"));
    } catch (const platform::Error&) {
      return nullptr;
    }
  }

  testing_support::TempDir dir_;
};

// The bounding box of the pixels of one colour.
platform::Rect Find(const platform::Bitmap& shot, platform::Color c) {
  platform::Rect r{shot.Width(), shot.Height(), 0, 0};
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x)
      if (shot.PixelColor(x, y) == c) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x + 1);
        r.bottom = std::max(r.bottom, y + 1);
      }
  return r;
}

int CountNear(const platform::Bitmap& shot, const platform::Rect& area, platform::Color c, int tolerance) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const platform::Color p = shot.PixelColor(x, y);
      if (std::abs(platform::RedOf(p) - platform::RedOf(c)) <= tolerance &&
          std::abs(platform::GreenOf(p) - platform::GreenOf(c)) <= tolerance &&
          std::abs(platform::BlueOf(p) - platform::BlueOf(c)) <= tolerance)
        ++n;
    }
  return n;
}

}  // namespace

TEST_F(WindowsPlayers, InteractiveExeCardShowsItsColourLabelAndPicture) {
  const std::string red = SolidBmp("red.bmp", 60, 40, kPictureRed);
  ASSERT_TRUE(platform::files::WriteFileAtomic(dir_.File("card.lmcard2"),
      "[Application]\r\nLabelCount=1\r\nButtonCount=0\r\nImageCount=1\r\nGIFCount=0\r\nWavCount=0\r\n"
      "AviCount=0\r\nFlashCount=0\r\nlmsclCount=0\r\nZorder=2\r\nWidth=300\r\nHeight=200\r\n"
      "BkColor=" + std::to_string(kCardBlue) + "\r\nCardTitle=Wine card\r\nShowTitbar=True\r\n"
      "BkPic=-1\r\nYxPic=-1\r\nSPos=5\r\nEPos=5\r\nSuoScr=1\r\nMoveSD=100\r\n"
      "[Label1]\r\nCaption=贺卡 Hello\r\nFontName=宋体\r\nFontSize=20\r\nFontColor=0\r\nLeft=20\r\nTop=20\r\n"
      "Width=200\r\nHeight=40\r\nTag=1\r\nInd=1\r\nPicUrl=-1\r\n"
      "[PicsBox]\r\nUse=False\r\n"
      "[Image1]\r\nFilename=" + red + "\r\nLeft=200\r\nTop=120\r\nWidth=60\r\nHeight=40\r\nTag=1\r\nInd=2\r\n"
      "PicUrl=-1\r\n"));
  ProgramRun build = Cardtool("build " + Q(Host("card.lmcard2")) + " " + Q(Host("card.exe")));
  ASSERT_EQ(build.exitCode, 0) << build.output;

  ProgramRun run = RunOnScreen(Host("card.exe"), 30000);
  EXPECT_NE(run.output.find("window: Wine card"), std::string::npos) << run.output;
  auto shot = Shot();
  ASSERT_TRUE(shot) << run.output;
  const platform::Rect card = Find(*shot, kCardBlue);
  ASSERT_EQ(card.right - card.left, 300) << run.output;
  ASSERT_EQ(card.bottom - card.top, 200);
  // The picture at its place, the label's dark text in its rectangle.
  EXPECT_GE(CountNear(*shot, platform::Rect::FromSize(card.left + 200, card.top + 120, 60, 40), kPictureRed, 8), 60 * 40 - 10);
  EXPECT_GE(CountNear(*shot, platform::Rect::FromSize(card.left + 20, card.top + 20, 200, 40), 0, 60), 40);
}

TEST_F(WindowsPlayers, OrdinaryExeCardShowsItsPicture) {
  const std::string picture = SolidBmp("green.bmp", 200, 150, kOrdinaryGreen);
  ASSERT_TRUE(platform::files::WriteFileAtomic(dir_.File("card.lmcard"),
      "[普通型贺卡]\r\nCardimg=" + picture + "\r\nCardWidth=200\r\nCardHeight=150\r\nCardBkColor=0\r\n"
      "CardBkTran=False\r\nBkMusic=False\r\nUseWav=False\r\nPlaySet=0\r\nBoxIndex=0\r\nMove=100\r\n"
      "MoveSet1=5\r\nMoveSet2=5\r\nClick=True\r\nUseTime=False\r\n"));
  ProgramRun build = Cardtool("build-ordinary " + Q(Host("card.lmcard")) + " " + Q(Host("card.exe")));
  ASSERT_EQ(build.exitCode, 0) << build.output;

  ProgramRun run = RunOnScreen(Host("card.exe"), 30000);
  auto shot = Shot();
  ASSERT_TRUE(shot) << run.output;
  const platform::Rect card = Find(*shot, kOrdinaryGreen);
  EXPECT_EQ(card.right - card.left, 200) << run.output;
  EXPECT_EQ(card.bottom - card.top, 150);
  EXPECT_GE(CountNear(*shot, card, kOrdinaryGreen, 0), 200 * 150 - 10);
}

TEST_F(WindowsPlayers, DamagedExeCardShowsItsMessageAndDoesNotCrash) {
  // An ordinary EXE card whose settings lost their last fields (a download cut short).
  const std::string picture = SolidBmp("green.bmp", 20, 20, kOrdinaryGreen);
  ASSERT_TRUE(platform::files::WriteFileAtomic(dir_.File("card.lmcard"),
      "[普通型贺卡]\r\nCardimg=" + picture + "\r\nCardWidth=20\r\nCardHeight=20\r\nBoxIndex=0\r\n"));
  ASSERT_EQ(Cardtool("build-ordinary " + Q(Host("card.lmcard")) + " " + Q(Host("card.exe"))).exitCode, 0);
  std::string bytes = platform::files::ReadFile(dir_.File("card.exe")).value();
  bytes.resize(bytes.size() - 60);
  ASSERT_TRUE(platform::files::WriteFileAtomic(dir_.File("card.exe"), bytes));

  ProgramRun run = RunOnScreen(Host("card.exe"), 8000);
  EXPECT_EQ(run.output.find("Unhandled"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(platform::GbkToUtf8("无法播放贺卡")), std::string::npos) << run.output;
}
