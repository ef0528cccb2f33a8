#include "maker/transitions/ui/pic_show_box_widget.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include "maker/transitions/ui/bitmap_image.h"
#include "maker/transitions/ui/qt_pics_timer.h"
#include "platform/color.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/qt/qt_paint.h"

namespace widgets {

using platform::Bitmap;
using platform::ToQColor;

// The box's surface: each step lands in the widget-sized image, which the next paint shows.
class PicShowBoxWidget::Canvas : public transitions::TransitionCanvas {
 public:
  explicit Canvas(PicShowBoxWidget& owner) : owner_(owner) {}
  void DrawImage(const Bitmap& image, int x, int y) override {
    if (owner_.surface_.isNull()) return;
    QPainter p(&owner_.surface_);
    p.drawImage(x, y, WrapBitmap(image));
    p.end();
    if (!owner_.painting_) owner_.update();
  }

 private:
  PicShowBoxWidget& owner_;
};

namespace {

QSize ScreenSize() {
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QSize size = s->size();
    if (size.width() > 0 && size.height() > 0) return size;
  }
  return {640, 480};
}

}  // namespace

PicShowBoxWidget::PicShowBoxWidget(QWidget* parent) : QWidget(parent), canvas_(std::make_unique<Canvas>(*this)) {
  const QSize screen = ScreenSize();
  box_ = std::make_unique<transitions::TlmPics>(std::make_unique<QtPicsTimer>(), screen.width(), screen.height());
  box_->SetCanvas(canvas_.get());
  box_->SetBkColor(bkColor_);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

PicShowBoxWidget::~PicShowBoxWidget() {
  box_->SetCanvas(nullptr);
  box_.reset();  // stops the timer; a change in progress sees the box gone and stops drawing
}

void PicShowBoxWidget::SetBkColor(platform::Color c) {
  bkColor_ = c;
  box_->SetBkColor(c);
  update();
}

void PicShowBoxWidget::SetRandomOrder(bool random) { box_->RandomPic = random; }

void PicShowBoxWidget::SetEffect(int effectId) { box_->OnlyUseXGID = effectId; }

void PicShowBoxWidget::SetIntervalSeconds(int seconds) {
  intervalSeconds_ = std::max(seconds, 0);
  if (!list_.Empty() && !stopped_) box_->SetInterval(transitions::ShowBoxIntervalMs(intervalSeconds_));
}

int PicShowBoxWidget::LoadPictures(const std::vector<std::string>& paths) {
  std::vector<std::unique_ptr<Bitmap>> decoded;
  for (const std::string& path : paths) {
    if (!platform::files::FileExists(path)) continue;
    try {
      if (auto b = platform::LoadPicture(path)) decoded.push_back(std::move(b));
    } catch (const platform::Error&) {
      // a picture that cannot be read is left out of the show
    }
  }
  return SetPictures(std::move(decoded));
}

int PicShowBoxWidget::SetPictures(std::vector<std::unique_ptr<Bitmap>> pictures) {
  box_->StopPics();
  list_.Set(*box_, std::move(pictures));
  stopped_ = list_.Empty();
  if (!list_.Empty()) {
    SyncSize();
    box_->SetInterval(transitions::ShowBoxIntervalMs(intervalSeconds_));
    QPointer<PicShowBoxWidget> self(this);
    const int count = PictureCount();
    box_->NextPic();
    if (!self) return count;
  }
  return PictureCount();
}

void PicShowBoxWidget::Stop() {
  stopped_ = true;
  box_->StopPics();
}

void PicShowBoxWidget::Start() {
  if (list_.Empty()) return;
  stopped_ = false;
  box_->SetInterval(transitions::ShowBoxIntervalMs(intervalSeconds_));
}

bool PicShowBoxWidget::IsRunning() const { return !stopped_ && !list_.Empty(); }

void PicShowBoxWidget::ShowNext() {
  if (list_.Empty()) return;
  stopped_ = false;
  SyncSize();
  box_->NextPic();
}

void PicShowBoxWidget::ShowPrevious() {
  if (!list_.Empty()) ShowIndex(list_.Previous(*box_));
}

bool PicShowBoxWidget::ShowIndex(int index) {
  if (!list_.TurnToNext(*box_, index)) return false;
  const bool random = box_->RandomPic;
  box_->RandomPic = false;
  stopped_ = false;
  SyncSize();
  // Events run between the steps of a change: the widget may be gone when it returns.
  QPointer<PicShowBoxWidget> self(this);
  box_->NextPic();
  if (self) box_->RandomPic = random;
  return true;
}

int PicShowBoxWidget::ShownIndex() const { return list_.Shown(*box_); }

void PicShowBoxWidget::resizeEvent(QResizeEvent*) { SyncSize(); }

// The box and the surface follow the widget's size; a hidden widget gets its resize events
// only when shown, so changes and paints check the size themselves.
void PicShowBoxWidget::SyncSize() {
  box_->SetBounds(x(), y(), width(), height());
  if (!surface_.isNull() && surface_.size() == QSize(std::max(width(), 1), std::max(height(), 1))) return;
  QImage next(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
  next.fill(ToQColor(bkColor_));
  if (!surface_.isNull()) {
    QPainter p(&next);
    p.drawImage(0, 0, surface_);
  }
  surface_ = std::move(next);
}

void PicShowBoxWidget::paintEvent(QPaintEvent*) {
  SyncSize();
  painting_ = true;
  box_->PaintFrame();  // draws the frame on show onto the surface unless a change is drawing
  painting_ = false;
  QPainter p(this);
  p.drawImage(0, 0, surface_);
}

void PicShowBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (clickShowsNext_) ShowNext();
  emit clicked();
}

}  // namespace widgets
