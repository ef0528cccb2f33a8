// The card maker starts with its splash alone, then its main window, then the template gallery.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

std::string WindowsAfter(int ms) {
  std::string cmd = "QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=" + std::to_string(ms) + " '" +
                    std::string(CARD_PROGRAM_DIR) + "/lmcard' 2>&1";
  std::string out;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return out;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int status = ::pclose(p);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) out += "\n(exit status " + std::to_string(status) + ")";
  return out;
}

// Titles as UTF-8 bytes (this file's literals are compiled to GBK).
const std::string kMain = "window: Lumo\xE8\xB4\xBA\xE5\x8D\xA1\xE5\x88\xB6\xE4\xBD\x9C 7.0 \xE6\xA0\x87\xE5\x87\x86\xE7\x89\x88";
const std::string kAbout = "window: \xE5\x85\xB3\xE4\xBA\x8E";                                 // 关于
const std::string kGallery = "window: \xE6\x96\xB0\xE5\xBB\xBA\xE8\xB4\xBA\xE5\x8D\xA1";     // 新建贺卡

}  // namespace

TEST(LmcardStartup, SplashAloneThenMainWindowThenTheGallery) {
  std::string early = WindowsAfter(500);
  EXPECT_NE(early.find(kAbout), std::string::npos) << early;
  EXPECT_EQ(early.find(kMain), std::string::npos) << early;
  EXPECT_EQ(early.find("exit status"), std::string::npos) << early;

  std::string later = WindowsAfter(4200);
  EXPECT_NE(later.find(kMain), std::string::npos) << later;
  EXPECT_NE(later.find(kGallery), std::string::npos) << later;
  EXPECT_EQ(later.find(kAbout), std::string::npos) << later;
  EXPECT_EQ(later.find("exit status"), std::string::npos) << later;
}
