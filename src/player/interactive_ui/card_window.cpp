#include "player/interactive_ui/card_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "maker/document/canvas_geometry.h"
#include "maker/document/caption_scroll.h"
#include "maker/transitions/ui/gif_animation_widget.h"
#include "maker/transitions/ui/pic_show_box_widget.h"
#include "maker/transitions/ui/scroll_caption_widget.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/qt/qt_text.h"
#include "platform/sound.h"
#include "player/interactive_ui/flash_view.h"
#include "player/interactive_ui/qt_look.h"

namespace cardplayer {

using document::ElementKind;
using platform::ToQString;

namespace {

const char* kKindProperty = "cardElementKind";
const char* kTagProperty = "cardElementTag";

QString PlainText(const std::string& gbk) {
  QString s = ToQString(gbk);
  s.replace("\r\n", "\n");
  return s;
}

void SetBounds(QWidget* w, const player::Rect& r) { w->setGeometry(r.left, r.top, std::max(r.width, 0), std::max(r.height, 0)); }

void SetLook(QWidget* w, const std::string& hint, int cursor) {
  if (!hint.empty()) w->setToolTip(PlainText(hint));
  w->setCursor(CursorShapeOf(cursor));
}

}  // namespace

CardWindow::CardWindow(player::OpenedCard& card, player::Launcher& launcher, CardWindowOptions options, QWidget* parent)
    : QWidget(parent), card_(card), options_(options) {
  runtime_ = std::make_unique<player::CardRuntime>(card_.model, *card_.media, *this, launcher);
  BuildWindow();
  BuildElements();
  connect(&moveTimer_, &QTimer::timeout, this, &CardWindow::MoveStep);
  musicTimer_.setInterval(500);
  connect(&musicTimer_, &QTimer::timeout, this, [this] {
    // Background music plays again from the start whenever it has ended.
    platform::mci::Mode mode = platform::mci::Mode::NotReady;
    if (musicDevice_ && platform::mci::GetMode(musicDevice_, &mode) == platform::mci::kOk &&
        mode == platform::mci::Mode::Stopped) {
      platform::mci::SeekToStart(musicDevice_);
      platform::mci::Play(musicDevice_);
    }
  });
}

CardWindow::~CardWindow() {
  StopMusic();
  moveTimer_.stop();
}

std::string CardWindow::MediaPath(const player::MediaRef& ref) { return runtime_->FileOf(ref); }

void CardWindow::BuildWindow() {
  const player::WindowModel& w = card_.model.window;
  setWindowTitle(ToQString(w.title));
  platform::SetApplicationTitle(w.title);
  Qt::WindowFlags flags = Qt::Window;
  if (!w.showTitleBar) flags |= Qt::FramelessWindowHint;
  setWindowFlags(flags);
  setAttribute(Qt::WA_DeleteOnClose, false);

  int width = w.width, height = w.height;
  if (const std::string maskPath = MediaPath(w.mask); !maskPath.empty()) {
    try {
      if (auto mask = platform::LoadPicture(maskPath)) {
        // The mask's own size is the card's size; its non-white pixels are the window.
        width = mask->Width();
        height = mask->Height();
        setMask(ToQRegion(document::MaskRegion(*mask)));
      }
    } catch (const platform::Error&) {
      // an unreadable mask leaves the window rectangular
    }
  }
  setFixedSize(std::max(width, 1), std::max(height, 1));
  if (const std::string bk = MediaPath(w.background); !bk.empty()) background_ = LoadImageFile(bk);

  if (auto icon = player::PatchedIcon(*card_.reader)) {
    QImage img(icon->width, icon->height, QImage::Format_ARGB32);
    for (int y = 0; y < icon->height; ++y)
      std::copy_n(icon->argb.data() + static_cast<size_t>(y) * icon->width, icon->width,
                  reinterpret_cast<QRgb*>(img.scanLine(y)));
    setWindowIcon(QIcon(QPixmap::fromImage(img)));
  }
}

void CardWindow::Track(QWidget* w, int ind) { stacking_.emplace_back(ind, w); }

void CardWindow::Clickable(QWidget* w, ElementKind kind, int tag) {
  w->setProperty(kKindProperty, static_cast<int>(kind));
  w->setProperty(kTagProperty, tag);
  w->installEventFilter(this);
}

void CardWindow::BuildElements() {
  const player::CardModel& m = card_.model;
  if (m.picsBox.present) {
    showBox_ = new widgets::PicShowBoxWidget(this);
    SetBounds(showBox_, m.picsBox.rect);
    showBox_->SetBkColor(m.picsBox.bkColor);
    showBox_->SetRandomOrder(m.picsBox.randomOrder);
    showBox_->SetEffect(m.picsBox.effectId);
    showBox_->SetIntervalSeconds(m.picsBox.intervalSeconds);
    showBox_->SetClickShowsNext(m.picsBox.clickShowsNext);
    SetLook(showBox_, m.picsBox.hint, m.picsBox.cursor);
    Track(showBox_, 0);
  }
  for (const player::LabelModel& e : m.labels) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(ToQFont(e.font));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, ToQColor(e.font.color));
    label->setPalette(pal);
    label->setText(PlainText(e.caption));
    SetBounds(label, e.rect);
    SetLook(label, e.hint, e.cursor);
    Clickable(label, ElementKind::Label, e.tag);
    labels_[e.tag] = label;
    Track(label, e.ind);
  }
  for (const player::ButtonModel& e : m.buttons) {
    auto* button = new QPushButton(PlainText(e.caption), this);
    button->setFlat(true);
    button->setFont(ToQFont(e.font));
    QPalette pal = button->palette();
    pal.setColor(QPalette::ButtonText, ToQColor(e.font.color));
    button->setPalette(pal);
    button->setFocusPolicy(Qt::NoFocus);
    SetBounds(button, e.rect);
    SetLook(button, e.hint, e.cursor);
    const int tag = e.tag;
    connect(button, &QPushButton::clicked, this, [this, tag] { runtime_->Click(ElementKind::Button, tag); });
    buttons_[e.tag] = button;
    Track(button, e.ind);
  }
  auto pictures = [&](const std::vector<player::PictureModel>& list, ElementKind kind,
                      std::map<int, widgets::GifAnimationWidget*>& out) {
    for (const player::PictureModel& e : list) {
      auto* view = new widgets::GifAnimationWidget(this);
      SetBounds(view, e.rect);
      view->SetStretch(!e.autoSize);
      if (const std::string path = MediaPath(e.file); !path.empty() && view->LoadFile(path) && e.autoSize)
        view->resize(view->NaturalSize());
      view->Start();
      SetLook(view, e.hint, e.cursor);
      Clickable(view, kind, e.tag);
      out[e.tag] = view;
      Track(view, e.ind);
    }
  };
  pictures(m.images, ElementKind::Image, images_);
  pictures(m.gifs, ElementKind::Gif, gifs_);
  for (const player::FlashModel& e : m.flashes) {
    FlashView* view = CreateFlashView(this);
    SetBounds(view, e.rect);
    view->LoadMovie(MediaPath(e.file));
    flashes_[e.tag] = view;
    Track(view, e.ind);
  }
  for (const player::CaptionModel& e : m.captions) {
    auto* caption = new widgets::ScrollCaptionWidget(this);
    SetBounds(caption, e.rect);
    document::CaptionLook look;
    look.text = e.text;
    look.font = e.font;
    look.bkColor = e.bkColor;
    look.transparent = e.transparent;
    look.way = e.way;
    look.picture = document::LoadCaptionPicture(MediaPath(e.picture));
    caption->SetLook(std::move(look));
    caption->SetInterval(e.interval);
    caption->Start();
    captions_[e.tag] = caption;
    Track(caption, e.ind);
  }
  // Higher stacking values lie in front; equal values keep their creation order.
  std::stable_sort(stacking_.begin(), stacking_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [ind, w] : stacking_) w->raise();
}

void CardWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(card_.model.window.bkColor));
  if (background_.isNull()) return;
  for (const document::Rect& r : document::BackgroundPlacements(width(), height(), background_.width(),
                                                                 background_.height(),
                                                                 card_.model.window.backgroundLayout)) {
    p.drawImage(QRect(r.left, r.top, r.width, r.height), background_);
  }
}

void CardWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (options_.move) {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QSize outer = frameGeometry().size().expandedTo(size());
    motion_.emplace(card_.model.window, player::ScreenSize{area.width(), area.height()}, outer.width(),
                    outer.height(), random_);
    move(area.left() + motion_->Start().left, area.top() + motion_->Start().top);
    if (motion_->Moving()) moveTimer_.start(motion_->IntervalMs());
  }
  if (options_.playMusic) StartMusic();
  // Once the window is on the screen: the show box's first picture, then the OnLoad action.
  QTimer::singleShot(0, this, [this] {
    StartShowBox();
    if (options_.runWindowActions) runtime_->WindowShown();
  });
}

void CardWindow::StartShowBox() {
  if (!showBox_ || showBoxStarted_) return;
  showBoxStarted_ = true;
  std::vector<std::string> paths;
  for (int id : card_.model.picsBox.pictures) {
    const std::string path = card_.media->PathOf(id);
    if (!path.empty()) paths.push_back(path);
  }
  showBox_->LoadPictures(paths);
}

void CardWindow::MoveStep() {
  if (!motion_) return;
  const QRect area = screen() ? screen()->geometry() : QRect();
  const player::Point p = motion_->Step();
  move(area.left() + p.left, area.top() + p.top);
  if (!motion_->Moving()) moveTimer_.stop();
}

void CardWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    moveTimer_.stop();
    if (showBox_) showBox_->Stop();
    for (auto& [tag, c] : captions_) c->Stop();
    if (options_.runWindowActions) runtime_->WindowClosing();
    StopMusic();
    platform::sound::sndPlaySoundA(nullptr, 0);
  }
  event->accept();
}

bool CardWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* me = static_cast<QMouseEvent*>(event);
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint())) {
      const auto kind = static_cast<ElementKind>(w->property(kKindProperty).toInt());
      const int tag = w->property(kTagProperty).toInt();
      runtime_->Click(kind, tag);
      return false;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CardWindow::StartMusic() {
  const std::string path = MediaPath(card_.model.window.music);
  if (path.empty() || musicDevice_) return;
  platform::mci::DeviceId id = 0;
  if (platform::mci::Open("", path, &id) != platform::mci::kOk) return;  // unplayable music stays silent
  musicDevice_ = id;
  platform::mci::Play(id);
  musicTimer_.start();
}

void CardWindow::StopMusic() {
  musicTimer_.stop();
  if (!musicDevice_) return;
  platform::mci::Stop(musicDevice_);
  platform::mci::Close(musicDevice_);
  musicDevice_ = 0;
}

void CardWindow::CloseCard() { close(); }

void CardWindow::SetLabelText(int tag, const std::string& text) {
  if (auto it = labels_.find(tag); it != labels_.end()) it->second->setText(PlainText(text));
}

bool CardWindow::SetImagePicture(int tag, const std::string& path) {
  auto it = images_.find(tag);
  if (it == images_.end() || !it->second->LoadFile(path)) return false;
  if (!it->second->Stretch()) it->second->resize(it->second->NaturalSize());
  it->second->Start();
  return true;
}

bool CardWindow::SetGifPicture(int tag, const std::string& path) {
  auto it = gifs_.find(tag);
  if (it == gifs_.end() || !it->second->LoadFile(path)) return false;
  if (!it->second->Stretch()) it->second->resize(it->second->NaturalSize());
  it->second->Start();
  return true;
}

bool CardWindow::SetFlashMovie(int tag, const std::string& path) {
  auto it = flashes_.find(tag);
  if (it == flashes_.end()) return false;
  it->second->LoadMovie(path);
  return true;
}

void CardWindow::PicsPrevious() {
  if (showBox_) showBox_->ShowPrevious();
}

void CardWindow::PicsNext() {
  if (showBox_) showBox_->ShowNext();
}

bool CardWindow::PicsShow(int index) { return showBox_ && showBox_->ShowIndex(index); }

void CardWindow::PlaySound(const std::string& path) {
  platform::sound::sndPlaySoundA(path.c_str(), platform::sound::SND_ASYNC | platform::sound::SND_NODEFAULT);
}

QWidget* CardWindow::ElementWidget(ElementKind kind, int tag) const {
  auto find = [tag](const auto& map) -> QWidget* {
    auto it = map.find(tag);
    return it == map.end() ? nullptr : it->second;
  };
  switch (kind) {
    case ElementKind::Label: return find(labels_);
    case ElementKind::Button: return find(buttons_);
    case ElementKind::Image: return find(images_);
    case ElementKind::Gif: return find(gifs_);
    case ElementKind::Flash: return find(flashes_);
    case ElementKind::Scl: return find(captions_);
    case ElementKind::Pics: return showBox_;
    case ElementKind::Wav: return nullptr;
  }
  return nullptr;
}

}  // namespace cardplayer
