#include "player/interactive_ui/flash_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

using namespace cardplayer;

namespace {

QApplication& App() { return testing_support::QtApp("interactive_player_ui_tests"); }

}  // namespace

TEST(FlashView, ProgramsChooseTheViewAndThePlaceholderIsTheDefault) {
  App();
  QWidget parent;
  FlashView* view = CreateFlashView(&parent);
  EXPECT_NE(dynamic_cast<FlashPlaceholder*>(view), nullptr);
  int made = 0;
  SetFlashViewFactory([&](QWidget* p) -> FlashView* {
    ++made;
    return made == 1 ? nullptr : new FlashPlaceholder(p);  // a factory may decline
  });
  EXPECT_NE(dynamic_cast<FlashPlaceholder*>(CreateFlashView(&parent)), nullptr);
  EXPECT_NE(CreateFlashView(&parent), nullptr);
  EXPECT_EQ(made, 2);
  SetFlashViewFactory(nullptr);
}

TEST(FlashView, PlaceholderOpensAPagePlayingTheMovieInTheBrowser) {
  App();
  const std::string programDir = std::string(CARD_PROGRAM_DIR) + "/";
  if (!platform::files::FileExists(programDir + "ruffle/ruffle.js") ||
      !platform::files::FileExists(programDir + "flashview.dat"))
    FAIL() << "the program folder has no Flash player (run scripts/install-deps.sh, then build)";
  const std::string previousFolder = platform::paths::ProgramFolder();
  platform::paths::SetProgramFolder(programDir);

  testing_support::TempDir dir;
  // The opener writes the address it was given into a file.
  const std::string script = dir.File("opener.sh");
  ASSERT_TRUE(testing_support::WriteBytes(script, "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened.txt\"\n"));
  ASSERT_EQ(std::system(("chmod +x '" + dir.HostPath() + "opener.sh'").c_str()), 0);
  setenv("LMCARD_OPENER", (dir.HostPath() + "opener.sh").c_str(), 1);
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("movie.swf"), "FWS\x06 not much of a movie"));

  FlashPlaceholder placeholder;
  EXPECT_FALSE(placeholder.OpenButton()->isEnabled());
  EXPECT_FALSE(placeholder.OpenInBrowser());
  placeholder.LoadMovie(dir.File("movie.swf"));
  EXPECT_TRUE(placeholder.OpenButton()->isEnabled());
  EXPECT_NE(platform::FromQString(placeholder.Text()->text()).find("movie.swf"), std::string::npos);
  EXPECT_TRUE(placeholder.OpenInBrowser());
  std::string opened;
  for (int i = 0; i < 100 && opened.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    opened = platform::files::ReadFile(dir.File("opened.txt")).value_or("");
  }
  unsetenv("LMCARD_OPENER");
  platform::paths::SetProgramFolder(previousFolder);
  ASSERT_FALSE(opened.empty());
  EXPECT_TRUE(opened.ends_with("movie.html")) << opened;
  const std::string page = platform::files::ReadFile(platform::paths::FromHost(opened)).value_or("");
  EXPECT_NE(page.find("ruffle"), std::string::npos);
}
