#pragma once
// Shared pieces of the wizard's window tests: the application object, picture files, and a
// program folder and a temporary folder of their own.
#include <QApplication>
#include <cstdlib>
#include <string>

#include "platform/bitmap.h"
#include "platform/bmp_codec.h"
#include "platform/error.h"
#include "platform/qt/qt_text.h"
#include "platform/paths.h"
#include "support/qt_app.h"

namespace flashui_fixtures {

inline QApplication& App() { return testing_support::QtApp("flashwizard_ui_tests"); }

// A 24-bit BMP of one colour.
inline void WriteBmp(const std::string& path, int w, int h, platform::Color color) {
  auto bmp = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  bmp->Fill(color);
  platform::SaveBmp(*bmp, path);
}

// Points the program folder somewhere for one test and back to the shipped one afterwards.
class ProgramFolderScope {
 public:
  explicit ProgramFolderScope(const std::string& folder) : previous_(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(folder);
  }
  ~ProgramFolderScope() { platform::paths::SetProgramFolder(previous_); }

 private:
  std::string previous_;
};

// Points the system's temporary folder (TMPDIR, a host path) somewhere for one test.
struct TempFolderScope {
  explicit TempFolderScope(const std::string& host) {
    if (const char* t = std::getenv("TMPDIR")) previous = t, had = true;
    setenv("TMPDIR", host.c_str(), 1);
  }
  ~TempFolderScope() {
    if (had)
      setenv("TMPDIR", previous.c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
  std::string previous;
  bool had = false;
};

}  // namespace flashui_fixtures
