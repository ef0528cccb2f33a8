// The text decoration dialog: default controls, the preview, the exported picture and its
// temporary file names.
#include "flashwizard/ui/text_decoration_dialog.h"

#include <gtest/gtest.h>

#include "platform/user_folders.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "flashwizard/ui/color_box.h"
#include "imaging/ui/image_paint_box.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui_fixtures.h"

using namespace flashwizard::ui;
using flashui_fixtures::App;
using flashui_fixtures::TempFolderScope;

namespace {

int InkedPixels(const platform::Bitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.PixelAlpha(x, y) != 0;
  return n;
}

}  // namespace

TEST(FlashUiTextDecoration, StartsWithItsDefaults) {
  App();
  TForm41 dialog;
  EXPECT_EQ(platform::FromQString(dialog.TextBox()->toPlainText()), "在此输入文字内容");
  EXPECT_EQ(platform::FromQString(dialog.SizeBox()->currentText()), "二号");
  EXPECT_EQ(dialog.SizeBox()->count(), 116);
  EXPECT_EQ(dialog.Color()->Selected(), platform::Rgb(255, 0, 0));
  // The font list starts with the Chinese names cards carry, 宋体 chosen.
  EXPECT_EQ(platform::FromQString(dialog.FontBox()->currentText()), "宋体");
  EXPECT_LT(dialog.FontBox()->findText(platform::ToQString("隶书")), dialog.FontBox()->findText("AR PL UKai CN"));
  EXPECT_EQ(dialog.EffectBox()->currentIndex(), 0);
  EXPECT_EQ(platform::FromQString(dialog.EffectBox()->itemText(0)), "不添加任何文字特效");
  EXPECT_EQ(platform::FromQString(dialog.EffectBox()->itemText(dialog.EffectBox()->count() - 1)),
            "从其它Pavo图层样式文件中调入效果...");
  EXPECT_EQ(dialog.Preview()->Image().LayersCount(), 2);
  EXPECT_EQ(dialog.Preview()->Image().Layer(1).Left, 60);
}

TEST(FlashUiTextDecoration, TwoDecorationsGetNumberedFilesWithAlpha) {
  App();
  testing_support::TempDir dir;
  TempFolderScope temp(dir.HostPath());
  std::string first, second;
  {
    TForm41 dialog;
    dialog.TextBox()->setPlainText(platform::ToQString("新年快乐"));
    dialog.Confirm();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    first = dialog.FileName();
  }
  {
    TForm41 dialog;
    dialog.TextBox()->setPlainText(platform::ToQString("万事如意\n心想事成"));
    dialog.LetterSpacing()->setValue(6);
    dialog.Confirm();
    second = dialog.FileName();
  }
  // Decorations are work files: the user's own temporary folder, inside TMPDIR.
  EXPECT_EQ(first, platform::user_folders::TempFolder() + "~文字0.bmp");
  EXPECT_EQ(second, platform::user_folders::TempFolder() + "~文字1.bmp");
  EXPECT_EQ(platform::user_folders::TempFolder().rfind(dir.Path(), 0), 0u);
  auto a = platform::LoadPicture(first);
  auto b = platform::LoadPicture(second);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->Format(), platform::PixelFormat::Bgra32);
  // Cropped to the text with a one-pixel clear margin.
  EXPECT_EQ(a->PixelAlpha(0, 0), 0);
  EXPECT_GT(InkedPixels(*a), 50);
  EXPECT_LT(a->Width(), 400);
  EXPECT_GT(b->Height(), a->Height());  // two lines
}

TEST(FlashUiTextDecoration, BlankTextIsRefused) {
  App();
  platform::ScriptedDialogs dialogs;
  TForm41 dialog;
  dialog.TextBox()->setPlainText("  ");
  dialog.Confirm();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.FileName().empty());
  EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"请首先输入文字内容。"});
}

TEST(FlashUiTextDecoration, ChangesRedrawThePreview) {
  App();
  flashui_fixtures::ProgramFolderScope folder(CARD_PROGRAM_DIR "/");
  TForm41 dialog;
  dialog.TextBox()->setPlainText(platform::ToQString("福"));
  int small = InkedPixels(*dialog.Preview()->Image().Layer(1).Alpha);
  dialog.SizeBox()->setCurrentText(platform::ToQString("初号"));
  int large = InkedPixels(*dialog.Preview()->Image().Layer(1).Alpha);
  EXPECT_GT(large, small * 2);
  // A shipped effect changes the composed picture.
  int effect = dialog.EffectBox()->findText(platform::ToQString("黄字红边加投影"));
  ASSERT_GT(effect, 0);
  const platform::Bitmap* show = dialog.Preview()->Image().ShowBmp();
  auto before = show->Clone();
  dialog.EffectBox()->setCurrentIndex(effect);
  EXPECT_FALSE(show->SamePixels(*before));
}

TEST(FlashUiTextDecoration, TheLastEffectEntryAsksForAnyStyleFile) {
  App();
  flashui_fixtures::ProgramFolderScope folder(CARD_PROGRAM_DIR "/");
  platform::ScriptedDialogs dialogs;
  TForm41 dialog;
  dialog.TextBox()->setPlainText(platform::ToQString("福"));
  const platform::Bitmap* show = dialog.Preview()->Image().ShowBmp();
  auto plain = show->Clone();
  QComboBox* box = dialog.EffectBox();
  const int last = box->count() - 1;
  // Cancelled: no style, the picture stays as it was.
  dialogs.openAnswers = {{}, {std::string(CARD_PROGRAM_DIR "/") + "文字特效\\金色浮雕.style"}};
  box->setCurrentIndex(last);
  emit box->activated(last);
  EXPECT_TRUE(show->SamePixels(*plain));
  EXPECT_EQ(dialogs.shown.back().file.filter, "Pavo图层样式文件 (*.style)|*.style");
  emit box->activated(last);
  EXPECT_EQ(EffectBoxStyleFile(box), std::string(CARD_PROGRAM_DIR "/") + "文字特效\\金色浮雕.style");
  EXPECT_FALSE(show->SamePixels(*plain));
}
