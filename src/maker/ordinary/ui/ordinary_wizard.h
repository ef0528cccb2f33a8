#pragma once
// TForm3, the ordinary card wizard "普通贺卡制作向导": six pages that collect an ordinary card's
// settings, show the card picture and the greeting box as they will look, play the music and
// the voice, and on the last page preview, build, save as a template and send the card.
//
// The template gallery creates a fresh wizard for every use:
//   ordinary_ui::TForm3 wizard(parent);
//   wizard.LoadTemplate(path);   // optional; raises platform::ConvertError on a damaged number
//   wizard.ShowModal();
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/ordinary/saved_settings.h"
#include "maker/ordinary/ui/wizard_rules.h"
#include "maker/ordinary/ui/wizard_ui.h"

namespace audio {
class TpvPlayer;
}
namespace audio_ui {
class TForm4;
}

namespace ordinary_ui {

// Tests see the settings that the preview would show instead of the player window.
using PreviewHook = std::function<void(const ordinary::OrdinarySettings&)>;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  // LoadSet: fills the wizard from a template file (".lmcard"), control by control with the
  // side effects of the user's own changes. A numeric key that holds no number stops the load
  // with platform::ConvertError after the keys before it were taken.
  void LoadTemplate(const std::string& path);
  // Shows the wizard modally (the attention timer starts and the greeting box folder is listed);
  // returns when it is closed.
  int ShowModal();

  // The card's settings as the controls hold them (what SaveSet writes and the build packs).
  ordinary::OrdinarySettings Settings() const;

  // Display operations of LoadSet, the card picture browse and the greeting box list.
  void Setcardimg(const std::string& path);
  void LMLoadHCK(const std::string& path);
  // The attention flash: the control's text colour turns to colour and back, rounds times.
  void Flash(QWidget* control, QColor colour = QColor(0, 0, 255), int rounds = 3);

  // Pages 1 to 6.
  int Page() const;
  void SetPage(int page);

  // Page 6 commands and the buttons below the pages.
  void Preview();
  bool Build();
  // True when the template was written.
  bool SaveTemplate();
  void SendCard();
  void Finish();
  // Closing without "完成(&F)" (the close box, Esc, "取消(&C)"): with unsaved settings, asks first.
  void reject() override;

  // Whether the settings changed since they were last saved as a template or read from one
  // (or since the wizard opened).
  bool ChangedSinceSave() const { return saved_.ChangedSince(Settings()); }

  bool Built() const { return built_; }
  bool TemplateSaved() const { return templateSaved_; }
  PictureKind CardKind() const { return cardKind_; }
  const std::string& CardPath() const { return cardPath_; }
  const std::string& BoxPath() const { return boxPath_; }
  bool BoxShown() const { return boxKind_ != PictureKind::None; }
  // The file the media control has open ("" when closed): the card movie or the music test.
  const std::string& MediaFile() const { return mediaFile_; }

  // The controls, for the pages' code and for tests.
  const WizardUi& Ui() const { return ui_; }

  // The message rounds of one flash state (100001, as the platform pumps them); tests lower it.
  static void SetFlashPumpCount(int count);
  // While a hook is installed, the preview calls it instead of showing the player. Returns the
  // previous hook.
  static PreviewHook SetPreviewHook(PreviewHook hook);

  // The timers (tests look at them).
  QTimer& MovieLoopTimer() { return movieLoop_; }
  QTimer& AttentionTimer() { return attention_; }
  QTimer& MusicFollowTimer() { return musicFollow_; }
  QTimer& HelpColourTimer() { return helpColour_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;  // every way of closing releases the media
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Built page by page (wizard_page*.cpp).
  QWidget* BuildCardPage();
  QWidget* BuildSoundPage();
  QWidget* BuildGreetingPage();
  QWidget* BuildMovePage();
  QWidget* BuildEndPage();
  QWidget* BuildOutputPage();
  void BuildFrame();

  void PageChanged(int index);
  void ListGreetingBoxes();
  void ReleaseMedia();

  // Page 1.
  void BrowseCardPicture();
  void OpenMovie(const std::string& path);
  void CloseMedia();
  void MovieLoopTick();
  bool LeaveCardSize(SizeField field);
  void ChooseSwatchColour(class ColorSwatch* swatch);
  void ApplyCardColour(platform::Color colour);
  // Page 2.
  void BrowseMusic();
  void TestMusic();
  void StopMusic();
  void MusicFollowTick();
  void SliderMoved(int position);
  void BrowseVoice();
  void RecordVoice();
  void TestVoice();
  // Page 3.
  void GreetingBoxChosen(int index);
  void BrowseMoreBoxes();
  bool LeaveBoxSize(SizeField field);
  void SetGreetingFont();
  void SetGreetingColour();
  void LoadGreetingText();
  void SaveGreetingText();
  void ApplyGreetingFont(const platform::FontSpec& font);
  void ApplyBoxColour(platform::Color colour);
  void SetAutoGreetingEnabled(bool enabled);
  // Page 4 and 5.
  void CentreToggled(bool on);
  void LoopToggled(bool on);
  void ApplyMoveLock();
  void MailOptionToggled(bool on);
  void NotifyOptionToggled(bool on);
  // Page 6.
  void BrowseOutput();
  void BrowseIcon();
  void ShowIcon();
  std::optional<CheckFailure> RunChecks(bool forBuild);
  void ShowHelp();

  // Controls from settings (LoadSet's steps after the file is read).
  void ApplySettings(const ordinary::OrdinarySettings& s);

  WizardUi ui_;
  std::string cardPath_;
  PictureKind cardKind_ = PictureKind::None;
  std::string boxPath_;
  PictureKind boxKind_ = PictureKind::None;
  platform::Color cardColour_ = 12632256;
  platform::Color boxColour_ = platform::kClBtnFace;
  platform::FontSpec greetingFont_;
  bool built_ = false;
  bool templateSaved_ = false;
  ordinary::SavedSettingsMark saved_;
  bool shownOnce_ = false;
  MoveLock moveLock_;

  uint32_t mediaDevice_ = 0;  // the media control's device (0 = closed)
  std::string mediaFile_;
  std::unique_ptr<audio::TpvPlayer> probe_;
  audio_ui::TForm4* recorder_ = nullptr;  // made on first use, a child of the wizard

  QTimer movieLoop_;
  QTimer attention_;
  QTimer musicFollow_;
  QTimer helpColour_;
};

}  // namespace ordinary_ui
