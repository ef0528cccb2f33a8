// exe1.exe starts on a card file, shows the card and quits cleanly; a damaged card ends it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/run_program.h"

#include "ordinary_ui_fixture.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

using namespace ordinary_ui_test;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

using testing_support::ProgramRun;
using testing_support::RunProgram;

const std::string kExe1 = std::string(CARD_PROGRAM_DIR) + "/exe1.exe";
const std::string kTitle = "Lumo\xE8\xB4\xBA\xE5\x8D\xA1";  // the window title, UTF-8

std::string Exe1On(const std::string& hostPath) {
  return "QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=600 '" + kExe1 + "' '" + hostPath + "' 2>&1";
}

}  // namespace

TEST(Exe1Program, PlaysACardFileAndQuitsCleanly) {
  if (!platform::files::FileExists(platform::paths::FromHost(kExe1))) FAIL() << "exe1.exe is not built (build the exe1 target)";
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("card.crd1"), OrdinaryCardBytes(SmallCard(), QuarterBmp(), QuarterBmp())));
  ProgramRun r = RunProgram(Exe1On(dir.HostPath() + "card.crd1"));
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("window: " + kTitle + "\n"), std::string::npos) << r.output;
}

TEST(Exe1Program, ADamagedCardEndsWithAnError) {
  if (!platform::files::FileExists(platform::paths::FromHost(kExe1))) FAIL() << "exe1.exe is not built (build the exe1 target)";
  TempDir dir;
  std::string card = OrdinaryCardBytes(SmallCard(), QuarterBmp(), QuarterBmp());
  card.erase(packaging::HeaderFileBytes().size(), 10);
  ASSERT_TRUE(WriteBytes(dir.File("bad.crd1"), card));
  ProgramRun r = RunProgram(Exe1On(dir.HostPath() + "bad.crd1"));
  EXPECT_EQ(r.exitCode, 1) << r.output;
}

TEST(Exe1Program, PlaysTheCardAppendedToItself) {
  if (!platform::files::FileExists(platform::paths::FromHost(kExe1))) FAIL() << "exe1.exe is not built (build the exe1 target)";
  TempDir dir;
  const std::string stub = testing_support::ReadBytes(platform::paths::FromHost(kExe1));
  ASSERT_FALSE(stub.empty());
  const std::string picture = QuarterBmp();
  ordinary::OrdinarySettings s = SmallCard();
  s.boxIndex = 0;
  packaging::OrdinaryMediaLengths len;
  len.cardImg = picture.size();
  ASSERT_TRUE(WriteBytes(dir.File("card.exe"), stub + picture +
                                                   packaging::OrdinaryBlock(packaging::OrdinarySettingsText(s, len, stub.size()))));
  ASSERT_EQ(::chmod((dir.HostPath() + "card.exe").c_str(), 0755), 0);
  ProgramRun r = RunProgram("QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=600 '" + dir.HostPath() + "card.exe' 2>&1");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("window: " + kTitle + "\n"), std::string::npos) << r.output;
  // The same program without a card says so and ends.
  ASSERT_TRUE(WriteBytes(dir.File("bare.exe"), stub));
  ASSERT_EQ(::chmod((dir.HostPath() + "bare.exe").c_str(), 0755), 0);
  EXPECT_EQ(RunProgram("QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=600 '" + dir.HostPath() + "bare.exe' 2>&1").exitCode, 1);
}
