#include "maker/shell/ui/template_gallery_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <chrono>
#include <thread>

#include "maker/shell/ui/new_card_dialog.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "shell_ui_fixture.h"
#include "support/temp_dir.h"

using namespace cardshell;
using platform::FromQString;
using testing_support::WriteBytes;

namespace {

struct Gallery {
  Gallery() : previous(platform::paths::ProgramFolder()) {
    shell_ui_fixture::App();
    platform::paths::SetProgramFolder(dir.Path());
    platform::files::CreateFolder(dir.File("template"));
    for (const char* name : {"春节祝福.lmcard", "生日.快乐.lmcard2", "新春祝福.lmflash"}) {
      WriteBytes(dir.File(std::string("template/") + name), "[Application]\r\n");
    }
    form.SetNewCardDialog(&newCard);
    form.openOrdinaryWizard = [this](QWidget*, const std::string& f) { log.push_back("ordinary " + f); };
    form.loadInteractiveTemplate = [this](const std::string& f) { log.push_back("template " + f); };
    form.createBlankCard = [this](const NewCardSettings& s) { log.push_back("blank " + s.widthText); };
  }
  ~Gallery() { platform::paths::SetProgramFolder(previous); }

  std::vector<std::string> Captions(GalleryPage page) {
    std::vector<std::string> out;
    QListWidget* list = form.List(page);
    for (int i = 0; i < list->count(); ++i) out.push_back(FromQString(list->item(i)->text()));
    return out;
  }
  void Choose(GalleryPage page, int row) {
    form.Pages()->setCurrentIndex(static_cast<int>(page));
    form.List(page)->setCurrentRow(row);
  }

  QApplication& app = shell_ui_fixture::App();  // before any widget member
  testing_support::TempDir dir;
  std::string previous;
  platform::ScriptedDialogs dialogs;
  TForm2 form;
  TForm6 newCard;
  std::vector<std::string> log;
};

}  // namespace

TEST(TemplateGalleryWindow, ShowingListsEachPageInLargeIcons) {
  Gallery g;
  EXPECT_EQ(FromQString(g.form.windowTitle()), "新建贺卡");
  std::vector<std::string> tabs;
  for (int i = 0; i < g.form.Pages()->count(); ++i) tabs.push_back(FromQString(g.form.Pages()->tabText(i)));
  EXPECT_EQ(tabs, (std::vector<std::string>{"普通型贺卡(&M)", "互动式贺卡(&E)", "Flash 贺卡"}));
  g.form.show();
  EXPECT_EQ(g.Captions(GalleryPage::Ordinary), (std::vector<std::string>{"空白模板", "春节祝福"}));
  EXPECT_EQ(g.Captions(GalleryPage::Interactive), (std::vector<std::string>{"空白模板", "生日.快乐"}));
  EXPECT_EQ(g.Captions(GalleryPage::Flash), (std::vector<std::string>{"空白模板", "新春祝福"}));
  EXPECT_EQ(g.form.List(GalleryPage::Flash)->viewMode(), QListView::IconMode);

  // A template saved meanwhile shows at the next showing, not twice.
  g.form.hide();
  WriteBytes(g.dir.File("template/新模板.lmcard2"), "x");
  g.form.show();
  EXPECT_EQ(g.Captions(GalleryPage::Interactive).size(), 3u);
  g.form.hide();
}

TEST(TemplateGalleryWindow, OkWithoutAChoiceAsksForOne) {
  Gallery g;
  g.form.show();
  g.form.Pages()->setCurrentIndex(0);
  g.form.List(GalleryPage::Ordinary)->clearSelection();
  QTest::mouseClick(g.form.OkButton(), Qt::LeftButton);
  ASSERT_EQ(g.dialogs.Messages(), (std::vector<std::string>{"请选择要使用的模板。"}));
  EXPECT_EQ(g.dialogs.shown[0].icon, platform::MsgIcon::Warning);
  EXPECT_TRUE(g.log.empty());
  g.form.hide();
}

TEST(TemplateGalleryWindow, OrdinaryPageOpensTheWizardAndStaysOpen) {
  Gallery g;
  g.form.show();
  g.Choose(GalleryPage::Ordinary, 1);
  g.form.OkClick();
  g.Choose(GalleryPage::Ordinary, 0);
  g.form.OkClick();
  EXPECT_EQ(g.log, (std::vector<std::string>{"ordinary " + g.dir.Path() + "template\\春节祝福.lmcard", "ordinary "}));
  EXPECT_TRUE(g.form.isVisible());
  g.form.hide();
}

TEST(TemplateGalleryWindow, InteractiveTemplateIsLoadedByDoubleClickAndTheGalleryCloses) {
  Gallery g;
  g.form.show();
  g.Choose(GalleryPage::Interactive, 1);
  QListWidget* list = g.form.List(GalleryPage::Interactive);
  QApplication::processEvents();
  QRect r = list->visualItemRect(list->item(1));
  ASSERT_TRUE(r.isValid());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(g.log, (std::vector<std::string>{"template " + g.dir.Path() + "template\\生日.快乐.lmcard2"}));
  EXPECT_EQ(g.form.result(), QDialog::Accepted);
  EXPECT_FALSE(g.form.isVisible());
}

TEST(TemplateGalleryWindow, BlankInteractiveCardGoesThroughTheNewCardDialog) {
  Gallery g;
  g.form.show();
  g.Choose(GalleryPage::Interactive, 0);
  // Cancelled: the gallery stays open and nothing is made.
  bool up = shell_ui_fixture::WhenModalShows<TForm6>([&] { g.form.OkClick(); }, [](TForm6* d) { d->reject(); });
  EXPECT_TRUE(up);
  EXPECT_TRUE(g.log.empty());
  EXPECT_TRUE(g.form.isVisible());
  // Confirmed: the card is made and the gallery closes.
  up = shell_ui_fixture::WhenModalShows<TForm6>([&] { g.form.OkClick(); }, [](TForm6* d) {
    d->WidthEdit()->setText("600");
    QTest::mouseClick(d->OkButton(), Qt::LeftButton);
  });
  EXPECT_TRUE(up);
  EXPECT_EQ(g.log, (std::vector<std::string>{"blank 600"}));
  EXPECT_FALSE(g.form.isVisible());
}

TEST(TemplateGalleryWindow, FlashPageStartsTheWizardWithTheBlankName) {
  Gallery g;
  g.form.show();
  g.Choose(GalleryPage::Flash, 0);
  g.form.OkClick();  // no wizard in the folder yet
  ASSERT_EQ(g.dialogs.Messages().size(), 1u);
  EXPECT_EQ(g.dialogs.Messages()[0], "没找到Flash贺卡制作部件，请重新安装完整版的《Lumo贺卡制作》。");
  EXPECT_EQ(g.dialogs.shown[0].icon, platform::MsgIcon::Error);

  std::string script = "#!/bin/sh\nprintf '%s|' \"$@\" > '" + g.dir.HostPath() + "args.txt'\n";
  ASSERT_TRUE(WriteBytes(g.dir.File("lmflashcard"), script));
  ::chmod((g.dir.HostPath() + "lmflashcard").c_str(), 0755);
  g.form.OkClick();
  std::string args;
  for (int i = 0; i < 100 && (args = testing_support::ReadBytes(g.dir.File("args.txt"))).empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(args, "\xE7\xA9\xBA\xE7\x99\xBD\xE6\xA8\xA1\xE6\x9D\xBF|");  // "空白模板" (UTF-8)
  EXPECT_TRUE(g.form.isVisible());  // the gallery stays open
  g.form.hide();
}
