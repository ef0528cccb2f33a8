// The saved page of a real movie plays it in a browser: built with the real Flash.dll, the
// page and the Flash player beside it, served from 127.0.0.1 or opened from disk in headless Chromium.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "flashwizard/flash_builder.h"
#include "flashwizard/flash_pages.h"
#include "flashwizard/flash_project.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using namespace flashwizard;

namespace {

std::string Shell(const std::string& cmd, int* status) {
  std::string out;
  FILE* f = popen((cmd + " 2>&1").c_str(), "r");
  char buf[4096];
  size_t n;
  while (f && (n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  int rc = f ? pclose(f) : -1;
  *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

// The Playwright driver of the SWF checking kit installed in the build tree (see the writer tests).
fs::path KitModules() {
  fs::path kit = fs::path(CARD_PROGRAM_DIR).parent_path() / "swfcheck" / "node_modules" / "playwright-core";
  if (const char* e = std::getenv("SWFCHECK_KIT")) kit = fs::path(e) / "node_modules" / "playwright-core";
  return kit;
}

// Builds a movie with its saved page and checks that the page plays it, served or opened from disk.
void CheckSavedPagePlays(bool fromDisk) {
  if (!fs::exists(KitModules() / "package.json") || !fs::exists("/usr/bin/chromium"))
    GTEST_SKIP() << "Chromium and the SWF checking kit are not installed";
  if (!fs::exists(fs::path(CARD_PROGRAM_DIR) / "ruffle" / "ruffle.js"))
    GTEST_SKIP() << "the Flash player is not in the program folder (run scripts/install-deps.sh)";
  platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
  testing_support::TempDir dir;
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
  fs::path png = fs::path(dir.HostPath()) / "page.png";
  int st = -1;
  std::string out = Shell(std::string(fromDisk ? "PAGE_CHECK_FROM_DISK=1 " : "") + "node '" + std::string(CARD_SOURCE_DIR) + "/tests/flashwizard/page_check.mjs' '" +
                            KitModules().string() + "' '" + dir.HostPath() + "' '" +
                            fs::path(platform::paths::ToHost(*page)).filename().string() + "' '" + png.string() + "' 2",
                        &st);
  ASSERT_EQ(st, 0) << out;
  EXPECT_NE(out.find("\"blocked\":[]"), std::string::npos) << out;
  // The middle of the player shows the scene's blue.
  std::string pix = Shell("python3 '" + (KitModules().parent_path().parent_path() / "pngpix.py").string() + "' '" +
                             png.string() + "' 160 100", &st);
  std::replace(pix.begin(), pix.end(), '#', ' ');
  unsigned rgb = 0;
  ASSERT_EQ(std::sscanf(pix.c_str(), "%*d,%*d %x", &rgb), 1) << pix;
  int r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  EXPECT_LT(r, 30);
  EXPECT_LT(g, 30);
  EXPECT_GT(b, 220);
}

}  // namespace

TEST(FlashPage, TheSavedPagePlaysTheMovieInABrowser) { CheckSavedPagePlays(false); }

// Browsers refuse fetch() on file: addresses; the page still plays when double-clicked.
TEST(FlashPage, TheSavedPagePlaysWhenOpenedFromDisk) { CheckSavedPagePlays(true); }
