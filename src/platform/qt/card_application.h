#pragma once
// The window programs' application object: installs the Qt dialogs, Qt's Chinese texts and the
// message pump, carries the application title, and is the one handler that shows an uncaught
// error's text in an error box captioned with the application title.
#include <QApplication>
#include <memory>
#include <string>

#include "platform/qt/qt_dialogs.h"

namespace platform {

class CardApplication : public QApplication {
 public:
  // title is the application title (GBK).
  CardApplication(int& argc, char** argv, const std::string& title);
  ~CardApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows an error's text as the platform's one handler does.
  static void ShowException(const std::string& text);

 private:
  QtDialogs dialogs_;
  Dialogs* previousDialogs_ = nullptr;
};

}  // namespace platform
