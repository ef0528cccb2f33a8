#include "maker/document/ui/design_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include "maker/document/ui/designer.h"
#include "maker/document/ui/element_view.h"
#include "maker/transitions/ui/bitmap_image.h"
#include "maker/transitions/ui/pic_show_box_widget.h"
#include "maker/transitions/ui/scroll_caption_widget.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"

namespace designer {

using document::ElementKind;
using document::ElementRef;

namespace {

std::pair<int, int> Key(ElementRef r) { return {static_cast<int>(r.kind), r.tag}; }

QRect ToQRect(const document::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

Qt::CursorShape CursorFor(int handle) {
  switch (document::CursorOfHandle(handle)) {
    case document::HandleCursor::DiagonalNwSe: return Qt::SizeFDiagCursor;
    case document::HandleCursor::DiagonalNeSw: return Qt::SizeBDiagCursor;
    case document::HandleCursor::Horizontal: return Qt::SizeHorCursor;
    case document::HandleCursor::Vertical: return Qt::SizeVerCursor;
  }
  return Qt::ArrowCursor;
}

// A picture file decoded for the panel; null when missing or unreadable.
std::unique_ptr<platform::Bitmap> LoadOrNull(const std::string& path) {
  if (path.empty() || !platform::files::FileExists(path)) return nullptr;
  return platform::LoadPicture(path);  // a damaged picture raises the load error
}

}  // namespace

// --- card panel ------------------------------------------------------------------------

CardPanel::CardPanel(Designer& designer, QWidget* parent) : QWidget(parent), designer_(designer) {
  setFocusPolicy(Qt::StrongFocus);
  setObjectName("CardPanel");
}

void CardPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colour_);
  if (!background_.isNull()) p.drawImage(0, 0, background_);
}

void CardPanel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) designer_.SelectCardWindow();
}

void CardPanel::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete) designer_.DeleteSelection();
  else QWidget::keyReleaseEvent(e);
}

// --- handles and frames ---------------------------------------------------------------

HandleWidget::HandleWidget(int number, DesignCanvas& canvas, QWidget* parent)
    : QWidget(parent), number_(number), canvas_(canvas) {
  resize(document::kHandleSize, document::kHandleSize);
  setCursor(CursorFor(number));
  setObjectName(QString("Handle%1").arg(number));
  hide();
}

void HandleWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // Navy edge with a light core: visible on dark and light backgrounds alike.
  p.fillRect(rect(), QColor(0, 0, 128));
  p.fillRect(rect().adjusted(2, 2, -2, -2), QColor(255, 255, 255));
}

void HandleWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) canvas_.HandlePressed(number_, e->position().toPoint());
}

void HandleWidget::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) canvas_.HandleDragged(number_, e->position().toPoint());
}

void HandleWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) canvas_.HandleReleased(number_, e->position().toPoint());
}

FrameOverlay::FrameOverlay(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void FrameOverlay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // White in difference mode inverts what lies below, so the frames show on any picture.
  p.setCompositionMode(QPainter::CompositionMode_Difference);
  p.setBrush(Qt::NoBrush);
  if (moveFrame) {
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.drawRect(moveFrame->adjusted(0, 0, -1, -1));
  }
  if (resizeFrame) {
    p.setPen(QPen(Qt::white, 2));
    p.drawRect(resizeFrame->adjusted(1, 1, -1, -1));
  }
}

// --- canvas ------------------------------------------------------------------------------

DesignCanvas::DesignCanvas(Designer& designer) : designer_(designer) {
  setObjectName("DesignCanvas");
  setBackgroundRole(QPalette::Dark);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  panel_ = new CardPanel(designer);
  setWidget(panel_);
  setWidgetResizable(false);
  overlay_ = new FrameOverlay(panel_);
  for (int k = 1; k <= 8; ++k) handles_.push_back(new HandleWidget(k, *this, panel_));
  ApplyCardWindow();
}

DesignCanvas::~DesignCanvas() = default;

ElementView* DesignCanvas::ViewOf(ElementRef ref) const {
  auto it = views_.find(Key(ref));
  return it == views_.end() ? nullptr : it->second;
}

bool DesignCanvas::HandlesShown() const { return handles_[0]->isVisibleTo(panel_); }

ElementView* DesignCanvas::MakeView(ElementRef ref) {
  auto* v = new ElementView(*this, designer_.Document(), ref, panel_);
  if (v->Caption() && captionsRunning_) v->Caption()->Start();
  v->show();
  views_[Key(ref)] = v;
  return v;
}

void DesignCanvas::Sync() {
  document::CardDocument& doc = designer_.Document();
  std::map<std::pair<int, int>, bool> present;
  for (const ElementRef& r : doc.stacking) present[Key(r)] = true;
  for (auto it = views_.begin(); it != views_.end();) {
    if (!present.count(it->first)) {
      delete it->second;
      it = views_.erase(it);
    } else {
      ++it;
    }
  }
  for (const ElementRef& r : doc.stacking) {
    if (ElementView* v = ViewOf(r)) v->SyncGeometry();
    else MakeView(r);
  }
  Restack();
  PlaceHandles();
}

void DesignCanvas::Rebuild() {
  for (auto& [key, view] : views_) delete view;
  views_.clear();
  Sync();
}

void DesignCanvas::Refresh(ElementRef ref) {
  if (ElementView* v = ViewOf(ref)) v->Refresh();
  PlaceHandles();
}

void DesignCanvas::Restack() {
  for (const ElementRef& r : designer_.Document().stacking) {
    if (ElementView* v = ViewOf(r)) v->raise();
  }
  overlay_->raise();
  for (HandleWidget* h : handles_) h->raise();
}

std::vector<ElementRef> DesignCanvas::DrawingOrder() const {
  std::vector<ElementRef> out;
  for (QObject* o : panel_->children()) {
    if (auto* v = qobject_cast<ElementView*>(o)) out.push_back(v->Ref());
  }
  return out;
}

void DesignCanvas::PlaceHandles() {
  const document::CardDocument& doc = designer_.Document();
  if (!doc.selected || !ViewOf(*doc.selected)) {
    for (HandleWidget* h : handles_) h->hide();
    return;
  }
  document::HandleSet hs = document::HandlePositions(document::ElementRect(doc, *doc.selected));
  for (int k = 0; k < 8; ++k) {
    handles_[static_cast<size_t>(k)]->move(hs[static_cast<size_t>(k)].x, hs[static_cast<size_t>(k)].y);
    handles_[static_cast<size_t>(k)]->show();
    handles_[static_cast<size_t>(k)]->raise();
  }
}

void DesignCanvas::ApplyCardWindow(bool pictures) {
  const document::CardWindow& w = designer_.Document().window;
  panel_->resize(std::max(1, w.width), std::max(1, w.height));
  overlay_->setGeometry(0, 0, panel_->width(), panel_->height());
  panel_->SetColour(ToQColor(w.bkColor));
  // Background layer (Setformbk): drawn only when the picture is used and its file exists.
  QImage bk;
  if (pictures && w.bkPic) {
    if (auto pic = LoadOrNull(w.bkPicName)) {
      QImage src = widgets::ToQImage(*pic);
      bk = QImage(panel_->size(), QImage::Format_ARGB32);
      bk.fill(Qt::transparent);
      QPainter p(&bk);
      for (const document::Rect& r : document::BackgroundPlacements(w.width, w.height, src.width(), src.height(), w.bkPicSet))
        p.drawImage(ToQRect(r), src);
    }
  }
  panel_->SetBackground(bk);
  // Window region (setxz): the mask's non-white runs, or the full rectangle.
  QRegion region;
  if (pictures && w.yxPic) {
    if (auto mask = LoadOrNull(w.yxPicName)) {
      std::vector<QRect> rects;
      document::MaskRegion(*mask).ForEachSpan(
          [&](int y, int l, int r) { rects.emplace_back(l, y, r - l, 1); });
      region.setRects(rects.data(), static_cast<int>(rects.size()));
      if (region.isEmpty()) region = QRegion(0, 0, 1, 1);  // an all-white mask: keep one pixel
    }
  }
  if (region.isEmpty()) panel_->clearMask();
  else panel_->setMask(region);
}

void DesignCanvas::StopCaptions() {
  captionsRunning_ = false;
  for (auto& [key, v] : views_)
    if (v->Caption()) v->Caption()->Stop();
}

void DesignCanvas::StartCaptions() {
  captionsRunning_ = true;
  for (auto& [key, v] : views_)
    if (v->Caption()) v->Caption()->Start();
}

void DesignCanvas::ReloadPics() {
  ElementView* v = ViewOf({ElementKind::Pics, 0});
  if (!v || !v->Pics()) return;
  const document::CardDocument& doc = designer_.Document();
  v->Pics()->Stop();
  v->Refresh();
  v->Pics()->LoadPictures(doc.picsDat.pictures);  // starts when at least one picture is there
}

// --- moving and resizing ------------------------------------------------------------------

void DesignCanvas::ElementPressed(ElementRef ref, QPoint pos) {
  pressPos_ = pos;
  pressRect_ = document::ElementRect(designer_.Document(), ref);
  overlay_->moveFrame = ToQRect(pressRect_);
  overlay_->raise();
  overlay_->update();
}

void DesignCanvas::ElementDragged(ElementRef, QPoint pos) {
  if (!overlay_->moveFrame) return;
  overlay_->moveFrame = ToQRect(document::MovedRect(pressRect_, {pressPos_.x(), pressPos_.y()}, {pos.x(), pos.y()}));
  overlay_->update();
}

void DesignCanvas::ElementReleased(ElementRef ref, QPoint pos) {
  document::Rect r = document::MovedRect(pressRect_, {pressPos_.x(), pressPos_.y()}, {pos.x(), pos.y()});
  overlay_->moveFrame.reset();
  overlay_->update();
  designer_.SetElementRect(ref, r);
  panel_->setFocus();
}

void DesignCanvas::HandlePressed(int number, QPoint pos) {
  const document::CardDocument& doc = designer_.Document();
  if (!doc.selected) return;
  pressPos_ = pos;
  pressRect_ = document::ElementRect(doc, *doc.selected);
  HandleWidget* h = Handle(number);
  overlay_->moveFrame = h->geometry();
  overlay_->resizeFrame = ToQRect(pressRect_);
  overlay_->raise();
  overlay_->update();
}

void DesignCanvas::HandleDragged(int number, QPoint pos) {
  if (!overlay_->moveFrame) return;
  QPoint d = pos - pressPos_;
  overlay_->moveFrame = Handle(number)->geometry().translated(d);
  overlay_->resizeFrame = ToQRect(document::ResizeByHandle(pressRect_, number, d.x(), d.y()));
  overlay_->update();
}

void DesignCanvas::HandleReleased(int number, QPoint pos) {
  const document::CardDocument& doc = designer_.Document();
  if (!overlay_->moveFrame || !doc.selected) return;
  QPoint d = pos - pressPos_;
  document::Rect r = document::ResizeByHandle(pressRect_, number, d.x(), d.y());
  overlay_->moveFrame.reset();
  overlay_->resizeFrame.reset();
  overlay_->update();
  designer_.SetElementRect(*doc.selected, r);
  panel_->setFocus();
}

}  // namespace designer
