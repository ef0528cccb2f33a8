#pragma once
// The one QApplication of the wizard's test program (offscreen).
#include <QApplication>

#include "support/qt_app.h"

inline QApplication& TestApp() { return testing_support::QtApp("ordinary_ui_tests", true); }
