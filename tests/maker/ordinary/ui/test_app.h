#pragma once
// The one QApplication of the wizard's test program (offscreen).
#include <QApplication>

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "ordinary_ui_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = QCoreApplication::instance()
                                 ? qobject_cast<QApplication*>(QCoreApplication::instance())
                                 : new QApplication(argc, argv);
  return *app;
}
