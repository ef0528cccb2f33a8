#include "maker/shell/ui/card_maker.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <utility>

#include "audio/ui/voice_recorder_form.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/shell/ui/about_box.h"
#include "maker/shell/ui/main_window.h"
#include "maker/shell/ui/new_card_dialog.h"
#include "maker/shell/ui/template_gallery_window.h"
#include "maker/shell/start_file.h"
#include "maker/shell/template_gallery.h"
#include "maker/shell/ui/window_placement.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace cardshell {

CardMaker::CardMaker(std::unique_ptr<DesignerHost> designer, StartupTimes times) : times_(times) {
  form1_ = std::make_unique<TForm1>(std::move(designer));
  form1_->setEnabled(false);  // enabled when the start-up timer fires
  created_.push_back("TForm1");
}

CardMaker::~CardMaker() = default;

void CardMaker::Start() {
  // The about box is the splash: visible from its creation, painted at once.
  form9_ = new TForm9(form1_.get());
  created_.push_back("TForm9");
  form1_->SetAboutBox(form9_);
  form9_->ShowAsSplash();
  QTimer::singleShot(times_.splashMs, this, [this] { CreateRest(); });
}

void CardMaker::CreateRest() {
  form3_ = new ordinary_ui::TForm3(form1_.get());
  created_.push_back("TForm3");
  form4_ = new audio_ui::TForm4(form1_.get());
  created_.push_back("TForm4");
  form2_ = new TForm2(form1_.get());
  created_.push_back("TForm2");
  form6_ = new TForm6(form1_.get());
  created_.push_back("TForm6");
  form1_->SetGallery(form2_);
  form2_->SetNewCardDialog(form6_);
  DesignerHost* designer = &form1_->Designer();
  FileCommands* files = &form1_->Files();
  form2_->loadInteractiveTemplate = [files](const std::string& path) { files->LoadTemplate(path); };
  form2_->createBlankCard = [designer, files](const NewCardSettings& settings) {
    designer->CreateNewCard(settings);
    // A name with no folder: the first save asks for a file.
    files->SetCurrentDesignFile(std::string(kNewDesignName));
    files->MarkSaved();  // a blank card holds nothing to lose
  };
  form2_->openOrdinaryWizard = [this](QWidget* gallery, const std::string& file) { OpenOrdinaryWizard(gallery, file); };

  form1_->StartupTimer()->setInterval(times_.galleryMs);
  form1_->onStartupTimer = [this] { StartupTimer(); };
  // Without a window manager to maximise it, the window still takes the whole work area.
  if (QScreen* screen = QGuiApplication::primaryScreen()) form1_->setGeometry(screen->availableGeometry());
  form1_->showMaximized();
}

void CardMaker::StartupTimer() {
  form1_->setEnabled(true);
  form1_->show();
  form9_->EndSplash();
  form1_->activateWindow();
  if (OpenStartFile()) return;
  CentreOn(form2_, form1_.get());
  form2_->exec();
}

bool CardMaker::OpenStartFile() {
  const std::string file = std::exchange(startFile_, std::string());
  switch (StartFileKindOf(file)) {
    case StartFileKind::None:
      return false;
    case StartFileKind::Design:
      form1_->Files().SetCurrentDesignFile(file);
      try {
        form1_->Files().LoadDesign(file);
      } catch (const platform::Error& e) {
        platform::ShowMessage(e.what(), platform::MsgIcon::Error);
      }
      return true;
    case StartFileKind::Ordinary:
      OpenOrdinaryWizard(form1_.get(), file);
      return true;
    case StartFileKind::FlashWizard:
      StartFlashWizard(file);
      return true;
  }
  return false;
}

void CardMaker::OpenOrdinaryWizard(QWidget* gallery, const std::string& templateFile) {
  // A fresh wizard for every use, destroyed when it closes; the gallery stays open.
  ordinary_ui::TForm3 wizard(gallery);
  PlaceBottomRightOn(&wizard, gallery);
  if (!templateFile.empty()) wizard.LoadTemplate(templateFile);
  wizard.ShowModal();
}

}  // namespace cardshell
