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
#include "player/ordinary_ui/movie_player.h"
#include "player/ordinary_ui/card_unpack.h"
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
  movie_.reset();
  stage_.reset();
}

void TForm5::Build(PlayerHooks hooks) {
  hooks_ = std::move(hooks);
  owned_ = std::make_unique<Owned>();
  if (!hooks_.media) owned_->media = ordinary::MakePlatformCardMedia();

  QScreen* screen = QGuiApplication::primaryScreen();
  screenSize_ = hooks_.screenSize ? *hooks_.screenSize : (screen ? screen->geometry().size() : QSize(1024, 768));
  // The screen as it is before the card comes up: what a transparent card shows behind it.
  QImage shot;
  if (hooks_.screenSnapshot) {
    shot = *hooks_.screenSnapshot;
  } else if (screen) {
    shot = screen->grabWindow(0).toImage();
  }
  if (!shot.isNull() && shot.size() != screenSize_)
    shot = shot.scaled(screenSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  snapshot_ = ToBitmap(shot);

  setWindowTitle(platform::ToQString("Lumo贺卡"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);

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
  stage::OrdinaryStageHosts hosts;
  hosts.random = hooks_.random ? hooks_.random : &owned_->random;
  hosts.media = hooks_.media ? hooks_.media : owned_->media.get();
  hosts.ui = this;
  hosts.open = hooks_.open ? hooks_.open : OpenCloseTargetWithShell;
  hosts.processMessages = [] {
    platform::ProcessPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  stage_ = std::make_unique<stage::OrdinaryStage>(settings_, config_, std::move(hosts),
                                                  ordinary::ScreenSize{screenSize_.width(), screenSize_.height()});
  if (stage_->MovieCard()) {
    movie_ = std::make_unique<MoviePlayer>(config_.cardImg, [this] {
      if (stage_) stage_->SetMovieFrame(ToBitmap(movie_->Frame()));
      update();
    });
  }
  stage_->Start(NowMs());
  if (movie_) movie_->Play();
  if (finished_) return;
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
  if (!stage_ || finished_) return;
  const int64_t now = NowMs();
  stage_->Advance(now);
  if (finished_) return;
  if (movie_ && stage_->GreetingShown()) {
    movie_->Stop();
    movie_.reset();
  }
  const uint64_t key = stage_->LookKey(now);
  if (key != lookKey_) {
    lookKey_ = key;
    update();
  }
}

bool TForm5::EntranceRunning() { return stage_ && stage_->EntranceRunning(NowMs()); }


// --- what the stage asks of the window ----------------------------------------------------

platform::MsgResult TForm5::ShowMessage(const std::string& text, platform::MsgIcon icon, platform::MsgButtons buttons) {
  return platform::ShowMessage(text, icon, buttons);
}

void TForm5::CloseCard() { Finish(); }

void TForm5::MoveWindow(int left, int top) {
  move(ScreenOrigin() + QPoint(left, top));
  update();  // the screen under the new place shows through a transparent card
}

void TForm5::ResizeWindow(int width, int height) {
  resize(std::max(width, 1), std::max(height, 1));
  raise();
  activateWindow();
  update();
}

bool TForm5::ShowFlashMovie(int, const stage::ScreenRect&, const std::string&) { return false; }

void TForm5::Finish() {
  if (finished_) return;
  finished_ = true;
  pollTimer_->stop();
  topmostTimer_->stop();
  if (movie_) movie_->Stop();
  if (!closing_) {
    closing_ = true;
    close();
  }
  emit Closed();
}

void TForm5::closeEvent(QCloseEvent* event) {
  closing_ = true;
  // Closing the window closes the card: the sound stops and the closing links open.
  if (stage_) stage_->Close(NowMs());
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
  if (!stage_ || finished_) return;
  stage_->Click(NowMs());
  update();
}

void TForm5::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = false;
  if (!stage_ || finished_) return;
  stage_->DoubleClick(NowMs());
  update();
}

QImage TForm5::Frame() {
  auto bitmap = platform::Bitmap::Create(std::max(width(), 1), std::max(height(), 1), platform::PixelFormat::Bgr24);
  if (!bitmap) return {};
  if (stage_) {
    stage_->Draw(*bitmap, NowMs(), snapshot_.get());
  } else {
    bitmap->Fill(config_.windowColor);
  }
  return ToQImage(*bitmap);
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
