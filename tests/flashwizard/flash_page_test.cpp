// The saved page of a real movie plays it in a browser: built with the real Flash.dll, the
// page and the Flash player beside it, served from 127.0.0.1 or opened from disk in headless Chromium.
#include <gtest/gtest.h>

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

// Builds a movie with its saved page and checks that the page plays it, served or opened from disk.
void CheckSavedPagePlays(bool fromDisk) {
  ASSERT_TRUE(fs::exists(fs::path(CARD_PROGRAM_DIR) / "ruffle" / "ruffle.js"))
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
  EXPECT_TRUE(fs::exists(fs::path(dir.HostPath()) / "ruffle" / "ruffle.js"));
  // What a page opened from disk needs lies beside it.
  EXPECT_TRUE(fs::exists(fs::path(dir.HostPath()) / "ruffle" / "lmfile.js"));
  EXPECT_TRUE(fs::exists(fs::path(platform::paths::ToHost(swf + ".js"))));
  EXPECT_NE(platform::files::ReadFile(*page)->find("<script src=\"ruffle/lmfile.js\"></script><script src=\"ruffle/ruffle.js\">"),
            std::string::npos);
  const std::string pageName = fs::path(platform::paths::ToHost(*page)).filename().string();
  const std::string png = dir.HostPath() + "page.png";
  auto browser = fromDisk ? BrowserPage::FromFile(dir.HostPath() + pageName)
                          : BrowserPage::Served(dir.HostPath(), "/" + UrlEncode(pageName));
  PageRun run = browser.Viewport(1000, 800)
                    .ReadyWhen("(() => { const p = document.querySelector('ruffle-player, ruffle-object, ruffle-embed');"
                               " return !!(p && p.ruffle && p.ruffle().metadata); })()")
                    .ShotAt(2000, png, "ruffle-player, ruffle-object, ruffle-embed")
                    .Run(dir.HostPath());
  ASSERT_TRUE(run.ok) << run.Describe();
  EXPECT_TRUE(run.pageErrors.empty()) << run.Describe();
  EXPECT_TRUE(run.blocked.empty()) << run.Describe();
  // The middle of the player shows the scene's blue.
  EXPECT_TRUE(Near(PixelOf(png, 160, 100), 0, 0, 255, 30));
}

}  // namespace

TEST(FlashPage, TheSavedPagePlaysTheMovieInABrowser) { CheckSavedPagePlays(false); }

// Browsers refuse fetch() on file: addresses; the page still plays when double-clicked.
TEST(FlashPage, TheSavedPagePlaysWhenOpenedFromDisk) { CheckSavedPagePlays(true); }
