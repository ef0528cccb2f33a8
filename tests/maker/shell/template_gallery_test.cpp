#include "maker/shell/template_gallery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "maker/shell/shell_fixture.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "platform/user_folders.h"

using namespace cardshell;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

TEST(TemplateGallery, EachPageListsTheBlankEntryThenItsOwnTemplatesWithoutExtension) {
  shell_fixture::ProgramFolderScope scope;
  platform::files::CreateFolder(scope.File("template"));
  for (const char* name : {"新年快乐.lmcard", "生日.快乐.lmcard2", "默认贺卡.lmcard2", "新春祝福.lmflash",
                           "说明.txt", "旧.lmcard.bak"}) {
    WriteBytes(scope.File(std::string("template/") + name), "x");
  }
  EXPECT_EQ(GalleryEntries(TemplateFolder(), GalleryPage::Ordinary),
            (std::vector<std::string>{"空白模板", "新年快乐"}));
  // ".lmcard" does not pick up ".lmcard2"; a name with two dots keeps its inner dot.
  std::vector<std::string> interactive = GalleryEntries(TemplateFolder(), GalleryPage::Interactive);
  ASSERT_EQ(interactive.size(), 3u);
  EXPECT_EQ(interactive[0], "空白模板");
  EXPECT_NE(std::find(interactive.begin(), interactive.end(), "生日.快乐"), interactive.end());
  EXPECT_NE(std::find(interactive.begin(), interactive.end(), "默认贺卡"), interactive.end());
  EXPECT_EQ(GalleryEntries(TemplateFolder(), GalleryPage::Flash),
            (std::vector<std::string>{"空白模板", "新春祝福"}));
  EXPECT_EQ(TemplateFile("生日.快乐", GalleryPage::Interactive), TemplateFolder() + "生日.快乐.lmcard2");
  EXPECT_TRUE(platform::files::FileExists(TemplateFile("生日.快乐", GalleryPage::Interactive)));
}

TEST(TemplateGallery, AMissingTemplateFolderLeavesOnlyTheBlankEntry) {
  shell_fixture::ProgramFolderScope scope;
  EXPECT_EQ(GalleryEntries(TemplateFolder(), GalleryPage::Flash), (std::vector<std::string>{"空白模板"}));
}

TEST(TemplateGallery, FlashCommandLineHasAnOpeningQuoteOnly) {
  EXPECT_EQ(FlashWizardCommandLine("C:\\Lumo\\", "空白模板"), "C:\\Lumo\\lmflashcard.exe \"空白模板");
  EXPECT_EQ(FlashWizardCommandLine("/opt/lm/", "新春 祝福"), "/opt/lm/lmflashcard.exe \"新春 祝福");
}

TEST(TemplateGallery, MissingFlashWizardIsReportedAsAnError) {
  shell_fixture::ProgramFolderScope scope;
  platform::ScriptedDialogs dialogs;
  EXPECT_FALSE(StartFlashWizard("空白模板"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kFlashWizardMissingMessage);
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Error);
}

TEST(TemplateGallery, TheFlashWizardReceivesTheCaptionAsItsTemplateName) {
  shell_fixture::ProgramFolderScope scope;
  platform::ScriptedDialogs dialogs;
  // A stand-in wizard that writes down what it was given.
  std::string script = "#!/bin/sh\nprintf '%s|' \"$@\" > '" + scope.Dir().HostPath() + "args.txt'\n";
  ASSERT_TRUE(WriteBytes(scope.File("lmflashcard"), script));
  ::chmod((scope.Dir().HostPath() + "lmflashcard").c_str(), 0755);
  ASSERT_TRUE(FlashWizardInstalled(scope.Dir().Path()));
  EXPECT_TRUE(StartFlashWizard("空白模板"));
  std::string args;
  for (int i = 0; i < 100 && (args = ReadBytes(scope.File("args.txt"))).empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(args, "\xE7\xA9\xBA\xE7\x99\xBD\xE6\xA8\xA1\xE6\x9D\xBF|");  // "空白模板" in UTF-8, one argument
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(TemplateGallery, BesideAReadOnlyProgramFolderTheUsersTemplatesAreListedAndSavedInTheirFolder) {
  shell_fixture::ProgramFolderScope scope;
  testing_support::TempDir home;
  setenv("XDG_DATA_HOME", home.HostPath().c_str(), 1);
  platform::user_folders::ForceInUse(true);
  platform::files::CreateFolder(scope.File("template"));
  WriteBytes(scope.File("template/默认贺卡.lmcard2"), "shipped");
  WriteBytes(scope.File("template/生日.lmcard2"), "shipped");

  const std::string saved = NewTemplateFile("我的贺卡", GalleryPage::Interactive);
  WriteBytes(saved, "mine");
  WriteBytes(NewTemplateFile("生日", GalleryPage::Interactive), "my birthday");
  const std::vector<std::string> entries = GalleryEntries(GalleryPage::Interactive);
  const std::string birthday = ReadBytes(TemplateFile("生日", GalleryPage::Interactive));
  platform::user_folders::ForceInUse(std::nullopt);
  unsetenv("XDG_DATA_HOME");

  EXPECT_EQ(saved, home.Path() + "lmcard/template\\我的贺卡.lmcard2");
  EXPECT_EQ(entries, (std::vector<std::string>{"空白模板", "默认贺卡", "生日", "我的贺卡"}));
  EXPECT_EQ(birthday, "my birthday");
  EXPECT_EQ(platform::files::ListFiles(scope.File("template")).size(), 2u);
}
