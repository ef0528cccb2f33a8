// The scene editor driven with the mouse and its commands: handles, scene deletion, layers,
// settings boxes, adding scenes through the dialog.
#include "flashwizard/ui/scene_editor.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "flashwizard/ui/color_box.h"
#include "flashwizard/ui/scene_dialogs.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui_fixtures.h"

using namespace flashwizard;
using namespace flashwizard::ui;
using flashui_fixtures::App;
using flashui_fixtures::WriteBmp;

namespace {

struct FlashUiEditor : ::testing::Test {
  FlashUiEditor() {
    App();
    WriteBmp(dir.File("pic.bmp"), 200, 100, platform::Rgb(0, 128, 255));
    editor.resize(1100, 750);
    editor.show();
  }
  void AddScenes(int n) {
    for (int i = 0; i < n; ++i) {
      project.Scenes[project.SceneCount].Name = "场景 " + std::to_string(project.SceneCount + 1);
      ++project.SceneCount;
    }
  }
  int Picture(int scene, int left = 0, int top = 0) {
    int tag = project.AddPicture(dir.File("pic.bmp"), scene);
    project.Objects[tag].Left = left;
    project.Objects[tag].Top = top;
    return tag;
  }
  // Drags a handle by (dx, dy) with the mouse.
  void DragHandle(int handle, int dx, int dy) {
    GrabHandle* h = editor.Handle(handle);
    QPoint start(3, 3);
    QTest::mousePress(h, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, dy)), h->mapToGlobal(QPointF(start + QPoint(dx, dy))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h, &move);
    QTest::mouseRelease(h, Qt::LeftButton, {}, start + QPoint(dx, dy));
  }

  QApplication& app = App();  // before any widget
  testing_support::TempDir dir;
  FlashProject project;
  SceneEditor editor{project};
};

}  // namespace

TEST_F(FlashUiEditor, BottomRightHandleKeepsThePictureAspect) {
  AddScenes(1);
  int tag = Picture(0, 10, 10);
  editor.Reload();
  ASSERT_EQ(editor.SelectedObject(), tag);
  EXPECT_EQ(editor.Handle(3)->pos(), QPoint(206, 106));
  DragHandle(3, 100, 7);
  const TpvFlashImageObj& o = project.Objects[tag];
  EXPECT_EQ(o.Width, 300);
  EXPECT_EQ(o.Height, 150);
  EXPECT_EQ(editor.PictureOf(tag)->geometry(), QRect(10, 10, 300, 150));
  EXPECT_FALSE(editor.RubberBandVisible());
  // The handles follow the new frame.
  EXPECT_EQ(editor.Handle(3)->pos(), QPoint(306, 156));
}

TEST_F(FlashUiEditor, LeftEdgeDraggedPastTheRightEdgeEndsPositive) {
  AddScenes(1);
  int tag = Picture(0, 50, 50);
  editor.Reload();
  DragHandle(8, 300, 0);
  const TpvFlashImageObj& o = project.Objects[tag];
  EXPECT_EQ(o.Left, 250);
  EXPECT_EQ(o.Width, 100);
  EXPECT_EQ(o.Height, 100);
  EXPECT_EQ(editor.PictureOf(tag)->geometry(), QRect(250, 50, 100, 100));
}

TEST_F(FlashUiEditor, DraggingAPictureMovesIt) {
  AddScenes(1);
  int tag = Picture(0, 20, 30);
  editor.Reload();
  QWidget* pic = editor.PictureOf(tag);
  QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(5, 5));
  QMouseEvent move(QEvent::MouseMove, QPointF(45, 25), pic->mapToGlobal(QPointF(45, 25)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(pic, &move);
  QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(45, 25));
  EXPECT_EQ(project.Objects[tag].Left, 60);
  EXPECT_EQ(project.Objects[tag].Top, 50);
  EXPECT_EQ(editor.Handle(1)->pos(), QPoint(56, 46));
}

TEST_F(FlashUiEditor, DeletingSceneTwoOfThreeRenumbersRowsAndObjects) {
  AddScenes(3);
  int a = Picture(1);
  int b = Picture(2);
  int c = Picture(1);
  int d = Picture(0);
  editor.Reload();
  editor.SceneList()->selectRow(1);
  ASSERT_EQ(editor.ObjectList()->count(), 2);
  platform::ScriptedDialogs dialogs;
  dialogs.messageAnswers = {platform::MsgResult::No};
  editor.DeleteScene();  // a scene that holds objects is deleted only when confirmed
  EXPECT_EQ(project.SceneCount, 3);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "场景“场景 2”中有 2 个图片、动画或文字，删除场景会把它们一起删除。确定要删除吗？");
  EXPECT_EQ(dialogs.shown[0].buttons, platform::MsgButtons::YesNo);
  editor.DeleteScene();
  EXPECT_EQ(project.SceneCount, 2);
  EXPECT_TRUE(project.Objects[a].Deleted);
  EXPECT_TRUE(project.Objects[c].Deleted);
  EXPECT_EQ(project.Objects[b].SceneID, 1);
  EXPECT_EQ(project.Objects[d].SceneID, 0);
  EXPECT_EQ(editor.PictureOf(a), nullptr);
  ASSERT_EQ(editor.SceneList()->rowCount(), 2);
  EXPECT_EQ(editor.SceneList()->item(1, 0)->text(), "2");
  EXPECT_EQ(editor.SceneList()->item(1, 1)->text(), platform::ToQString("场景 3"));
  // The row now at the deleted position is selected and shows scene 3's object.
  EXPECT_EQ(editor.SelectedScene(), 1);
  EXPECT_TRUE(editor.PictureOf(b)->isVisible());
  EXPECT_FALSE(editor.PictureOf(d)->isVisible());
  // Deleting the last row selects the first.
  editor.DeleteScene();
  EXPECT_EQ(editor.SelectedScene(), 0);
  EXPECT_EQ(editor.SceneList()->item(0, 0)->text(), "1");
}

TEST_F(FlashUiEditor, DeletingWithoutASelectedSceneSaysSo) {
  platform::ScriptedDialogs dialogs;
  editor.DeleteScene();
  EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"请首先选中要删除的场景。"});
  editor.InsertPicture();
  editor.InsertText();
  EXPECT_EQ(dialogs.Messages().size(), 3u);
  EXPECT_EQ(dialogs.Messages()[2], "请先添加场景！");
}

TEST_F(FlashUiEditor, LayerNineLiesOverEveryOtherObject) {
  AddScenes(2);
  int a = Picture(0);
  int b = Picture(1);
  int c = Picture(0);
  project.Objects[b].LayerID = 8;
  project.Objects[c].LayerID = 5;
  editor.Reload();
  editor.SetSelObj(a);
  editor.LayerMenu()->popup(QPoint(0, 0));  // opening ticks the object's layer
  EXPECT_TRUE(editor.LayerMenu()->actions()[0]->isChecked());
  editor.LayerMenu()->hide();
  editor.LayerMenu()->actions()[9]->trigger();
  EXPECT_EQ(project.Objects[a].LayerID, 9);
  // Stacking: later children lie on top; the picture of layer 9 comes after every other one.
  std::vector<int> order;
  for (QObject* child : editor.Canvas()->children())
    if (auto* pic = qobject_cast<ObjectPicture*>(child)) order.push_back(pic->Tag());
  EXPECT_EQ(order, (std::vector<int>{c, b, a}));
  // Selecting another object brings it up only until the next restack.
  editor.SetSelObj(c);
  editor.Restack();
  order.clear();
  for (QObject* child : editor.Canvas()->children())
    if (auto* pic = qobject_cast<ObjectPicture*>(child)) order.push_back(pic->Tag());
  EXPECT_EQ(order.back(), a);
}

TEST_F(FlashUiEditor, SettingsShowSecondsAndStoreMilliseconds) {
  platform::ScriptedDialogs dialogs;
  AddScenes(1);
  int tag = Picture(0);
  editor.Reload();
  EXPECT_EQ(editor.StartBox()->text(), "0");
  editor.StartBox()->setFocus();
  editor.StartBox()->selectAll();
  QTest::keyClicks(editor.StartBox(), "2.5");
  EXPECT_EQ(project.Objects[tag].StartShowTime, 2500);
  EXPECT_EQ(project.Objects[tag].ShowEffTime, 1500);
  // A box that is not a number reports the error and keeps the record.
  QTest::keyClicks(editor.StartBox(), "x");
  EXPECT_EQ(project.Objects[tag].StartShowTime, 2500);
  ASSERT_FALSE(dialogs.Messages().empty());
  EXPECT_EQ(dialogs.Messages().back(), "'2.5x' is not a valid floating point value");
  // Choosing an appear effect leaves the disappear effect alone.
  int hideBefore = project.Objects[tag].HideEff;
  editor.AppearBox()->setCurrentIndex(3);
  emit editor.AppearBox()->activated(3);
  EXPECT_EQ(project.Objects[tag].ShowEff, 3);
  EXPECT_EQ(project.Objects[tag].HideEff, hideBefore);
  editor.OpacityBox()->setValue(40);
  EXPECT_EQ(project.Objects[tag].AlphaValue, 40);
}

TEST_F(FlashUiEditor, AddSceneThroughTheDialogAndTheLimit) {
  platform::ScriptedDialogs dialogs;
  std::string proposedName;
  editor.execDialog = [&](QDialog& d) {
    auto& form = dynamic_cast<TForm2&>(d);
    proposedName = platform::FromQString(form.NameEdit()->text());
    form.UseColor()->setChecked(true);
    form.Color()->SetSelected(platform::Rgb(0, 0, 255));
    form.DisplayTime()->setText("12.5");
    form.AppearEffect()->setCurrentIndex(26);
    return int(QDialog::Accepted);
  };
  editor.AddScene();
  EXPECT_EQ(proposedName, "场景 1");
  ASSERT_EQ(project.SceneCount, 1);
  EXPECT_EQ(project.Scenes[0].ShowTime, 12500);
  EXPECT_EQ(project.Scenes[0].ShowEff, 26);
  EXPECT_TRUE(project.Scenes[0].UseBackColor);
  EXPECT_EQ(editor.CanvasColor(), platform::Rgb(0, 0, 255));
  EXPECT_EQ(editor.SelectedScene(), 0);
  // A display time that is not a number adds no scene.
  editor.execDialog = [](QDialog& d) {
    dynamic_cast<TForm2&>(d).DisplayTime()->setText("abc");
    return int(QDialog::Accepted);
  };
  EXPECT_THROW(editor.AddScene(), platform::ConvertError);
  EXPECT_EQ(project.SceneCount, 1);
  AddScenes(11);
  editor.AddScene();
  EXPECT_EQ(dialogs.Messages().back(), "您现在最多只能使用 12 个场景。");
  EXPECT_EQ(project.SceneCount, 12);
}

TEST_F(FlashUiEditor, InsertAndDeletePictures) {
  platform::ScriptedDialogs dialogs;
  AddScenes(2);
  editor.Reload();
  dialogs.openAnswers.push_back({dir.File("pic.bmp")});
  dialogs.openAnswers.push_back({dir.File("missing.bmp")});
  editor.InsertPicture();
  ASSERT_EQ(project.LiveObjectCount(), 1);
  EXPECT_EQ(dialogs.shown.back().file.initialDir, platform::paths::ProgramFolder() + "贺卡图片\\");
  EXPECT_EQ(editor.SelectedObject(), 0);
  EXPECT_EQ(editor.ObjectList()->count(), 1);
  editor.InsertPicture();  // unreadable: nothing inserted, the folder is remembered
  EXPECT_EQ(project.LiveObjectCount(), 1);
  EXPECT_EQ(dialogs.Messages(),
            std::vector<std::string>{"载入图片“missing.bmp”失败！可能文件已损坏或格式不正确，请重新选择图片文件。"});
  EXPECT_EQ(editor.lastPictureFolder, dir.Path());
  editor.DeleteSelection();
  EXPECT_EQ(project.LiveObjectCount(), 0);
  EXPECT_EQ(editor.PictureOf(0), nullptr);
  EXPECT_EQ(editor.SelectedObject(), -1);
}
