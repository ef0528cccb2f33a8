#include "maker/shell/ui/card_designer.h"

#include <gtest/gtest.h>

#include <QAction>

#include "maker/document/ui/design_canvas.h"
#include "maker/document/ui/designer.h"
#include "maker/shell/template_gallery.h"
#include "maker/shell/ui/main_window.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "shell_ui_fixture.h"

using namespace cardshell;
using document::ElementKind;

namespace {

struct RealWindow {
  RealWindow() : previous(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
    auto d = std::make_unique<CardDesigner>();
    designer = d.get();
    form = std::make_unique<TForm1>(std::move(d));
  }
  ~RealWindow() {
    form.reset();
    platform::paths::SetProgramFolder(previous);
  }
  QApplication& app = shell_ui_fixture::App();
  std::string previous;
  platform::ScriptedDialogs dialogs;
  CardDesigner* designer;
  std::unique_ptr<TForm1> form;
};

}  // namespace

TEST(CardDesignerInMainWindow, TemplateOpensIntoTheDesignerAndTheCommandsReachIt) {
  RealWindow w;
  EXPECT_EQ(w.form->centralWidget(), w.designer->CanvasWidget());
  EXPECT_FALSE(w.designer->CardWindowShown());
  // With no card, the element commands do nothing.
  w.form->Action("TbLabel")->trigger();
  EXPECT_EQ(w.designer->Document().Count(ElementKind::Label), 0);

  std::string file = TemplateFile("默认贺卡", GalleryPage::Interactive);
  ASSERT_TRUE(platform::files::FileExists(file)) << file;
  w.form->Files().LoadDesign(file);
  EXPECT_TRUE(w.designer->CardWindowShown());
  int labels = w.designer->Document().Count(ElementKind::Label);
  EXPECT_FALSE(w.designer->Document().AllElements().empty());

  w.form->Action("TbLabel")->trigger();
  EXPECT_EQ(w.designer->Document().Count(ElementKind::Label), labels + 1);
  int captions = w.designer->Document().Count(ElementKind::Scl);
  w.form->Action("InsertCaption")->trigger();
  EXPECT_EQ(w.designer->Document().Count(ElementKind::Scl), captions + 1);
  ASSERT_TRUE(w.designer->Document().selected.has_value());

  // The selection goes with "删除选定的对象(&D)"; everything goes after Yes to the question.
  document::ElementRef selected = *w.designer->Document().selected;
  // The designer deletes an element only while its card window has the keyboard focus.
  w.form->show();
  w.form->activateWindow();
  w.designer->Inner().Canvas()->Panel()->setFocus();
  QApplication::processEvents();
  w.form->Action("EditDeleteSelected")->trigger();
  EXPECT_EQ(w.designer->Document().FindControl(selected), nullptr);
  w.dialogs.messageAnswers = {platform::MsgResult::No, platform::MsgResult::Yes};
  w.form->Action("EditDeleteAll")->trigger();
  EXPECT_FALSE(w.designer->Document().AllElements().empty());
  w.form->Action("EditDeleteAll")->trigger();
  EXPECT_TRUE(w.designer->Document().AllElements().empty());
  EXPECT_EQ(w.dialogs.Messages(), (std::vector<std::string>{"确实要删除所有对象吗？", "确实要删除所有对象吗？"}));
  EXPECT_TRUE(w.designer->CardWindowShown());
}

TEST(CardDesignerInMainWindow, ANewCardTakesTheDialogsValuesAndTheClockIsTheDesigners) {
  RealWindow w;
  NewCardSettings s;
  s.widthText = "333";
  s.heightText = "222";
  s.color = platform::Rgb(200, 10, 10);
  w.designer->CreateNewCard(s);
  EXPECT_TRUE(w.designer->CardWindowShown());
  EXPECT_EQ(w.designer->Document().window.width, 333);
  EXPECT_EQ(w.designer->Document().window.height, 222);
  EXPECT_EQ(w.designer->Document().window.bkColor, platform::Rgb(200, 10, 10));
  EXPECT_EQ(w.designer->Document().selector, (std::vector<std::string>{"贺卡窗口"}));
  std::array<QString, 3> clock = designer::Designer::ClockTexts();
  EXPECT_EQ(w.designer->ClockText(2), platform::FromQString(clock[1]));  // the weekday
  EXPECT_EQ(w.designer->ClockText(4), "");
}
