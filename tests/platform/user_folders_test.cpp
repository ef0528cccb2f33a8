#include "platform/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "platform/files.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

using namespace platform::user_folders;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// A program folder with shipped files and a user's data home, both fresh; the decision
// forced as given (nullopt: the real one).
class UserFoldersScope {
 public:
  explicit UserFoldersScope(std::optional<bool> inUse) : previous_(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(program.Path());
    const char* x = std::getenv("XDG_DATA_HOME");
    previousXdg_ = x ? std::optional<std::string>(x) : std::nullopt;
    setenv("XDG_DATA_HOME", home.HostPath().c_str(), 1);
    unsetenv("LMCARD_USER_FOLDERS");
    ForceInUse(inUse);
    platform::files::CreateFolder(program.File("template"));
    WriteBytes(program.File("template/默认贺卡.lmcard2"), "shipped");
    WriteBytes(program.File("template/新年快乐.lmcard"), "shipped");
  }
  ~UserFoldersScope() {
    ForceInUse(std::nullopt);
    platform::paths::SetProgramFolder(previous_);
    if (previousXdg_) setenv("XDG_DATA_HOME", previousXdg_->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
  }
  std::string UserFile(const std::string& name) const { return home.File("lmcard/" + name); }

  TempDir program;
  TempDir home;

 private:
  std::string previous_;
  std::optional<std::string> previousXdg_;
};

}  // namespace

TEST(UserFolders, AWritableProgramFolderTakesEverythingAsBefore) {
  UserFoldersScope scope(std::nullopt);
  // A user's file from an installed copy is not mixed into a portable one.
  platform::files::CreateFolder(scope.UserFile("template"));
  WriteBytes(scope.UserFile("template/我的.lmcard2"), "mine");

  EXPECT_FALSE(InUse());
  EXPECT_EQ(WorkFolder(), scope.program.Path());
  EXPECT_EQ(SavePath("lmcard.ini"), scope.program.File("lmcard.ini"));
  EXPECT_EQ(SavePath("录音\\"), scope.program.File("录音\\"));
  EXPECT_TRUE(platform::files::FolderExists(scope.program.File("录音")));
  EXPECT_EQ(ListFiles("template\\", {".lmcard2"}), (std::vector<std::string>{"默认贺卡.lmcard2"}));
  EXPECT_EQ(Find("template\\", "默认贺卡.lmcard2"), scope.program.File("template\\默认贺卡.lmcard2"));
  EXPECT_TRUE(CounterpartFolders(scope.program.File("template\\")).empty());

  setenv("LMCARD_USER_FOLDERS", "1", 1);
  EXPECT_TRUE(InUse());
  setenv("LMCARD_USER_FOLDERS", "0", 1);
  EXPECT_FALSE(InUse());
  unsetenv("LMCARD_USER_FOLDERS");
}

TEST(UserFolders, InUseTheUsersFilesGoToTheDataFolderAndAreListedWithTheShippedOnes) {
  UserFoldersScope scope(true);
  const std::string data = scope.home.Path() + "lmcard/";
  EXPECT_EQ(DataFolder(), data);

  // Saving creates the user's folder; nothing is made in the program folder.
  EXPECT_EQ(SavePath("template\\"), data + "template\\");
  EXPECT_TRUE(platform::files::FolderExists(data + "template"));
  EXPECT_EQ(SavePath("lmcard.ini"), data + "lmcard.ini");
  WriteBytes(scope.UserFile("template/我的.lmcard2"), "mine");
  WriteBytes(scope.UserFile("template/默认贺卡.LMCARD2"), "mine too");

  // One entry per name without regard to case; the user's file is the one found.
  EXPECT_EQ(ListFiles("template\\", {".lmcard2"}), (std::vector<std::string>{"默认贺卡.LMCARD2", "我的.lmcard2"}));
  EXPECT_EQ(ListFiles("template\\", {".lmcard"}), (std::vector<std::string>{"新年快乐.lmcard"}));
  EXPECT_EQ(ReadBytes(Find("template\\", "默认贺卡.lmcard2")), "mine too");
  EXPECT_EQ(ReadBytes(Find("template\\", "新年快乐.lmcard")), "shipped");
  EXPECT_EQ(Find("template\\", "无.lmcard"), scope.program.File("template\\无.lmcard"));

  // A dialog started in either folder offers the other one.
  EXPECT_EQ(CounterpartFolders(scope.program.File("template\\")), (std::vector<std::string>{data + "template/"}));
  EXPECT_EQ(CounterpartFolders(data + "template\\"), (std::vector<std::string>{scope.program.File("template/")}));
  EXPECT_TRUE(CounterpartFolders(scope.program.File("贺卡图片\\")).empty());
  // The program folder holds what it held.
  EXPECT_TRUE(platform::files::ListFiles(scope.program.Path()).empty());
  EXPECT_EQ(platform::files::ListFiles(scope.program.File("template")).size(), 2u);
}

TEST(UserFolders, WorkFilesGoToATemporaryFolderOnlyTheUserCanEnter) {
  UserFoldersScope scope(true);
  const std::string work = WorkFolder();
  EXPECT_EQ(work, TempFolder());
  EXPECT_NE(work, scope.program.Path());
  struct stat st;
  ASSERT_EQ(::lstat(platform::paths::ToHost(work).c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_uid, ::getuid());
  EXPECT_EQ(st.st_mode & 077, 0u);
}
