#include "platform/profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>

#include "support/temp_dir.h"

using platform::profile::GetString;
using platform::profile::WriteString;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct ProfileFile {
  TempDir dir;
  std::string path = dir.File("settings.ini");
  explicit ProfileFile(std::string_view content = "") {
    if (!content.empty()) WriteBytes(path, content);
    platform::profile::ClearCache();
  }
};

}  // namespace

TEST(Profile, SectionAndKeyMatchWithoutRegardToCase) {
  ProfileFile f("[CardSet]\r\nCardWidth=400\r\n");
  EXPECT_EQ(GetString(f.path, "cardset", "CARDWIDTH", "0"), "400");
  EXPECT_EQ(GetString(f.path, "CARDSET", "cardwidth", "0"), "400");
}

TEST(Profile, BlanksAroundEqualsAndValueAreTrimmedAndQuotesRemoved) {
  ProfileFile f("[A]\r\n  Name   =   hello world  \r\nQ=\"  quoted  \"\r\nS='single'\r\nHalf=\"open\r\nMixed=\"x'\r\n");
  EXPECT_EQ(GetString(f.path, "A", "Name", ""), "hello world");
  EXPECT_EQ(GetString(f.path, "A", "Q", ""), "  quoted  ");
  EXPECT_EQ(GetString(f.path, "A", "S", ""), "single");
  EXPECT_EQ(GetString(f.path, "A", "Half", ""), "\"open");
  EXPECT_EQ(GetString(f.path, "A", "Mixed", ""), "\"x'");
}

TEST(Profile, LongValueIsCutToTheBufferLessOne) {
  std::string longValue(1500, 'x');
  ProfileFile f("[A]\r\nK=" + longValue + "\r\n");
  EXPECT_EQ(GetString(f.path, "A", "K", "", 1024).size(), 1023u);
  EXPECT_EQ(GetString(f.path, "A", "K", "", 10), std::string(9, 'x'));
  EXPECT_EQ(GetString(f.path, "A", "Missing", "defaultvalue", 5), "defa");
}

TEST(Profile, MissingKeySectionOrFileGiveTheDefaultWithoutTrailingBlanks) {
  ProfileFile f("[A]\r\nK=1\r\n");
  EXPECT_EQ(GetString(f.path, "A", "Other", "dflt"), "dflt");
  EXPECT_EQ(GetString(f.path, "B", "K", "dflt  "), "dflt");
  EXPECT_EQ(GetString(f.dir.File("absent.ini"), "A", "K", "7"), "7");
  EXPECT_EQ(GetString(f.path, "A", "K", "x"), "1");
}

TEST(Profile, FirstOfDuplicateKeysAndSectionsWins) {
  ProfileFile f("[A]\r\nK=first\r\nk=second\r\n[a]\r\nK=third\r\n");
  EXPECT_EQ(GetString(f.path, "A", "K", ""), "first");
}

TEST(Profile, NewKeyIsAppendedAtTheEndOfItsSectionAndNewSectionAtTheFileEnd) {
  ProfileFile f("[A]\r\nK1=1\r\n\r\n[B]\r\nX=9\r\n");
  ASSERT_TRUE(WriteString(f.path, "a", "K2", "2"));
  ASSERT_TRUE(WriteString(f.path, "C", "Z", "3"));
  EXPECT_EQ(ReadBytes(f.path), "[A]\r\nK1=1\r\nK2=2\r\n\r\n[B]\r\nX=9\r\n[C]\r\nZ=3\r\n");
}

TEST(Profile, ExistingKeyIsRewrittenInPlace) {
  ProfileFile f("; comment\r\n[A]\r\nK1=1\r\n  k2 = old \r\nK3=3\r\n");
  ASSERT_TRUE(WriteString(f.path, "A", "K2", "new"));
  EXPECT_EQ(ReadBytes(f.path), "; comment\r\n[A]\r\nK1=1\r\nk2=new\r\nK3=3\r\n");
}

TEST(Profile, WritingCreatesAMissingFileWithCrLfLines) {
  ProfileFile f;
  ASSERT_TRUE(WriteString(f.path, "S", "K", "V"));
  ASSERT_TRUE(WriteString(f.path, "S", "K2", ""));
  EXPECT_EQ(ReadBytes(f.path), "[S]\r\nK=V\r\nK2=\r\n");
  EXPECT_EQ(GetString(f.path, "S", "K2", "dflt"), "");
}

TEST(Profile, LfOnlyFilesAreReadAndKeepTheirLineEnds) {
  ProfileFile f("[A]\nK=1\nL=2");
  EXPECT_EQ(GetString(f.path, "A", "L", ""), "2");
  ASSERT_TRUE(WriteString(f.path, "A", "M", "3"));
  EXPECT_EQ(ReadBytes(f.path), "[A]\nK=1\nL=2\r\nM=3\r\n");
}

TEST(Profile, GbkSectionsKeysAndValuesRoundTrip) {
  ProfileFile f;
  // Trail bytes of double-byte characters may look like ASCII letters; they are not case-folded.
  const std::string section = "贺卡";
  const std::string key = "标题";
  const std::string value = "新年快乐！祝你万事如意";
  ASSERT_TRUE(WriteString(f.path, section, key, value));
  EXPECT_EQ(GetString(f.path, section, key, ""), value);
  EXPECT_EQ(GetString(f.path, section, "标题X", "none"), "none");
}

TEST(Profile, ChangesMadeOnDiskByOthersAreSeen) {
  ProfileFile f("[A]\r\nK=1\r\n");
  EXPECT_EQ(GetString(f.path, "A", "K", ""), "1");
  WriteBytes(f.path, "[A]\r\nK=22\r\n");  // different size: seen without clearing the cache
  EXPECT_EQ(GetString(f.path, "A", "K", ""), "22");
}

TEST(Profile, BatchedWritesReachTheFileOnlyOnCommitAndAreReadBackBefore) {
  ProfileFile f("[A]\r\nK=1\r\n");
  {
    platform::profile::BatchWrites batch(f.path);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(WriteString(f.path, "B", "K" + std::to_string(i), std::to_string(i)));
    EXPECT_EQ(GetString(f.path, "B", "K42", ""), "42");
    EXPECT_EQ(ReadBytes(f.path), "[A]\r\nK=1\r\n");
    ASSERT_TRUE(batch.Commit());
  }
  platform::profile::ClearCache();
  EXPECT_EQ(GetString(f.path, "B", "K99", ""), "99");
}

TEST(Profile, InMemoryFileIsReadAndWrittenWithoutTheDisk) {
  ProfileFile f("[A]\r\nK=disk\r\n");
  {
    platform::profile::InMemoryFile mem(f.path, "[a]\nk = \"memory\"\n");
    EXPECT_EQ(GetString(f.path, "A", "K", ""), "memory");
    ASSERT_TRUE(WriteString(f.path, "A", "New", "1"));
    EXPECT_EQ(GetString(f.path, "A", "New", ""), "1");
    platform::profile::BatchWrites batch(f.path);
    ASSERT_TRUE(WriteString(f.path, "A", "K", "2"));
    ASSERT_TRUE(batch.Commit());
  }
  EXPECT_EQ(ReadBytes(f.path), "[A]\r\nK=disk\r\n");
  EXPECT_EQ(GetString(f.path, "A", "K", ""), "disk");
  EXPECT_EQ(GetString(f.path, "A", "New", "none"), "none");
}

TEST(Profile, AWriteThatFailsMidwayLeavesTheOldFileWhole) {
  std::string original = "[A]\r\nK=1\r\n";
  ProfileFile f(original);
  // Make every write past 64 bytes fail, as a full disk would.
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool ok = WriteString(f.path, "A", "Big", std::string(500, 'x'));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadBytes(f.path), original);
  EXPECT_EQ(GetString(f.path, "A", "Big", "none"), "none");
  EXPECT_EQ(GetString(f.path, "A", "K", ""), "1");
}

TEST(Profile, DeletedKeysAndSectionsDisappear) {
  ProfileFile f("[A]\r\nK=1\r\nL=2\r\n[B]\r\nM=3\r\n");
  ASSERT_TRUE(platform::profile::DeleteKey(f.path, "A", "k"));
  ASSERT_TRUE(platform::profile::DeleteSection(f.path, "b"));
  EXPECT_EQ(ReadBytes(f.path), "[A]\r\nL=2\r\n");
  EXPECT_EQ(platform::profile::KeyNames(f.path, "A"), std::vector<std::string>{"L"});
}

TEST(Profile, HeldReadsKeepOneParseAndSeeChangesAfterwards) {
  ProfileFile f("[A]\r\nk=1\r\n");
  {
    platform::profile::HoldReads hold(f.path);
    EXPECT_EQ(GetString(f.path, "A", "k", ""), "1");
    WriteBytes(f.path, "[A]\r\nk=22\r\n");  // behind the cache's back
    EXPECT_EQ(GetString(f.path, "A", "k", ""), "1");
    EXPECT_TRUE(WriteString(f.path, "A", "j", "3"));  // own writes still reach the file
    EXPECT_EQ(GetString(f.path, "A", "j", ""), "3");
  }
  WriteBytes(f.path, "[A]\r\nk=333\r\n");
  EXPECT_EQ(GetString(f.path, "A", "k", ""), "333");
}
