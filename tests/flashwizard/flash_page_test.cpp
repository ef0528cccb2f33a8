// The saved page of a real movie plays it in a browser: built with the real Flash.dll, the page
// alone (it holds the movie and the Flash player), served from 127.0.0.1 or opened from disk in
// headless Chromium.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "flashwizard/flash_builder.h"
#include "flashwizard/flash_pages.h"
#include "flashwizard/flash_project.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"
#include "support/browser_page.h"
#include "support/png_pixels.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using namespace flashwizard;
using namespace testing_support;

namespace {

// Builds a movie with its saved page and checks that the page plays it, opened from disk or
// served to a browser that cannot start workers (the page then compiles the player's core itself).
void CheckSavedPagePlays(bool fromDisk) {
  ASSERT_TRUE(fs::exists(fs::path(CARD_PROGRAM_DIR) / "ruffle" / "page-player.txt"))
      << "the Flash player is not in the program folder (run scripts/install-deps.sh, then build)";
  platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
  TempDir dir;
  auto p = std::make_unique<FlashProject>();
  p->Settings.Width = 320;
  p->Settings.Height = 200;
  p->Settings.UseBackPic = false;
  p->Settings.BackCor = platform::Rgb(0, 128, 0);
  p->SceneCount = 1;
  p->Scenes[0].UseBackColor = true;
  p->Scenes[0].BackColor = platform::Rgb(0, 0, 255);
  p->Scenes[0].ShowEff = p->Scenes[0].HideEff = 1;
  p->Scenes[0].ShowEffTime = 100;
  platform::ScriptedDialogs dialogs;
  std::string swf = dir.File("贺卡.swf");
  ASSERT_TRUE(MakeFlash(*p, swf));
  auto page = WriteMoviePage(PageKind::Save, swf, "320", "200");
  ASSERT_TRUE(page.has_value());
  // The page travels alone: copied into an empty folder, without the movie or the player.
  const uint64_t size = fs::file_size(platform::paths::ToHost(*page));
  EXPECT_LE(size, 8u << 20);
  EXPECT_FALSE(fs::exists(fs::path(dir.HostPath()) / "ruffle"));
  TempDir alone;
  const std::string pageName = "card.html";
  fs::copy_file(platform::paths::ToHost(*page), fs::path(alone.HostPath()) / pageName);
  const std::string png = alone.HostPath() + "page.png";
  auto browser = fromDisk ? BrowserPage::FromFile(alone.HostPath() + pageName)
                          : BrowserPage::Served(alone.HostPath(), "/" + pageName);
  if (!fromDisk) browser.Init("window.Worker = undefined;");
  PageRun run = browser.Viewport(1000, 800)
                    .ReadyWhen("(() => { const p = document.querySelector('ruffle-player, ruffle-object, ruffle-embed');"
                               " return !!(p && p.ruffle && p.ruffle().metadata); })()")
                    .ShotAt(2000, png, "ruffle-player, ruffle-object, ruffle-embed")
                    .Run(alone.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe();
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  EXPECT_TRUE(run.blocked.empty()) << run.Describe();
  // The middle of the player shows the scene's blue.
  EXPECT_TRUE(Near(PixelOf(png, 160, 100), 0, 0, 255, 30));
  // The harness's browser has no GPU: the player draws on a plain canvas, not software WebGL.
  const bool canvas = std::any_of(run.consoleMessages.begin(), run.consoleMessages.end(), [](const std::string& m) {
    return m.find("Used renderer: canvas") != std::string::npos;
  });
  EXPECT_TRUE(canvas) << run.Describe();
}

}  // namespace

TEST(FlashPage, TheSavedPagePlaysWhenServedToABrowserWithoutWorkers) { CheckSavedPagePlays(false); }

// Browsers refuse fetch() on file: addresses; the page still plays when double-clicked.
TEST(FlashPage, TheSavedPagePlaysWhenOpenedFromDisk) { CheckSavedPagePlays(true); }
