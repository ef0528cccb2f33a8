#include "maker/shell/ui/new_card_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/bitmap.h"
#include "platform/bmp_codec.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "shell_ui_fixture.h"
#include "support/temp_dir.h"

using namespace cardshell;
using platform::FromQString;
using platform::ToQString;

TEST(NewCardDialogWindow, DefaultsAndEnablingRules) {
  shell_ui_fixture::App();
  TForm6 d;
  EXPECT_EQ(FromQString(d.windowTitle()), "新建贺卡");
  EXPECT_EQ(d.WidthEdit()->text(), "520");
  EXPECT_EQ(d.HeightEdit()->text(), "390");
  EXPECT_EQ(d.SwatchColor(), platform::kClInfoBk);
  EXPECT_EQ(d.LayoutList()->currentIndex(), 0);
  EXPECT_EQ(FromQString(d.LayoutList()->currentText()), "平铺背景图片");
  EXPECT_FALSE(d.BackgroundEdit()->isEnabled());
  EXPECT_FALSE(d.LayoutList()->isEnabled());
  EXPECT_FALSE(d.MaskEdit()->isEnabled());
  EXPECT_TRUE(d.WidthEdit()->isEnabled());

  d.BackgroundCheck()->click();
  EXPECT_TRUE(d.BackgroundEdit()->isEnabled());
  EXPECT_TRUE(d.BackgroundBrowse()->isEnabled());
  EXPECT_TRUE(d.LayoutList()->isEnabled());
  EXPECT_TRUE(d.LayoutLabel()->isEnabled());

  // The mask decides the size: the size boxes and their labels go grey.
  d.MaskCheck()->click();
  EXPECT_TRUE(d.MaskEdit()->isEnabled());
  EXPECT_FALSE(d.WidthEdit()->isEnabled());
  EXPECT_FALSE(d.HeightEdit()->isEnabled());
  EXPECT_FALSE(d.WidthLabel()->isEnabled());
  EXPECT_NE(d.WidthEdit()->palette().color(QPalette::Base), d.MaskEdit()->palette().color(QPalette::Base));
  d.MaskCheck()->click();
  EXPECT_TRUE(d.WidthEdit()->isEnabled());
  EXPECT_EQ(d.WidthEdit()->palette().color(QPalette::Base), d.BackgroundEdit()->palette().color(QPalette::Base));

  // Digits only in the size boxes.
  d.WidthEdit()->clear();
  QTest::keyClicks(d.WidthEdit(), "6a4-0");
  EXPECT_EQ(d.WidthEdit()->text(), "640");
}

TEST(NewCardDialogWindow, OkChecksInOrderAndPutsTheFocusOnTheField) {
  shell_ui_fixture::App();
  testing_support::TempDir dir;
  platform::ScriptedDialogs dialogs;
  TForm6 d;
  d.show();
  d.BackgroundCheck()->click();
  d.BackgroundEdit()->setText(ToQString(dir.File("没有.jpg")));
  d.HeightEdit()->clear();
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0], "图片文件 " + dir.File("没有.jpg") + " 不存在，请重新定义背景图片位置。");
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Warning);
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.BackgroundEdit()->hasFocus() || QApplication::focusWidget() == nullptr);

  d.BackgroundCheck()->click();  // unticked: no longer checked
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages().back(), "请输入正确的贺卡窗口高度。");
  EXPECT_TRUE(d.isVisible());

  d.HeightEdit()->setText("300");
  QTest::mouseClick(d.OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages().size(), 2u);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_FALSE(d.isVisible());
}

TEST(NewCardDialogWindow, AMaskOf300By200FillsTheSizeBoxes) {
  shell_ui_fixture::App();
  testing_support::TempDir dir;
  platform::SaveBmp(*platform::Bitmap::Create(300, 200, platform::PixelFormat::Bgr24), dir.File("mask.bmp"));
  platform::ScriptedDialogs dialogs;
  TForm6 d;
  d.MaskCheck()->click();
  dialogs.openAnswers = {{dir.File("mask.bmp")}};
  QTest::mouseClick(d.MaskBrowse(), Qt::LeftButton);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "浏览掩饰图片");
  EXPECT_EQ(FromQString(d.MaskEdit()->text()), dir.File("mask.bmp"));
  EXPECT_EQ(d.WidthEdit()->text(), "300");
  EXPECT_EQ(d.HeightEdit()->text(), "200");
  NewCardSettings s = d.Settings();
  EXPECT_TRUE(s.useMask);
  EXPECT_EQ(s.maskPath, dir.File("mask.bmp"));

  // The swatch opens the colour dialog and takes its answer.
  dialogs.colorAnswers = {platform::Rgb(1, 2, 3)};
  d.SwatchClick();
  EXPECT_EQ(d.SwatchColor(), platform::Rgb(1, 2, 3));
  EXPECT_EQ(d.Settings().color, platform::Rgb(1, 2, 3));
}
