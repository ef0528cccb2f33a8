#include "maker/document/ui/element_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "maker/document/caption_scroll.h"
#include "maker/document/ui/design_canvas.h"
#include "maker/transitions/ui/bitmap_image.h"
#include "maker/transitions/ui/gif_animation_widget.h"
#include "maker/transitions/ui/pic_show_box_widget.h"
#include "maker/transitions/ui/scroll_caption_widget.h"
#include "platform/error.h"
#include "platform/picture.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace designer {

using document::ElementKind;

const QImage& SoundIcon() {
  static const QImage icon = [] {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(255, 215, 80));
    QPainterPath speaker;  // box and cone
    speaker.moveTo(4, 12);
    speaker.lineTo(10, 12);
    speaker.lineTo(17, 5);
    speaker.lineTo(17, 27);
    speaker.lineTo(10, 20);
    speaker.lineTo(4, 20);
    speaker.closeSubpath();
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(14, 10, 8, 12), -60 * 16, 120 * 16);
    p.drawArc(QRectF(13, 6, 14, 20), -60 * 16, 120 * 16);
    p.drawArc(QRectF(12, 2, 19, 28), -60 * 16, 120 * 16);
    return img;
  }();
  return icon;
}

const QImage& FlashPlaceholder() {
  static const QImage icon = [] {
    QImage img(28, 28, QImage::Format_RGB32);
    img.fill(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.setBrush(QColor(200, 16, 32));
    p.drawRoundedRect(QRectF(1.5, 1.5, 25, 25), 4, 4);
    p.setPen(QPen(QColor(255, 255, 255), 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath f;  // a stylised "f"
    f.moveTo(19, 7);
    f.cubicTo(14, 5, 12, 9, 12, 13);
    f.lineTo(12, 22);
    f.moveTo(8, 14);
    f.lineTo(18, 14);
    p.setBrush(Qt::NoBrush);
    p.drawPath(f);
    return img;
  }();
  return icon;
}

namespace {

QString Displayed(const std::string& gbk) {
  return platform::ToQString(platform::ReplaceText(gbk, "\r\n", "\n"));
}

}  // namespace

ElementView::ElementView(DesignCanvas& canvas, document::CardDocument& doc, document::ElementRef ref,
                         QWidget* parent)
    : QWidget(parent), canvas_(canvas), doc_(doc), ref_(ref) {
  setCursor(Qt::SizeAllCursor);
  setAttribute(Qt::WA_Hover, false);
  switch (ref.kind) {
    case ElementKind::Gif:
      gif_ = new widgets::GifAnimationWidget(this);
      gif_->setAttribute(Qt::WA_TransparentForMouseEvents);
      break;
    case ElementKind::Scl:
      caption_ = new widgets::ScrollCaptionWidget(this);
      caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
      break;
    case ElementKind::Pics:
      pics_ = new widgets::PicShowBoxWidget(this);
      pics_->setAttribute(Qt::WA_TransparentForMouseEvents);
      break;
    default:
      break;
  }
  Refresh();
}

ElementView::~ElementView() {
  if (pics_) pics_->Stop();
  if (caption_) caption_->Stop();
  if (gif_) gif_->Stop();
}

const document::ElementControl* ElementView::Control() const { return doc_.FindControl(ref_); }

void ElementView::SyncGeometry() {
  document::Rect r;
  if (ref_.kind == ElementKind::Pics) {
    if (!doc_.picsBox) return;
    r = doc_.picsBox->rect;
  } else if (const auto* c = Control()) {
    r = c->rect;
  } else {
    return;
  }
  // Qt refuses empty widgets; a rectangle of no extent is kept at one pixel on screen.
  setGeometry(r.left, r.top, std::max(1, r.width), std::max(1, r.height));
  for (QWidget* child : {static_cast<QWidget*>(gif_), static_cast<QWidget*>(caption_), static_cast<QWidget*>(pics_)}) {
    if (child) child->setGeometry(0, 0, width(), height());
  }
  setToolTip(platform::ToQString(document::ShownName(ref_)));
}

void ElementView::resizeEvent(QResizeEvent*) {
  for (QWidget* child : {static_cast<QWidget*>(gif_), static_cast<QWidget*>(caption_), static_cast<QWidget*>(pics_)}) {
    if (child) child->setGeometry(0, 0, width(), height());
  }
}

void ElementView::Refresh() {
  SyncGeometry();
  const document::ElementControl* c = Control();
  switch (ref_.kind) {
    case ElementKind::Image:
      if (c && c->picture != loaded_) {
        loaded_ = c->picture;
        picture_ = QImage();
        try {
          if (auto bmp = platform::LoadPicture(c->picture)) picture_ = widgets::ToQImage(*bmp);
        } catch (const platform::Error&) {
          // an unreadable picture leaves the control empty
        }
      }
      break;
    case ElementKind::Gif:
      if (c && c->picture != loaded_) {
        loaded_ = c->picture;
        gif_->LoadFile(c->picture);
        gif_->Start();
      }
      if (c) gif_->SetStretch(!c->autoSize);
      break;
    case ElementKind::Scl: {
      int i = document::getlmsclindex(doc_, ref_.tag);
      if (!c || i > static_cast<int>(doc_.scls.size())) break;
      const document::TlmsclDat& rec = doc_.scls[static_cast<size_t>(i - 1)].rec;
      document::CaptionLook look;
      look.text = rec.Text;
      look.font = rec.Font;
      look.bkColor = rec.BKColor;
      look.transparent = c->transparent;
      look.way = rec.Way;
      if (rec.Pic != loaded_) {
        loaded_ = rec.Pic;
        captionPicture_ = document::LoadCaptionPicture(rec.Pic);
      }
      look.picture = captionPicture_;
      caption_->SetLook(look);
      caption_->SetInterval(c->timerInterval);
      break;
    }
    case ElementKind::Pics:
      if (doc_.picsBox) {
        pics_->SetBkColor(doc_.picsDat.BkCor);
        pics_->SetRandomOrder(doc_.picsBox->randPic);
        pics_->SetEffect(doc_.picsBox->effectId);
        pics_->SetIntervalSeconds(doc_.picsDat.Inv);
      }
      break;
    default:
      break;
  }
  update();
}

void ElementView::paintEvent(QPaintEvent*) {
  const document::ElementControl* c = Control();
  if (!c) return;
  QPainter p(this);
  const QRect all = rect();
  switch (ref_.kind) {
    case ElementKind::Label: {
      p.setFont(ToQFont(c->font));
      p.setPen(ToQColor(c->font.color));
      p.drawText(all, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Displayed(c->caption));
      break;
    }
    case ElementKind::Button: {
      // A flat speed button: face colour, a thin raised edge, the caption centred.
      p.fillRect(all, QColor(212, 208, 200));
      p.setPen(QColor(255, 255, 255));
      p.drawLine(0, 0, width() - 1, 0);
      p.drawLine(0, 0, 0, height() - 1);
      p.setPen(QColor(128, 128, 128));
      p.drawLine(width() - 1, 0, width() - 1, height() - 1);
      p.drawLine(0, height() - 1, width() - 1, height() - 1);
      p.setFont(ToQFont(c->font));
      p.setPen(ToQColor(c->font.color));
      p.drawText(all, Qt::AlignCenter, platform::ToQString(c->caption));
      break;
    }
    case ElementKind::Image:
      if (!picture_.isNull()) {
        if (c->autoSize || !c->stretch) p.drawImage(0, 0, picture_);
        else p.drawImage(all, picture_);
      }
      break;
    case ElementKind::Wav:
      p.drawImage(all, SoundIcon());
      break;
    case ElementKind::Flash:
      p.drawImage(all, FlashPlaceholder());
      break;
    default:
      break;  // GIFs, captions and the show box draw in their own child widget
  }
}

void ElementView::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;  // the right button is ignored
  pressed_ = true;
  canvas_.ElementPressed(ref_, e->position().toPoint());
}

void ElementView::mouseMoveEvent(QMouseEvent* e) {
  if (pressed_) canvas_.ElementDragged(ref_, e->position().toPoint());
}

void ElementView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  canvas_.ElementReleased(ref_, e->position().toPoint());
}

}  // namespace designer
