#include "maker/packaging/side_files.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/wait.h>
#endif

#include <cstdlib>

#include "maker/packaging/card_reader.h"
#include "maker/packaging/icon_patch.h"
#include "maker/packaging/ordinary_build.h"
#include "maker/packaging/packaging_fixture.h"
#include "maker/packaging/read_ini.h"
#include "platform/error.h"

using namespace packaging;
using namespace packaging_test;

TEST(SideFiles, ShippedFilesAreTheOnesTheBuildersDescribe) {
  const std::string data = platform::paths::FromHost(CARD_SOURCE_DIR "/data/");
  EXPECT_EQ(ReadBytes(data + "default.txt"), HeaderFileBytes());
  EXPECT_EQ(ReadBytes(data + "FORM1.obj"), FormFileBytes(1));
  EXPECT_EQ(ReadBytes(data + "FORM3.obj"), FormFileBytes(3));
  EXPECT_EQ(ReadBytes(data + "FORM4.obj"), FormFileBytes(4));
  EXPECT_EQ(FormFileBytes(1).size(), 32u);
  EXPECT_EQ(FormFileBytes(3).size(), 38u);
  // Each FORM file ends with the first nine bytes of a 32x32 icon image header.
  EXPECT_TRUE(FormFileBytes(4).ends_with(kIconHeaderStart));
  EXPECT_TRUE(FormFileBytes(1).ends_with(kIconHeaderStart));
}

TEST(SideFiles, ElfImageEndIsTheProgramsLength) {
  const std::string self = ReadBytes(platform::paths::FromHost("/proc/self/exe"));
  ASSERT_FALSE(self.empty());
  auto end = ElfImageEnd(self);
  ASSERT_TRUE(end.has_value());
  EXPECT_EQ(*end, self.size());
  // Bytes appended after the program do not move its end; damaged headers give nothing.
  EXPECT_EQ(ElfImageEnd(self + "appended"), self.size());
  EXPECT_FALSE(ElfImageEnd("MZ").has_value());
  std::string damaged = self.substr(0, 64);
  EXPECT_FALSE(ElfImageEnd(damaged).has_value());
}

TEST(SideFiles, ReadIniTakesTheDefaultAndRaisesOnText) {
  testing_support::TempDir dir;
  WriteBytes(dir.File("Option.ini"), "[Application]\r\nEXE2=1234\r\nEXE3=abc\r\n");
  platform::profile::ClearCache();
  EXPECT_EQ(ReadIni("Application", "EXE2", dir.File("Option.ini"), 230139), 1234);
  EXPECT_EQ(ReadIni("Application", "EXE1", dir.File("Option.ini"), 199717), 199717);
  EXPECT_EQ(ReadIni("Application", "EXE1", dir.File("missing.ini"), 199717), 199717);
  EXPECT_THROW(ReadIni("Application", "EXE3", dir.File("Option.ini"), 1), platform::ConvertError);
}

#ifdef __linux__  // runs a Linux program
class PatchedPlayer : public PackagingTest {};

// A real program as exe1.exe, cut at its Option.ini length and patched with an icon, still
// runs, and its icon is found at the end of its ELF image.
TEST_F(PatchedPlayer, StillRunsAndFindsItsIcon) {
  const std::string program = ReadBytes(platform::paths::FromHost("/bin/true"));
  ASSERT_FALSE(program.empty());
  Write("windows/exe1.exe", program);
  Write("windows/Option.ini", OptionIniText(static_cast<long long>(program.size()), -1, -1));
  ordinary::OrdinarySettings s = ordinary::NewCardSettings();
  s.cardImg = Write("card.jpg", std::string(64, 'J'));
  const std::string icon = IconFile(32, 32, 8);
  s.icon = Write("my.ico", icon);
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("card.exe")), OrdinaryBuildResult::Built);

  CardReader card = CardReader::Open(Pf("card.exe"));
  EXPECT_EQ(card.Form(), CardForm::Exe);
  ASSERT_TRUE(card.Icon().has_value());
  EXPECT_EQ(card.Icon()->offset, program.size());
  auto px = DecodeIconDib(std::string_view(card.Bytes()).substr(card.Icon()->imageOffset, card.Icon()->imageLength));
  ASSERT_TRUE(px);
  EXPECT_EQ(px->argb, DecodeIconDib(std::string_view(icon).substr(22))->argb);

  const std::string cmd = "'" + platform::paths::ToHost(Pf("card.exe")) + "'";
  int rc = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(rc));
  EXPECT_EQ(WEXITSTATUS(rc), 0);
}
#endif
