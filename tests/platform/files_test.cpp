#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

using namespace platform::files;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(Files, CopyRefusesToOverwriteWhenAsked) {
  TempDir dir;
  WriteBytes(dir.File("a"), "new");
  WriteBytes(dir.File("b"), "old");
  EXPECT_FALSE(CopyFile(dir.File("a"), dir.File("b"), true));
  EXPECT_EQ(ReadBytes(dir.File("b")), "old");
  EXPECT_TRUE(CopyFile(dir.File("a"), dir.File("b"), false));
  EXPECT_EQ(ReadBytes(dir.File("b")), "new");
  EXPECT_TRUE(CopyFile(dir.File("a"), dir.File("c"), true));
  EXPECT_EQ(ReadBytes(dir.File("c")), "new");
  EXPECT_FALSE(CopyFile(dir.File("missing"), dir.File("d"), false));
  EXPECT_FALSE(Exists(dir.File("d")));
}

TEST(Files, DeleteClearsAReadOnlyAttributeFirst) {
  TempDir dir;
  WriteBytes(dir.File("ro.txt"), "x");
  ASSERT_TRUE(SetReadOnly(dir.File("ro.txt"), true));
  EXPECT_TRUE(IsReadOnly(dir.File("ro.txt")));
  EXPECT_TRUE(DeleteFile(dir.File("ro.txt")));
  EXPECT_FALSE(Exists(dir.File("ro.txt")));
  EXPECT_FALSE(DeleteFile(dir.File("ro.txt")));
}

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporaries) {
  TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.File("f.bin"), std::string("a\0b", 3)));
  EXPECT_EQ(ReadBytes(dir.File("f.bin")), std::string("a\0b", 3));
  ASSERT_TRUE(WriteFileAtomic(dir.File("f.bin"), "second"));
  EXPECT_EQ(ReadFile(dir.File("f.bin")).value_or(""), "second");
  EXPECT_EQ(ListFiles(dir.Path()), std::vector<std::string>{"f.bin"});
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/folder/f"), "x"));
  // A device named by a stranger's file gives nothing rather than reading without end.
  EXPECT_FALSE(ReadFile("/dev/zero"));
  EXPECT_FALSE(ReadFile(dir.Path()));
}

TEST(Files, ListingFiltersByExtensionWithoutRegardToCase) {
  TempDir dir;
  WriteBytes(dir.File("b.LMCARD2"), "");
  WriteBytes(dir.File("a.lmcard2"), "");
  WriteBytes(dir.File("c.lmcard"), "");
  CreateFolder(dir.File("d.lmcard2"));
  EXPECT_EQ(ListFiles(dir.Path(), {".lmcard2"}), (std::vector<std::string>{"a.lmcard2", "b.LMCARD2"}));
  EXPECT_EQ(ListFiles(dir.Path()).size(), 3u);
}

TEST(Files, SizesFoldersAndTheTemporaryFolder) {
  TempDir dir;
  WriteBytes(dir.File("five"), "12345");
  EXPECT_EQ(FileSize(dir.File("five")).value_or(0), 5u);
  EXPECT_FALSE(FileSize(dir.Path()).has_value());
  EXPECT_TRUE(CreateFolder(dir.File("x/y/z")));
  EXPECT_TRUE(FolderExists(dir.File("x/y/z")));
  EXPECT_FALSE(FileExists(dir.File("x/y/z")));
  std::string tmp = TempFolder();
  EXPECT_EQ(tmp.back(), '/');
  EXPECT_TRUE(FolderExists(tmp));
}
