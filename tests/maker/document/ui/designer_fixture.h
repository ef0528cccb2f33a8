#pragma once
// Set-up of the designer window tests: an application, a temporary program folder, scripted
// dialogs, and a designer whose canvas and property window sit in one shown, active window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <memory>

#include "maker/document/ui/design_canvas.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/element_view.h"
#include "maker/document/ui/panel_kit.h"
#include "maker/document/ui/properties_window.h"
#include "maker/transitions/ui/gif_animation_widget.h"
#include "maker/transitions/ui/pic_show_box_widget.h"
#include "maker/transitions/ui/scroll_caption_widget.h"
#include "platform/files.h"
#include "platform/gif_codec.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace designer_test {

inline QApplication& App() { return testing_support::QtApp("designer_ui_tests"); }

// A small two-frame GIF animation file of w x h.
inline std::string WriteGif(const std::string& path, int w, int h) {
  platform::GifAnimation a;
  a.width = w;
  a.height = h;
  for (int i = 0; i < 2; ++i) {
    platform::GifFrame f;
    f.width = w;
    f.height = h;
    f.image = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgra32);
    f.image->Fill(i ? platform::Rgb(255, 0, 0) : platform::Rgb(0, 0, 255));
    f.delay = 10;
    a.frames.push_back(std::move(f));
  }
  std::vector<uint8_t> bytes = platform::EncodeGif(a);
  testing_support::WriteBytes(path, std::string(bytes.begin(), bytes.end()));
  return path;
}

class DesignerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    oldFolder_ = platform::paths::ProgramFolder();
    platform::paths::SetProgramFolder(dir.Path());
    platform::profile::ClearCache();
    designer = std::make_unique<designer::Designer>();
    auto* layout = new QHBoxLayout(&window);
    designer->Properties()->setFixedWidth(217);  // as docked in the main window
    layout->addWidget(designer->Properties());
    layout->addWidget(designer->Canvas(), 1);
    window.resize(1000, 700);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    designer->ReloadAfterOpen();
  }
  void TearDown() override {
    designer.reset();
    platform::paths::SetProgramFolder(oldFolder_);
  }

  document::CardDocument& Doc() { return designer->Document(); }
  designer::DesignCanvas& Canvas() { return *designer->Canvas(); }
  designer::PropertiesWindow& Props() { return *designer->Properties(); }
  designer::ElementView* View(document::ElementRef r) { return Canvas().ViewOf(r); }
  document::Rect RectOf(document::ElementRef r) { return document::ElementRect(Doc(), r); }
  // A field of the property panel on show, by object name.
  template <class W>
  W* Field(const char* name) {
    return Props().PropertyPanel()->template findChild<W*>(name);
  }
  template <class W>
  W* EventField(const char* name) {
    return Props().EventPanel()->template findChild<W*>(name);
  }

  struct AppFirst {
    AppFirst() { App(); }
  } appFirst_;  // the application exists before any widget
  testing_support::TempDir dir;
  platform::ScriptedDialogs dialogs;
  QWidget window;
  std::unique_ptr<designer::Designer> designer;

 private:
  std::string oldFolder_;
};

}  // namespace designer_test
