// Interactive web cards: the page written from a card, copied alone into an empty folder and
// played in headless Chromium on a fake clock, shows and does what the card stage does.
#include "player/web/interactive_web_card.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/bmp_codec.h"
#include "platform/files.h"
#include "platform/gif_codec.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/stage/card_stage.h"
#include "player/stage/null_hosts.h"
#include "player/web/web_page.h"
#include "../player_fixture.h"
#include "support/browser_page.h"
#include "support/png_pixels.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr const char* kZero = "window.webCard && webCard.ready && webCard.t0";

// A picture with a colour ramp across and a band down, so that a step drawn in the wrong place
// or the wrong way round shows.
std::string Ramp(int w, int h, int hue) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b->SetPixelColor(x, y, platform::Rgb(x * 255 / w, hue, y < h / 3 ? 255 : 40));
  const auto bytes = platform::EncodeBmp(*b);
  return std::string(bytes.begin(), bytes.end());
}

player_fixture::CardBytes Base() {
  player_fixture::CardBytes c = player_fixture::SmallCard();
  c.Set("Application", "BkColor", std::to_string(platform::Rgb(0, 128, 255)));
  return c;
}

struct WebCard {
  TempDir dir;
  std::string page;  // the page, alone in its own folder
  player::OpenedCard card;
  explicit WebCard(const player_fixture::CardBytes& bytes) {
    // The page's scripts lie in the build's program folder.
    platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
    WriteBytes(dir.File("card.crd2"), bytes.Build());
    card = player::OpenCardFile(dir.File("card.crd2"));
    fs::create_directory(dir.HostPath() + "alone");
    web::WriteInteractiveWebCard(card, dir.File("alone/card.html"));
    page = dir.HostPath() + "alone/card.html";
  }
  std::string Host(const std::string& name) const { return dir.HostPath() + name; }
};

}  // namespace

TEST(WebPage, CardTextStaysTextInsideThePage) {
  EXPECT_EQ(web::JsonString("a\"b\\c</script><x>&\n"), "\"a\\\"b\\\\c\\u003c/script\\u003e\\u003cx\\u003e\\u0026\\n\"");
  EXPECT_EQ(web::JsonString("\xE2\x80\xA8"), "\"\\u2028\"");
  player_fixture::CardBytes c = Base();
  c.Set("Application", "CardTitle", "</title><script>alert(1)</script>");
  c.Set("Label1", "Caption", "<img src=x onerror=alert(2)>");
  WebCard w(c);
  const std::string html = platform::files::ReadFile(w.dir.File("alone/card.html")).value();
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  EXPECT_EQ(html.find("<img src=x"), std::string::npos);
  EXPECT_NE(html.find("&lt;/title&gt;&lt;script&gt;"), std::string::npos);
  EXPECT_NE(html.find("Content-Security-Policy\" content=\"default-src 'none'"), std::string::npos);
}

TEST(InteractiveWebCard, ShowsTheCardAsTheStageDrawsItAndNeedsNoOtherFile) {
  player_fixture::CardBytes c = Base();
  c.Set("Application", "ImageCount", "1");
  const int pic = c.AddMedia(Ramp(60, 40, 0));
  c.Set("Image1", "FilenameId", std::to_string(pic)).Set("Image1", "Filename", "a.bmp").Set("Image1", "Tag", "1");
  c.Set("Image1", "Left", "120").Set("Image1", "Top", "30").Set("Image1", "Width", "60").Set("Image1", "Height", "40");
  c.Set("Image1", "Ind", "3").Set("Image1", "Cmd", "").Set("Image1", "PicUrl", "-1").Set("Image1", "Pic", "");
  WebCard w(c);
  stage::NullHosts hosts;
  stage::CardStage st(w.card, hosts.Hosts(), {.playMusic = false, .runWindowActions = false, .move = false});
  st.Start(0, {1024, 768}, st.Width(), st.Height());
  auto expected = st.Render(0);

  PageRun run = BrowserPage::FromFile(w.page).Viewport(300, 200).ZeroWhen(kZero)
                    .ShotAt(100, w.Host("card.png"), "canvas").Run(w.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  EXPECT_TRUE(run.blocked.empty()) << run.Describe();
  auto shot = PngPixels::Load(w.Host("card.png"));
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->Width(), 300);
  // Background, the label's italic text and the picture, pixel for pixel.
  int labelInk = 0, differing = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      const platform::Color e = expected->PixelColor(x, y);
      const Rgb g = shot->At(x, y);
      if (g.r != platform::RedOf(e) || g.g != platform::GreenOf(e) || g.b != platform::BlueOf(e)) ++differing;
      if (x >= 10 && x < 110 && y >= 20 && y < 60 && e != platform::Rgb(0, 128, 255)) ++labelInk;
    }
  }
  EXPECT_GT(labelInk, 20);
  EXPECT_EQ(differing, 0);
  EXPECT_TRUE(Near(shot->At(5, 5), 0, 128, 255, 0));
  EXPECT_TRUE(Near(shot->At(179, 31), 250, 0, 255, 0));
}

TEST(InteractiveWebCard, ShowBoxStepsEqualTheTransitionTool) {
  player_fixture::CardBytes c = Base();
  const int a = c.AddMedia(Ramp(80, 60, 0)), b = c.AddMedia(Ramp(80, 60, 200));
  c.Set("PicsBox", "Use", "True").Set("PicsBox", "Left", "100").Set("PicsBox", "Top", "40");
  c.Set("PicsBox", "Width", "80").Set("PicsBox", "Height", "60").Set("PicsBox", "BkCor", "0");
  c.Set("PicsBox", "Inv", "1").Set("PicsBox", "EffectID", "21").Set("PicsBox", "PicCount", "2");
  c.Set("PicsBox", "Pic0", std::to_string(a)).Set("PicsBox", "Pic1", std::to_string(b));
  WebCard w(c);
  WriteBytes(w.dir.File("a.bmp"), Ramp(80, 60, 0));
  WriteBytes(w.dir.File("b.bmp"), Ramp(80, 60, 200));
  const ProgramRun tool = RunProgram(std::string(CARD_PROGRAM_DIR) + "/cardtool transition --effect 21 --steps 1,30,70,100 "
                                     "--size 80x60 --bg '#000000' " + w.Host("a.bmp") + " " + w.Host("b.bmp") + " " +
                                     w.Host("steps"));
  ASSERT_EQ(tool.exitCode, 0) << tool.output;

  // The first change (blank to a) ends with step 100 at 990 ms; the second starts one
  // second later, a step every 10 ms.
  BrowserPage page = BrowserPage::FromFile(w.page).Viewport(300, 200).ZeroWhen(kZero);
  const int steps[] = {1, 30, 70, 100};
  for (int s : steps) {
    const int at = 1990 + 10 * (s - 1) + 5;
    page.EvalAt(at, "t" + std::to_string(s), "webCard.paintNow()")
        .ClipAt(at, w.Host("page" + std::to_string(s) + ".png"), 100, 40, 80, 60);
  }
  PageRun run = page.Run(w.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  for (int s : steps) {
    char name[32];
    std::snprintf(name, sizeof name, "steps/step%03d.png", s);
    auto want = PngPixels::Load(w.Host(name));
    auto got = PngPixels::Load(w.Host("page" + std::to_string(s) + ".png"));
    ASSERT_TRUE(want && got) << s;
    int differing = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) {
        const Rgb p = want->At(x, y), q = got->At(x, y);
        if (p.r != q.r || p.g != q.g || p.b != q.b) ++differing;
      }
    EXPECT_EQ(differing, 0) << "step " << s;
  }
}

TEST(InteractiveWebCard, CaptionsScrollAsTheStageScrollsThemInEveryWay) {
  player_fixture::CardBytes c = Base();
  c.Set("Application", "lmsclCount", "4");
  for (int i = 1; i <= 4; ++i) {
    const std::string s = "lmscl" + std::to_string(i);
    c.Set(s, "Tag", std::to_string(i)).Set(s, "Ind", "5").Set(s, "Left", std::to_string((i - 1) * 70));
    c.Set(s, "Top", "100").Set(s, "Width", "65").Set(s, "Height", "60").Set(s, "Transparent", "1");
    c.Set(s, "SD", std::to_string(20 + i * 10)).Set(s, "Way", std::to_string(i - 1));
    c.Set(s, "Txt1", "祝你新年快乐<%BR%>万事如意").Set(s, "FontSize", "12").Set(s, "FontColor", "255");
  }
  WebCard w(c);
  stage::NullHosts hosts;
  stage::CardStage st(w.card, hosts.Hosts(), {.playMusic = false, .runWindowActions = false, .move = false});
  st.Start(0, {1024, 768}, st.Width(), st.Height());

  BrowserPage page = BrowserPage::FromFile(w.page).Viewport(300, 200).ZeroWhen(kZero);
  const int times[] = {0, 35, 260, 1500, 4100};
  for (int t : times) {
    page.EvalAt(t, std::to_string(t),
                "(webCard.paintNow(), JSON.stringify(webCard.captions.map(function (c) { return c.p; })))");
  }
  page.ShotAt(4100, w.Host("captions.png"), "canvas");
  PageRun run = page.Run(w.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  for (int t : times) {
    st.Advance(t);
    std::string want = "[";
    for (int i = 1; i <= 4; ++i) want += (i > 1 ? "," : "") + std::to_string(st.CaptionPosition(i));
    want += "]";
    // The page's value is a JSON string of the list.
    EXPECT_EQ(run.values[std::to_string(t)], "\"" + want + "\"") << "at " << t;
  }
  // Red text is on the page inside the captions, nowhere outside them.
  auto shot = PngPixels::Load(w.Host("captions.png"));
  ASSERT_TRUE(shot);
  int red = 0;
  for (int y = 100; y < 160; ++y)
    for (int x = 0; x < 275; ++x) red += Near(shot->At(x, y), 255, 0, 0, 60) ? 1 : 0;
  EXPECT_GT(red, 10);
}

TEST(InteractiveWebCard, ClicksCarryOutTheCardsActions) {
  player_fixture::CardBytes c = Base();
  c.Set("Label1", "Cmd", "提示设置值2中的信息").Set("Label1", "Text", "你好<b>朋友</b>");
  c.Set("Application", "ButtonCount", "3");
  c.Set("Button3", "Caption", "网站").Set("Button3", "Tag", "3").Set("Button3", "Left", "10");
  c.Set("Button3", "Top", "170").Set("Button3", "Width", "68").Set("Button3", "Height", "20");
  c.Set("Button3", "Cmd", "打开设置值1中的文件").Set("Button3", "Ind", "4").Set("Button3", "Wav", "0");
  c.Set("Button3", "PicUrl", "-1").Set("Button3", "Pic", "http://example.invalid/card");
  c.Set("Button2", "Caption", "运行").Set("Button2", "Tag", "2").Set("Button2", "Left", "100");
  c.Set("Button2", "Top", "170").Set("Button2", "Width", "68").Set("Button2", "Height", "20");
  c.Set("Button2", "Cmd", "打开设置值1中的文件").Set("Button2", "Ind", "3").Set("Button2", "Wav", "0");
  c.Set("Button2", "PicUrl", "-1").Set("Button2", "Pic", "C:\\tools\\setup.exe");
  // The program must exist for the card to offer to start it.
  TempDir tools;
  WriteBytes(tools.File("setup.exe"), "MZ");
  c.Set("Button2", "Pic", tools.File("setup.exe"));
  WebCard w(c);
  PageRun run = BrowserPage::FromFile(w.page).Viewport(300, 200).ZeroWhen(kZero)
                    .ClickAt(100, 30, 30)
                    .EvalAt(150, "message", "document.getElementById('message-text').textContent")
                    .EvalAt(160, "ok", "document.getElementById('message-ok').click(), true")
                    .ClickAt(200, 130, 178)
                    .EvalAt(250, "program", "document.getElementById('message-text').textContent")
                    .EvalAt(260, "ok2", "document.getElementById('message-ok').click(), true")
                    .ClickAt(280, 40, 178)
                    .ClickAt(300, 230, 178)
                    .EvalAt(350, "ended", "webCard.ended")
                    .Run(w.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_EQ(run.values["message"], platform::GbkToUtf8("\"你好<b>朋友</b>\""));
  EXPECT_EQ(run.values["program"], platform::GbkToUtf8("\"setup.exe\\n网页贺卡不运行程序。\""));
  EXPECT_EQ(run.values["ended"], "true");
  // The address opens in a new window; the harness refuses every request off the disk.
  EXPECT_EQ(run.blocked, std::vector<std::string>{"http://example.invalid/card"});
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
}

namespace {

// A GIF of solid frames, red-free so that red label ink over it shows.
std::string SolidGif(std::initializer_list<platform::Color> colours) {
  platform::GifAnimation gif;
  gif.width = gif.height = 8;
  for (platform::Color c : colours) {
    platform::GifFrame f;
    f.width = f.height = 8;
    f.image = platform::Bitmap::Create(8, 8, platform::PixelFormat::Bgra32);
    f.image->Fill(c);
    f.delay = 10;
    f.hasControlBlock = true;
    gif.frames.push_back(std::move(f));
  }
  const auto bytes = platform::EncodeGif(gif);
  return std::string(bytes.begin(), bytes.end());
}

void AddGif(player_fixture::CardBytes& c, int n, int id, int ind, int left, int top, int w, int h) {
  const std::string s = "Gif" + std::to_string(n);
  c.Set(s, "Tag", std::to_string(n)).Set(s, "Ind", std::to_string(ind)).Set(s, "Left", std::to_string(left));
  c.Set(s, "Top", std::to_string(top)).Set(s, "Width", std::to_string(w)).Set(s, "Height", std::to_string(h));
  c.Set(s, "Filename", "C:\\g\\a.gif").Set(s, "FilenameId", std::to_string(id)).Set(s, "Cmd", "");
  c.Set(s, "PicUrl", "-1").Set(s, "Pic", "");
}

int RedInk(const std::function<Rgb(int, int)>& at, int left, int top, int w, int h) {
  int n = 0;
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) n += Near(at(x, y), 255, 0, 0, 90) ? 1 : 0;
  return n;
}

}  // namespace

TEST(InteractiveWebCard, MovingPartsKeepTheCardsStackingOrder) {
  player_fixture::CardBytes c = Base();
  // Label 1 lies over GIF 1, label 2 over the show box; GIF 2 lies over the button.
  c.Set("Label1", "FontColor", "255").Set("Label1", "Cmd", "文本框1的内容改为设置值2中的值");
  c.Set("Label1", "Text", "新的<%BR%>内容");
  c.Set("Application", "LabelCount", "2").Set("Application", "GIFCount", "2");
  c.Set("Label2", "Caption", "盒子上面").Set("Label2", "FontName", "宋体").Set("Label2", "FontSize", "14");
  c.Set("Label2", "FontColor", "255").Set("Label2", "Left", "150").Set("Label2", "Top", "30");
  c.Set("Label2", "Width", "80").Set("Label2", "Height", "40").Set("Label2", "Tag", "2").Set("Label2", "Cmd", "");
  c.Set("Label2", "Ind", "3").Set("Label2", "PicUrl", "-1").Set("Label2", "Pic", "");
  const int gif = c.AddMedia(SolidGif({platform::Rgb(0, 200, 0), platform::Rgb(0, 0, 200)}));
  AddGif(c, 1, gif, 0, 10, 20, 100, 40);
  AddGif(c, 2, gif, 5, 195, 165, 80, 30);
  const int pic = c.AddMedia(Ramp(80, 60, 0));
  c.Set("PicsBox", "Use", "True").Set("PicsBox", "Left", "150").Set("PicsBox", "Top", "20");
  c.Set("PicsBox", "Width", "80").Set("PicsBox", "Height", "60").Set("PicsBox", "BkCor", "0");
  c.Set("PicsBox", "Inv", "5").Set("PicsBox", "EffectID", "21").Set("PicsBox", "PicCount", "1");
  c.Set("PicsBox", "Pic0", std::to_string(pic));
  WebCard w(c);

  // The stage's own drawing after the same click on label 1.
  stage::NullHosts hosts;
  stage::CardStage st(w.card, hosts.Hosts(), {.playMusic = false, .runWindowActions = false, .move = false});
  st.Start(0, {1024, 768}, st.Width(), st.Height());
  st.Advance(300);
  st.Runtime().Click(document::ElementKind::Label, 1);
  auto expected = st.Render(1500);
  auto want = [&](int x, int y) {
    const platform::Color e = expected->PixelColor(x, y);
    return Rgb{platform::RedOf(e), platform::GreenOf(e), platform::BlueOf(e)};
  };
  ASSERT_GT(RedInk(want, 10, 20, 100, 40), 20) << "the label's text lies over the GIF on the stage";
  ASSERT_GT(RedInk(want, 150, 30, 80, 40), 20) << "and over the show box";

  PageRun run = BrowserPage::FromFile(w.page).Viewport(300, 200).ZeroWhen(kZero)
                    .ClickAt(300, 30, 30)
                    .EvalAt(1500, "t", "webCard.paintNow()")
                    .ShotAt(1500, w.Host("stacked.png"), "canvas").Run(w.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  auto shot = PngPixels::Load(w.Host("stacked.png"));
  ASSERT_TRUE(shot);
  auto got = [&](int x, int y) { return shot->At(x, y); };
  EXPECT_GT(RedInk(got, 10, 20, 100, 40), 20);
  EXPECT_GT(RedInk(got, 150, 30, 80, 40), 20);
  int notGif = 0;  // the button's caption stays under GIF 2
  for (int y = 165; y < 195; ++y)
    for (int x = 195; x < 275; ++x) notGif += Near(got(x, y), 0, 200, 0, 3) || Near(got(x, y), 0, 0, 200, 3) ? 0 : 1;
  EXPECT_EQ(notGif, 0);
  int differing = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) differing += Near(got(x, y), want(x, y).r, want(x, y).g, want(x, y).b, 3) ? 0 : 1;
  EXPECT_EQ(differing, 0);
}

TEST(InteractiveWebCard, BuildRefusesAnOrdinaryTemplate) {
  TempDir dir;
  WriteBytes(dir.File("card.lmcard"), "[普通型贺卡]\r\nCardWidth=480\r\nCardHeight=360\r\n");
  const ProgramRun tool = RunProgram(std::string(CARD_PROGRAM_DIR) + "/cardtool build " + dir.HostPath() +
                                     "card.lmcard " + dir.HostPath() + "card.html 2>&1");
  EXPECT_NE(tool.exitCode, 0);
  EXPECT_NE(tool.output.find("cardtool build-ordinary"), std::string::npos) << tool.output;
  EXPECT_FALSE(fs::exists(dir.HostPath() + "card.html"));
}

TEST(InteractiveWebCard, TheMaskCutsTheMovingPartsToo) {
  // The mask's white left half lies outside the card; a GIF spans both halves.
  auto mask = platform::Bitmap::Create(300, 200, platform::PixelFormat::Bgr24);
  mask->Fill(platform::Rgb(0, 0, 0));
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 150; ++x) mask->SetPixelColor(x, y, platform::kClWhite);
  const auto maskBytes = platform::EncodeBmp(*mask);
  player_fixture::CardBytes c = Base();
  c.Set("Application", "YxPic", std::to_string(c.AddMedia(std::string(maskBytes.begin(), maskBytes.end()))));
  c.Set("Application", "YxPicName", "C:\\m\\shape.bmp").Set("Application", "GIFCount", "1");
  AddGif(c, 1, c.AddMedia(SolidGif({platform::Rgb(0, 200, 0)})), 9, 100, 100, 100, 50);
  WebCard w(c);
  PageRun run = BrowserPage::FromFile(w.page).Viewport(300, 200).ZeroWhen(kZero)
                    .EvalAt(500, "outside", "webCard.paintNow(), document.getElementById('card').getContext('2d')"
                                            ".getImageData(120, 120, 1, 1).data[3]")
                    .EvalAt(500, "inside", "document.getElementById('card').getContext('2d')"
                                           ".getImageData(180, 120, 1, 1).data.join()")
                    .Run(w.dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_EQ(run.values["outside"], "0");
  EXPECT_EQ(run.values["inside"], "\"0,200,0,255\"");
}
