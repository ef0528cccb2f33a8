#pragma once
// The card maker's start-up: creates its windows in their fixed order, shows the about box as
// a splash, and once the main window has been shown for a moment opens the template gallery,
// so that work begins with the choice of a template.
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "maker/shell/ui/designer_host.h"

namespace audio_ui {
class TForm4;
}
namespace ordinary_ui {
class TForm3;
}

namespace cardshell {

class TForm1;
class TForm2;
class TForm6;
class TForm9;

struct StartupTimes {
  int splashMs = 2000;   // the splash stands alone this long before the other windows come
  int galleryMs = 1000;  // the main window's start-up timer
};

class CardMaker : public QObject {
  Q_OBJECT
 public:
  explicit CardMaker(std::unique_ptr<DesignerHost> designer, StartupTimes times = {});
  ~CardMaker() override;

  // Creates the main window and the splash; the other windows follow after the splash time,
  // then the main window shows maximised and its start-up timer runs. Returns at once: the
  // rest happens in the application's message loop.
  void Start();
  // A file named on the command line: once the main window is up, a design opens in the
  // designer, an ordinary template in the wizard, a Flash template in the Flash card wizard,
  // instead of the template gallery (see maker/shell/start_file.h).
  void SetStartFile(std::string path) { startFile_ = std::move(path); }

  // The windows, once created (nullptr before).
  TForm1* MainWindow() const { return form1_.get(); }
  TForm9* AboutBox() const { return form9_; }
  TForm2* Gallery() const { return form2_; }
  TForm6* NewCardDialog() const { return form6_; }
  ordinary_ui::TForm3* Wizard() const { return form3_; }
  audio_ui::TForm4* Recorder() const { return form4_; }
  // Object names of the windows in the order they were created.
  const std::vector<std::string>& CreationOrder() const { return created_; }

 private:
  void CreateRest();
  void StartupTimer();
  void OpenOrdinaryWizard(QWidget* gallery, const std::string& templateFile);
  bool OpenStartFile();

  StartupTimes times_;
  std::unique_ptr<TForm1> form1_;
  TForm9* form9_ = nullptr;
  ordinary_ui::TForm3* form3_ = nullptr;
  audio_ui::TForm4* form4_ = nullptr;
  TForm2* form2_ = nullptr;
  TForm6* form6_ = nullptr;
  std::vector<std::string> created_;
  std::string startFile_;
};

}  // namespace cardshell
