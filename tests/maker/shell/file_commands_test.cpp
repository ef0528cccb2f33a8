#include "maker/shell/file_commands.h"

#include <gtest/gtest.h>

#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/shell/new_card.h"
#include "maker/shell/shell_fixture.h"
#include "maker/shell/template_gallery.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"

using namespace cardshell;
using platform::MsgResult;

namespace {

struct FakeView : DesignerView {
  bool shown = false;
  int replaced = 0, partlyRead = 0;
  bool CardWindowShown() const override { return shown; }
  void ShowCardWindow() override { shown = true; }
  void DesignReplaced() override { ++replaced; }
  void DesignPartlyRead() override { ++partlyRead; }
};

struct Session {
  shell_fixture::ProgramFolderScope scope;
  platform::ScriptedDialogs dialogs;
  document::CardDocument doc;
  FakeView view;
  FileCommands commands{doc, view};
};

}  // namespace

TEST(FileCommands, CommandsNeedingACardDoNothingWhileTheCardWindowIsHidden) {
  Session s;
  EXPECT_FALSE(s.commands.Save());
  EXPECT_FALSE(s.commands.SaveAs());
  EXPECT_FALSE(s.commands.SaveAsTemplate());
  EXPECT_FALSE(s.commands.Close());
  EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST(FileCommands, NewWithNoCardOpenShowsTheGalleryWithoutAsking) {
  Session s;
  int galleries = 0;
  s.commands.New([&] { ++galleries; });
  EXPECT_EQ(galleries, 1);
  EXPECT_TRUE(s.dialogs.shown.empty());

  // With a card open the question comes first; No goes straight to the gallery.
  s.view.shown = true;
  s.dialogs.messageAnswers = {MsgResult::No};
  s.commands.New([&] { ++galleries; });
  EXPECT_EQ(galleries, 2);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, kSaveBeforeNewQuestion);
  EXPECT_EQ(s.dialogs.shown[0].buttons, platform::MsgButtons::YesNo);
}

TEST(FileCommands, SaveBeforeAnySaveBehavesAsSaveAsThenSavesInPlace) {
  Session s;
  s.view.shown = true;
  document::CreatelmTxt(s.doc);
  std::string file = s.scope.File("我的贺卡.lmcard2");
  s.dialogs.saveAnswers = {file};
  ASSERT_TRUE(s.commands.Save());
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[0].kind, "save");
  EXPECT_EQ(s.dialogs.shown[0].text, "保存设计方案");
  EXPECT_EQ(s.dialogs.shown[0].file.filter, kDesignFilter);
  EXPECT_EQ(s.dialogs.shown[0].file.defaultExt, "lmcard2");
  EXPECT_EQ(s.dialogs.shown[0].file.fileName, "");
  EXPECT_EQ(s.dialogs.shown[1].text, DesignSavedMessage());
  EXPECT_EQ(s.dialogs.shown[1].icon, platform::MsgIcon::Information);
  EXPECT_EQ(s.commands.CurrentDesignFile(), file);
  EXPECT_TRUE(platform::files::FileExists(file));

  // The new card's name "新贺卡" is no file either: save asks again.
  s.commands.SetCurrentDesignFile("新贺卡");
  s.dialogs.saveAnswers = {std::nullopt};
  EXPECT_FALSE(s.commands.Save());
  EXPECT_EQ(s.dialogs.shown.back().kind, "save");

  // Once the file exists, save writes it without a dialog and tells so.
  s.commands.SetCurrentDesignFile(file);
  document::CreatelmTxt(s.doc);
  size_t before = s.dialogs.shown.size();
  ASSERT_TRUE(s.commands.Save());
  ASSERT_EQ(s.dialogs.shown.size(), before + 1);
  EXPECT_EQ(s.dialogs.shown.back().text, DesignSavedMessage());
  document::CardDocument back;
  document::Loadfileset(back, file);
  EXPECT_EQ(back.Count(document::ElementKind::Label), 2);

  // Save as starts from the current file.
  s.dialogs.saveAnswers = {std::nullopt};
  EXPECT_FALSE(s.commands.SaveAs());
  EXPECT_EQ(s.dialogs.shown.back().file.fileName, file);
}

TEST(FileCommands, OpenReadsTheDesignIntoAClearedDesigner) {
  Session s;
  document::CardDocument source;
  document::CreatelmTxt(source);
  document::CreateSpeedbutton(source);
  source.window.cardTitle = "读回来的贺卡";
  std::string file = s.scope.File("a.lmcard2");
  ASSERT_TRUE(document::lmsavefile(source, file));

  document::CreateSpeedbutton(s.doc);  // something that must go
  document::CreateSpeedbutton(s.doc);
  s.dialogs.openAnswers = {{}};
  EXPECT_FALSE(s.commands.Open());  // cancelled: nothing changes
  EXPECT_EQ(s.doc.Count(document::ElementKind::Button), 2);
  EXPECT_EQ(s.dialogs.shown.back().text, "打开贺卡设计方案");

  s.dialogs.openAnswers = {{file}};
  ASSERT_TRUE(s.commands.Open());
  EXPECT_TRUE(s.view.shown);
  EXPECT_GE(s.view.replaced, 1);
  EXPECT_EQ(s.commands.CurrentDesignFile(), file);
  EXPECT_EQ(s.doc.Count(document::ElementKind::Label), 1);
  EXPECT_EQ(s.doc.Count(document::ElementKind::Button), 1);
  EXPECT_EQ(s.doc.window.cardTitle, "读回来的贺卡");

  // The next open starts at the current file.
  s.dialogs.openAnswers = {{}};
  s.commands.Open();
  EXPECT_EQ(s.dialogs.shown.back().file.fileName, file);
}

TEST(FileCommands, AReadThatStopsKeepsWhatWasReadSkipsTheAfterOpenStepAndForgetsTheFile) {
  Session s;
  document::CardDocument source;
  document::CreateSpeedbutton(source);
  document::CreateSpeedbutton(source);
  std::string file = s.scope.File("broken.lmcard2");
  ASSERT_TRUE(document::lmsavefile(source, file));
  // Without Button2's Ind the reading stops with a conversion error after Button1.
  std::string text = *platform::files::ReadFile(file);
  const size_t b2 = text.find("[Button2]");
  const size_t ind = text.find("Ind=", b2);
  ASSERT_NE(ind, std::string::npos);
  text.replace(ind, 3, "Xnd");
  ASSERT_TRUE(platform::files::WriteFileAtomic(file, text));
  platform::profile::ClearCache();

  s.dialogs.openAnswers = {{file}};
  EXPECT_THROW(s.commands.Open(), platform::Error);
  EXPECT_EQ(s.doc.Count(document::ElementKind::Button), 2);  // created before its keys were read
  EXPECT_EQ(s.view.replaced, 0);
  EXPECT_EQ(s.view.partlyRead, 1);
  EXPECT_EQ(s.commands.CurrentDesignFile(), kNewDesignName);
}

TEST(FileCommands, ACardFromATemplateIsANewCardThatSaveDoesNotWriteOverTheLastFile) {
  Session s;
  document::CardDocument source;
  std::string opened = s.scope.File("mine.lmcard2"), templ = s.scope.File("模板.lmcard2");
  ASSERT_TRUE(document::lmsavefile(source, opened));
  ASSERT_TRUE(document::lmsavefile(source, templ));
  s.dialogs.openAnswers = {{opened}};
  ASSERT_TRUE(s.commands.Open());
  s.commands.LoadTemplate(templ);
  EXPECT_EQ(s.commands.CurrentDesignFile(), kNewDesignName);
  s.dialogs.saveAnswers = {std::nullopt};
  EXPECT_FALSE(s.commands.Save());  // asks for a file instead of writing over mine.lmcard2
  EXPECT_EQ(s.dialogs.shown.back().text, kSaveDesignTitle);
}

TEST(FileCommands, CloseAsksAndLeavesAnEmptyCardWindowShown) {
  Session s;
  s.view.shown = true;
  document::CreatelmTxt(s.doc);
  s.commands.SetCurrentDesignFile(s.scope.File("x.lmcard2"));
  s.dialogs.messageAnswers = {MsgResult::No};
  EXPECT_FALSE(s.commands.Close());
  EXPECT_EQ(s.doc.Count(document::ElementKind::Label), 1);
  EXPECT_EQ(s.dialogs.shown.back().text, kCloseQuestion);

  s.dialogs.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(s.commands.Close());
  EXPECT_EQ(s.doc.Count(document::ElementKind::Label), 0);
  EXPECT_TRUE(s.view.shown);
  // The closed file is forgotten: a save now asks where to write the empty card.
  s.dialogs.saveAnswers = {std::nullopt};
  s.commands.Save();
  EXPECT_EQ(s.dialogs.shown.back().kind, "save");
}

TEST(FileCommands, SaveAsTemplateReplacesAnExistingTemplateOnlyAfterYes) {
  Session s;
  s.view.shown = true;
  document::CreatelmTxt(s.doc);
  s.dialogs.inputAnswers = {std::string("祝福")};
  ASSERT_TRUE(s.commands.SaveAsTemplate());
  std::string file = TemplateFile("祝福", GalleryPage::Interactive);
  EXPECT_EQ(file, s.scope.Dir().Path() + "template\\祝福.lmcard2");
  ASSERT_TRUE(platform::files::FileExists(file));
  EXPECT_EQ(s.dialogs.shown[0].kind, "input");
  EXPECT_EQ(s.dialogs.shown[0].caption, "保存模板");
  EXPECT_EQ(s.dialogs.shown[0].text, "请输入模板名称:");
  EXPECT_EQ(s.dialogs.shown.back().text, kTemplateSavedMessage);
  std::string firstBytes = *platform::files::ReadFile(file);

  // Same name again with a changed design: No keeps the old template.
  document::CreatelmTxt(s.doc);
  s.dialogs.shown.clear();
  s.dialogs.inputAnswers = {std::string("祝福")};
  s.dialogs.messageAnswers = {MsgResult::No};
  EXPECT_FALSE(s.commands.SaveAsTemplate());
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[1].text, kTemplateReplaceQuestion);
  EXPECT_EQ(*platform::files::ReadFile(file), firstBytes);

  // Yes replaces it.
  s.dialogs.inputAnswers = {std::string("祝福")};
  s.dialogs.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(s.commands.SaveAsTemplate());
  EXPECT_NE(*platform::files::ReadFile(file), firstBytes);
  EXPECT_EQ(s.dialogs.shown.back().text, kTemplateSavedMessage);

  // Cancel ends quietly; a name that would leave the folder is refused.
  s.dialogs.shown.clear();
  s.dialogs.inputAnswers = {std::nullopt, std::string("..\\..\\evil")};
  EXPECT_FALSE(s.commands.SaveAsTemplate());
  EXPECT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_FALSE(s.commands.SaveAsTemplate());
  EXPECT_EQ(s.dialogs.shown.back().text, kTemplateNameCharsMessage);
  EXPECT_FALSE(platform::files::Exists(s.scope.File("evil.lmcard2")));
}

TEST(FileCommands, TemplateNamesMayHoldChineseCharactersWhoseTrailByteLooksLikeASeparator) {
  EXPECT_TRUE(ValidTemplateName("新年快乐"));
  EXPECT_TRUE(ValidTemplateName("表"));  // GBK B1 ED
  EXPECT_TRUE(ValidTemplateName("\x95\x5C"));  // a GBK character whose trail byte is '\'
  EXPECT_FALSE(ValidTemplateName(""));
  EXPECT_FALSE(ValidTemplateName("  "));
  EXPECT_FALSE(ValidTemplateName("a/b"));
  EXPECT_FALSE(ValidTemplateName("a:b"));
  EXPECT_FALSE(ValidTemplateName(".."));
}

TEST(FileCommands, AFailedWriteIsReportedAndTheCurrentFileStays) {
  Session s;
  s.view.shown = true;
  s.commands.SetCurrentDesignFile("");
  std::string bad = s.scope.File("no-such-folder/x.lmcard2");
  s.dialogs.saveAnswers = {bad};
  EXPECT_FALSE(s.commands.SaveAs());
  EXPECT_EQ(s.dialogs.shown.back().icon, platform::MsgIcon::Error);
  EXPECT_EQ(s.commands.CurrentDesignFile(), "");
}

TEST(FileCommands, ExitAsksOnlyAboutChangesNoSaveHasWritten) {
  Session s;
  EXPECT_TRUE(s.commands.MayExit());  // no card open
  s.view.shown = true;
  EXPECT_TRUE(s.commands.MayExit());  // an untouched card
  EXPECT_TRUE(s.dialogs.shown.empty());

  document::CreatelmTxt(s.doc);
  ASSERT_TRUE(s.commands.ChangedSinceSave());
  // Cancel keeps the program running; so does Yes when the save dialog is cancelled.
  s.dialogs.messageAnswers = {MsgResult::Cancel, MsgResult::Yes};
  s.dialogs.saveAnswers = {std::nullopt};
  EXPECT_FALSE(s.commands.MayExit());
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, kSaveBeforeExitQuestion);
  EXPECT_EQ(s.dialogs.shown[0].icon, platform::MsgIcon::Question);
  EXPECT_EQ(s.dialogs.shown[0].buttons, platform::MsgButtons::YesNoCancel);
  EXPECT_FALSE(s.commands.MayExit());
  EXPECT_EQ(s.dialogs.shown.back().kind, "save");

  // Yes saves as Save does; then nothing is left unsaved.
  const std::string file = s.scope.File("退出前.lmcard2");
  s.dialogs.messageAnswers = {MsgResult::Yes};
  s.dialogs.saveAnswers = {file};
  EXPECT_TRUE(s.commands.MayExit());
  EXPECT_EQ(s.dialogs.shown.back().text, DesignSavedMessage());
  document::CardDocument back;
  document::Loadfileset(back, file);
  EXPECT_EQ(back.Count(document::ElementKind::Label), 1);
  EXPECT_FALSE(s.commands.ChangedSinceSave());

  // Opening another design asks the same way first; Cancel keeps the design as it is.
  s.doc.window.cardTitle = "改过的标题";
  s.dialogs.messageAnswers = {MsgResult::Cancel};
  EXPECT_FALSE(s.commands.Open());
  EXPECT_EQ(s.dialogs.shown.back().text, kSaveBeforeOpenQuestion);
  EXPECT_EQ(s.doc.window.cardTitle, "改过的标题");

  // A design just read holds nothing unsaved; No ends without writing.
  s.commands.LoadDesign(file);
  EXPECT_FALSE(s.commands.ChangedSinceSave());
  s.doc.window.cardTitle = "改过的标题";
  s.dialogs.messageAnswers = {MsgResult::No};
  const size_t before = s.dialogs.shown.size();
  EXPECT_TRUE(s.commands.MayExit());
  EXPECT_EQ(s.dialogs.shown.size(), before + 1);
  document::CardDocument unchanged;
  document::Loadfileset(unchanged, file);
  EXPECT_NE(unchanged.window.cardTitle, "改过的标题");
}
