#include "flashwizard/ui/scene_editor.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "flashwizard/ui/scene_dialogs.h"
#include "flashwizard/ui/text_decoration_dialog.h"
#include "imaging/ui/image_paint_box.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/qt/qt_paint.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace flashwizard::ui {

using platform::FromQString;
using platform::ToQColor;
using platform::ToQString;

// The dotted frame shown while a handle is dragged; it lets the mouse through.
class RubberBand : public QWidget {
 public:
  explicit RubberBand(QWidget* canvas) : QWidget(canvas) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white, 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

// --- picture controls and handles ------------------------------------------------------------

ObjectPicture::ObjectPicture(SceneEditor* editor, int tag, QWidget* canvas)
    : QWidget(canvas), editor_(editor), tag_(tag) {
  setCursor(Qt::SizeAllCursor);
}

bool ObjectPicture::LoadFrom(const std::string& file) {
  try {
    auto bmp = platform::LoadPicture(file);
    if (!bmp) return false;
    pixmap_ = QPixmap::fromImage(imaging::ui::ToQImage(*bmp));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void ObjectPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!pixmap_.isNull()) p.drawPixmap(rect(), pixmap_);
}

void ObjectPicture::mousePressEvent(QMouseEvent* e) {
  editor_->PicturePressed(this, mapToParent(e->position().toPoint()), e->button() == Qt::RightButton);
}
void ObjectPicture::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) editor_->PictureMoved(this, mapToParent(e->position().toPoint()));
}
void ObjectPicture::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) editor_->PictureReleased(this);
}

GrabHandle::GrabHandle(SceneEditor* editor, int tag, QWidget* canvas) : QWidget(canvas), editor_(editor), tag_(tag) {
  setFixedSize(kHandleSize, kHandleSize);
  static const Qt::CursorShape kCursors[] = {Qt::SizeFDiagCursor, Qt::SizeBDiagCursor, Qt::SizeFDiagCursor,
                                             Qt::SizeBDiagCursor, Qt::SizeVerCursor,   Qt::SizeHorCursor,
                                             Qt::SizeVerCursor,   Qt::SizeHorCursor};
  setCursor(kCursors[tag - 1]);
  hide();
}

void GrabHandle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(QPen(Qt::black, 2));
  p.drawRect(rect().adjusted(1, 1, -1, -1));
}

void GrabHandle::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) editor_->HandlePressed(this, mapToParent(e->position().toPoint()));
}
void GrabHandle::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) editor_->HandleMoved(this, mapToParent(e->position().toPoint()));
}
void GrabHandle::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) editor_->HandleReleased(this);
}

// --- the page --------------------------------------------------------------------------------

SceneEditor::SceneEditor(FlashProject& project, QWidget* parent) : QWidget(parent), project_(project) {
  setObjectName("SceneEditor");
  execDialog = [](QDialog& d) { return d.exec(); };
  lastPictureFolder = platform::paths::ProgramFolder() + "贺卡图片\\";
  auto* h = new QHBoxLayout(this);
  auto* left = new QWidget(this);
  left->setFixedWidth(250);
  BuildLeftPanel(left);
  h->addWidget(left);
  scroll_ = new QScrollArea(this);
  canvas_ = new QWidget;
  canvas_->setObjectName("SceneCanvas");
  canvas_->setAutoFillBackground(true);
  scroll_->setWidget(canvas_);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  h->addWidget(scroll_, 1);
  for (int t = 1; t <= 8; ++t) handles_[t - 1] = new GrabHandle(this, t, canvas_);
  rubber_ = new RubberBand(canvas_);
  SetCanvasSize(project_.Settings.Width, project_.Settings.Height);
  SetCanvasColor(project_.Settings.BackCor);

  layerMenu_ = new QMenu(ToQString("设置层号"), this);
  auto* group = new QActionGroup(layerMenu_);
  for (int i = 0; i <= 9; ++i) {
    QAction* a = layerMenu_->addAction(QString::number(i));
    a->setCheckable(true);
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { SetLayer(i); });
  }
  QAction* exact = layerMenu_->addAction(ToQString("设置精确的尺寸值..."));
  exact->setVisible(false);
  connect(layerMenu_, &QMenu::aboutToShow, this, [this] {
    if (selected_ < 0) return;
    int layer = project_.Objects[selected_].LayerID;
    if (layer >= 0 && layer <= 9) layerMenu_->actions()[layer]->setChecked(true);
  });
}

void SceneEditor::BuildLeftPanel(QWidget* panel) {
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(0, 0, 0, 0);
  scenes_ = new QTableWidget(0, 2, panel);
  scenes_->setHorizontalHeaderLabels({"ID", ToQString("场景列表")});
  scenes_->verticalHeader()->hide();
  scenes_->setSelectionBehavior(QAbstractItemView::SelectRows);
  scenes_->setSelectionMode(QAbstractItemView::SingleSelection);
  scenes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  scenes_->setColumnWidth(0, 30);
  scenes_->horizontalHeader()->setStretchLastSection(true);
  scenes_->setMinimumHeight(120);
  v->addWidget(scenes_, 1);
  connect(scenes_, &QTableWidget::itemSelectionChanged, this, [this] {
    if (!filling_) SelectScene(SelectedScene());
  });

  auto* row = new QHBoxLayout;
  auto* add = new QPushButton(ToQString("添加场景(&A)"), panel);
  auto* del = new QPushButton(ToQString("删除场景(&R)"), panel);
  row->addWidget(add);
  row->addWidget(del);
  v->addLayout(row);
  for (const char* hidden : {"上移场景(&U)", "下移场景(&N)"}) (new QPushButton(ToQString(hidden), panel))->hide();
  connect(add, &QPushButton::clicked, this, &SceneEditor::AddScene);
  connect(del, &QPushButton::clicked, this, &SceneEditor::DeleteScene);

  auto* pic = new QPushButton(ToQString("插入图片或动画(&P)..."), panel);
  auto* txt = new QPushButton(ToQString("插入文字(&T)..."), panel);
  auto* rem = new QPushButton(ToQString("删除选中内容(&D)"), panel);
  v->addWidget(pic);
  v->addWidget(txt);
  v->addWidget(rem);
  connect(pic, &QPushButton::clicked, this, &SceneEditor::InsertPicture);
  connect(txt, &QPushButton::clicked, this, &SceneEditor::InsertText);
  connect(rem, &QPushButton::clicked, this, &SceneEditor::DeleteSelection);

  objects_ = new QListWidget(panel);
  objects_->setMinimumHeight(90);
  v->addWidget(objects_, 1);
  connect(objects_, &QListWidget::currentRowChanged, this, [this](int r) {
    if (!filling_ && r >= 0 && r < static_cast<int>(listToIndex_.size())) SetSelObj(listToIndex_[r]);
  });

  auto* g = new QGridLayout;
  auto timeBox = [&](QLineEdit*& box) {
    box = new QLineEdit(panel);
    box->setMaximumWidth(50);
    connect(box, &QLineEdit::textEdited, this, [this] { StoreTimes(); });
  };
  timeBox(startTime_);
  timeBox(hideTime_);
  timeBox(showEffTime_);
  timeBox(hideEffTime_);
  int r = 0;
  g->addWidget(new QLabel(ToQString("进入场景"), panel), r, 0);
  g->addWidget(startTime_, r, 1);
  g->addWidget(new QLabel(ToQString("秒后出现"), panel), r++, 2);
  g->addWidget(hideTime_, r, 1);
  g->addWidget(new QLabel(ToQString("秒后消失"), panel), r++, 2);
  g->addWidget(new QLabel(ToQString("出现效果:"), panel), r, 0);
  showEff_ = new QComboBox(panel);
  for (const std::string& e : ObjectAppearEffects()) showEff_->addItem(ToQString(e));
  g->addWidget(showEff_, r++, 1, 1, 2);
  g->addWidget(new QLabel(ToQString("消失效果:"), panel), r, 0);
  hideEff_ = new QComboBox(panel);
  for (const std::string& e : ObjectDisappearEffects()) hideEff_->addItem(ToQString(e));
  g->addWidget(hideEff_, r++, 1, 1, 2);
  g->addWidget(new QLabel(ToQString("出现效果时长:"), panel), r, 0);
  g->addWidget(showEffTime_, r, 1);
  g->addWidget(new QLabel(ToQString("秒"), panel), r++, 2);
  g->addWidget(new QLabel(ToQString("消失效果时长:"), panel), r, 0);
  g->addWidget(hideEffTime_, r, 1);
  g->addWidget(new QLabel(ToQString("秒"), panel), r++, 2);
  alphaChange_ = new QCheckBox(ToQString("透明渐变"), panel);
  layerMode_ = new QCheckBox(ToQString("滤色混合模式"), panel);
  g->addWidget(alphaChange_, r, 0);
  g->addWidget(layerMode_, r++, 1, 1, 2);
  g->addWidget(new QLabel(ToQString("不透明:"), panel), r, 0);
  opacity_ = new QSpinBox(panel);
  opacity_->setRange(0, 100);
  g->addWidget(opacity_, r++, 1);
  v->addLayout(g);

  connect(showEff_, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    if (selected_ >= 0) project_.Objects[selected_].ShowEff = i;
  });
  connect(hideEff_, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    if (selected_ >= 0) project_.Objects[selected_].HideEff = i;
  });
  connect(alphaChange_, &QCheckBox::clicked, this, [this](bool on) {
    if (selected_ >= 0) project_.Objects[selected_].AlphaChange = on;
  });
  connect(layerMode_, &QCheckBox::clicked, this, [this](bool on) {
    if (selected_ >= 0) project_.Objects[selected_].LayerMode = on ? 1 : 0;
  });
  connect(opacity_, &QSpinBox::valueChanged, this, [this](int value) {
    if (selected_ >= 0 && !opacity_->text().isEmpty()) project_.Objects[selected_].AlphaValue = value;
  });
}

void SceneEditor::StoreTimes() {
  if (selected_ < 0 || filling_) return;
  QLineEdit* boxes[] = {startTime_, hideTime_, showEffTime_, hideEffTime_};
  for (QLineEdit* b : boxes)
    if (b->text().isEmpty()) return;
  try {
    int start = MillisecondsFromText(FromQString(startTime_->text()));
    int hide = MillisecondsFromText(FromQString(hideTime_->text()));
    int showEff = MillisecondsFromText(FromQString(showEffTime_->text()));
    int hideEff = MillisecondsFromText(FromQString(hideEffTime_->text()));
    TpvFlashImageObj& o = project_.Objects[selected_];
    o.StartShowTime = start;
    o.HideTime = hide;
    o.ShowEffTime = showEff;
    o.HideEffTime = hideEff;
  } catch (const platform::Error& e) {
    // The record keeps its values; the error is reported as every uncaught error is.
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
  }
}

void SceneEditor::FillSettings() {
  filling_ = true;
  bool on = selected_ >= 0;
  for (QWidget* w : std::initializer_list<QWidget*>{startTime_, hideTime_, showEffTime_, hideEffTime_, showEff_,
                                                    hideEff_, alphaChange_, layerMode_, opacity_})
    w->setEnabled(on);
  if (on) {
    const TpvFlashImageObj& o = project_.Objects[selected_];
    startTime_->setText(ToQString(SecondsText(o.StartShowTime)));
    hideTime_->setText(ToQString(SecondsText(o.HideTime)));
    showEffTime_->setText(ToQString(SecondsText(o.ShowEffTime)));
    hideEffTime_->setText(ToQString(SecondsText(o.HideEffTime)));
    showEff_->setCurrentIndex(o.ShowEff);
    hideEff_->setCurrentIndex(o.HideEff);
    alphaChange_->setChecked(o.AlphaChange);
    layerMode_->setChecked(o.LayerMode == 1);
    opacity_->setValue(o.AlphaValue);
    for (size_t i = 0; i < listToIndex_.size(); ++i)
      if (listToIndex_[i] == selected_) objects_->setCurrentRow(static_cast<int>(i));
  }
  filling_ = false;
}

// --- scenes ------------------------------------------------------------------------------------

void SceneEditor::Reload() {
  for (auto& [tag, pic] : pictures_) delete pic;
  pictures_.clear();
  selected_ = -1;
  filling_ = true;
  scenes_->setRowCount(0);
  filling_ = false;
  for (int s = 0; s < project_.SceneCount; ++s) AppendSceneRow(s + 1, project_.Scenes[s].Name);
  for (int i = 0; i < project_.ObjectCount; ++i)
    if (!project_.Objects[i].Deleted) CreatePicture(i);
  Restack();
  SetCanvasSize(project_.Settings.Width, project_.Settings.Height);
  if (project_.SceneCount > 0) {
    scenes_->selectRow(0);
    SelectScene(0);
  } else {
    SelectScene(-1);
  }
}

void SceneEditor::SetCanvasSize(int width, int height) {
  canvas_->setFixedSize(std::max(1, width), std::max(1, height));
}

void SceneEditor::SetCanvasColor(platform::Color color) {
  canvasColor_ = color;
  QPalette pal = canvas_->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  canvas_->setPalette(pal);
}

int SceneEditor::SelectedScene() const {
  auto rows = scenes_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void SceneEditor::SelectScene(int row) {
  filling_ = true;
  objects_->clear();
  listToIndex_.clear();
  filling_ = false;
  SetSelObj(-1);
  for (int i = 0; i < project_.ObjectCount; ++i) {
    const TpvFlashImageObj& o = project_.Objects[i];
    if (o.Deleted) continue;
    ObjectPicture* pic = PictureOf(i);
    if (!pic) continue;
    bool shown = row >= 0 && o.SceneID == row;
    pic->setVisible(shown);
    if (shown) {
      filling_ = true;
      objects_->addItem(ToQString(o.Name));
      filling_ = false;
      listToIndex_.push_back(i);
    }
  }
  if (row >= 0 && row < project_.SceneCount && project_.Scenes[row].UseBackColor)
    SetCanvasColor(project_.Scenes[row].BackColor);
  else
    SetCanvasColor(pageOneColor ? pageOneColor() : project_.Settings.BackCor);
  if (!listToIndex_.empty()) SetSelObj(listToIndex_.back());
}

void SceneEditor::AppendSceneRow(int number, const std::string& name) {
  int r = scenes_->rowCount();
  scenes_->insertRow(r);
  scenes_->setItem(r, 0, new QTableWidgetItem(QString::number(number)));
  scenes_->setItem(r, 1, new QTableWidgetItem(ToQString(name)));
}

void SceneEditor::RenumberRows() {
  for (int r = 0; r < scenes_->rowCount(); ++r) scenes_->item(r, 0)->setText(QString::number(r + 1));
}

void SceneEditor::AddScene() {
  if (project_.SceneCount >= FlashProject::kSceneLimit) {
    platform::ShowMessage("您现在最多只能使用 " + std::to_string(FlashProject::kSceneLimit) + " 个场景。",
                          platform::MsgIcon::Warning);
    return;
  }
  TForm2 dialog(this);
  dialog.NameEdit()->setText(ToQString("场景 " + std::to_string(project_.SceneCount + 1)));
  if (execDialog(dialog) != QDialog::Accepted) return;
  TpvFlashScene scene = dialog.ReadScene();  // a bad number stops here, no scene added
  scene.Index = project_.SceneCount;
  project_.Scenes[project_.SceneCount++] = scene;
  SetCanvasColor(scene.UseBackColor ? scene.BackColor
                                    : (pageOneColor ? pageOneColor() : project_.Settings.BackCor));
  filling_ = true;
  AppendSceneRow(project_.SceneCount, scene.Name);
  scenes_->selectRow(project_.SceneCount - 1);
  filling_ = false;
  SelectScene(project_.SceneCount - 1);
}

void SceneEditor::DeleteScene() {
  int row = SelectedScene();
  if (row < 0) {
    platform::ShowMessage("请首先选中要删除的场景。", platform::MsgIcon::Error);
    return;
  }
  int held = 0;
  for (int i = 0; i < project_.ObjectCount; ++i)
    held += !project_.Objects[i].Deleted && project_.Objects[i].SceneID == row;
  if (held > 0 &&
      platform::ShowMessage("场景“" + project_.Scenes[row].Name + "”中有 " + std::to_string(held) +
                                " 个图片、动画或文字，删除场景会把它们一起删除。确定要删除吗？",
                            platform::MsgIcon::Question, platform::MsgButtons::YesNo) != platform::MsgResult::Yes)
    return;
  SetSelObj(-1);
  int next = ui::DeleteScene(project_, row);
  std::vector<int> gone;
  for (auto& [tag, pic] : pictures_)
    if (project_.Objects[tag].Deleted || tag >= project_.ObjectCount) gone.push_back(tag);
  for (int tag : gone) FreePicture(tag);
  filling_ = true;
  scenes_->removeRow(row);
  RenumberRows();
  scenes_->clearSelection();
  if (next >= 0) scenes_->selectRow(next);
  filling_ = false;
  SelectScene(next);
}

// --- objects -----------------------------------------------------------------------------------

ObjectPicture* SceneEditor::PictureOf(int tag) const {
  auto it = pictures_.find(tag);
  return it == pictures_.end() ? nullptr : it->second;
}

ObjectPicture* SceneEditor::CreatePicture(int tag) {
  FreePicture(tag);
  auto* pic = new ObjectPicture(this, tag, canvas_);
  pic->LoadFrom(project_.Objects[tag].File);
  pictures_[tag] = pic;
  PlacePicture(tag);
  pic->show();
  return pic;
}

void SceneEditor::FreePicture(int tag) {
  auto it = pictures_.find(tag);
  if (it == pictures_.end()) return;
  delete it->second;
  pictures_.erase(it);
  if (selected_ == tag) selected_ = -1;
}

Box SceneEditor::ObjectBox(int tag) const {
  const TpvFlashImageObj& o = project_.Objects[tag];
  return Box{o.Left, o.Top, o.Width, o.Height};
}

void SceneEditor::SetObjectBox(int tag, const Box& b) {
  TpvFlashImageObj& o = project_.Objects[tag];
  o.Left = b.left;
  o.Top = b.top;
  o.Width = b.width;
  o.Height = b.height;
  PlacePicture(tag);
}

void SceneEditor::PlacePicture(int tag) {
  ObjectPicture* pic = PictureOf(tag);
  if (!pic) return;
  Box b = NormalizeBox(ObjectBox(tag));
  pic->setGeometry(b.left, b.top, std::max(1, b.width), std::max(1, b.height));
}

void SceneEditor::SetSelObj(int tag) {
  ObjectPicture* pic = tag >= 0 ? PictureOf(tag) : nullptr;
  selected_ = pic ? tag : -1;
  if (!pic) {
    for (GrabHandle* h : handles_) h->hide();
    FillSettings();
    return;
  }
  pic->raise();
  Box b = ObjectBox(tag);
  for (GrabHandle* h : handles_) {
    int x = 0, y = 0;
    HandleCorner(b, h->Tag(), x, y);
    h->move(x, y);
    h->raise();
    h->show();
  }
  FillSettings();
}

void SceneEditor::Restack() {
  for (int tag : StackingOrder(project_))
    if (ObjectPicture* pic = PictureOf(tag)) pic->raise();
  for (GrabHandle* h : handles_) h->raise();
  rubber_->raise();
}

void SceneEditor::SetLayer(int layer) {
  if (selected_ < 0) return;
  project_.Objects[selected_].LayerID = layer;
  Restack();
}

void SceneEditor::InsertPicture() {
  if (project_.SceneCount == 0) {
    platform::ShowMessage("请先添加场景！", platform::MsgIcon::Error);
    return;
  }
  if (SelectedScene() < 0) {
    scenes_->selectRow(0);
    SelectScene(0);
  }
  platform::FileDialogOptions o;
  o.filter = "图片或动画文件 (*.bmp;*.gif;*.jpg;*.jpeg)|*.bmp;*.gif;*.jpg;*.jpeg";
  o.initialDir = lastPictureFolder;
  auto files = platform::CurrentDialogs().OpenFile(o);
  if (files.empty()) return;
  lastPictureFolder = platform::paths::ExtractFilePath(files.front());
  int scene = SelectedScene();
  const bool room = project_.HasFreeSlot();  // a full table has said so itself
  int tag = project_.AddPicture(files.front(), scene);
  if (tag < 0) {
    if (room)
      platform::ShowMessage("载入图片“" + platform::paths::ExtractFileName(files.front()) +
                                "”失败！可能文件已损坏或格式不正确，请重新选择图片文件。",
                            platform::MsgIcon::Error);
    return;
  }
  CreatePicture(tag);
  Restack();
  SelectScene(scene);
  SetSelObj(tag);
}

void SceneEditor::InsertText() {
  if (project_.SceneCount == 0) {
    platform::ShowMessage("请先添加场景！", platform::MsgIcon::Error);
    return;
  }
  if (SelectedScene() < 0) {
    scenes_->selectRow(0);
    SelectScene(0);
  }
  TForm41 dialog(this);
  if (execDialog(dialog) != QDialog::Accepted || dialog.FileName().empty()) return;
  const std::string& file = dialog.FileName();
  if (tempFiles && std::find(tempFiles->begin(), tempFiles->end(), file) == tempFiles->end())
    tempFiles->push_back(file);
  int scene = SelectedScene();
  int tag = project_.AddPicture(file, scene);
  if (tag < 0) return;
  project_.Objects[tag].IsText = true;
  CreatePicture(tag);
  Restack();
  SelectScene(scene);
  SetSelObj(tag);
}

void SceneEditor::DeleteSelection() {
  int row = SelectedScene();
  if (row < 0) return;
  if (selected_ >= 0) {
    int tag = selected_;
    SetSelObj(-1);
    project_.DelObj(tag);
    FreePicture(tag);
  }
  SelectScene(row);
}

// --- mouse ---------------------------------------------------------------------------------------

void SceneEditor::PicturePressed(ObjectPicture* picture, QPoint pos, bool right) {
  SetSelObj(picture->Tag());
  if (right) {
    layerMenu_->popup(picture->mapToGlobal(picture->mapFromParent(pos)));
    return;
  }
  draggingPicture_ = true;
  pressPoint_ = pos;
}

void SceneEditor::PictureMoved(ObjectPicture* picture, QPoint pos) {
  if (!draggingPicture_ || picture->Tag() != selected_) return;
  Box b = ObjectBox(selected_);
  b.left += pos.x() - pressPoint_.x();
  b.top += pos.y() - pressPoint_.y();
  pressPoint_ = pos;
  SetObjectBox(selected_, b);
}

void SceneEditor::PictureReleased(ObjectPicture* picture) {
  draggingPicture_ = false;
  SetSelObj(picture->Tag());
}

void SceneEditor::HandlePressed(GrabHandle* handle, QPoint pos) {
  if (selected_ < 0) return;
  draggingHandle_ = true;
  // The pointer's offset inside the handle, so that the handle's corner follows the pointer.
  pressPoint_ = pos - handle->pos();
}

void SceneEditor::HandleMoved(GrabHandle* handle, QPoint pos) {
  if (!draggingHandle_ || moving_ || selected_ < 0) return;
  moving_ = true;
  QPoint corner = pos - pressPoint_;
  handle->move(corner);
  const int half = kHandleSize / 2;
  const TpvFlashImageObj& o = project_.Objects[selected_];
  frame_ = ResizeByHandle(ObjectBox(selected_), handle->Tag(), corner.x() + half, corner.y() + half,
                          o.PictureWidth, o.PictureHeight);
  Box shown = NormalizeBox(frame_);
  rubber_->setGeometry(shown.left, shown.top, std::max(1, shown.width), std::max(1, shown.height));
  rubber_->raise();
  rubber_->show();
  SetObjectBox(selected_, frame_);
  moving_ = false;
}

void SceneEditor::HandleReleased(GrabHandle*) {
  if (!draggingHandle_) return;
  draggingHandle_ = false;
  rubber_->hide();
  if (selected_ < 0) return;
  SetObjectBox(selected_, NormalizeBox(ObjectBox(selected_)));
  SetSelObj(selected_);
}

bool SceneEditor::RubberBandVisible() const { return rubber_->isVisible(); }

}  // namespace flashwizard::ui
