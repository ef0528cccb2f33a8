#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include "platform/console_dialogs.h"
#include "platform/scripted_dialogs.h"

using namespace platform;

TEST(Dialogs, ScriptedDoubleRecordsBoxesAndAnswersAsTold) {
  SetApplicationTitle("Lumo贺卡制作 标准版");
  ScriptedDialogs dialogs;
  dialogs.messageAnswers.push_back(MsgResult::No);
  EXPECT_EQ(ShowMessage("要保存吗？", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
  // Without a scripted answer a box gets its default button.
  EXPECT_EQ(ShowMessage("完成", MsgIcon::Information, MsgButtons::OkCancel), MsgResult::Ok);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].caption, "Lumo贺卡制作 标准版");
  EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Question);
  EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{"要保存吗？", "完成"}));

  dialogs.inputAnswers.push_back(std::string("我的模板"));
  EXPECT_EQ(CurrentDialogs().InputBox("另存为模板", "模板名称:", "").value_or(""), "我的模板");
  EXPECT_FALSE(CurrentDialogs().SaveFile({}).has_value());
  EXPECT_EQ(dialogs.shown.back().kind, "save");
}

TEST(Dialogs, ScriptedDoubleUninstallsItselfAndConsoleDialogsAnswerByChoice) {
  Dialogs* before = &CurrentDialogs();
  { ScriptedDialogs d; EXPECT_EQ(&CurrentDialogs(), &d); }
  EXPECT_EQ(&CurrentDialogs(), before);

  ConsoleDialogs no(false), yes(true);
  EXPECT_EQ(no.MessageBox("q", "t", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
  EXPECT_EQ(yes.MessageBox("q", "t", MsgIcon::Question, MsgButtons::YesNo), MsgResult::Yes);
  EXPECT_EQ(no.MessageBox("i", "t", MsgIcon::Information, MsgButtons::Ok), MsgResult::Ok);
}
