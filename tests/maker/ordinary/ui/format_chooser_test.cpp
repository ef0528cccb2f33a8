#include "maker/ordinary/ui/format_chooser.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "maker/ordinary/ui/test_app.h"
#include "platform/qt/qt_text.h"

using namespace ordinary_ui;
using platform::ToQString;

namespace {

// Runs ChooseCardFormat and drives the dialog that it shows with action.
std::optional<CardFormat> RunChooser(std::function<void(FormatChooser*)> action, bool offerWeb = false) {
  QTimer::singleShot(0, [action] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* chooser = qobject_cast<FormatChooser*>(w); chooser && chooser->isVisible()) {
        action(chooser);
        return;
      }
    }
    ADD_FAILURE() << "the chooser was not shown";
  });
  return ChooseCardFormat(nullptr, offerWeb);
}

}  // namespace

TEST(FormatChooser, OpensWithPlainSelectedAndRedClauses) {
  TestApp();
  FormatChooser chooser;
  EXPECT_EQ(chooser.windowTitle(), ToQString("选择贺卡格式"));
  EXPECT_TRUE(chooser.PlainButton()->isChecked());
  EXPECT_FALSE(chooser.ExeButton()->isChecked());
  EXPECT_EQ(chooser.PlainButton()->text(), ToQString("普通格式的贺卡文件"));
  EXPECT_EQ(chooser.ExeButton()->text(), ToQString("EXE 格式的贺卡文件"));
  EXPECT_EQ(chooser.OkButton()->text(), ToQString("确定(&T)"));
  EXPECT_EQ(chooser.CancelButton()->text(), ToQString("取消(&C)"));
  // Only the closing clause is red.
  QString plain = chooser.PlainText()->text();
  EXPECT_TRUE(plain.startsWith(ToQString("普通格式的贺卡文件，文件体积会比较小一些，但")));
  EXPECT_TRUE(plain.contains("<font color=\"#ff0000\">" + ToQString("只能在已安装了《Lumo贺卡制作》的电脑中打开它。") + "</font>"));
  QString exe = chooser.ExeText()->text();
  EXPECT_TRUE(exe.contains("<font color=\"#ff0000\">" + ToQString("可以在没有安装《Lumo贺卡制作》的电脑中独立运行。") + "</font>"));
  EXPECT_FALSE(exe.startsWith("<font"));
}

TEST(FormatChooser, OkGivesTheChoiceAndOtherwiseNothing) {
  TestApp();
  EXPECT_EQ(RunChooser([](FormatChooser* c) { QTest::mouseClick(c->OkButton(), Qt::LeftButton); }),
            CardFormat::Plain);
  EXPECT_EQ(RunChooser([](FormatChooser* c) {
              QTest::mouseClick(c->ExeButton(), Qt::LeftButton, {}, QPoint(8, 10));
              QTest::mouseClick(c->OkButton(), Qt::LeftButton);
            }),
            CardFormat::Exe);
  EXPECT_EQ(RunChooser([](FormatChooser* c) {
              QTest::mouseClick(c->ExeButton(), Qt::LeftButton, {}, QPoint(8, 10));
              QTest::mouseClick(c->CancelButton(), Qt::LeftButton);
            }),
            std::nullopt);
  EXPECT_EQ(RunChooser([](FormatChooser* c) { c->close(); }), std::nullopt);
}

TEST(FormatChooser, ScriptAnswersWithoutShowing) {
  TestApp();
  auto previous = SetFormatChooserScript([] { return std::optional<CardFormat>(CardFormat::Exe); });
  EXPECT_EQ(ChooseCardFormat(nullptr), CardFormat::Exe);
  SetFormatChooserScript(std::move(previous));
}

TEST(FormatChooser, OffersTheWebCardOnlyWhenAsked) {
  TestApp();
  FormatChooser twoChoices;
  EXPECT_TRUE(twoChoices.WebButton()->isHidden());
  twoChoices.SetFormat(CardFormat::Web);
  EXPECT_EQ(twoChoices.Format(), CardFormat::Plain);
  const auto chosen = RunChooser(
      [](FormatChooser* c) {
        EXPECT_EQ(c->WebButton()->text(), ToQString("网页贺卡 (*.html)"));
        EXPECT_GT(c->OkButton()->y(), c->WebButton()->y());
        QTest::mouseClick(c->WebButton(), Qt::LeftButton, {}, QPoint(8, 10));
        QTest::mouseClick(c->OkButton(), Qt::LeftButton);
      },
      /*offerWeb=*/true);
  EXPECT_EQ(chosen, CardFormat::Web);
}
