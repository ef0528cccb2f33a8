#include "maker/ordinary/ui/ordinary_wizard.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QRadioButton>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/test_app.h"
#include "maker/ordinary/ui/wizard_fixture.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"

using namespace ordinary_ui;
using platform::ToQString;


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


TEST_F(WizardFixture, CentreLockAndLoopEnableThePositionLists) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ui.pages->setCurrentIndex(3);
  auto tick = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); };
  EXPECT_TRUE(ui.moveSet1->isEnabled());
  EXPECT_TRUE(ui.moveSet2->isEnabled());
  tick(ui.moves);
  EXPECT_TRUE(ui.moves->isChecked());
  EXPECT_TRUE(ui.moveSet1->isEnabled());
  EXPECT_FALSE(ui.moveSet2->isEnabled());
  EXPECT_FALSE(ui.moveSet2Label->isEnabled());
  tick(ui.cen);  // the centre lock unticks the loop and locks both lists
  EXPECT_TRUE(ui.cen->isChecked());
  EXPECT_FALSE(ui.moves->isChecked());
  EXPECT_FALSE(ui.moveSet1->isEnabled());
  EXPECT_FALSE(ui.moveSet1Label->isEnabled());
  EXPECT_FALSE(ui.moveSet2->isEnabled());
  tick(ui.moves);  // the loop afterwards gives back the start list only
  EXPECT_FALSE(ui.cen->isChecked());
  EXPECT_TRUE(ui.moveSet1->isEnabled());
  EXPECT_FALSE(ui.moveSet2->isEnabled());
  tick(ui.moves);
  EXPECT_TRUE(ui.moveSet1->isEnabled());
  EXPECT_TRUE(ui.moveSet2->isEnabled());
}

TEST_F(WizardFixture, MailOptionsExcludeEachOtherAndEnableTheirFields) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ui.pages->setCurrentIndex(4);
  auto tick = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); };
  EXPECT_FALSE(ui.email->isEnabled());
  EXPECT_FALSE(ui.notifyEmail->isEnabled());
  EXPECT_FALSE(ui.url->isEnabled());
  tick(ui.sendMail);
  EXPECT_TRUE(ui.email->isEnabled());
  EXPECT_TRUE(ui.subject->isEnabled());
  EXPECT_TRUE(ui.body->isEnabled());
  tick(ui.notify);
  EXPECT_FALSE(ui.sendMail->isChecked());
  EXPECT_FALSE(ui.email->isEnabled());
  EXPECT_TRUE(ui.notifyEmail->isEnabled());
  EXPECT_TRUE(ui.notifyName->isEnabled());
  tick(ui.sendMail);
  EXPECT_FALSE(ui.notify->isChecked());
  EXPECT_FALSE(ui.notifyEmail->isEnabled());
  tick(ui.openUrl);
  EXPECT_TRUE(ui.url->isEnabled());
  EXPECT_EQ(ui.url->text(), "http://");
  EXPECT_EQ(ui.subject->text(), ToQString("我已经看过你的贺卡了"));
}

TEST_F(WizardFixture, GreetingBoxNarrowerThan16IsRefused) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ShowActive(wizard);
  ui.pages->setCurrentIndex(2);
  wizard.LMLoadHCK(ProgramFile(kBox));
  ASSERT_TRUE(wizard.BoxShown());
  EXPECT_EQ(ui.greeting->geometry(), QRect(8, 8, ui.boxPicture->width() - 16, ui.boxPicture->height() - 16));
  EXPECT_EQ(ui.boxWidth->text().toInt(), ui.boxPicture->NaturalSize().width());

  Leave(ui.boxWidth, "15");
  ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{"贺词框宽度不能小于16像素！"});
  EXPECT_EQ(dialogs.shown.back().icon, platform::MsgIcon::Error);
  EXPECT_TRUE(ui.boxWidth->hasFocus());
  EXPECT_NE(ui.boxPicture->width(), 15);

  Leave(ui.boxWidth, "16");
  EXPECT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(ui.boxPicture->width(), 16);
  EXPECT_EQ(ui.greeting->width(), 0);

  Leave(ui.boxHeight, "");
  EXPECT_EQ(dialogs.Messages().back(), "请输入正确的贺词框高度！");
}

TEST_F(WizardFixture, ChoosingNoGreetingBoxTakesAwayTheAutoGreeting) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ShowActive(wizard);  // lists the greeting box folder
  ASSERT_GT(ui.boxList->count(), 1);
  EXPECT_EQ(ui.boxList->itemText(0), ToQString("不要贺词框及贺词"));
  EXPECT_FALSE(ui.useTime->isEnabled());
  ui.boxList->setCurrentIndex(1);
  emit ui.boxList->activated(1);
  EXPECT_TRUE(wizard.BoxShown());
  EXPECT_TRUE(ui.useTime->isEnabled());
  ui.useTime->setChecked(true);
  EXPECT_TRUE(ui.timelen->isEnabled());
  ui.boxList->setCurrentIndex(0);
  emit ui.boxList->activated(0);
  EXPECT_FALSE(wizard.BoxShown());
  EXPECT_FALSE(ui.useTime->isChecked());
  EXPECT_FALSE(ui.useTime->isEnabled());
  EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(WizardFixture, FlashTurnsTheCaptionBlueAndBack) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  std::vector<QColor> seen;
  // Timers fire while the flash lets the messages run: they see the caption's colour of the moment.
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] { seen.push_back(ui.bkMusic->palette().color(QPalette::WindowText)); });
  probe.start(0);
  QColor own = ui.bkMusic->palette().color(QPalette::WindowText);
  wizard.Flash(ui.bkMusic);
  probe.stop();
  ASSERT_EQ(seen.size(), 6u);  // three rounds of two states
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i % 2 == 0 ? QColor(0, 0, 255) : own) << i;
  EXPECT_EQ(ui.bkMusic->palette().color(QPalette::WindowText), own);

  // A field is no caption: it is left alone.
  seen.clear();
  QColor fieldText = ui.music->palette().color(QPalette::Text);
  wizard.Flash(ui.music);
  EXPECT_EQ(ui.music->palette().color(QPalette::Text), fieldText);
}

TEST_F(WizardFixture, AttentionFlashIsArmedWhenShown) {
  TForm3 wizard;
  EXPECT_FALSE(wizard.AttentionTimer().isActive());
  EXPECT_TRUE(wizard.HelpColourTimer().isActive());
  EXPECT_EQ(wizard.HelpColourTimer().interval(), 500);
  wizard.show();
  EXPECT_TRUE(wizard.AttentionTimer().isActive());
  EXPECT_TRUE(wizard.AttentionTimer().isSingleShot());
  EXPECT_EQ(wizard.AttentionTimer().interval(), 2000);
  wizard.reject();
  EXPECT_FALSE(wizard.MovieLoopTimer().isActive());
}
