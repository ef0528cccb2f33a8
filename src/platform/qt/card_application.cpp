#include "platform/qt/card_application.h"

#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/qt/qt_media_backend.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_translations.h"

namespace platform {

CardApplication::CardApplication(int& argc, char** argv, const std::string& title) : QApplication(argc, argv) {
  SetApplicationTitle(title);
  setApplicationName(ToQString(title));
  // Qt's standard dialogs and buttons speak Chinese like the rest of the program.
  if (std::string why; !InstallQtTranslations(&why)) std::fprintf(stderr, "%s\n", why.c_str());
  previousDialogs_ = SetDialogs(&dialogs_);
  SetMessagePump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
  paths::SetProgramFolder(FromQString(QCoreApplication::applicationDirPath()) + "/");
  InstallQtMediaBackend();
  // Smoke runs: LMCARD_QUIT_AFTER_MS=n prints the visible windows' titles after n ms and quits.
  if (const char* quitAfter = std::getenv("LMCARD_QUIT_AFTER_MS"); quitAfter && *quitAfter) {
    QTimer::singleShot(std::atoi(quitAfter), this, [] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) std::printf("window: %s\n", w->windowTitle().toUtf8().constData());
      }
      std::fflush(stdout);
      QCoreApplication::quit();
    });
  }
}

CardApplication::~CardApplication() {
  media::SetBackend(nullptr);  // sound after this point keeps time silently
  SetMessagePump(nullptr);
  SetDialogs(previousDialogs_);
}

void CardApplication::ShowException(const std::string& text) {
  CurrentDialogs().MessageBox(text, ApplicationTitle(), MsgIcon::Error, MsgButtons::Ok);
}

bool CardApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    // The operation stops where it was; the program goes on.
    ShowException(e.what());
  } catch (...) {
    ShowException("Unknown error");
  }
  return false;
}

}  // namespace platform
