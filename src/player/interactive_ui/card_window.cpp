#include "player/interactive_ui/card_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

#include "maker/transitions/ui/bitmap_image.h"
#include "platform/dialogs.h"
#include "platform/media_backend.h"
#include "platform/qt/qt_text.h"
#include "platform/sound.h"
#include "player/interactive_ui/flash_view.h"
#include "player/interactive_ui/qt_look.h"

namespace cardplayer {

using platform::ToQString;

namespace {

QString PlainText(const std::string& gbk) {
  QString s = ToQString(gbk);
  s.replace("\r\n", "\n");
  return s;
}

stage::StageOptions StageOptionsOf(const CardWindowOptions& o) {
  stage::StageOptions s;
  s.playMusic = o.playMusic;
  s.runWindowActions = o.runWindowActions;
  s.move = o.move;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    s.screenWidth = std::max(screen->size().width(), 1);
    s.screenHeight = std::max(screen->size().height(), 1);
  }
  return s;
}

}  // namespace

CardWindow::CardWindow(player::OpenedCard& card, player::Launcher& launcher, CardWindowOptions options, QWidget* parent)
    : QWidget(parent), card_(card), options_(std::move(options)) {
  const player::WindowModel& w = card_.model.window;
  setWindowTitle(ToQString(w.title));
  platform::SetApplicationTitle(w.title);
  Qt::WindowFlags flags = Qt::Window;
  if (!w.showTitleBar) flags |= Qt::FramelessWindowHint;
  setWindowFlags(flags);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);

  stage_ = std::make_unique<stage::CardStage>(card_, stage::StageHosts{this, &launcher, this}, StageOptionsOf(options_));
  setFixedSize(stage_->Width(), stage_->Height());
  if (!stage_->Shape().Empty()) setMask(ToQRegion(stage_->Shape()));
  if (auto icon = player::PatchedIcon(*card_.reader)) {
    QImage img(icon->width, icon->height, QImage::Format_ARGB32);
    for (int y = 0; y < icon->height; ++y)
      std::copy_n(icon->argb.data() + static_cast<size_t>(y) * icon->width, icon->width,
                  reinterpret_cast<QRgb*>(img.scanLine(y)));
    setWindowIcon(QIcon(QPixmap::fromImage(img)));
  }

  frameTimer_.setSingleShot(true);
  connect(&frameTimer_, &QTimer::timeout, this, &CardWindow::Tick);
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
  frameTimer_.stop();
  StopMusic();
}

int64_t CardWindow::Now() const { return options_.clock ? options_.clock() : platform::media::SteadyMs(); }

FlashView* CardWindow::FlashMovie(int tag) const {
  auto it = flashes_.find(tag);
  return it == flashes_.end() ? nullptr : it->second;
}

void CardWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  screenOrigin_ = area.topLeft();
  const QSize outer = frameGeometry().size().expandedTo(size());
  stage_->Start(Now(), {area.width(), area.height()}, outer.width(), outer.height());
  update();
  Schedule();
  // Once the first frame is on the screen: the OnLoad action.
  QTimer::singleShot(0, this, [this] {
    if (!closing_) stage_->Loaded();
  });
}

void CardWindow::Tick() {
  if (closing_) return;
  stage_->Advance(Now());
  update();
  Schedule();
}

void CardWindow::Schedule() {
  const int64_t next = closing_ ? -1 : stage_->NextChangeAt();
  if (next < 0) {
    frameTimer_.stop();
    return;
  }
  frameTimer_.start(static_cast<int>(std::clamp<int64_t>(next - Now(), 0, 1000)));
}

QImage CardWindow::Frame() {
  if (!surface_ || surface_->Width() != stage_->Width() || surface_->Height() != stage_->Height())
    surface_ = platform::Bitmap::Create(stage_->Width(), stage_->Height(), platform::PixelFormat::Bgr24);
  if (!surface_) return {};
  stage_->Draw(*surface_);
  return widgets::WrapBitmap(*surface_);
}

void CardWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Frame());
}

void CardWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    frameTimer_.stop();
    stage_->Close();
  }
  event->accept();
}

void CardWindow::AfterInput() {
  setCursor(CursorShapeOf(static_cast<int>(stage_->Cursor())));
  setToolTip(PlainText(stage_->Hint()));
  update();
  Schedule();
}

void CardWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  stage_->MouseMove(Now(), p.x(), p.y());
  AfterInput();
}

void CardWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  stage_->MouseDown(Now(), p.x(), p.y());
  AfterInput();
}

void CardWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  stage_->DoubleClick(Now(), p.x(), p.y());
  AfterInput();
}

void CardWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  stage_->MouseUp(Now(), p.x(), p.y());
  if (!closing_) AfterInput();
}

void CardWindow::leaveEvent(QEvent*) {
  stage_->MouseLeave(Now());
  AfterInput();
}

// --- what the stage asks of the window ----------------------------------------------------

void CardWindow::PlayMusic(const std::string& path) {
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

void CardWindow::PlaySound(const std::string& path) {
  if (path.empty()) {
    platform::sound::sndPlaySoundA(nullptr, 0);
    return;
  }
  platform::sound::sndPlaySoundA(path.c_str(), platform::sound::SND_ASYNC | platform::sound::SND_NODEFAULT);
}

platform::MsgResult CardWindow::ShowMessage(const std::string& text, platform::MsgIcon icon,
                                            platform::MsgButtons buttons) {
  return platform::ShowMessage(text, icon, buttons);
}

void CardWindow::CloseCard() { close(); }

void CardWindow::MoveWindow(int left, int top) { move(screenOrigin_ + QPoint(left, top)); }

void CardWindow::ResizeWindow(int width, int height) { setFixedSize(std::max(width, 1), std::max(height, 1)); }

bool CardWindow::ShowFlashMovie(int tag, const stage::ScreenRect& rect, const std::string& path) {
  FlashView*& view = flashes_[tag];
  if (!view) {
    view = CreateFlashView(this);
    view->setGeometry(rect.left, rect.top, std::max(rect.width, 0), std::max(rect.height, 0));
    view->show();
  }
  view->LoadMovie(path);
  return true;
}

}  // namespace cardplayer
