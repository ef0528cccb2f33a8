#pragma once
// The wizard's second page: the scene list, the objects of the selected scene with their
// settings, and the scene canvas where pictures are selected, moved and resized with eight
// grab handles.
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "flashwizard/flash_project.h"
#include "flashwizard/ui/wizard_rules.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableWidget;

namespace flashwizard::ui {

class SceneEditor;

// An object's picture control on the canvas; its tag is the object's table index.
class ObjectPicture : public QWidget {
  Q_OBJECT
 public:
  ObjectPicture(SceneEditor* editor, int tag, QWidget* canvas);
  int Tag() const { return tag_; }
  bool LoadFrom(const std::string& file);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  SceneEditor* editor_;
  int tag_;
  QPixmap pixmap_;
};

// One of the eight 8 x 8 grab handles (tag 1..8).
class GrabHandle : public QWidget {
  Q_OBJECT
 public:
  GrabHandle(SceneEditor* editor, int tag, QWidget* canvas);
  int Tag() const { return tag_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  SceneEditor* editor_;
  int tag_;
};

class SceneEditor : public QWidget {
  Q_OBJECT
 public:
  SceneEditor(FlashProject& project, QWidget* parent = nullptr);

  // What the page needs from the wizard: the page-one background colour, the temporary file
  // list, and how a modal dialog is run (tests answer dialogs through it).
  std::function<platform::Color()> pageOneColor;
  std::vector<std::string>* tempFiles = nullptr;
  std::function<int(QDialog&)> execDialog;
  std::string lastPictureFolder;

  // Recreates the scene rows and the picture controls from the tables (after a template load).
  void Reload();
  void SetCanvasSize(int width, int height);
  void SetCanvasColor(platform::Color color);
  platform::Color CanvasColor() const { return canvasColor_; }

  // Commands.
  void SelectScene(int row);
  int SelectedScene() const;
  void SetSelObj(int tag);  // -1: none
  int SelectedObject() const { return selected_; }
  void AddScene();
  void DeleteScene();
  void InsertPicture();
  void InsertText();
  void DeleteSelection();
  void SetLayer(int layer);
  void Restack();

  // Mouse work from the picture controls and the handles (canvas coordinates).
  void PicturePressed(ObjectPicture* picture, QPoint pos, bool right);
  void PictureMoved(ObjectPicture* picture, QPoint pos);
  void PictureReleased(ObjectPicture* picture);
  void HandlePressed(GrabHandle* handle, QPoint pos);
  void HandleMoved(GrabHandle* handle, QPoint pos);
  void HandleReleased(GrabHandle* handle);

  // Widgets for tests and the wizard.
  QWidget* Canvas() const { return canvas_; }
  QTableWidget* SceneList() const { return scenes_; }
  QListWidget* ObjectList() const { return objects_; }
  ObjectPicture* PictureOf(int tag) const;
  GrabHandle* Handle(int tag) const { return handles_[tag - 1]; }
  QMenu* LayerMenu() const { return layerMenu_; }
  QLineEdit* StartBox() const { return startTime_; }
  QComboBox* AppearBox() const { return showEff_; }
  QComboBox* DisappearBox() const { return hideEff_; }
  QSpinBox* OpacityBox() const { return opacity_; }
  bool RubberBandVisible() const;

 private:
  friend class RubberBand;
  void BuildLeftPanel(QWidget* panel);
  ObjectPicture* CreatePicture(int tag);
  void FreePicture(int tag);
  void PlacePicture(int tag);
  void FillSettings();
  void StoreTimes();
  void AppendSceneRow(int number, const std::string& name);
  void RenumberRows();
  Box ObjectBox(int tag) const;
  void SetObjectBox(int tag, const Box& box);

  FlashProject& project_;
  QTableWidget* scenes_;
  QListWidget* objects_;
  std::vector<int> listToIndex_;
  QScrollArea* scroll_;
  QWidget* canvas_;
  QWidget* rubber_;
  std::map<int, ObjectPicture*> pictures_;
  std::array<GrabHandle*, 8> handles_{};
  QMenu* layerMenu_;
  QLineEdit *startTime_, *hideTime_, *showEffTime_, *hideEffTime_;
  QComboBox *showEff_, *hideEff_;
  QCheckBox *alphaChange_, *layerMode_;
  QSpinBox* opacity_;
  platform::Color canvasColor_ = platform::kClWhite;
  int selected_ = -1;
  bool filling_ = false;
  // Drag state.
  bool draggingPicture_ = false, draggingHandle_ = false, moving_ = false;
  QPoint pressPoint_;
  Box frame_;
};

}  // namespace flashwizard::ui
