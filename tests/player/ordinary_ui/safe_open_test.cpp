#include "player/ordinary_ui/safe_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/paths.h"
#include "support/temp_dir.h"

using namespace ordinary_player_ui;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(SafeOpen, WebAndMailAddressesAreNoPrograms) {
  EXPECT_FALSE(NamesProgram("http://example.com/setup.exe"));
  EXPECT_FALSE(NamesProgram("HTTPS://example.com/"));
  EXPECT_FALSE(NamesProgram("mailto:a@b.c?subject=x.bat"));
  EXPECT_FALSE(NamesProgram("ftp://host/a.sh"));
  EXPECT_FALSE(NamesProgram(""));
  EXPECT_FALSE(NamesProgram("readme.txt"));
}

TEST(SafeOpen, ProgramsAreKnownByExtensionCommandLineAndExecutableFile) {
  EXPECT_TRUE(NamesProgram("C:\\Windows\\format.EXE"));
  EXPECT_TRUE(NamesProgram("  run.bat  "));
  EXPECT_TRUE(NamesProgram("file:///tmp/evil.sh"));
  EXPECT_TRUE(NamesProgram("FILE:///tmp/evil%2Esh"));  // the opener decodes the escape
  EXPECT_TRUE(NamesProgram("file://localhost/home/x/start.desktop"));
  EXPECT_TRUE(NamesProgram("notepad.exe readme.txt"));
  EXPECT_TRUE(NamesProgram("\"C:\\Program Files\\x.com\" /s"));

  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("tool"), "#!/bin/sh\necho hi\n"));
  ASSERT_TRUE(WriteBytes(dir.File("note"), "plain text\n"));
  EXPECT_FALSE(NamesProgram(dir.File("tool")));
  ::chmod(platform::paths::ToHost(dir.File("tool")).c_str(), 0755);
  EXPECT_TRUE(NamesProgram(dir.File("tool")));
  EXPECT_TRUE(NamesProgram("file://" + dir.File("tool")));
  EXPECT_FALSE(NamesProgram(dir.File("note")));
  EXPECT_FALSE(NamesProgram(dir.Path()));  // a folder opens in the file manager
}

TEST(SafeOpen, AProgramOpensOnlyAfterTheUserAgreed) {
  std::vector<std::string> opened, asked;
  auto opener = [&](const std::string& t) {
    opened.push_back(t);
    return true;
  };
  bool answer = false;
  auto ask = [&](const std::string& q) {
    asked.push_back(q);
    return answer;
  };
  EXPECT_TRUE(OpenCloseTarget("http://example.com", opener, ask));
  EXPECT_TRUE(asked.empty());
  EXPECT_FALSE(OpenCloseTarget("C:\\evil.exe", opener, ask));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find("C:\\evil.exe"), std::string::npos);
  EXPECT_EQ(asked[0], ProgramConsentQuestion("C:\\evil.exe"));
  EXPECT_EQ(opened, std::vector<std::string>{"http://example.com"});
  answer = true;
  EXPECT_TRUE(OpenCloseTarget("C:\\evil.exe", opener, ask));
  EXPECT_EQ(opened.back(), "C:\\evil.exe");
  // Nobody to ask counts as no.
  EXPECT_FALSE(OpenCloseTarget("x.bat", opener, {}));
  EXPECT_EQ(opened.size(), 2u);
}
