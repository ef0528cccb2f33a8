// The player programs as the builders and the designer's preview use them: a card file named
// on the command line, a card appended to a copy of the program, and no card at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "platform/files.h"
#include "platform/qt/qt_text.h"
#include "../player_fixture.h"
#include "support/temp_dir.h"

namespace {

struct ProgramRun {
  int exitCode = -1;
  std::string output;
};

ProgramRun Start(const std::string& command) {
  ProgramRun r;
  FILE* p = popen(("QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=800 timeout 60 " + command + " 2>/dev/null").c_str(), "r");
  if (!p) return r;
  char buf[512];
  while (fgets(buf, sizeof buf, p)) r.output += buf;
  const int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Stub(const char* name) { return std::string(CARD_PROGRAM_DIR) + "/" + name; }

}  // namespace

TEST(PlayerProgram, PlaysCardFilesAndCardsAppendedToItself) {
  if (!platform::files::FileExists(Stub("exe2.exe"))) FAIL() << "exe2.exe is not built (build the exe2 target)";
  testing_support::TempDir dir;
  const std::string card = player_fixture::SmallCard().Build();
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("card.crd2"), card));
  const std::string title = platform::GbkToUtf8("window: 测试贺卡");

  ProgramRun file = Start("'" + Stub("exe2.exe") + "' '" + dir.HostPath() + "card.crd2'");
  EXPECT_EQ(file.exitCode, 0) << file.output;
  EXPECT_NE(file.output.find(title), std::string::npos) << file.output;

  // An EXE card: a copy of the stub with the card appended runs by itself.
  const std::string stub = platform::files::ReadFile(Stub("exe2.exe")).value_or("");
  const std::string payload = card.substr(card.find("\xFD\xFD\xFD\xFD\xFD\xFD"));
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("card.exe"), stub + payload));
  ASSERT_EQ(std::system(("chmod +x '" + dir.HostPath() + "card.exe'").c_str()), 0);
  ProgramRun own = Start("'" + dir.HostPath() + "card.exe'");
  EXPECT_EQ(own.exitCode, 0) << own.output;
  EXPECT_NE(own.output.find(title), std::string::npos) << own.output;

  // The bare stub holds no card: an error box, then exit code 1.
  ProgramRun none = Start("'" + Stub("exe2.exe") + "'");
  EXPECT_EQ(none.exitCode, 1) << none.output;
}

TEST(PlayerProgram, FlashPlayerOpensThePlainFamilysCardsToo) {
  if (!platform::files::FileExists(Stub("exe3.exe"))) FAIL() << "exe3.exe is not built (build the exe3 target)";
  testing_support::TempDir dir;
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("card.crd3"), player_fixture::SmallCard().Build()));
  ProgramRun r = Start("'" + Stub("exe3.exe") + "' '" + dir.HostPath() + "card.crd3'");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find(platform::GbkToUtf8("window: 测试贺卡")), std::string::npos) << r.output;
}
