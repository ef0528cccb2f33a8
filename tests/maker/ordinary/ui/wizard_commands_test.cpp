// The wizard's templates, checks and page 6 commands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "maker/ordinary/ordinary_template.h"
#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/wizard_fixture.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/qt/qt_text.h"
#include "support/temp_dir.h"

using namespace ordinary_ui;
using platform::FromQString;
using platform::MsgResult;
using platform::ToQString;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::string TemplateText(int boxIndex) {
  return "[普通型贺卡]\r\nCardimg=" + kCard + "\r\nCardWidth=300\r\nCardHeight=200\r\nCardBox=" + kBox +
         "\r\nBoxWidth=200\r\nBoxHeight=100\r\nBoxIndex=" + std::to_string(boxIndex) +
         "\r\nBoxWord=第一行<%BR%>第二行\r\nMusicCount=2\r\nClick=False\r\n";
}

// The preview's settings, or nothing when it stopped at a check.
struct PreviewSeen {
  std::optional<ordinary::OrdinarySettings> settings;
  PreviewHook previous;
  PreviewSeen() {
    previous = TForm3::SetPreviewHook([this](const ordinary::OrdinarySettings& s) { settings = s; });
  }
  ~PreviewSeen() { TForm3::SetPreviewHook(std::move(previous)); }
};

}  // namespace

TEST_F(WizardFixture, BoxIndexThroughLoadSet) {
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("three.lmcard"), TemplateText(3)));
  ASSERT_TRUE(WriteBytes(dir.File("zero.lmcard"), TemplateText(0)));

  TForm3 three;
  three.LoadTemplate(dir.File("three.lmcard"));
  const WizardUi& ui = three.Ui();
  ASSERT_EQ(ui.boxList->count(), 2);
  EXPECT_EQ(ui.boxList->currentIndex(), 1);
  EXPECT_EQ(FromQString(ui.boxList->itemText(1)), ProgramFile(kBox));
  EXPECT_TRUE(three.BoxShown());
  EXPECT_EQ(ui.boxPicture->size(), QSize(200, 100));
  EXPECT_EQ(ui.greeting->size(), QSize(184, 84));
  EXPECT_EQ(ui.greeting->text(), ToQString("第一行\n第二行"));
  // The rest of the template went to its controls.
  EXPECT_EQ(three.CardKind(), PictureKind::Still);
  EXPECT_EQ(ui.cardPicture->size(), QSize(300, 200));
  EXPECT_TRUE(ui.playCount->isChecked());
  EXPECT_EQ(ui.musicCount->text(), "2");
  EXPECT_TRUE(ui.dblClick->isChecked());
  EXPECT_TRUE(dialogs.Messages().empty());

  TForm3 zero;
  zero.LoadTemplate(dir.File("zero.lmcard"));
  EXPECT_EQ(zero.Ui().boxList->count(), 1);
  EXPECT_EQ(zero.Ui().boxList->currentIndex(), 0);
  EXPECT_FALSE(zero.BoxShown());
  EXPECT_EQ(zero.Settings().boxIndex, 0);
  EXPECT_EQ(zero.Settings().cardBox, ProgramFile(kBox));  // kept for the template
}

TEST_F(WizardFixture, TemplateSavedFromTheControlsLoadsBackTheSame) {
  TForm3 first;
  first.LoadTemplate(ProgramFile("template\\新年快乐.lmcard"));
  ASSERT_TRUE(dialogs.Messages().empty());
  ASSERT_EQ(first.CardKind(), PictureKind::Still);
  TempDir dir;
  ASSERT_TRUE(ordinary::SaveSet(dir.File("copy.lmcard"), first.Settings()));
  TForm3 second;
  second.LoadTemplate(dir.File("copy.lmcard"));
  EXPECT_EQ(second.Settings(), first.Settings());
  EXPECT_TRUE(second.Ui().bkMusic->isChecked());
  EXPECT_TRUE(second.Ui().music->isEnabled());
}

TEST_F(WizardFixture, DamagedNumberStopsTheLoadAfterTheKeysBeforeIt) {
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("bad.lmcard"), "[普通型贺卡]\r\nCardimg=" + kCard + "\r\nPlaySet=abc\r\n"));
  TForm3 wizard;
  EXPECT_THROW(wizard.LoadTemplate(dir.File("bad.lmcard")), platform::ConvertError);
  EXPECT_EQ(wizard.CardKind(), PictureKind::Still);
}

TEST_F(WizardFixture, PreviewChecksInOrder) {
  TempDir dir;
  PreviewSeen seen;
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ShowActive(wizard);
  auto preview = [&] {
    size_t before = dialogs.shown.size();
    QTest::mouseClick(ui.preview, Qt::LeftButton);
    if (dialogs.shown.size() == before) return std::string();
    EXPECT_EQ(dialogs.shown.back().icon, platform::MsgIcon::Warning);
    return dialogs.shown.back().text;
  };
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "您还没有设置贺卡文件！");
  EXPECT_EQ(wizard.Page(), 1);

  std::string card = dir.File("card.jpg");
  ASSERT_TRUE(platform::files::CopyFile(ProgramFile(kCard), card, false));
  wizard.Setcardimg(card);
  ASSERT_TRUE(platform::files::DeleteFile(card));
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "文件 " + card + " 不存在，请重新定义贺卡文件位置！");
  EXPECT_EQ(wizard.Page(), 1);
  wizard.Setcardimg(ProgramFile(kCard));

  ui.bkMusic->setChecked(true);
  ui.music->setText(ToQString(dir.File("none.mid")));
  ui.useWav->setChecked(true);
  ui.voice->setText(ToQString(dir.File("none.wav")));
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "文件 " + dir.File("none.mid") + " 不存在，请重新定义音乐文件位置！");
  EXPECT_EQ(wizard.Page(), 2);
  EXPECT_TRUE(ui.music->hasFocus());
  ui.music->setText(ToQString(ProgramFile("背景音乐\\温馨小曲.mid")));
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "文件 " + dir.File("none.wav") + " 不存在，请重新定义声音文件位置！");
  EXPECT_EQ(wizard.Page(), 2);
  EXPECT_TRUE(ui.voice->hasFocus());
  ui.voice->setText(ToQString(ProgramFile("录音\\风铃.wav")));

  ui.boxList->setCurrentIndex(1);  // selected, but never shown
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "您还没有设置贺词框！");
  EXPECT_EQ(wizard.Page(), 3);
  std::string box = dir.File("box.jpg");
  ASSERT_TRUE(platform::files::CopyFile(ProgramFile(kBox), box, false));
  wizard.LMLoadHCK(box);
  ASSERT_TRUE(platform::files::DeleteFile(box));
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "文件 " + box + " 不存在，请重新定义贺词框文件位置！");
  EXPECT_EQ(wizard.Page(), 3);
  wizard.LMLoadHCK(ProgramFile(kBox));

  ui.sendMail->setChecked(true);
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "请输入您的邮址！");
  EXPECT_EQ(wizard.Page(), 5);
  EXPECT_TRUE(ui.email->hasFocus());
  ui.email->setText("me@example.com");
  ui.notify->setChecked(true);
  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "请输入您的邮址！");
  EXPECT_TRUE(ui.notifyEmail->hasFocus());
  ui.notifyEmail->setText("me@example.com");

  ui.pages->setCurrentIndex(5);
  EXPECT_EQ(preview(), "");
  ASSERT_TRUE(seen.settings);
  EXPECT_EQ(seen.settings->cardImg, ProgramFile(kCard));
  EXPECT_EQ(seen.settings->cardBox, ProgramFile(kBox));
  EXPECT_EQ(seen.settings->wav, ProgramFile("录音\\风铃.wav"));
  EXPECT_EQ(seen.settings->boxIndex, 1);
}

TEST_F(WizardFixture, FinishAsksAboutTheCardAndTheTemplate) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  wizard.show();
  dialogs.messageAnswers = {MsgResult::No};
  wizard.Finish();
  EXPECT_TRUE(wizard.isVisible());
  ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{"您还没有生成贺卡文件，真的要退出吗？"});
  EXPECT_EQ(dialogs.shown.back().icon, platform::MsgIcon::Question);
  EXPECT_EQ(dialogs.shown.back().buttons, platform::MsgButtons::YesNo);

  ui.asTemplate->setChecked(true);
  dialogs.messageAnswers = {MsgResult::Yes, MsgResult::No};
  wizard.Finish();
  EXPECT_TRUE(wizard.isVisible());
  EXPECT_EQ(dialogs.Messages().back(), "您还没有保存模板文件，真的要退出吗？");

  // After a build, and without the template option, nothing is asked.
  TempDir dir;
  ui.asTemplate->setChecked(false);
  wizard.Setcardimg(ProgramFile(kCard));
  ui.output->setText(ToQString(dir.File("card.CRD1")));
  ASSERT_TRUE(wizard.Build());
  EXPECT_EQ(dialogs.Messages().back(), "贺卡文件 " + dir.File("card.CRD1") + " 已生成，您现在可以将它发送给您的朋友了。");
  EXPECT_TRUE(platform::files::FileExists(dir.File("card.CRD1")));
  size_t asked = dialogs.shown.size();
  wizard.Finish();
  EXPECT_EQ(dialogs.shown.size(), asked);
  EXPECT_FALSE(wizard.isVisible());
  EXPECT_EQ(wizard.result(), QDialog::Accepted);
}

TEST_F(WizardFixture, ClosingWithUnsavedSettingsAsksFirst) {
  // A fresh wizard and one just filled from a template close without a word.
  for (bool loaded : {false, true}) {
    TForm3 wizard;
    if (loaded) wizard.LoadTemplate(ProgramFile("template\\新年快乐.lmcard"));
    ShowActive(wizard);
    QTest::mouseClick(wizard.Ui().cancel, Qt::LeftButton);
    EXPECT_FALSE(wizard.isVisible()) << loaded;
  }
  EXPECT_TRUE(dialogs.shown.empty());

  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ShowActive(wizard);
  ui.boxWord->setPlainText(ToQString("<b>新年好</b>"));
  EXPECT_EQ(ui.greeting->textFormat(), Qt::PlainText);  // the greeting shows as typed
  dialogs.messageAnswers = {MsgResult::Cancel};
  QTest::keyClick(&wizard, Qt::Key_Escape);
  EXPECT_TRUE(wizard.isVisible());
  ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{ordinary::kSaveSettingsQuestion});
  EXPECT_EQ(dialogs.shown[0].buttons, platform::MsgButtons::YesNoCancel);

  // Yes without a template name: the name is asked for on page 6 and the wizard stays.
  dialogs.messageAnswers = {MsgResult::Yes};
  wizard.close();
  EXPECT_TRUE(wizard.isVisible());
  EXPECT_EQ(dialogs.Messages().back(), "请首先输入模板文件名。");
  EXPECT_EQ(wizard.Page(), 6);

  // Yes with a name saves the template, then the wizard closes.
  TempDir folder;
  platform::paths::SetProgramFolder(folder.Path());
  ui.templateName->setText(ToQString("关闭前保存"));
  dialogs.messageAnswers = {MsgResult::Yes};
  QTest::mouseClick(ui.cancel, Qt::LeftButton);
  EXPECT_FALSE(wizard.isVisible());
  EXPECT_EQ(dialogs.Messages().back(), "模板已保存。");
  EXPECT_EQ(ordinary::LoadTemplate(folder.File("template\\关闭前保存.lmcard")).boxWord, "<b>新年好</b>");
  platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
}

TEST_F(WizardFixture, OutputBrowseFollowsTheChosenFormat) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  auto previous = SetFormatChooserScript([] { return std::optional<CardFormat>(CardFormat::Plain); });
  dialogs.saveAnswers = {std::string("/tmp/cards/new card")};
  QTest::mouseClick(ui.outputBrowse, Qt::LeftButton);
  EXPECT_EQ(FromQString(ui.output->text()), "/tmp/cards/new card.crd1");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, "save");
  EXPECT_EQ(dialogs.shown[0].text, "选择贺卡输出位置");
  EXPECT_EQ(dialogs.shown[0].file.filterIndex, 2);
  EXPECT_EQ(dialogs.shown[0].file.defaultExt, "crd1");

  SetFormatChooserScript([] { return std::optional<CardFormat>(CardFormat::Exe); });
  dialogs.saveAnswers = {std::string("/tmp/cards/other.txt")};
  QTest::mouseClick(ui.outputBrowse, Qt::LeftButton);
  EXPECT_EQ(FromQString(ui.output->text()), "/tmp/cards/other.exe");
  EXPECT_EQ(dialogs.shown[1].file.filterIndex, 1);
  EXPECT_EQ(dialogs.shown[1].file.defaultExt, "exe");

  // Closing the chooser without "确定(&T)" ends the command.
  SetFormatChooserScript([] { return std::optional<CardFormat>(); });
  QTest::mouseClick(ui.outputBrowse, Qt::LeftButton);
  EXPECT_EQ(dialogs.shown.size(), 2u);
  SetFormatChooserScript(std::move(previous));
}

TEST_F(WizardFixture, TheWebChoiceBuildsAWebCard) {
  TempDir dir;
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  auto previous = SetFormatChooserScript([] { return std::optional<CardFormat>(CardFormat::Web); });
  dialogs.saveAnswers = {dir.File("web card")};
  QTest::mouseClick(ui.outputBrowse, Qt::LeftButton);
  SetFormatChooserScript(std::move(previous));
  EXPECT_EQ(FromQString(ui.output->text()), dir.File("web card.html"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].file.defaultExt, "html");

  wizard.Setcardimg(ProgramFile(kCard));
  ASSERT_TRUE(wizard.Build());
  EXPECT_EQ(dialogs.Messages().back(), "贺卡文件 " + dir.File("web card.html") + " 已生成，您现在可以将它发送给您的朋友了。");
  const std::string page = platform::files::ReadFile(dir.File("web card.html")).value_or("");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("\"kind\":\"ordinary\""), std::string::npos);
}

TEST_F(WizardFixture, FlashMovieIsRefusedAndTheCardStays) {
  TForm3 wizard;
  wizard.Setcardimg(ProgramFile(kCard));
  dialogs.openAnswers = {{ProgramFile("贺卡图片\\新春动画.swf")}};
  dialogs.messageAnswers = {MsgResult::Yes};
  QTest::mouseClick(wizard.Ui().browseCard, Qt::LeftButton);
  ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{"普通型贺卡不能使用Flash电影！"});
  EXPECT_EQ(dialogs.shown.back().icon, platform::MsgIcon::Question);
  EXPECT_EQ(wizard.CardPath(), ProgramFile(kCard));
  EXPECT_EQ(wizard.CardKind(), PictureKind::Still);
}

TEST_F(WizardFixture, GreetingTextSavedAndReadBackAsLines) {
  TempDir dir;
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ui.boxWord->setPlainText(ToQString("新年好\n万事如意"));
  EXPECT_EQ(ui.greeting->text(), ToQString("新年好\n万事如意"));
  dialogs.saveAnswers = {dir.File("greeting.txt")};
  QTest::mouseClick(ui.saveWord, Qt::LeftButton);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "保存贺词");
  EXPECT_TRUE(dialogs.shown[0].file.overwritePrompt);
  EXPECT_EQ(dialogs.shown[0].file.defaultExt, "txt");
  EXPECT_EQ(testing_support::ReadBytes(dir.File("greeting.txt")), "新年好\r\n万事如意\r\n");

  ui.boxWord->clear();
  dialogs.openAnswers = {{dir.File("greeting.txt")}};
  QTest::mouseClick(ui.loadWord, Qt::LeftButton);
  EXPECT_EQ(ui.boxWord->toPlainText(), ToQString("新年好\n万事如意"));
  EXPECT_EQ(ui.greeting->text(), ToQString("新年好\n万事如意"));
  // The text dialogs now start in the folder of the file picked last.
  EXPECT_EQ(dialogs.shown[1].text, "浏览贺词文件");
  dialogs.openAnswers = {{}};
  QTest::mouseClick(ui.loadWord, Qt::LeftButton);
  EXPECT_EQ(dialogs.shown[2].file.initialDir, dir.Path());

  // The greeting text holds at most 920 characters.
  ui.boxWord->setPlainText(QString(1000, QChar(0x798F)));
  EXPECT_EQ(ui.boxWord->toPlainText().size(), 920);
}

TEST_F(WizardFixture, CardSizeMustBeANumber) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ShowActive(wizard);
  Leave(ui.cardWidth, "");  // no card picture yet: nothing to check
  EXPECT_TRUE(dialogs.Messages().empty());
  wizard.Setcardimg(ProgramFile(kCard));
  Leave(ui.cardWidth, "");
  EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"请输入正确的贺卡宽度。"});
  EXPECT_TRUE(ui.cardWidth->hasFocus());
  // Only digits reach the field.
  ui.cardWidth->clear();
  QTest::keyClicks(ui.cardWidth, "12a3");
  EXPECT_EQ(ui.cardWidth->text(), "123");
  QTest::keyClick(ui.cardWidth, Qt::Key_Return);
  EXPECT_EQ(ui.cardPicture->width(), 123);
  EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(WizardFixture, BuildChecksBeforeTouchingTheOutput) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ShowActive(wizard);
  ui.pages->setCurrentIndex(5);
  EXPECT_FALSE(wizard.Build());
  EXPECT_EQ(dialogs.Messages().back(), "您还没有设置贺卡文件！");
  EXPECT_EQ(wizard.Page(), 1);

  wizard.Setcardimg(ProgramFile(kCard));
  ui.pages->setCurrentIndex(5);
  ui.output->setText("   ");
  EXPECT_FALSE(wizard.Build());
  EXPECT_EQ(dialogs.Messages().back(), "请输入贺卡输出位置！");
  EXPECT_EQ(dialogs.shown.back().icon, platform::MsgIcon::Warning);
  EXPECT_EQ(wizard.Page(), 6);
  EXPECT_TRUE(ui.output->hasFocus());

  // An existing card is kept when the user says No.
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("old.crd1"), "old card"));
  ui.output->setText(ToQString(dir.File("old.crd1")));
  dialogs.messageAnswers = {MsgResult::No};
  EXPECT_FALSE(wizard.Build());
  EXPECT_EQ(dialogs.Messages().back(), "文件 " + dir.File("old.crd1") + " 已存在，是否替换原文件？");
  EXPECT_EQ(testing_support::ReadBytes(dir.File("old.crd1")), "old card");
  EXPECT_FALSE(wizard.Built());
}

TEST_F(WizardFixture, IconPreviewFollowsTheIconField) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  EXPECT_EQ(ui.icon->text(), ToQString("默认"));
  EXPECT_TRUE(ui.iconPreview->pixmap().isNull());
  dialogs.openAnswers = {{ProgramFile("图标\\蛋糕.ico")}};
  QTest::mouseClick(ui.iconBrowse, Qt::LeftButton);
  EXPECT_EQ(dialogs.shown.back().text, "浏览图标文件");
  EXPECT_EQ(FromQString(ui.icon->text()), ProgramFile("图标\\蛋糕.ico"));
  EXPECT_FALSE(ui.iconPreview->pixmap().isNull());
  ui.icon->setText(ToQString("默认"));
  EXPECT_TRUE(ui.iconPreview->pixmap().isNull());
}
