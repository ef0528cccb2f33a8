// The three programs start, show what they should and quit cleanly.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/run_program.h"

namespace {

using testing_support::ProgramRun;
using testing_support::RunProgram;

std::string Program(const char* name) { return std::string(CARD_PROGRAM_DIR) + "/" + name; }

// Window titles as UTF-8 bytes (this file's literals are compiled to GBK).
const std::string kMakerTitle = "Lumo\xE8\xB4\xBA\xE5\x8D\xA1\xE5\x88\xB6\xE4\xBD\x9C 7.0 \xE6\xA0\x87\xE5\x87\x86\xE7\x89\x88";
const std::string kFlashTitle =
    "\xE7\x94\x9F\xE6\x88\x90" "Flash" "\xE8\xB4\xBA\xE5\x8D\xA1 - Lumo\xE8\xB4\xBA\xE5\x8D\xA1\xE5\x88\xB6\xE4\xBD\x9C 7.0";

}  // namespace

TEST(Programs, CardMakerStartsWithItsMainWindowAndQuitsCleanly) {
  // The main window shows once the 2-second splash is over.
  ProgramRun r = RunProgram("QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=2600 '" + Program("lmcard") + "' 2>&1");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("window: " + kMakerTitle), std::string::npos) << r.output;
}

TEST(Programs, FlashWizardStartsWithItsWindowAndQuitsCleanly) {
  ProgramRun r = RunProgram("QT_QPA_PLATFORM=offscreen LMCARD_QUIT_AFTER_MS=300 '" + Program("lmflashcard") + "' 2>&1");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("window: " + kFlashTitle), std::string::npos) << r.output;
}

TEST(Programs, CardtoolListsItsCommandsAndVersion) {
  ProgramRun help = RunProgram("'" + Program("cardtool") + "' --help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("usage: cardtool COMMAND"), std::string::npos);
  ProgramRun version = RunProgram("'" + Program("cardtool") + "' --version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, "cardtool 7.0\n");
  ProgramRun unknown = RunProgram("'" + Program("cardtool") + "' no-such-command 2>&1");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.output.find("unknown command 'no-such-command'"), std::string::npos);
}
