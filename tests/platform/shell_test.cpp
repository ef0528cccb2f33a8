#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/files.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {
// Waits up to two seconds for a file that a started program writes.
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 200; ++i) {
    std::string s = ReadBytes(path);
    if (!s.empty() && s.back() == '\n') return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadBytes(path);
}

void MakeScript(const std::string& path, const std::string& body) {
  WriteBytes(path, "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
}
}  // namespace

TEST(Shell, CommandLinesSplitAsTheRuntimeDoes) {
  EXPECT_EQ(shell::SplitCommandLine("a b  c"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(shell::SplitCommandLine("\"C:\\My Cards\\exe2.exe\" \"x y.crd2\""),
            (std::vector<std::string>{"C:\\My Cards\\exe2.exe", "x y.crd2"}));
  // The card maker passes a template name without a closing quote.
  EXPECT_EQ(shell::SplitCommandLine("lmflashcard.exe \"空白 模板"), (std::vector<std::string>{"lmflashcard.exe", "空白 模板"}));
  EXPECT_TRUE(shell::SplitCommandLine("   ").empty());
}

TEST(Shell, StartsAProgramWithoutWaitingAndFindsExeNamesWithoutTheExtension) {
  TempDir dir;
  MakeScript(dir.HostPath() + "prog", "echo \"$1\" > \"$2\"; sleep 1");
  std::string out = dir.File("out.txt");
  auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(shell::StartProgram("\"" + dir.File("prog.exe") + "\" hello " + out));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(900));  // did not wait
  EXPECT_EQ(WaitForFile(out), "hello\n");
  EXPECT_FALSE(shell::StartProgram(dir.File("missing.exe")));
}

TEST(Shell, OpensFilesAndAddressesWithTheDesktopOpener) {
  TempDir dir;
  MakeScript(dir.HostPath() + "opener", "echo \"$1\" >> \"" + dir.HostPath() + "opened.txt\"");
  setenv("LMCARD_OPENER", (dir.HostPath() + "opener").c_str(), 1);
  WriteBytes(dir.File("card.htm"), "<html></html>");
  EXPECT_TRUE(shell::Open("http://example.invalid/page"));
  EXPECT_EQ(WaitForFile(dir.File("opened.txt")), "http://example.invalid/page\n");
  ::unlink((dir.HostPath() + "opened.txt").c_str());
  EXPECT_TRUE(shell::Open(dir.File("CARD.HTM")));
  EXPECT_EQ(WaitForFile(dir.File("opened.txt")), dir.HostPath() + "card.htm\n");
  EXPECT_FALSE(shell::Open(dir.File("nothing.htm")));
  unsetenv("LMCARD_OPENER");
}
