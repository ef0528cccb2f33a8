#include "player/ordinary_ui/ordinary_player_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <random>
#include <thread>

#include "maker/ordinary/card_media.h"
#include "maker/ordinary/mail_link.h"
#include "platform/media_backend.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"
#include "player/ordinary_ui/card_picture.h"
#include "player/ordinary_ui/card_unpack.h"
#include "player/ordinary_ui/entrance_geometry.h"
#include "player/ordinary_ui/safe_open.h"

namespace ordinary_player_ui {

namespace {

constexpr int kPollMs = 5;       // finer than the card's shortest timer (the 10 ms audio timer)
constexpr int kTopmostMs = 100;  // keeps the window above all others

class SteadyClock : public ordinary::Clock {
 public:
  int64_t NowMs() override { return platform::media::SteadyMs(); }
};

class SeededRandom : public ordinary::RandomSource {
 public:
  SeededRandom() : engine_(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())) {}
  int Next(int n) override { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(engine_); }

 private:
  std::mt19937 engine_;
};

std::tm LocalNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

// A relative media path is taken from the program folder, as the wizard's lists give them.
std::string FromProgramFolder(const std::string& path) {
  if (path.empty() || platform::paths::IsAbsolute(path)) return path;
  return platform::paths::ProgramFolder() + path;
}

}  // namespace

struct TForm5::Owned {
  SteadyClock clock;
  SeededRandom random;
  std::unique_ptr<ordinary::CardMedia> media;
};

TForm5::TForm5(const ordinary::OrdinarySettings& settings, QWidget* parent) : TForm5(settings, PlayerHooks{}, parent) {}

TForm5::TForm5(const ordinary::OrdinarySettings& settings, PlayerHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), settings_(settings) {
  settings_.cardImg = FromProgramFolder(settings_.cardImg);
  settings_.music = FromProgramFolder(settings_.music);
  settings_.wav = FromProgramFolder(settings_.wav);
  settings_.cardBox = FromProgramFolder(settings_.cardBox);
  config_ = ordinary::MakeCardPlayerConfig(settings_, LocalNow());
  Build(std::move(hooks));
}

TForm5::~TForm5() {
  // The player stops the sound and waits for the voice's thread; no close action runs here.
  player_.reset();
}

void TForm5::Build(PlayerHooks hooks) {
  hooks_ = std::move(hooks);
  owned_ = std::make_unique<Owned>();
  if (!hooks_.media) owned_->media = ordinary::MakePlatformCardMedia();

  QScreen* screen = QGuiApplication::primaryScreen();
  screenSize_ = hooks_.screenSize ? *hooks_.screenSize : (screen ? screen->geometry().size() : QSize(1024, 768));
  // The screen as it is before the card comes up: what a transparent card shows behind it.
  if (hooks_.screenSnapshot) {
    snapshot_ = *hooks_.screenSnapshot;
  } else if (screen) {
    snapshot_ = screen->grabWindow(0).toImage();
  }
  if (!snapshot_.isNull() && snapshot_.size() != screenSize_) {
    snapshot_ = snapshot_.scaled(screenSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  if (!snapshot_.isNull()) snapshot_ = snapshot_.convertToFormat(QImage::Format_RGB32);

  setWindowTitle(platform::ToQString("Lumo贺卡"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);

  if (PictureKindOf(platform::paths::ExtractFileExt(config_.cardImg)) == PictureKind::Movie) {
    movie_ = std::make_unique<MoviePlayer>(config_.cardImg, [this] { update(); });
  } else {
    cardPicture_ = std::make_unique<CardPicture>(config_.cardImg);
  }

  pollTimer_ = new QTimer(this);
  pollTimer_->setInterval(kPollMs);
  connect(pollTimer_, &QTimer::timeout, this, &TForm5::Tick);
  topmostTimer_ = new QTimer(this);
  topmostTimer_->setInterval(kTopmostMs);
  connect(topmostTimer_, &QTimer::timeout, this, [this] {
    if (isVisible()) raise();
  });
}

void TForm5::SetUrl(const std::string& url) { config_.url = url; }

void TForm5::SetMails(const std::string& email, const std::string& subject, const std::string& body) {
  config_.mailLink = ordinary::MakeMailLink(email, subject, body, LocalNow());
}

void TForm5::ClearMails() { config_.mailLink.clear(); }
void TForm5::setbnx(int startPosition) { config_.startPosition = startPosition; }
void TForm5::setFnx(int finalPosition) { config_.finalPosition = finalPosition; }
void TForm5::setCen(bool centreLock) { config_.centreLock = centreLock; }
void TForm5::SetMv(bool loop) { config_.loop = loop; }
void TForm5::Sethck(bool singleClick) { config_.singleClick = singleClick; }
void TForm5::SetHdb(bool doubleClick) { config_.singleClick = !doubleClick; }

int64_t TForm5::NowMs() { return hooks_.clock ? hooks_.clock->NowMs() : owned_->clock.NowMs(); }

QPoint TForm5::ScreenOrigin() const {
  if (hooks_.screenSize) return QPoint(0, 0);
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().topLeft() : QPoint(0, 0);
}

void TForm5::Start() {
  if (started_ || finished_) return;
  started_ = true;
  ordinary::CardPlayerEnv env;
  env.clock = hooks_.clock ? hooks_.clock : &owned_->clock;
  env.random = hooks_.random ? hooks_.random : &owned_->random;
  env.media = hooks_.media ? hooks_.media : owned_->media.get();
  env.screen = {screenSize_.width(), screenSize_.height()};
  env.open = hooks_.open ? hooks_.open : OpenCloseTargetWithShell;
  env.processMessages = [] {
    platform::ProcessPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  player_ = std::make_unique<ordinary::CardPlayer>(config_, std::move(env));
  if (config_.greetingBox) {
    greetingText_ = std::make_unique<GreetingText>(settings_, config_.labelWidth);
    player_->SetScrollText(greetingText_->LineHeight(), greetingText_->LineCount());
  }
  player_->Show();
  if (movie_) movie_->Play();
  Sync();
  show();
  raise();
  activateWindow();
  if (hooks_.runTimers) {
    pollTimer_->start();
    topmostTimer_->start();
  }
}

void TForm5::ShowModal() {
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(this, &TForm5::Closed, &loop, &QEventLoop::quit);
  Start();
  if (!finished_) loop.exec();
}

void TForm5::Tick() {
  if (!player_ || finished_) return;
  player_->Poll();
  Sync();
  if (finished_) return;
  const int64_t now = NowMs();
  CardPicture* picture = greetingDrawn_ ? boxPicture_.get() : cardPicture_.get();
  bool repaint = picture && picture->Advance(now);
  if (entranceStart_ >= 0) {
    repaint = true;
    if (now - entranceStart_ >= ordinary::kEntranceMs) entranceStart_ = -1;
  }
  if (repaint) update();
}

bool TForm5::EntranceRunning() const { return entranceStart_ >= 0; }

int TForm5::GreetingLineCount() const { return greetingText_ ? greetingText_->LineCount() : 0; }
int TForm5::GreetingLineHeight() const { return greetingText_ ? greetingText_->LineHeight() : 0; }

// Brings the window up to what the player says: closed, greeting, place and size, scrolling.
void TForm5::Sync() {
  if (!player_ || finished_) return;
  if (player_->closed()) {
    Finish();
    return;
  }
  if (player_->greetingShown() && !greetingDrawn_) ShowGreetingWindow();
  const ordinary::WindowRect& w = player_->window();
  const QRect want(ScreenOrigin() + QPoint(w.left, w.top), QSize(w.width, w.height));
  if (geometry() != want) {
    setGeometry(want);
    // The screen under the new place shows through a transparent card.
    if (config_.transparent || (greetingDrawn_ && config_.boxTransparent)) update();
  }
  if (greetingDrawn_ && config_.scroll && player_->scrollOffset() != lastScroll_) {
    lastScroll_ = player_->scrollOffset();
    update();
  }
}

void TForm5::ShowGreetingWindow() {
  greetingDrawn_ = true;
  if (movie_) {
    movie_->Stop();
    movie_.reset();
  }
  boxPicture_ = std::make_unique<CardPicture>(settings_.cardBox);
  entranceStart_ = NowMs();
  const ordinary::WindowRect& w = player_->window();
  setGeometry(QRect(ScreenOrigin() + QPoint(w.left, w.top), QSize(w.width, w.height)));
  raise();
  activateWindow();
  update();
}

void TForm5::Finish() {
  if (finished_) return;
  finished_ = true;
  pollTimer_->stop();
  topmostTimer_->stop();
  if (movie_) movie_->Stop();
  entranceStart_ = -1;
  if (!closing_) {
    closing_ = true;
    close();
  }
  emit Closed();
}

void TForm5::closeEvent(QCloseEvent* event) {
  closing_ = true;
  // Closing the window closes the card: the sound stops and the closing links open.
  if (player_ && !player_->closed()) player_->Close();
  if (!finished_) Finish();
  event->accept();
}

void TForm5::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

void TForm5::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release; the release that ends a double click is none.
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (!player_ || finished_) return;
  player_->Click();
  Sync();
}

void TForm5::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = false;
  if (!player_ || finished_) return;
  player_->DoubleClick();
  Sync();
}

QImage TForm5::SnapshotUnder(const QRect& screenRect) const {
  if (snapshot_.isNull()) return {};
  return snapshot_.copy(screenRect);
}

void TForm5::PaintContent(QPainter& p) {
  const QRect r(QPoint(0, 0), size());
  const ordinary::WindowRect& w = player_ ? player_->window() : ordinary::WindowRect{};
  const QRect onScreen(w.left, w.top, r.width(), r.height());
  if (!greetingDrawn_) {
    p.fillRect(r, ToQColor(config_.windowColor));
    if (config_.transparent) p.drawImage(0, 0, SnapshotUnder(onScreen));
    if (movie_) {
      if (!movie_->Frame().isNull()) p.drawImage(QRect(0, 0, config_.width, config_.height), movie_->Frame());
    } else if (cardPicture_ && !cardPicture_->Empty()) {
      if (cardPicture_->Animated() || platform::AsciiLower(platform::paths::ExtractFileExt(config_.cardImg)) == ".gif") {
        p.drawImage(ProportionalRect(cardPicture_->Size(), r.size()), cardPicture_->Current());
      } else {
        p.drawImage(r, cardPicture_->Current());
      }
    }
    return;
  }
  p.fillRect(r, ToQColor(config_.greetingColor));
  if (config_.boxTransparent) p.drawImage(0, 0, SnapshotUnder(onScreen));
  if (boxPicture_ && !boxPicture_->Empty()) p.drawImage(r, boxPicture_->Current());
  if (!greetingText_ || greetingText_->Image().isNull()) return;
  if (config_.scroll) {
    // The paint area covers the whole window; the text enters from its bottom edge.
    p.drawImage(8, player_ ? player_->scrollOffset() : r.height(), greetingText_->Image());
  } else {
    p.save();
    p.setClipRect(QRect(8, 8, config_.labelWidth, config_.labelHeight));
    p.drawImage(8, 8, greetingText_->Image());
    p.restore();
  }
}

QImage TForm5::Frame() {
  QImage content(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  content.fill(Qt::black);
  QPainter cp(&content);
  PaintContent(cp);
  cp.end();
  if (entranceStart_ < 0 || !player_) return content;
  // The entrance: the screen under the window, and the part of the window shown so far.
  const EntranceFrame f = EntranceFrameAt(player_->entrance(), width(), height(),
                                          static_cast<int>(NowMs() - entranceStart_));
  QImage out(content.size(), QImage::Format_RGB32);
  out.fill(ToQColor(config_.greetingColor));
  QPainter p(&out);
  const ordinary::WindowRect& w = player_->window();
  p.drawImage(0, 0, SnapshotUnder(QRect(w.left, w.top, width(), height())));
  p.setClipRect(QRect(f.left, f.top, f.width, f.height));
  p.setOpacity(f.opacity / 255.0);
  p.drawImage(0, 0, content);
  return out;
}

void TForm5::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Frame());
}

namespace {
PreviewScript& CurrentPreviewScript() {
  static PreviewScript script;
  return script;
}
}  // namespace

void PreviewCard(const ordinary::OrdinarySettings& settings, QWidget* parent) {
  TForm5 form(settings, parent);
  if (CurrentPreviewScript()) {
    CurrentPreviewScript()(form);
    return;
  }
  form.ShowModal();
}

PreviewScript SetPreviewScript(PreviewScript script) {
  PreviewScript previous = std::move(CurrentPreviewScript());
  CurrentPreviewScript() = std::move(script);
  return previous;
}

}  // namespace ordinary_player_ui
