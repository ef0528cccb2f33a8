#include "maker/ordinary/ui/tform3.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/test_app.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"

using namespace ordinary_ui;
using platform::ToQString;

namespace {

struct WizardFixture : ::testing::Test {
  WizardFixture() {
    TestApp();
    platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
    TForm3::SetFlashPumpCount(1);
  }
  platform::ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(WizardFixture, EachPageShowsItsButtons) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  EXPECT_EQ(wizard.windowTitle(), ToQString("普通贺卡制作向导"));
  EXPECT_EQ(ui.pages->count(), 6);
  auto shown = [&] {
    return PageButtons{!ui.browseCard->isHidden(), !ui.previous->isHidden(), !ui.next->isHidden(),
                       !ui.finish->isHidden()};
  };
  EXPECT_EQ(shown(), (PageButtons{true, false, true, false}));
  for (int page = 2; page <= 5; ++page) {
    QTest::mouseClick(ui.next, Qt::LeftButton);
    EXPECT_EQ(wizard.Page(), page);
    EXPECT_EQ(shown(), (PageButtons{false, true, true, false})) << page;
  }
  QTest::mouseClick(ui.next, Qt::LeftButton);
  EXPECT_EQ(wizard.Page(), 6);
  EXPECT_EQ(shown(), (PageButtons{false, true, false, true}));
  QTest::mouseClick(ui.previous, Qt::LeftButton);
  EXPECT_EQ(wizard.Page(), 5);
  ui.pages->setCurrentIndex(0);  // a tab
  EXPECT_EQ(shown(), (PageButtons{true, false, true, false}));
}
