#include "maker/shell/ui/build_command.h"

#include <gtest/gtest.h>

#include "maker/ordinary/ui/format_chooser.h"
#include "maker/packaging/card_reader.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"
#include "shell_ui_fixture.h"
#include "support/shared_program_folder.h"
#include "support/temp_dir.h"

using namespace cardshell;
using ordinary_ui::CardFormat;

namespace {

struct BuildScene {
  BuildScene() {
    shell_ui_fixture::App();
    designer.shown = true;
    document::CreatelmTxt(designer.doc);
    designer.statusText = [this](const std::string& t) { status.push_back(t); };
  }
  ~BuildScene() {
    ordinary_ui::SetFormatChooserScript(nullptr);
  }
  void Choose(std::optional<CardFormat> f) {
    ordinary_ui::SetFormatChooserScript([this, f] {
      ++chooserShown;
      return f;
    });
  }
  QApplication& app = shell_ui_fixture::App();  // before any widget member
  testing_support::SharedProgramFolder programFolder;
  testing_support::TempDir dir;
  platform::ScriptedDialogs dialogs;
  shell_ui_fixture::FakeDesigner designer;
  std::vector<std::string> status;
  int chooserShown = 0;
};

}  // namespace

TEST(BuildCommand, PlainCardFileIsBuiltWithTheCaptionTimersStoppedAround) {
  BuildScene s;
  s.Choose(CardFormat::Plain);
  std::string out = s.dir.File("贺卡.crd2");
  s.dialogs.saveAnswers = {out};
  ASSERT_TRUE(RunBuildCommand(nullptr, s.designer));
  EXPECT_EQ(s.chooserShown, 1);
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[0].kind, "save");
  EXPECT_EQ(s.dialogs.shown[0].text, "浏览贺卡文件输出位置");
  EXPECT_EQ(s.dialogs.shown[0].file.filter, "Lumo贺卡 (*.crd2)|*.crd2");
  EXPECT_TRUE(s.dialogs.shown[0].file.overwritePrompt);
  EXPECT_EQ(s.dialogs.shown[1].text, "贺卡文件 " + out + " 已生成");
  EXPECT_EQ(s.dialogs.shown[1].icon, platform::MsgIcon::Information);
  EXPECT_TRUE(platform::files::FileExists(out));
  EXPECT_EQ(s.designer.calls.front(), "stop timers");
  EXPECT_NE(std::find(s.designer.calls.begin(), s.designer.calls.end(), "start timers"), s.designer.calls.end());
  ASSERT_FALSE(s.status.empty());
  EXPECT_EQ(s.status.front(), "正在编译...");
  EXPECT_EQ(s.status.back(), "就绪");
}

TEST(BuildCommand, ExeChoiceAsksForAnExeAndAFailedCheckStillRestartsTheCaptions) {
  BuildScene s;
  s.Choose(CardFormat::Exe);
  s.designer.doc.window.bkPic = true;
  s.designer.doc.window.bkPicName = s.dir.File("gone.jpg");
  s.dialogs.saveAnswers = {s.dir.File("card.exe")};
  EXPECT_FALSE(RunBuildCommand(nullptr, s.designer));
  EXPECT_EQ(s.dialogs.shown[0].file.filter, "Lumo贺卡 (*.exe)|*.exe");
  EXPECT_EQ(s.dialogs.shown[0].file.defaultExt, "exe");
  // The builder's own warning, no success message.
  EXPECT_EQ(s.dialogs.shown.back().icon, platform::MsgIcon::Warning);
  EXPECT_FALSE(platform::files::FileExists(s.dir.File("card.exe")));
  EXPECT_EQ(s.designer.calls.back(), "start timers");
  EXPECT_NE(std::find(s.designer.calls.begin(), s.designer.calls.end(), "flash 使用背景图片"), s.designer.calls.end());
}

TEST(BuildCommand, NothingHappensWithoutACardOrWhenTheChooserIsClosed) {
  BuildScene s;
  s.Choose(std::nullopt);
  EXPECT_FALSE(RunBuildCommand(nullptr, s.designer));
  EXPECT_EQ(s.chooserShown, 1);
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_TRUE(s.designer.calls.empty());

  s.designer.shown = false;
  s.chooserShown = 0;
  s.Choose(CardFormat::Plain);
  EXPECT_FALSE(RunBuildCommand(nullptr, s.designer));
  EXPECT_EQ(s.chooserShown, 0);

  // Cancelling the save dialog ends the command before anything is built.
  s.designer.shown = true;
  s.dialogs.saveAnswers = {std::nullopt};
  EXPECT_FALSE(RunBuildCommand(nullptr, s.designer));
  EXPECT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_TRUE(s.designer.calls.empty());
}

TEST(BuildCommand, WebChoiceWritesTheWebCardPage) {
  BuildScene s;
  s.Choose(CardFormat::Web);
  const std::string out = s.dir.File("贺卡.html");
  s.dialogs.saveAnswers = {out};
  ASSERT_TRUE(RunBuildCommand(nullptr, s.designer));
  EXPECT_EQ(s.dialogs.shown[0].file.filter, "网页贺卡 (*.html)|*.html");
  EXPECT_EQ(s.dialogs.shown.back().text, "贺卡文件 " + out + " 已生成");
  const std::string page = platform::files::ReadFile(out).value_or("");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u) << page.substr(0, 80);
  EXPECT_NE(page.find("id=\"card-data\""), std::string::npos);
  ASSERT_FALSE(s.status.empty());
  EXPECT_NE(std::find(s.status.begin(), s.status.end(), "正在生成网页贺卡..."), s.status.end());
  EXPECT_EQ(s.status.back(), "就绪");
  EXPECT_NE(std::find(s.designer.calls.begin(), s.designer.calls.end(), "start timers"), s.designer.calls.end());
}
