// Ordinary web cards, copied alone into an empty folder and played in Chromium on a fake clock:
// the picture, the greeting by a click or by its time, scrolling, movement, the entrance, the
// order of the sounds and a movie card.
#include "player/web/ordinary_web_card.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

#include "maker/ordinary/card_movement.h"
#include "platform/bmp_codec.h"
#include "platform/paths.h"
#include "player/stage/entrance_geometry.h"
#include "player/stage/stage_fixture.h"
#include "support/browser_page.h"
#include "support/png_pixels.h"
#include "support/temp_dir.h"
#include "webmedia/page_converter.h"

using namespace testing_support;

namespace {

constexpr const char* kZero = "window.webCard && webCard.ready && webCard.t0";
// The page's state after painting at the moment asked: window, greeting, scroll, entrance.
constexpr const char* kLook =
    "(webCard.paintNow(), ((l) => [l.left, l.top, l.width, l.height, +l.greeting, l.scroll, l.entrance]"
    ".concat(l.part, [Math.floor(l.t), Math.floor(webCard.ordinary.greetingAt)]).join())(webCard.ordinary.look))";

// Silence of the given length: 8 kHz, 8 bits, mono.
std::string Wave(int ms) {
  const uint32_t n = static_cast<uint32_t>(ms) * 8;
  auto le = [](uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
  };
  return "RIFF" + le(36 + n, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) +
         le(1, 2) + le(8, 2) + "data" + le(n, 4) + std::string(n, '\x80');
}

std::vector<int> Numbers(const std::string& text) {
  std::vector<int> out;
  const std::regex number("-?[0-9]+");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
    out.push_back(std::stoi(it->str()));
  return out;
}

// A one-track song: a chord held for a second at 120 beats a minute.
std::string Song() {
  auto be = [](uint32_t v, int n) {
    std::string out;
    for (int i = n - 1; i >= 0; --i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    return out;
  };
  std::string track = std::string("\x00\xC0\x00", 3);
  for (char note : {60, 64, 67}) track += std::string("\x00\x90", 2) + note + '\x64';
  track += std::string("\x87\x40\x80\x3C\x00\x00\x80\x40\x00\x00\x80\x43\x00\x00\xFF\x2F\x00", 17);
  return "MThd" + be(6, 4) + be(0, 2) + be(1, 2) + be(480, 2) + "MTrk" + be(track.size(), 4) + track;
}

struct Card {
  TempDir dir;
  ordinary::OrdinarySettings s = stage_fixture::SmallOrdinaryCard(dir);
  Card() { platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/"); }
  std::string Host(const std::string& name) const { return dir.HostPath() + name; }
  // The page alone in its own folder.
  std::string Write(const web::MediaConverter& convert = {}) {
    std::filesystem::create_directories(Host("alone"));
    web::WriteOrdinaryWebCard(s, dir.File("alone/card.html"), convert);
    return Host("alone/card.html");
  }
};

}  // namespace

TEST(OrdinaryWebCard, ShowsThePictureThenTheGreetingAfterAClickAndOpensTheLinksOnClosing) {
  Card card;
  // Typed text goes into the page as text: the address comes back whole when the card closes.
  card.s.openUrl = true;
  card.s.url = "http://example.invalid/?q=</script><b>x</b>";
  PageRun run = BrowserPage::FromFile(card.Write()).Viewport(200, 100).ZeroWhen(kZero)
                    .Init("window.opened = []; window.open = (u) => { window.opened.push(u); };")
                    .ShotAt(100, card.Host("picture.png"), "canvas")
                    .ClickAt(200, 50, 40)
                    .EvalAt(2000, "t", "webCard.paintNow()")
                    .ShotAt(2000, card.Host("greeting.png"), "canvas")
                    .EvalAt(2100, "before", "window.opened.length")
                    .ClickAt(2200, 60, 30)
                    .EvalAt(2300, "opened", "webCard.ended + ' ' + window.opened.join()")
                    .Run(card.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  auto picture = PngPixels::Load(card.Host("picture.png"));
  auto greeting = PngPixels::Load(card.Host("greeting.png"));
  ASSERT_TRUE(picture && greeting);
  EXPECT_EQ(picture->Width(), 100);
  EXPECT_TRUE(Near(picture->At(50, 40), 255, 0, 0, 0));
  EXPECT_EQ(greeting->Width(), 120);
  EXPECT_EQ(greeting->Height(), 60);
  EXPECT_TRUE(Near(greeting->At(100, 30), 0, 255, 0, 0));
  EXPECT_EQ(run.values["before"], "0");
  EXPECT_EQ(run.values["opened"], "\"true http://example.invalid/?q=</script><b>x</b>\"");
}

TEST(OrdinaryWebCard, TheGreetingComesByItsTimeAndItsTextScrollsUp) {
  Card card;
  card.s.click = false;  // double clicks only: nothing here clicks
  card.s.useTime = true;
  card.s.timelen = "1";
  card.s.boxScroll = true;
  card.s.boxInv = "20";
  card.s.boxWord = "WWWWWWWW";
  card.s.boxFontColor = platform::Rgb(0, 0, 255);
  PageRun run = BrowserPage::FromFile(card.Write()).Viewport(200, 100).ZeroWhen(kZero)
                    .EvalAt(900, "before", kLook)
                    .EvalAt(1700, "first", kLook)
                    .EvalAt(1900, "second", kLook)
                    .ShotAt(1900, card.Host("scrolled.png"), "canvas")
                    .Run(card.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  EXPECT_EQ(Numbers(run.values["before"])[4], 0);
  const std::vector<int> first = Numbers(run.values["first"]), second = Numbers(run.values["second"]);
  ASSERT_GE(second.size(), 7u) << run.values["second"];
  EXPECT_EQ(first[4], 1);
  // The text starts at the window's bottom edge (60) and rises a pixel every 20 ms from 1000 ms on;
  // the entrance is over by 1600 ms.
  EXPECT_EQ(first[5], 25);
  EXPECT_EQ(second[5], 15);
  auto shot = PngPixels::Load(card.Host("scrolled.png"));
  ASSERT_TRUE(shot);
  auto blueIn = [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < shot->Width(); ++x)
        if (shot->At(x, y).b > 180 && shot->At(x, y).g < 120) return true;
    return false;
  };
  EXPECT_TRUE(blueIn(15, 31)) << "the text's line at offset 15";
  EXPECT_FALSE(blueIn(0, 13)) << "nothing above the text";
}

TEST(OrdinaryWebCard, TheCardTravelsItsPathThenTheGreetingEntersStepByStep) {
  Card card;
  card.s.cardWidth = card.s.cardHeight = "40";
  card.s.moveSet1 = 3;  // top left
  card.s.moveSet2 = 7;  // bottom right
  card.s.move = "10";
  const ordinary::ScreenSize screen{400, 300};
  struct NoRandom : ordinary::RandomSource {
    int Next(int) override { return 0; }
  } none;
  const ordinary::MovementPlan plan = ordinary::PlanMovement(3, 7, false, screen, 40, 40, none);
  auto at = [&](int ms) {
    ordinary::Point p = plan.start;
    for (int i = 0; i < ms / 10; ++i) p = ordinary::PathStep(p, plan.start, plan.target);
    return p;
  };
  const ordinary::Point clickAt = at(1100);
  PageRun run = BrowserPage::FromFile(card.Write()).Viewport(screen.width, screen.height).ZeroWhen(kZero)
                    .EvalAt(500, "a", kLook)
                    .EvalAt(1000, "b", kLook)
                    .ClickAt(1100, clickAt.left + 20, clickAt.top + 20)
                    .EvalAt(1400, "mid", kLook)
                    .ShotAt(1400, card.Host("mid.png"))
                    .Run(card.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  for (auto [name, ms] : {std::pair{"a", 500}, std::pair{"b", 1000}}) {
    const std::vector<int> v = Numbers(run.values[name]);
    ASSERT_GE(v.size(), 2u) << run.values[name];
    EXPECT_EQ((ordinary::Point{v[0], v[1]}), at(ms)) << name << " " << run.values[name];
  }
  const std::vector<int> mid = Numbers(run.values["mid"]);
  ASSERT_EQ(mid.size(), 14u) << run.values["mid"];
  ASSERT_EQ(mid[4], 1) << "the greeting is up";
  EXPECT_EQ(mid[2], 120);
  const int elapsed = mid[12] - mid[13];
  EXPECT_GT(elapsed, 0);
  EXPECT_LT(elapsed, 600);
  const stage::EntranceFrame f =
      stage::EntranceFrameAt(static_cast<ordinary::Entrance>(mid[6]), mid[2], mid[3], elapsed);
  EXPECT_EQ((std::vector<int>{f.left, f.top, f.width, f.height, f.opacity}),
            (std::vector<int>(mid.begin() + 7, mid.begin() + 12)));
  EXPECT_FALSE(f.done);
  // Inside the part shown so far: green over the grey page at the entrance's opacity.
  auto shot = PngPixels::Load(card.Host("mid.png"));
  ASSERT_TRUE(shot);
  ASSERT_GT(f.width * f.height, 0);
  const int blend = 128 + (255 - 128) * f.opacity / 255, dim = 128 - 128 * f.opacity / 255;
  EXPECT_TRUE(Near(shot->At(mid[0] + f.left + f.width / 2, mid[1] + f.top + f.height / 2), dim, blend, dim, 6));
  if (f.width < mid[2]) {  // beside it, the page
    EXPECT_TRUE(Near(shot->At(mid[0] + (f.left > 0 ? 1 : mid[2] - 2), mid[1] + 30), 128, 128, 128, 2));
  }
}

TEST(OrdinaryWebCard, MusicAndVoiceStartInTheChosenOrder) {
  // Order 1: the voice, then the music once it has ended. Order 0: the music once, the voice, the music again.
  for (auto [order, expected] : {std::pair{1, "voice 0,music 300,music 800"}, std::pair{0, "music 0,voice 500,music 800"}}) {
    Card card;
    WriteBytes(card.dir.File("music.wav"), Wave(500));
    WriteBytes(card.dir.File("voice.wav"), Wave(300));
    card.s.cen = true;
    card.s.bkMusic = card.s.useWav = true;
    card.s.music = card.dir.File("music.wav");
    card.s.wav = card.dir.File("voice.wav");
    card.s.musicEndless = false;
    card.s.musicCount = "2";
    card.s.playSet = order;
    PageRun run = BrowserPage::FromFile(card.Write()).Viewport(200, 100).ZeroWhen(kZero)
                      .EvalAt(1000, "log", "webCard.paintNow(), webCard.audioLog.map((e) => e.what + ' ' + e.at).join()")
                      .Run(card.dir.HostPath());
    ASSERT_TRUE(run.ok) << run.Describe() << run.output;
    EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
    EXPECT_EQ(run.values["log"], std::string("\"") + expected + "\"") << "order " << order;
  }
}

TEST(OrdinaryWebCard, AMovieCardPlaysTheMovieConvertedForTheBrowser) {
  Card card;
  const std::string avi = card.Host("movie.avi");
  const std::string make = "ffmpeg -v error -f lavfi -i color=c=red:s=64x48:r=10:d=1 -c:v mpeg4 -y '" + avi + "'";
  ASSERT_EQ(std::system(make.c_str()), 0) << "ffmpeg (scripts/install-deps.sh) makes the test movie";
  card.s.cardImg = card.dir.File("movie.avi");
  card.s.cardWidth = "64";
  card.s.cardHeight = "48";
  // Without a converter the movie cannot go into the page, and the writer says so.
  EXPECT_EQ(web::WriteOrdinaryWebCard(card.s, card.dir.File("plain.html")), std::vector<std::string>{card.s.cardImg});
  std::vector<std::string> failures;
  PageRun run = BrowserPage::FromFile(card.Write(webmedia::PageMediaConverter(&failures))).Viewport(200, 100)
                    .ReadyWhen("document.querySelector('video') && document.querySelector('video').readyState >= 2")
                    .ZeroWhen(kZero)
                    .EvalAt(100, "video", "((v) => v.videoWidth + ',' + v.style.left)(document.querySelector('video'))")
                    .ShotAt(100, card.Host("movie.png"))
                    .Run(card.dir.HostPath());
  EXPECT_TRUE(failures.empty());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  EXPECT_EQ(run.values["video"], "\"64,0px\"");  // top left: the window's corner
  auto shot = PngPixels::Load(card.Host("movie.png"));
  ASSERT_TRUE(shot);
  EXPECT_TRUE(Near(shot->At(32, 24), 255, 0, 0, 40));
}

TEST(OrdinaryWebCard, MidiMusicGoesIntoThePageAsMp3WithItsLength) {
  Card card;
  WriteBytes(card.dir.File("song.mid"), Song());
  card.s.bkMusic = true;
  card.s.music = card.dir.File("song.mid");
  std::vector<std::string> leftOut, failures;
  EXPECT_NE(web::OrdinaryCardJson(card.s, {}, &leftOut).find("\"music\":null"), std::string::npos);
  EXPECT_EQ(leftOut, std::vector<std::string>{card.s.music});
  const std::string json = web::OrdinaryCardJson(card.s, webmedia::PageMediaConverter(&failures));
  ASSERT_TRUE(failures.empty()) << failures[0] << " (a General MIDI sound font comes with scripts/install-deps.sh)";
  EXPECT_NE(json.find("\"music\":\"data:audio/mpeg;base64,"), std::string::npos);
  const std::vector<int> ms = Numbers(json.substr(json.find("\"musicMs\":"), 20));
  ASSERT_FALSE(ms.empty());
  EXPECT_GT(ms[0], 900);
  EXPECT_LT(ms[0], 3000);
}
