// The browser harness itself: a card page alone in a folder, opened from disk, driven on a
// fake clock; what it shows, what it logged and what it tried to reach reach the test.
#include "support/browser_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/png_pixels.h"
#include "support/temp_dir.h"

using namespace testing_support;
namespace fs = std::filesystem;

TEST(BrowserPage, DrivesACardPageOnAFakeClockAndReportsItsErrors) {
  TempDir dir;
  const std::string d = dir.HostPath();
  fs::copy_file(CARD_SOURCE_DIR "/tests/support/tests/fixtures/timed_card.html", d + "card.html");
  PageRun run = BrowserPage::FromFile(d + "card.html")
                    .Viewport(200, 100)
                    .ShotAt(400, d + "before.png")
                    .ShotAt(600, d + "after.png")
                    .ClickAt(700, 150, 80)
                    .ShotAt(850, d + "pad_waiting.png", "canvas")
                    .ShotAt(950, d + "pad_changed.png", "#pad")
                    .EvalAt(950, "clicked", "window.clickedAt")
                    .Run(d);
  ASSERT_TRUE(run.ok) << run.Describe() << run.output;
  // The 500 ms timer fires between the two shots, and only when the clock is moved there.
  EXPECT_TRUE(Near(PixelOf(d + "before.png", 150, 80), 0, 0, 255));
  EXPECT_TRUE(Near(PixelOf(d + "after.png", 150, 80), 255, 0, 0));
  EXPECT_TRUE(Near(PixelOf(d + "after.png", 10, 10), 0, 255, 0));
  // Element shots hold only the canvas; the click's 200 ms timer runs on the same clock.
  auto pad = PngPixels::Load(d + "pad_waiting.png");
  ASSERT_TRUE(pad.has_value());
  EXPECT_EQ(pad->Width(), 100);
  EXPECT_EQ(pad->Height(), 50);
  EXPECT_TRUE(Near(pad->At(50, 25), 0, 255, 0));
  EXPECT_TRUE(Near(PixelOf(d + "pad_changed.png", 50, 25), 255, 255, 0));
  EXPECT_EQ(run.values["clicked"], "[150,80]");
  ASSERT_EQ(run.shots.size(), 4u);
  EXPECT_DOUBLE_EQ(run.shots[1].now, 600);
  // The refused request also shows as a console error, after the page's own.
  ASSERT_FALSE(run.consoleErrors.empty());
  EXPECT_EQ(run.consoleErrors[0], "card warns");
  ASSERT_EQ(run.pageErrors.size(), 1u);
  EXPECT_NE(run.pageErrors[0].find("late failure"), std::string::npos);
  EXPECT_EQ(run.blocked, std::vector<std::string>{"http://example.invalid/data.json"});
  EXPECT_FALSE(PngPixels::Load(d + "card.html").has_value());
}

TEST(BrowserPage, APageThatNeverGetsReadyFailsWithTheReason) {
  TempDir dir;
  const std::string d = dir.HostPath();
  fs::copy_file(CARD_SOURCE_DIR "/tests/support/tests/fixtures/timed_card.html", d + "card.html");
  PageRun run = BrowserPage::FromFile(d + "card.html").ReadyWhen("window.neverSet === 1").TimeoutSeconds(2).Run(d);
  EXPECT_TRUE(run.started) << run.output;
  EXPECT_FALSE(run.ok);
  EXPECT_NE(run.failure.find("never became ready: window.neverSet === 1"), std::string::npos) << run.failure;
}
