#include "maker/shell/ui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include "maker/document/design_file.h"
#include "maker/shell/template_gallery.h"
#include "maker/shell/ui/template_gallery_window.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "shell_ui_fixture.h"
#include "support/temp_dir.h"

using namespace cardshell;
using platform::FromQString;
using platform::MsgResult;
using shell_ui_fixture::FakeDesigner;

namespace {

struct Window {
  Window() {
    shell_ui_fixture::App();
    auto d = std::make_unique<FakeDesigner>();
    designer = d.get();
    form = std::make_unique<TForm1>(std::move(d));
  }
  FakeDesigner* designer;
  std::unique_ptr<TForm1> form;
};

std::vector<std::string> MenuCaptions(QMenu* menu, bool visibleOnly) {
  std::vector<std::string> out;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || (visibleOnly && !a->isVisible())) continue;
    out.push_back(FromQString(a->text()));
  }
  return out;
}

QMenu* TopMenu(TForm1& form, const char* caption) {
  for (QAction* a : form.menuBar()->actions()) {
    if (FromQString(a->text()) == caption) return a->menu();
  }
  return nullptr;
}

}  // namespace

TEST(MainWindow, MenusHoldEveryCaptionWithTheHiddenItemsHidden) {
  Window w;
  EXPECT_EQ(FromQString(w.form->windowTitle()), "Lumo贺卡制作 7.0 标准版");
  EXPECT_GE(w.form->minimumWidth(), 400);
  EXPECT_GE(w.form->minimumHeight(), 300);
  std::vector<std::string> tops;
  for (QAction* a : w.form->menuBar()->actions()) tops.push_back(FromQString(a->text()));
  EXPECT_EQ(tops, (std::vector<std::string>{"文件(&F)", "编辑(&E)", "贺卡(&C)", "插入(&I)", "视图(&V)", "帮助(&H)"}));
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "文件(&F)"), true),
            (std::vector<std::string>{"新建(&N)...", "打开(&O)...", "关闭(&C)", "保存(&S)", "另存为(&A)...",
                                      "保存为贺卡模板(&T)", "生成贺卡文件(&M)", "退出(&E)"}));
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "编辑(&E)"), true),
            (std::vector<std::string>{"删除全部对象(&A)", "删除选定的对象(&D)"}));
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "编辑(&E)"), false).size(), 5u);  // cut, copy, paste hidden
  EXPECT_EQ(w.form->Action("EditDeleteAll")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "贺卡(&C)"), true),
            (std::vector<std::string>{"保存为贺卡模板(&T)", "预览贺卡(&P)", "生成贺卡文件(&M)", "贺卡属性(&I)"}));
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "插入(&I)"), true),
            (std::vector<std::string>{"文本框(&T)", "浮动按钮(&S)", "图片(&P)...", "GIF动画(&G)...", "声音(&W)...",
                                      "Flash电影(&F)...", "滚动字幕(&C)", "图像展示框(&I)"}));
  EXPECT_FALSE(w.form->Action("InsertVideo")->isVisible());
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "视图(&V)"), true),
            (std::vector<std::string>{"快捷工具栏(&T)", "控件工具箱(&B)", "对象属性/事件窗口", "状态栏(&S)"}));
  for (QAction* a : TopMenu(*w.form, "视图(&V)")->actions()) {
    EXPECT_TRUE(a->isCheckable());
    EXPECT_TRUE(a->isChecked());
  }
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "帮助(&H)"), true),
            (std::vector<std::string>{"目录和索引(&C)", "技术支持信箱(&E)", "Pavo软件官方网站(&S)",
                                      "Pavo软件最新公告(&B)", "关于(&A)..."}));
  EXPECT_EQ(MenuCaptions(TopMenu(*w.form, "帮助(&H)"), false).size(), 8u);
}

TEST(MainWindow, ToolbarsCarryTheirHintsAndTheSaveButtonOnlyOpensItsMenu) {
  Window w;
  std::vector<std::string> hints;
  for (QAction* a : w.form->QuickToolbar()->actions()) {
    if (a->isSeparator() || !a->isVisible()) continue;
    bool widget = qobject_cast<QWidgetAction*>(a) != nullptr;
    hints.push_back(FromQString(widget ? w.form->QuickToolbar()->widgetForAction(a)->toolTip() : a->toolTip()));
  }
  EXPECT_EQ(hints, (std::vector<std::string>{"新建贺卡", "打开贺卡设计方案", "保存贺卡设计方案", "预览贺卡",
                                             "生成贺卡文件", "帮助", "主页", "Pavo软件最新公告"}));
  EXPECT_FALSE(w.form->Action("TbSend")->isVisible());
  std::vector<std::string> toolbox;
  for (QAction* a : w.form->Toolbox()->actions()) {
    if (a->isVisible()) toolbox.push_back(FromQString(a->toolTip()));
  }
  EXPECT_EQ(toolbox, (std::vector<std::string>{"插入文本框", "插入按钮", "插入图片", "插入GIF动画", "插入声音",
                                               "插入Flash电影", "插入滚动字幕", "插入图像展示框"}));
  EXPECT_EQ(FromQString(w.form->QuickToolbar()->windowTitle()), "工具栏");
  EXPECT_EQ(FromQString(w.form->Toolbox()->windowTitle()), "控件工具箱");
  EXPECT_EQ(w.form->SaveToolButton()->popupMode(), QToolButton::InstantPopup);
  std::vector<std::string> saveMenu = MenuCaptions(w.form->SaveToolButton()->menu(), true);
  EXPECT_EQ(saveMenu, (std::vector<std::string>{"保存贺卡设计方案...", "生成贺卡文件..."}));

  // Toolbox buttons and insert items reach the designer.
  w.form->Action("TbCaption")->trigger();
  w.form->Action("InsertPicsBox")->trigger();
  EXPECT_EQ(w.designer->calls, (std::vector<std::string>{"insert 滚动字幕", "insert 图像展示框"}));
}

// The commands' rules are the file commands' own tests; here, the menu and toolbar actions
// reach them: Save (asking for a file the first time), New (the gallery) and Close.
TEST(MainWindow, FileActionsReachTheirCommands) {
  Window w;
  testing_support::TempDir dir;
  platform::ScriptedDialogs dialogs;
  TForm2 gallery(w.form.get());
  w.form->SetGallery(&gallery);
  EXPECT_TRUE(shell_ui_fixture::WhenModalShows<TForm2>([&] { w.form->Action("FileNew")->trigger(); },
                                                         [](TForm2* g) { g->reject(); }));
  EXPECT_TRUE(dialogs.shown.empty());  // no card open: no question

  w.designer->shown = true;
  document::CreatelmTxt(w.designer->doc);
  const std::string file = dir.File("第一张.lmcard2");
  dialogs.saveAnswers = {file};
  w.form->Action("FileSave")->trigger();
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown[0].kind, "save");
  EXPECT_EQ(w.form->Files().CurrentDesignFile(), file);
  dialogs.shown.clear();
  w.form->Action("TbSaveMenuSave")->trigger();  // in place now: only the message
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, "message");

  dialogs.messageAnswers = {MsgResult::Yes};
  w.form->Action("FileClose")->trigger();
  EXPECT_EQ(dialogs.shown.back().text, "确实要关闭文件吗？");
  EXPECT_TRUE(w.designer->doc.AllElements().empty());
  EXPECT_EQ(w.designer->calls.back(), "replaced");

  dialogs.messageAnswers = {MsgResult::No};
  EXPECT_TRUE(shell_ui_fixture::WhenModalShows<TForm2>([&] { w.form->Action("TbNew")->trigger(); },
                                                         [](TForm2* g) { g->reject(); }));
  EXPECT_EQ(dialogs.shown.back().text, "是否在新建贺卡前保存当前设计方案？");
}

TEST(MainWindow, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
  Window w;
  platform::ScriptedDialogs dialogs;
  w.designer->shown = true;
  w.form->show();
  document::CreatelmTxt(w.designer->doc);
  dialogs.messageAnswers = {MsgResult::Cancel};
  EXPECT_FALSE(w.form->close());
  EXPECT_TRUE(w.form->isVisible());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kSaveBeforeExitQuestion);
  dialogs.messageAnswers = {MsgResult::No};
  EXPECT_TRUE(w.form->close());
  EXPECT_FALSE(w.form->isVisible());
}

TEST(MainWindow, DockingKeepsThePropertiesWindowLeftAndTheToolbarsOnTop) {
  Window w;
  w.form->resize(900, 600);
  w.form->show();
  QTest::qWait(20);
  QDockWidget* panel = w.form->PropertiesWindow();
  EXPECT_EQ(w.form->dockWidgetArea(panel), Qt::LeftDockWidgetArea);
  EXPECT_EQ(w.form->LeftPanelWidth(), kLeftPanelWidth);
  EXPECT_EQ(w.form->toolBarArea(w.form->QuickToolbar()), Qt::TopToolBarArea);
  EXPECT_EQ(w.form->toolBarArea(w.form->Toolbox()), Qt::TopToolBarArea);
  // Only their own places take them.
  EXPECT_FALSE(w.form->QuickToolbar()->isAreaAllowed(Qt::LeftToolBarArea));
  EXPECT_FALSE(panel->isAreaAllowed(Qt::TopDockWidgetArea));

  // Floating, it leaves the panel at width 0 and is titled "属性/事件窗口".
  panel->setFloating(true);
  QTest::qWait(20);
  EXPECT_EQ(w.form->LeftPanelWidth(), 0);
  EXPECT_EQ(FromQString(panel->windowTitle()), "属性/事件窗口");

  // Hidden through the View menu, then shown again: docked into the left panel, 217 wide.
  w.form->Action("ViewProperties")->trigger();
  EXPECT_FALSE(panel->isVisible());
  w.form->UpdateViewChecks();
  EXPECT_FALSE(w.form->Action("ViewProperties")->isChecked());
  panel->setFloating(false);
  w.form->TogglePropertiesWindow(true);
  QTest::qWait(20);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(w.form->LeftPanelWidth(), kLeftPanelWidth);

  // The other View items follow the windows' own visibility when the menu opens.
  w.form->QuickToolbar()->hide();
  w.form->UpdateViewChecks();
  EXPECT_FALSE(w.form->Action("ViewToolbar")->isChecked());
  EXPECT_TRUE(w.form->Action("ViewToolbox")->isChecked());
  w.form->Action("ViewStatusBar")->trigger();
  EXPECT_FALSE(w.form->statusBar()->isVisible());
}

TEST(MainWindow, StatusBarShowsReadyAndTheDesignersClock) {
  Window w;
  EXPECT_EQ(w.form->StatusText(0), "就绪");
  EXPECT_EQ(w.form->StatusText(1), "clock1");
  EXPECT_EQ(w.form->StatusText(2), "clock2");
  EXPECT_EQ(w.form->StatusText(3), "clock3");
  w.designer->statusText("正在编译...");
  EXPECT_EQ(w.form->StatusText(0), "正在编译...");
}
