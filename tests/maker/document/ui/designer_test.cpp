#include "maker/document/ui/designer.h"

#include <gtest/gtest.h>

#include "designer_fixture.h"
#include "maker/document/design_file.h"
#include "maker/document/designer_rules.h"
#include "maker/document/element_lifecycle.h"
#include "maker/packaging/side_files.h"
#include "platform/qt/qt_text.h"

using namespace document;
using designer_test::DesignerTest;

namespace {

struct StartedStub {
  std::string line;
  bool captionsRunning = true;
};

}  // namespace

TEST_F(DesignerTest, PreviewBuildsTheTestCardAndStartsItsStub) {
  testing_support::WriteBytes(dir.File("default.txt"), packaging::HeaderFileBytes());
  testing_support::WriteBytes(dir.File("TestCard.exe"), "old");
  std::vector<StartedStub> started;
  designer->SetProgramStarter([&](const std::string& line) {
    started.push_back({line, designer->CaptionTimersRunning()});
    return true;
  });
  std::vector<QString> status;
  QObject::connect(designer.get(), &designer::Designer::statusText, [&](const QString& s) { status.push_back(s); });
  ASSERT_TRUE(designer->InsertElement(ElementKind::Scl));

  designer->Preview();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].line, PreviewCommandLine(dir.Path(), "exe2.exe", "TestCard.crd2"));
  EXPECT_FALSE(started[0].captionsRunning);  // timers stop around the build
  EXPECT_TRUE(designer->CaptionTimersRunning());
  EXPECT_TRUE(platform::files::FileExists(dir.File("TestCard.crd2")));
  EXPECT_FALSE(platform::files::FileExists(dir.File("TestCard.exe")));  // old test cards go first
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(platform::FromQString(status.back()), "就绪");

  // A Flash movie switches the preview to the .crd3 card and exe3.exe; the old .crd2 goes.
  dialogs.openAnswers.push_back({dir.File("movie.swf")});
  testing_support::WriteBytes(dir.File("movie.swf"), "FWS");
  ASSERT_TRUE(designer->InsertElement(ElementKind::Flash));
  designer->Preview();
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1].line, PreviewCommandLine(dir.Path(), "exe3.exe", "TestCard.crd3"));
  EXPECT_TRUE(platform::files::FileExists(dir.File("TestCard.crd3")));
  EXPECT_FALSE(platform::files::FileExists(dir.File("TestCard.crd2")));
}

TEST_F(DesignerTest, PreviewWithoutACardFileStartsNothing) {
  // No default.txt: the build fails (and says so); no stub is started, captions run again.
  std::vector<std::string> started;
  designer->SetProgramStarter([&](const std::string& line) {
    started.push_back(line);
    return true;
  });
  ASSERT_TRUE(designer->InsertElement(ElementKind::Scl));
  designer->Preview();
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(dialogs.Messages().empty());
  EXPECT_TRUE(designer->CaptionTimersRunning());
  // Nothing happens while no card is open.
  designer->SetCardOpen(false);
  size_t shown = dialogs.shown.size();
  designer->Preview();
  EXPECT_EQ(dialogs.shown.size(), shown);
}

TEST_F(DesignerTest, ReloadAfterOpenRebuildsTheCanvasFromADesignFile) {
  std::string gif = designer_test::WriteGif(dir.File("g.gif"), 16, 16);
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  dialogs.openAnswers.push_back({gif});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Gif));
  ASSERT_TRUE(designer->InsertElement(ElementKind::Scl));
  designer->SetElementRect({ElementKind::Button, 1}, {30, 40, 70, 25});
  ASSERT_TRUE(lmsavefile(Doc(), dir.File("card.lmcard2")));

  designer->ClearDesign();
  EXPECT_TRUE(Canvas().DrawingOrder().empty());
  EXPECT_EQ(Props().Selector()->count(), 1);
  Loadfileset(Doc(), dir.File("card.lmcard2"));
  designer->ReloadAfterOpen();
  EXPECT_TRUE(designer->CardOpen());
  // Restacked by Ind: label, button, GIF, caption from bottom to top.
  EXPECT_EQ(Canvas().DrawingOrder(), (std::vector<ElementRef>{{ElementKind::Label, 1},
                                                              {ElementKind::Button, 1},
                                                              {ElementKind::Gif, 1},
                                                              {ElementKind::Scl, 1}}));
  EXPECT_EQ(View({ElementKind::Button, 1})->geometry(), QRect(30, 40, 70, 25));
  EXPECT_EQ(View({ElementKind::Label, 1})->toolTip(), platform::ToQString("文本框1"));
  EXPECT_EQ(Props().Selector()->count(), 5);
  EXPECT_FALSE(Doc().selected.has_value());
  EXPECT_TRUE(View({ElementKind::Scl, 1})->Caption()->IsRunning());
}

TEST_F(DesignerTest, ClockTextsHaveTheirThreePanels) {
  std::array<QString, 3> t = designer::Designer::ClockTexts();
  EXPECT_EQ(t[0].size(), 8);
  EXPECT_EQ(t[0][2], ':');
  EXPECT_TRUE(platform::FromQString(t[1]).starts_with("星期"));
  EXPECT_TRUE(platform::FromQString(t[2]).ends_with("日"));
}

TEST_F(DesignerTest, ShippedTemplatesOpenOnTheCanvas) {
  // The shipped templates refer to the program folder's own media.
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  platform::profile::ClearCache();
  for (const char* name : {"心心相印", "新年烟花", "新春大吉"}) {
    designer->ClearDesign();
    Loadfileset(Doc(), std::string(CARD_PROGRAM_DIR) + "/template/" + name + ".lmcard2");
    designer->ReloadAfterOpen();
    // One control per element, in the document's drawing order, and the card's size.
    std::vector<ElementRef> order = Canvas().DrawingOrder();
    EXPECT_EQ(order, Doc().stacking) << name;
    EXPECT_FALSE(order.empty()) << name;
    EXPECT_EQ(Canvas().Panel()->size(), QSize(Doc().window.width, Doc().window.height)) << name;
    if (Doc().window.bkPic) {
      EXPECT_FALSE(Canvas().Panel()->Background().isNull()) << name;
    }
    if (Doc().window.yxPic) {
      EXPECT_FALSE(Canvas().Panel()->mask().isEmpty()) << name;
    }
    if (std::string(name) == "心心相印") {
      QApplication::processEvents();
      const char* dir = std::getenv("DESIGNER_SHOTS_DIR");
      if (dir && *dir) window.grab().save(QString(dir) + "/designer-template.png");
    }
  }
}

TEST_F(DesignerTest, ANewButtonTakesTheDesignerWindowsFontUnderTheNameCardsUse) {
  QFont f = designer->Canvas()->font();
  f.setFamily("Some Host Family");
  f.setPointSize(14);
  f.setBold(true);
  designer->Canvas()->setFont(f);
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  const platform::FontSpec& font = Doc().buttons.back().control.font;
  EXPECT_EQ(font.size, 14);
  EXPECT_TRUE(font.bold);
  EXPECT_EQ(font.name, "宋体");  // a host family that is none of the card fonts
}
