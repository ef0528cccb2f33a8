// The wizard window: start-up with a template, step one's background and tile rule, the steps
// and the notice, templates saved through the input box, temporary files, the title preview.
#include "flashwizard/ui/flash_maker_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "flashwizard/ui/color_box.h"
#include "flashwizard/ui/scene_dialogs.h"
#include "flashwizard/ui/scene_editor.h"
#include "flashwizard/ui/text_decoration_dialog.h"
#include "imaging/ui/image_paint_box.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui_fixtures.h"

using namespace flashwizard;
using namespace flashwizard::ui;
using flashui_fixtures::App;
using flashui_fixtures::ProgramFolderScope;
using flashui_fixtures::TempFolderScope;
using flashui_fixtures::WriteBmp;

namespace {

struct FlashUiForm : ::testing::Test {
  FlashUiForm() { App(); }
  testing_support::TempDir dir;
};

// Notes, whenever a box is shown, whether the window's commands could be used meanwhile.
struct ProbingDialogs : platform::ScriptedDialogs {
  std::function<void()> probe;
  platform::MsgResult MessageBox(const std::string& text, const std::string& caption, platform::MsgIcon icon,
                                 platform::MsgButtons buttons) override {
    if (probe) probe();
    return ScriptedDialogs::MessageBox(text, caption, icon, buttons);
  }
};

}  // namespace

TEST_F(FlashUiForm, ANamedTemplateIsLoadedWhenTheWindowShows) {
  ProgramFolderScope folder(dir.Path());
  platform::files::CreateFolder(dir.File("TEMPLATE"));
  WriteBmp(dir.File("pic.bmp"), 40, 20, platform::Rgb(0, 255, 0));
  FlashProject saved;
  saved.Settings.Title = "春节快乐";
  saved.Settings.Width = 640;
  saved.SceneCount = 2;
  saved.Scenes[0].Name = "开场";
  saved.Scenes[1].Name = "结束";
  saved.AddPicture(dir.File("pic.bmp"), 1);
  saved.SaveSet(dir.File("TEMPLATE\\春节.lmflash"));

  TpvFlashMakerForm form(TemplateNameFromArgs({"\"春", "节\""}));
  EXPECT_EQ(form.Project().SceneCount, 0);  // nothing before the window shows
  form.show();
  EXPECT_EQ(platform::FromQString(form.TitleEdit()->text()), "春节快乐");
  EXPECT_EQ(form.WidthBox()->value(), 640);
  EXPECT_EQ(form.Project().SceneCount, 2);
  EXPECT_EQ(form.Editor()->Canvas()->width(), 640);
  ASSERT_EQ(form.Project().LiveObjectCount(), 1);
  EXPECT_EQ(form.Project().Objects[0].SceneID, 1);
  EXPECT_FALSE(form.Modified());  // the loaded template counts as saved

  TpvFlashMakerForm missing("没有这个模板");
  missing.show();
  EXPECT_EQ(platform::FromQString(missing.TitleEdit()->text()), "Lumo贺卡");
  EXPECT_EQ(missing.Project().SceneCount, 0);
}

TEST_F(FlashUiForm, BackgroundPictureTicksTileByTheMovieSize) {
  platform::ScriptedDialogs dialogs;
  WriteBmp(dir.File("small.bmp"), 300, 200, platform::Rgb(255, 0, 0));
  WriteBmp(dir.File("large.bmp"), 500, 400, platform::Rgb(255, 0, 0));
  testing_support::WriteBytes(dir.File("broken.bmp"), "BMnot a picture");
  TpvFlashMakerForm form;
  ASSERT_EQ(form.WidthBox()->value(), 800);
  ASSERT_EQ(form.HeightBox()->value(), 600);
  dialogs.openAnswers = {{dir.File("small.bmp")}, {dir.File("large.bmp")}, {dir.File("broken.bmp")}};
  form.BrowseBackground();
  EXPECT_TRUE(form.TileBack()->isChecked());
  EXPECT_TRUE(form.UseBackPic()->isChecked());
  EXPECT_EQ(platform::FromQString(form.BackPath()->text()), dir.File("small.bmp"));
  form.BrowseBackground();
  EXPECT_FALSE(form.TileBack()->isChecked());
  EXPECT_EQ(dialogs.shown.back().file.initialDir, dir.Path());
  EXPECT_EQ(dialogs.shown.back().file.fileName, "small.bmp");
  form.BrowseBackground();
  EXPECT_FALSE(form.UseBackPic()->isChecked());
  EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"载入图片失败！请重新选择图片文件。"});
  EXPECT_EQ(platform::FromQString(form.BackPath()->text()), dir.File("large.bmp"));
}

TEST_F(FlashUiForm, MusicThatCannotBeMeasuredOrCarriedIsRefused) {
  platform::ScriptedDialogs dialogs;
  testing_support::WriteBytes(dir.File("bad.mp3"), "not music");
  // Two seconds of silent 48 kHz MPEG-1 layer III frames, which the movie cannot carry.
  std::string frame(384, '\0');
  frame.replace(0, 4, "\xFF\xFB\x94\x44");
  std::string at48;
  for (int i = 0; i < 84; ++i) at48 += frame;
  testing_support::WriteBytes(dir.File("48k.mp3"), at48);
  TpvFlashMakerForm form;
  dialogs.openAnswers = {{dir.File("bad.mp3")}, {dir.File("48k.mp3")}};
  form.BrowseMusic();
  form.BrowseMusic();
  EXPECT_FALSE(form.UseMusic()->isChecked());
  EXPECT_TRUE(form.MusicPath()->text().isEmpty());
  ASSERT_EQ(dialogs.Messages().size(), 2u);
  EXPECT_EQ(dialogs.Messages()[0], "打开音乐文件失败！可能文件格式不正确，请重新换一首mp3文件。");
  EXPECT_NE(dialogs.Messages()[1].find("48000Hz"), std::string::npos);
}

TEST_F(FlashUiForm, StepTwoShowsTheNoticeOnceAndItsButtons) {
  TpvFlashMakerForm form;
  int notices = 0;
  form.SetDialogRunner([&](QDialog& d) {
    if (dynamic_cast<TForm3*>(&d)) ++notices;
    return int(QDialog::Accepted);
  });
  form.show();
  EXPECT_TRUE(form.NextButton()->isVisible());
  EXPECT_FALSE(form.SaveFlashButton()->isVisible());
  QTest::mouseClick(form.NextButton(), Qt::LeftButton);
  EXPECT_EQ(form.Step(), 1);
  EXPECT_EQ(notices, 1);
  EXPECT_FALSE(form.NextButton()->isVisible());
  for (QPushButton* b : {form.PrevButton(), form.SaveTemplateButton(), form.PreviewButton(), form.SaveFlashButton(),
                         form.SaveWebCardButton()})
    EXPECT_TRUE(b->isVisible());
  QTest::mouseClick(form.PrevButton(), Qt::LeftButton);
  EXPECT_EQ(form.Step(), 0);
  form.Pages()->setCurrentIndex(1);  // the page tab does the same
  EXPECT_EQ(form.Step(), 1);
  EXPECT_EQ(notices, 1);
}

TEST_F(FlashUiForm, SaveTemplateAsksAgainWhenReplacingIsRefused) {
  ProgramFolderScope folder(dir.Path());
  platform::ScriptedDialogs dialogs;
  platform::files::CreateFolder(dir.File("TEMPLATE"));
  testing_support::WriteBytes(dir.File("TEMPLATE\\旧.lmflash"), "[lmFlashCard]\r\n");
  TpvFlashMakerForm form;
  dialogs.inputAnswers = {std::string("旧"), std::string("新")};
  dialogs.messageAnswers = {platform::MsgResult::No};
  form.SaveTemplate();
  ASSERT_EQ(dialogs.shown.size(), 4u);
  EXPECT_EQ(dialogs.shown[0].kind, "input");
  EXPECT_EQ(dialogs.shown[0].caption, "保存模板");
  EXPECT_EQ(dialogs.shown[0].text, "请输入模板名称：  ");
  EXPECT_EQ(dialogs.shown[1].text, "名称为“旧”的模板已存在，是否替代已存在的模板？");
  EXPECT_EQ(dialogs.shown[3].text, "模板已保存。");
  EXPECT_TRUE(platform::files::FileExists(dir.File("TEMPLATE\\新.lmflash")));
  EXPECT_EQ(*platform::files::ReadFile(dir.File("TEMPLATE\\旧.lmflash")), "[lmFlashCard]\r\n");
}

TEST_F(FlashUiForm, TemporaryFilesAreDeletedOnClosing) {
  TpvFlashMakerForm form;
  form.show();
  testing_support::WriteBytes(dir.File("~文字0.bmp"), "x");
  form.TempFiles() = {dir.File("~文字0.bmp"), dir.File("gone.bmp")};
  form.close();
  EXPECT_FALSE(platform::files::FileExists(dir.File("~文字0.bmp")));
}

TEST_F(FlashUiForm, TitlePreviewFollowsTheControlsAndKeepsTheLastTitle) {
  TpvFlashMakerForm form;
  form.show();
  auto* preview = form.TitlePreview();
  EXPECT_EQ(preview->size(), QSize(761, 65));
  auto inked = [&] {
    QImage shot = preview->grab().toImage();
    int n = 0;
    QRgb face = shot.pixel(0, 0);
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) n += shot.pixel(x, y) != face;
    return n;
  };
  int before = inked();
  EXPECT_GT(before, 0);
  form.TitleEdit()->setText(platform::ToQString("一段更长的贺卡标题文字"));
  int longer = inked();
  EXPECT_GT(longer, before);
  form.TitleEdit()->setText("   ");  // blank: the last rendered title stays
  EXPECT_EQ(inked(), longer);
  form.TitleEdit()->setText(platform::ToQString("一段更长的贺卡标题文字"));
  form.SizeBox()->setCurrentText(platform::ToQString("小五"));
  EXPECT_LT(inked(), longer);
  // The export for the movie has no background pixels.
  auto title = form.ExportTitle();
  ASSERT_TRUE(title);
  EXPECT_EQ(title->PixelAlpha(0, 0), 0);
}

TEST_F(FlashUiForm, BackgroundColourAndSizeReachTheSceneCanvas) {
  TpvFlashMakerForm form;
  form.BackColor()->SetSelected(platform::Rgb(0, 0, 128));
  EXPECT_EQ(form.Editor()->CanvasColor(), platform::Rgb(0, 0, 128));
  form.WidthBox()->setValue(320);
  form.HeightBox()->setValue(240);
  EXPECT_EQ(form.Editor()->Canvas()->size(), QSize(320, 240));
  form.ReadSettings();
  EXPECT_EQ(form.Project().Settings.BackCor, platform::Rgb(0, 0, 128));
  EXPECT_EQ(form.Project().Settings.Width, 320);
}

TEST_F(FlashUiForm, ShippedProgramFolderGivesTheDefaultEffectAndBackground) {
  ProgramFolderScope folder(CARD_PROGRAM_DIR "/");
  TpvFlashMakerForm form;
  EXPECT_EQ(platform::FromQString(form.EffectBox()->currentText()), "黄字红边加投影");
  EXPECT_EQ(platform::FromQString(form.BackPath()->text()), std::string(CARD_PROGRAM_DIR "/") + "背景图\\006.gif");
  EXPECT_TRUE(form.UseBackPic()->isChecked());
  EXPECT_TRUE(form.TileBack()->isChecked());
  EXPECT_EQ(platform::FromQString(form.SizeBox()->currentText()), "二号");
  EXPECT_EQ(form.SizeBox()->count(), 36 + 16);
}

TEST_F(FlashUiForm, SaveFlashBuildsTheMovieAndOpensItsPage) {
  ProgramFolderScope folder(CARD_PROGRAM_DIR "/");
  if (!platform::files::FileExists(CARD_PROGRAM_DIR "/Flash.dll")) FAIL() << "Flash.dll is not built (build the flashwriter target)";
  platform::ScriptedDialogs dialogs;
  const char* previousOpener = std::getenv("LMCARD_OPENER");
  std::string keepOpener = previousOpener ? previousOpener : "";
  setenv("LMCARD_OPENER", "true", 1);
  TpvFlashMakerForm form;
  form.WidthBox()->setValue(320);
  form.HeightBox()->setValue(240);
  form.ShowTitle()->setChecked(true);
  form.Project().SceneCount = 1;
  form.Project().Scenes[0].Name = "场景 1";
  dialogs.saveAnswers = {std::nullopt, dir.File("贺卡.swf")};
  EXPECT_FALSE(form.SaveFlash());  // cancelled: nothing built
  EXPECT_FALSE(platform::files::FileExists(dir.File("贺卡.swf")));
  EXPECT_TRUE(form.SaveFlash());
  if (previousOpener) setenv("LMCARD_OPENER", keepOpener.c_str(), 1); else unsetenv("LMCARD_OPENER");
  ASSERT_GE(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].file.filter, "flash (*.swf)|*.swf");
  EXPECT_EQ(dialogs.shown[0].file.defaultExt, "swf");
  EXPECT_TRUE(dialogs.shown[0].file.overwritePrompt);
  EXPECT_TRUE(dialogs.Messages().empty()) << dialogs.Messages().front();
  auto swf = platform::files::ReadFile(dir.File("贺卡.swf"));
  ASSERT_TRUE(swf.has_value());
  ASSERT_GT(swf->size(), 17u);
  EXPECT_TRUE(swf->substr(0, 3) == "FWS" || swf->substr(0, 3) == "CWS");
  EXPECT_TRUE(platform::files::FileExists(dir.File("贺卡.html")));
  EXPECT_FALSE(form.Progress()->isVisible());
}

TEST_F(FlashUiForm, WebCardButtonWritesOnePageAndNoMovie) {
  ProgramFolderScope folder(CARD_PROGRAM_DIR "/");
  platform::ScriptedDialogs dialogs;
  const char* previousOpener = std::getenv("LMCARD_OPENER");
  std::string keepOpener = previousOpener ? previousOpener : "";
  setenv("LMCARD_OPENER", "true", 1);
  TpvFlashMakerForm form;
  form.SetDialogRunner([](QDialog&) { return int(QDialog::Accepted); });
  form.show();
  form.Project().SceneCount = 1;
  form.Project().Scenes[0].UseBackColor = true;
  QTest::mouseClick(form.NextButton(), Qt::LeftButton);
  dialogs.saveAnswers = {dir.File("贺卡.html")};
  QTest::mouseClick(form.SaveWebCardButton(), Qt::LeftButton);
  if (previousOpener) setenv("LMCARD_OPENER", keepOpener.c_str(), 1); else unsetenv("LMCARD_OPENER");
  ASSERT_GE(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].file.filter, "网页贺卡 (*.html)|*.html");
  EXPECT_TRUE(dialogs.Messages().empty()) << dialogs.Messages().front();
  auto page = platform::files::ReadFile(dir.File("贺卡.html"));
  ASSERT_TRUE(page.has_value());
  EXPECT_NE(page->find("\"kind\":\"flash\""), std::string::npos);
  EXPECT_FALSE(platform::files::FileExists(dir.File("贺卡.swf")));
  EXPECT_FALSE(form.Progress()->isVisible());
}

TEST_F(FlashUiForm, CommandsAreLockedWhileAMovieIsBuilt) {
  ProgramFolderScope folder(dir.Path());  // no Flash.dll: the build fails with two messages
  ProbingDialogs dialogs;
  TpvFlashMakerForm form;
  std::vector<bool> usable;
  std::vector<QWidget*> commands{form.PreviewButton(), form.SaveFlashButton(), form.SaveTemplateButton(), form.Pages()};
  dialogs.probe = [&] {
    for (QWidget* w : commands) usable.push_back(w->isEnabled());
  };
  EXPECT_FALSE(form.PreviewFlash());
  ASSERT_EQ(dialogs.Messages().size(), 2u);
  EXPECT_EQ(usable, std::vector<bool>(8, false));
  for (QWidget* w : commands) EXPECT_TRUE(w->isEnabled());
  EXPECT_FALSE(form.Building());
}

TEST_F(FlashUiForm, ClosingAsksToSaveOnlyWhenSomethingChanged) {
  ProgramFolderScope folder(dir.Path());
  platform::ScriptedDialogs dialogs;
  {
    TpvFlashMakerForm untouched;
    untouched.show();
    EXPECT_TRUE(untouched.close());
    EXPECT_TRUE(dialogs.shown.empty());
  }
  TpvFlashMakerForm form;
  form.show();
  form.TitleEdit()->setText(platform::ToQString("新的标题"));
  using R = platform::MsgResult;
  dialogs.messageAnswers = {R::Cancel, R::Yes, R::Yes, R::Ok};
  dialogs.inputAnswers = {std::nullopt, std::string("新模板")};
  EXPECT_FALSE(form.close());  // Cancel
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "贺卡已修改，关闭前是否保存为模板？");
  EXPECT_EQ(dialogs.shown[0].buttons, platform::MsgButtons::YesNoCancel);
  EXPECT_FALSE(form.close());  // Yes, but no name given
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.close());   // Yes, and saved
  EXPECT_TRUE(platform::files::FileExists(dir.File("TEMPLATE\\新模板.lmflash")));

  TpvFlashMakerForm other;
  other.show();
  other.WidthBox()->setValue(640);
  dialogs.messageAnswers = {R::No};
  EXPECT_TRUE(other.close());
}

TEST_F(FlashUiForm, ATextDecorationOutlivesTheWindowInItsTemplate) {
  ProgramFolderScope folder(dir.Path());
  platform::files::CreateFolder(dir.File("tmp"));
  TempFolderScope temp(dir.HostPath() + "/tmp");
  platform::ScriptedDialogs dialogs;
  {
    TpvFlashMakerForm form;
    form.SetDialogRunner([](QDialog& d) {
      if (auto* text = dynamic_cast<TForm41*>(&d)) text->Confirm();
      else d.accept();
      return d.result();
    });
    form.Editor()->AddScene();
    form.Editor()->InsertText();
    ASSERT_EQ(form.Project().LiveObjectCount(), 1);
    dialogs.inputAnswers = {std::string("文字")};
    ASSERT_TRUE(form.SaveTemplate());
    form.close();
  }
  EXPECT_FALSE(platform::files::FileExists(dir.File("tmp\\~文字0.bmp")));
  TpvFlashMakerForm again("文字");
  again.show();
  ASSERT_EQ(again.Project().LiveObjectCount(), 1);
  EXPECT_TRUE(platform::files::FileExists(again.Project().Objects[0].File));
}
