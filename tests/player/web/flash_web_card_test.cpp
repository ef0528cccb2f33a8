// Flash card projects as web cards: the movie's scenes and objects at chosen times, in Chromium.
#include "player/web/flash_web_card.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "flashwizard/flash_project.h"
#include "platform/bmp_codec.h"
#include "platform/files.h"
#include "platform/gif_codec.h"
#include "platform/paths.h"
#include "support/browser_page.h"
#include "support/png_pixels.h"
#include "support/temp_dir.h"

using namespace testing_support;

namespace {

std::string Picture(const std::string& path, int w, int h, platform::Color c) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(c);
  platform::SaveBmp(*b, path);
  return path;
}

// Two frames of 10 x 10, black then white, 0.2 s each.
std::string Blink(const std::string& path) {
  platform::GifAnimation gif;
  gif.width = gif.height = 10;
  for (platform::Color c : {platform::Rgb(0, 0, 0), platform::Rgb(255, 255, 255)}) {
    platform::GifFrame f;
    f.width = f.height = 10;
    f.image = platform::Bitmap::Create(10, 10, platform::PixelFormat::Bgra32);
    f.image->Fill(c);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) f.image->Row(y)[x * 4 + 3] = 255;
    f.hasControlBlock = true;
    f.delay = 20;
    gif.frames.push_back(std::move(f));
  }
  const auto bytes = platform::EncodeGif(gif);
  WriteBytes(path, std::string(bytes.begin(), bytes.end()));
  return path;
}

// Silent MPEG-1 layer III frames at 44.1 kHz, about 5.2 s.
std::string Music(const std::string& path) {
  std::string bytes;
  for (int i = 0; i < 200; ++i) {
    std::string f(417, '\0');
    f[0] = '\xFF'; f[1] = '\xFB'; f[2] = '\x90'; f[3] = '\x44';
    bytes += f;
  }
  WriteBytes(path, bytes);
  return path;
}

// 200 x 150 on a blue stage. Scene 1: red, fading in over 1 s, 2 s shown, fading out over
// 1 s (0 to 4 s). Scene 2: green, moving in from the top-left corner over 1 s (4 to 8 s).
// On scene 1, a yellow 20 x 20 picture at half opacity at (100, 50), from 1 s to 4 s, and a
// blinking GIF at (40, 100) from 1 s. Silent music plays.
std::unique_ptr<flashwizard::FlashProject> Project(const TempDir& dir) {
  auto p = std::make_unique<flashwizard::FlashProject>();
  flashwizard::FlashSettings& s = p->Settings;
  s.Title = "</script><script>document.title='run'</script>";
  s.Width = 200;
  s.Height = 150;
  s.BackCor = platform::Rgb(0, 0, 255);
  p->SceneCount = 2;
  const platform::Color colours[2] = {platform::Rgb(255, 0, 0), platform::Rgb(0, 255, 0)};
  for (int i = 0; i < 2; ++i) {
    flashwizard::TpvFlashScene& c = p->Scenes[i];
    c.UseBackColor = true;
    c.BackColor = colours[i];
    c.ShowEff = i == 0 ? 1 : 2;
    c.HideEff = 1;
    c.ShowEffTime = c.HideEffTime = 1000;
    c.ShowTime = 2000;
  }
  const int obj = p->AddPicture(Picture(dir.File("sun.bmp"), 20, 20, platform::Rgb(255, 255, 0)), 0);
  EXPECT_EQ(obj, 0);
  flashwizard::TpvFlashImageObj& o = p->Objects[obj];
  o.Left = 100;
  o.Top = 50;
  o.StartShowTime = 1000;
  o.ShowEff = o.HideEff = 0;
  o.ShowEffTime = 1500;
  o.HideTime = 1500;
  o.AlphaValue = 50;
  const int gif = p->AddPicture(Blink(dir.File("blink.gif")), 0);
  EXPECT_EQ(gif, 1);
  p->Objects[gif].Left = 40;
  p->Objects[gif].Top = 100;
  p->Objects[gif].StartShowTime = 1000;
  p->Objects[gif].ShowEff = p->Objects[gif].HideEff = 0;
  p->Objects[gif].HideTime = 2000;
  s.UseMusic = true;
  s.BackMusic = Music(dir.File("music.mp3"));
  p->MusicLength = 5200;
  return p;
}

}  // namespace

TEST(FlashWebCard, PlaysTheScenesAndTheirPicturesAtTheirTimesFromDisk) {
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  TempDir dir;
  auto project = Project(dir);
  std::filesystem::create_directory(dir.HostPath() + "alone");
  ASSERT_TRUE(web::WriteFlashWebCard(*project, dir.File("alone/card.html")));
  const std::string page = ReadBytes(dir.HostPath() + "alone/card.html");
  EXPECT_EQ(page.find("<script>document.title"), std::string::npos) << "card text left unescaped";

  const std::string d = dir.HostPath();
  PageRun run = BrowserPage::FromFile(d + "alone/card.html").Viewport(200, 150)
                    .ZeroWhen("window.webCard && webCard.ready && webCard.t0")
                    .EvalAt(500, "t1", "webCard.paintNow()").ShotAt(500, d + "fading.png", "canvas")
                    .EvalAt(960, "t2", "webCard.paintNow()").ShotAt(960, d + "before.png", "canvas")
                    .EvalAt(1400, "t6", "webCard.paintNow()").ShotAt(1400, d + "blink.png", "canvas")
                    .EvalAt(2000, "t3", "webCard.paintNow()").ShotAt(2000, d + "shown.png", "canvas")
                    .EvalAt(2000, "music", "[webCard.music.src.slice(0, 22), webCard.music.paused]")
                    .EvalAt(4500, "t4", "webCard.paintNow()").ShotAt(4500, d + "moving.png", "canvas")
                    .EvalAt(6000, "t5", "webCard.paintNow()").ShotAt(6000, d + "second.png", "canvas")
                    .EvalAt(6000, "title", "document.title")
                    .Run(d);
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  EXPECT_TRUE(run.blocked.empty()) << run.Describe();
  EXPECT_EQ(run.values["title"], "\"</script><script>document.title='run'</script>\"");

  auto at = [&](const char* png, int x, int y) { return PixelOf(d + png, x, y); };
  // Half way through the fade, the red scene lies half over the blue stage.
  const auto fading = at("fading.png", 20, 20);
  EXPECT_TRUE(Near(fading, 122, 0, 133, 12));
  // The picture is not there before its time, and at half opacity over the scene after it.
  EXPECT_TRUE(Near(at("before.png", 110, 60), 245, 0, 10, 12));
  EXPECT_TRUE(Near(at("shown.png", 110, 60), 255, 128, 0, 12));
  EXPECT_TRUE(Near(at("shown.png", 20, 20), 255, 0, 0, 4));
  // The GIF's frames take turns every 0.2 s (5 movie frames) from its start at 1 s.
  EXPECT_TRUE(Near(at("blink.png", 45, 105), 0, 0, 0, 4));
  EXPECT_TRUE(Near(at("shown.png", 45, 105), 255, 255, 255, 4));
  EXPECT_EQ(run.values["music"], "[\"data:audio/mpeg;base64\",false]");
  // The second scene half way in from the top-left corner covers (-100, -75)-(100, 75).
  EXPECT_TRUE(Near(at("moving.png", 20, 20), 0, 255, 0, 4));
  EXPECT_TRUE(Near(at("moving.png", 150, 120), 0, 0, 255, 4));
  // Then it covers the stage, and the first scene's picture has gone with its scene.
  EXPECT_TRUE(Near(at("second.png", 150, 120), 0, 255, 0, 4));
  EXPECT_TRUE(Near(at("second.png", 110, 60), 0, 255, 0, 4));
}
