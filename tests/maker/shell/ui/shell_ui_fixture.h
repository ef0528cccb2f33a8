#pragma once
// Shared pieces of the shell window tests: the application object, a designer double that
// records what the main window asks of it, and waiting for a modal dialog to come up.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "maker/document/element_lifecycle.h"
#include "maker/shell/ui/designer_host.h"
#include "support/qt_app.h"

namespace shell_ui_fixture {

inline QApplication& App() { return testing_support::QtApp("shell_ui_tests"); }

class FakeDesigner : public cardshell::DesignerHost {
 public:
  FakeDesigner() : canvas_(new QLabel("canvas")), panel_(new QLabel("panel")) {
    canvas_->setObjectName("FakeCanvas");
    canvas_->setFocusPolicy(Qt::StrongFocus);
  }
  QWidget* CanvasWidget() override { return canvas_; }
  QWidget* PropertiesWidget() override { return panel_; }
  document::CardDocument& Document() override { return doc; }
  bool CardWindowShown() const override { return shown; }
  void ShowCardWindow() override { shown = true; }
  void DesignReplaced() override { calls.push_back("replaced"); }
  void DesignPartlyRead() override { calls.push_back("partly read"); }
  void Insert(document::ElementKind kind) override {
    calls.push_back("insert " + std::string(document::ShownPrefix(kind)));
  }
  void DeleteSelected() override { calls.push_back("delete selected"); }
  void DeleteAll() override { calls.push_back("delete all"); }
  void ShowCardProperties() override { calls.push_back("card properties"); }
  void Preview() override { calls.push_back("preview"); }
  void StopCaptionTimers() override { calls.push_back("stop timers"); }
  void StartCaptionTimers() override { calls.push_back("start timers"); }
  void FlashCheckCaption(const std::string& caption) override { calls.push_back("flash " + caption); }
  void CreateNewCard(const cardshell::NewCardSettings& settings) override {
    shown = true;
    cardshell::ApplyNewCard(doc, settings);
    calls.push_back("new card");
  }
  std::string ClockText(int panel) const override { return "clock" + std::to_string(panel); }

  document::CardDocument doc;
  bool shown = false;
  std::vector<std::string> calls;

 private:
  QLabel* canvas_;
  QLabel* panel_;
};

// Runs `action` once a modal dialog of the given class is up (then returns), while `start`
// opens it. Returns whether the dialog came up.
template <class Dialog>
bool WhenModalShows(const std::function<void()>& start, const std::function<void(Dialog*)>& action,
                    int timeoutMs = 5000) {
  bool seen = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (seen) return;
    if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      seen = true;
      action(d);
    }
  });
  poll.start();
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  guard.start(timeoutMs);
  start();
  poll.stop();
  return seen;
}

}  // namespace shell_ui_fixture
