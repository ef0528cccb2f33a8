#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "support/temp_dir.h"

using namespace platform::paths;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(Paths, AbsoluteWhenSecondCharacterIsColonOrItStartsWithASeparator) {
  EXPECT_TRUE(IsAbsolute("C:\\cards\\a.crd2"));
  EXPECT_TRUE(IsAbsolute("c:x"));
  EXPECT_TRUE(IsAbsolute("\\cards"));
  EXPECT_TRUE(IsAbsolute("/home/a"));
  EXPECT_FALSE(IsAbsolute("贺卡图片\\1.jpg"));
  EXPECT_FALSE(IsAbsolute("a"));
  EXPECT_FALSE(IsAbsolute(""));
}

TEST(Paths, PartsOfAPathHonourBothSeparators) {
  EXPECT_EQ(ExtractFileName("C:\\a\\b/c.lmcard2"), "c.lmcard2");
  EXPECT_EQ(ExtractFilePath("C:\\a\\b/c.lmcard2"), "C:\\a\\b/");
  EXPECT_EQ(ExtractFileExt("dir.x\\name"), "");
  EXPECT_EQ(ExtractFileExt("a.b.lmcard2"), ".lmcard2");
  EXPECT_EQ(ChangeFileExt("a\\card.exe", ".crd2"), "a\\card.crd2");
  EXPECT_EQ(Join("a\\", "\\b"), "a\\b");
  EXPECT_EQ(Join("a", "b"), "a/b");
}

TEST(Paths, TrailBytesThatLookLikeBackslashesDoNotSeparate) {
  // 0x81 0x5C is one GBK character whose second byte is a backslash.
  std::string name = std::string("x\x81\x5C") + "y.txt";
  EXPECT_EQ(ExtractFileName("dir\\" + name), name);
  EXPECT_EQ(LastSeparator(name), std::string::npos);
}

TEST(Paths, HostPathsUseSlashesAndUtf8Names) {
  TempDir dir;
  std::string host = ToHost(dir.Path() + "贺卡图片\\1.jpg");
  EXPECT_EQ(host, dir.HostPath() + "\xE8\xB4\xBA\xE5\x8D\xA1\xE5\x9B\xBE\xE7\x89\x87/1.jpg");
  EXPECT_EQ(FromHost(host), dir.Path() + "贺卡图片/1.jpg");
}

TEST(Paths, NamesAreFoundWithoutRegardToCaseComponentByComponent) {
  TempDir dir;
  std::filesystem::create_directories(dir.HostPath() + "template/Sub");
  WriteBytes(dir.Path() + "template/Sub/Card.LMCARD2", "x");
  EXPECT_EQ(ToHost(dir.Path() + "TEMPLATE\\sub\\card.lmcard2"), dir.HostPath() + "template/Sub/Card.LMCARD2");
  EXPECT_TRUE(platform::files::FileExists(dir.Path() + "TEMPLATE\\SUB\\CARD.lmcard2"));
  // A name that does not exist keeps its spelling (a file about to be created).
  EXPECT_EQ(ToHost(dir.Path() + "TEMPLATE\\New\\x.txt"), dir.HostPath() + "template/New/x.txt");
}

TEST(Paths, ProgramFolderEndsWithASeparator) {
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
}
