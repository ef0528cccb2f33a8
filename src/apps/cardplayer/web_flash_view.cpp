#include "apps/cardplayer/web_flash_view.h"

#if defined(CARD_PLAYER_WITH_FLASH) && defined(CARD_PLAYER_HAS_WEBENGINE)

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdlib>
#include <map>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "player/interactive_ui/flash_view.h"

namespace cardplayer {

namespace {

const char* kPage =
    "<!DOCTYPE html><html><head><meta charset='utf-8'>"
    "<style>html,body{margin:0;height:100%;overflow:hidden;background:transparent}"
    "#c,ruffle-player{display:block;width:100%;height:100%}</style></head><body>"
    "<div id='c'></div><script src='/ruffle/ruffle.js'></script><script>"
    "window.RufflePlayer=window.RufflePlayer||{};"
    "window.RufflePlayer.config={autoplay:'on',unmuteOverlay:'hidden',splashScreen:false,"
    "contextMenu:'off',letterbox:'on',backgroundColor:null,publicPath:'/ruffle/'};"
    "window.addEventListener('load',function(){var p=window.RufflePlayer.newest().createPlayer();"
    "document.getElementById('c').appendChild(p);p.load('/movie/MOVIE.swf');});"
    "</script></body></html>";

// Serves the page, the Flash player's files and the registered movies, to this machine only.
class MovieServer {
 public:
  static MovieServer& Instance() {
    static MovieServer server;
    return server;
  }
  bool Ready() const { return server_.isListening(); }
  // A page address for a movie file (system path).
  QString PageFor(const std::string& moviePath) {
    const int id = next_++;
    movies_[id] = moviePath;
    return QString("http://127.0.0.1:%1/play/%2.html").arg(server_.serverPort()).arg(id);
  }

 private:
  MovieServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { Answer(s); });
      }
    });
  }

  void Answer(QTcpSocket* s) {
    pending_[s] += s->readAll();
    const QByteArray& req = pending_[s];
    if (!req.contains("\r\n\r\n")) return;
    const QByteArray path = req.left(req.indexOf("\r\n")).split(' ').value(1);
    pending_.erase(s);
    QByteArray body, type = "application/octet-stream";
    bool found = false;
    if (path.startsWith("/play/") && path.endsWith(".html")) {
      body = QByteArray(kPage).replace("MOVIE", path.mid(6, path.size() - 11));
      type = "text/html; charset=utf-8";
      found = true;
    } else if (path.startsWith("/movie/") && path.endsWith(".swf")) {
      bool ok = false;
      const int id = path.mid(7, path.size() - 11).toInt(&ok);
      if (auto it = movies_.find(id); ok && it != movies_.end()) {
        if (auto bytes = platform::files::ReadFile(it->second)) {
          body = QByteArray::fromStdString(*bytes);
          type = "application/x-shockwave-flash";
          found = true;
        }
      }
    } else if (path.startsWith("/ruffle/")) {
      const QByteArray name = path.mid(8);
      // Only plain file names of the player's own folder.
      if (!name.isEmpty() && !name.contains('/') && !name.contains('\\') && !name.startsWith('.')) {
        if (auto bytes = platform::files::ReadFile(platform::paths::ProgramFolder() + "ruffle/" + name.toStdString())) {
          body = QByteArray::fromStdString(*bytes);
          type = name.endsWith(".wasm") ? "application/wasm" : name.endsWith(".js") ? "text/javascript" : type;
          found = true;
        }
      }
    }
    const QByteArray status = found ? "200 OK" : "404 Not Found";
    s->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
             QByteArray::number(body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body);
    s->disconnectFromHost();
  }

  QTcpServer server_;
  std::map<QTcpSocket*, QByteArray> pending_;
  std::map<int, std::string> movies_;
  int next_ = 1;
};

class WebFlashView : public FlashView {
 public:
  explicit WebFlashView(QWidget* parent) : FlashView(parent), view_(new QWebEngineView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->page()->setBackgroundColor(Qt::transparent);
  }
  void LoadMovie(const std::string& path) override {
    movie_ = path;
    if (path.empty()) {
      view_->setHtml("<html><body style='margin:0'></body></html>");
      return;
    }
    view_->load(QUrl(MovieServer::Instance().PageFor(path)));
  }

 private:
  QWebEngineView* view_;
};

}  // namespace

void PrepareWebFlash() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The web engine's sandbox refuses to start for the administrator; software drawing works on
  // every display, including virtual ones.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
  SetFlashViewFactory([](QWidget* parent) -> FlashView* {
    if (!platform::files::FileExists(platform::paths::ProgramFolder() + "ruffle/ruffle.js")) return nullptr;
    if (!MovieServer::Instance().Ready()) return nullptr;
    return new WebFlashView(parent);
  });
}

}  // namespace cardplayer

#endif
