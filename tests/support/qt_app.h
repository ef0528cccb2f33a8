#pragma once
// The one QApplication of a test program that opens windows, made on first use.
#include <QApplication>
#include <string>

namespace testing_support {

// The running application, or a new one named `program`. With offscreen, an unset
// QT_QPA_PLATFORM becomes "offscreen" first, for tests that need no display at all.
inline QApplication& QtApp(const char* program, bool offscreen = false) {
  if (offscreen && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static std::string name = program;
  static int argc = 1;
  static char* argv[] = {name.data(), nullptr};
  static QApplication* app = QCoreApplication::instance()
                                 ? qobject_cast<QApplication*>(QCoreApplication::instance())
                                 : new QApplication(argc, argv);
  return *app;
}

}  // namespace testing_support
