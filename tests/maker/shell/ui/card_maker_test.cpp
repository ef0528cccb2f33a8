#include "maker/shell/ui/card_maker.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "maker/ordinary/ordinary_template.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/shell/template_gallery.h"
#include "maker/shell/ui/about_box.h"
#include "maker/shell/ui/main_window.h"
#include "maker/shell/ui/new_card_dialog.h"
#include "maker/shell/ui/template_gallery_window.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "shell_ui_fixture.h"
#include "support/shared_program_folder.h"

using namespace cardshell;

TEST(CardMakerStartup, SplashFirstThenTheWindowsInOrderThenTheGallery) {
  shell_ui_fixture::App();
  platform::ScriptedDialogs dialogs;
  auto designer = std::make_unique<shell_ui_fixture::FakeDesigner>();
  shell_ui_fixture::FakeDesigner* fake = designer.get();
  CardMaker maker(std::move(designer), StartupTimes{150, 100});
  maker.Start();

  // The splash: the about box, borderless, on top, without its close button; the main window
  // is not shown yet.
  TForm9* about = maker.AboutBox();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(about->IsSplash());
  EXPECT_TRUE(about->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(about->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(about->CloseButton()->isVisibleTo(about));
  EXPECT_FALSE(maker.MainWindow()->isVisible());
  EXPECT_EQ(maker.CreationOrder(), (std::vector<std::string>{"TForm1", "TForm9"}));

  struct Seen {
    bool gallery = false, splashGone = false, mainShown = false, mainEnabled = false, closeButton = false;
    std::vector<std::string> order;
    std::string title;
  } seen;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* g = qobject_cast<TForm2*>(QApplication::activeModalWidget());
    if (!g || seen.gallery) return;
    seen.gallery = true;
    seen.splashGone = !about->isVisible();
    seen.mainShown = maker.MainWindow()->isVisible();
    seen.mainEnabled = maker.MainWindow()->isEnabled();
    seen.closeButton = about->CloseButton()->isVisibleTo(about) && !about->IsSplash();
    seen.order = maker.CreationOrder();
    seen.title = platform::FromQString(g->windowTitle());
    g->reject();
  });
  poll.start();
  // The gallery may not come before splash + timer.
  QTest::qWait(120);
  EXPECT_FALSE(seen.gallery);
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen.gallery; }, 5000));
  EXPECT_TRUE(seen.splashGone);
  EXPECT_TRUE(seen.mainShown);
  EXPECT_TRUE(seen.mainEnabled);
  EXPECT_TRUE(seen.closeButton);
  EXPECT_EQ(seen.title, "新建贺卡");
  EXPECT_EQ(seen.order, (std::vector<std::string>{"TForm1", "TForm9", "TForm3", "TForm4", "TForm2", "TForm6"}));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(fake->shown);  // no card until one is chosen
  maker.MainWindow()->close();
}

TEST(CardMakerStartup, ABlankInteractiveCardFromTheGalleryIsANewUnsavedDesign) {
  shell_ui_fixture::App();
  platform::ScriptedDialogs dialogs;
  auto designer = std::make_unique<shell_ui_fixture::FakeDesigner>();
  shell_ui_fixture::FakeDesigner* fake = designer.get();
  CardMaker maker(std::move(designer), StartupTimes{1, 1});
  maker.Start();
  bool done = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* g = qobject_cast<TForm2*>(modal)) {
      g->Pages()->setCurrentIndex(static_cast<int>(GalleryPage::Interactive));
      g->List(GalleryPage::Interactive)->setCurrentRow(0);
      QTimer::singleShot(0, g, [g] { g->OkClick(); });
    } else if (auto* d = qobject_cast<TForm6*>(modal)) {
      d->HeightEdit()->setText("250");
      d->OkClick();
      done = true;
    }
  });
  poll.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return done && !QApplication::activeModalWidget(); }, 5000));
  EXPECT_TRUE(fake->shown);
  EXPECT_EQ(fake->doc.window.height, 250);
  EXPECT_EQ(maker.MainWindow()->Files().CurrentDesignFile(), "新贺卡");
  EXPECT_FALSE(maker.MainWindow()->Files().ChangedSinceSave());  // nothing to lose yet
  maker.MainWindow()->close();
}

TEST(CardMakerStartup, TheOrdinaryPageOpensAFreshWizardWithTheTemplateLoaded) {
  shell_ui_fixture::App();
  platform::ScriptedDialogs dialogs;
  std::string previous = platform::paths::ProgramFolder();
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  std::string file = TemplateFile("春节祝福", GalleryPage::Ordinary);
  ASSERT_TRUE(platform::files::FileExists(file)) << file;
  ordinary::OrdinarySettings expected = ordinary::LoadTemplate(file);

  CardMaker maker(std::make_unique<shell_ui_fixture::FakeDesigner>(), StartupTimes{1, 1});
  maker.Start();
  std::string wizardBox;
  bool wizardSeen = false, galleryStillOpen = false, galleryClosed = false;
  ordinary_ui::TForm3* seenWizard = nullptr;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* w = qobject_cast<ordinary_ui::TForm3*>(modal); w && !wizardSeen) {
      wizardSeen = true;
      seenWizard = w;
      wizardBox = w->Settings().boxWord;
      w->reject();
    } else if (auto* g = qobject_cast<TForm2*>(modal)) {
      if (!wizardSeen) {
        g->Pages()->setCurrentIndex(static_cast<int>(GalleryPage::Ordinary));
        g->List(GalleryPage::Ordinary)->setCurrentRow(
            g->List(GalleryPage::Ordinary)->row(g->List(GalleryPage::Ordinary)
                                                     ->findItems(platform::ToQString("春节祝福"), Qt::MatchExactly)
                                                     .value(0)));
        QTimer::singleShot(0, g, [g] { g->OkClick(); });
      } else if (!galleryClosed) {
        galleryStillOpen = g->isVisible();
        galleryClosed = true;
        g->reject();
      }
    }
  });
  poll.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return galleryClosed; }, 10000));
  EXPECT_TRUE(wizardSeen);
  EXPECT_NE(seenWizard, maker.Wizard());  // a fresh wizard, not the one made at start-up
  EXPECT_EQ(wizardBox, expected.boxWord);
  EXPECT_FALSE(expected.boxWord.empty());
  EXPECT_TRUE(galleryStillOpen);
  maker.MainWindow()->close();
  platform::paths::SetProgramFolder(previous);
}

TEST(CardMakerStartup, ADesignNamedOnTheCommandLineOpensInsteadOfTheGallery) {
  shell_ui_fixture::App();
  testing_support::SharedProgramFolder folder;  // the design's pictures are in the program folder
  platform::ScriptedDialogs dialogs;
  auto designer = std::make_unique<shell_ui_fixture::FakeDesigner>();
  shell_ui_fixture::FakeDesigner* fake = designer.get();
  CardMaker maker(std::move(designer), StartupTimes{10, 10});
  const std::string design = std::string(CARD_PROGRAM_DIR) + "/template/默认贺卡.lmcard2";
  maker.SetStartFile(design);
  maker.Start();
  bool galleryShown = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* g = qobject_cast<TForm2*>(QApplication::activeModalWidget())) {
      galleryShown = true;
      g->reject();
    }
  });
  poll.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake->shown; }, 5000));
  QTest::qWait(100);
  EXPECT_FALSE(galleryShown);
  EXPECT_EQ(maker.MainWindow()->Files().CurrentDesignFile(), design);
  EXPECT_NE(std::find(fake->calls.begin(), fake->calls.end(), "replaced"), fake->calls.end());
  EXPECT_TRUE(dialogs.shown.empty());
  maker.MainWindow()->close();
}
