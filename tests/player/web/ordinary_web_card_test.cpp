// Ordinary web cards: the card picture, then the greeting brought up by a click, in Chromium.
#include "player/web/ordinary_web_card.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/bmp_codec.h"
#include "platform/paths.h"
#include "support/browser_page.h"
#include "support/png_pixels.h"
#include "support/temp_dir.h"

using namespace testing_support;

namespace {

std::string Plain(int w, int h, platform::Color c) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(c);
  const auto bytes = platform::EncodeBmp(*b);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(OrdinaryWebCard, ShowsThePictureThenTheGreetingAfterAClick) {
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  TempDir dir;
  WriteBytes(dir.File("card.bmp"), Plain(4, 4, platform::Rgb(255, 0, 0)));
  WriteBytes(dir.File("box.bmp"), Plain(6, 6, platform::Rgb(0, 255, 0)));
  ordinary::OrdinarySettings s = ordinary::NewCardSettings();
  s.cardImg = dir.File("card.bmp");
  s.cardWidth = "100";
  s.cardHeight = "80";
  s.moveSet1 = s.moveSet2 = 3;
  s.boxIndex = 1;
  s.cardBox = dir.File("box.bmp");
  s.boxWidth = "120";
  s.boxHeight = "60";
  s.click = true;
  s.bkMusic = s.useWav = false;
  std::filesystem::create_directory(dir.HostPath() + "alone");
  web::WriteOrdinaryWebCard(s, dir.File("alone/card.html"));

  PageRun run = BrowserPage::FromFile(dir.HostPath() + "alone/card.html").Viewport(200, 100)
                    .ZeroWhen("window.webCard && webCard.ready && webCard.t0")
                    .ShotAt(100, dir.HostPath() + "picture.png", "canvas")
                    .ClickAt(200, 50, 40)
                    .EvalAt(2000, "t", "webCard.paintNow()")
                    .ShotAt(2000, dir.HostPath() + "greeting.png", "canvas")
                    .Run(dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  auto picture = PngPixels::Load(dir.HostPath() + "picture.png");
  auto greeting = PngPixels::Load(dir.HostPath() + "greeting.png");
  ASSERT_TRUE(picture && greeting);
  EXPECT_EQ(picture->Width(), 100);
  EXPECT_TRUE(Near(picture->At(50, 40), 255, 0, 0, 0));
  EXPECT_EQ(greeting->Width(), 120);
  EXPECT_EQ(greeting->Height(), 60);
  EXPECT_TRUE(Near(greeting->At(100, 30), 0, 255, 0, 0));
}
