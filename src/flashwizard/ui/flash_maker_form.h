#pragma once
// TpvFlashMakerForm: the Flash card wizard window. Step one sets the title with its text
// effect, the background, the movie size, the music and the JPEG option; step two is the
// scene editor; the bottom bar navigates, saves templates and builds the movie.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "flashwizard/flash_project.h"
#include "platform/bitmap.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;

namespace imaging::ui {
class TlmImageVcl;
}

namespace flashwizard::ui {

class ColorBox;
class SceneEditor;

class TpvFlashMakerForm : public QWidget {
  Q_OBJECT
 public:
  // templateName: the name the command line gave (may be empty).
  explicit TpvFlashMakerForm(std::string templateName = {}, QWidget* parent = nullptr);
  ~TpvFlashMakerForm() override;

  FlashProject& Project() { return project_; }
  SceneEditor* Editor() const { return editor_; }
  // How modal dialogs are run (tests answer them through it).
  void SetDialogRunner(std::function<int(QDialog&)> run);

  // The controls' settings into the project and back.
  void ReadSettings();
  void WriteSettings();

  // Commands.
  void ShowStep(int step);  // 0 or 1
  int Step() const;
  void RefTextEff();
  void BrowseBackground();
  void BrowseMusic();
  // True when the template was saved.
  bool SaveTemplate();
  bool PreviewFlash();
  bool SaveFlash();
  // The web card: a page that plays the card in any browser without Flash.
  bool SaveWebCard();
  void LoadSet(const std::string& file);
  // Whether the project differs from what was last saved as a template (or loaded, or what the
  // window started with).
  bool Modified();
  bool Building() const { return building_; }
  // Deletes the temporary files that still exist (also done on closing).
  void DeleteTempFiles();
  std::vector<std::string>& TempFiles() { return tempFiles_; }
  bool NoticeShown() const { return noticeShown_; }

  // The title preview's image with its background layer hidden (for the builder).
  std::unique_ptr<platform::Bitmap> ExportTitle();

  // Widgets for tests.
  QLineEdit* TitleEdit() const { return title_; }
  QCheckBox* ShowTitle() const { return showTitle_; }
  QComboBox* FontBox() const { return font_; }
  QComboBox* SizeBox() const { return size_; }
  QComboBox* EffectBox() const { return effect_; }
  ColorBox* TitleColor() const { return titleColor_; }
  ColorBox* BackColor() const { return backColor_; }
  QCheckBox* UseBackPic() const { return useBack_; }
  QLineEdit* BackPath() const { return backPath_; }
  QCheckBox* TileBack() const { return tile_; }
  QSpinBox* WidthBox() const { return width_; }
  QSpinBox* HeightBox() const { return height_; }
  QCheckBox* UseMusic() const { return music_; }
  QLineEdit* MusicPath() const { return musicPath_; }
  QCheckBox* UseJpeg() const { return jpeg_; }
  imaging::ui::TlmImageVcl* TitlePreview() const { return lmImg_; }
  QPushButton* PrevButton() const { return prev_; }
  QPushButton* NextButton() const { return next_; }
  QPushButton* SaveTemplateButton() const { return saveTemplate_; }
  QPushButton* PreviewButton() const { return preview_; }
  QPushButton* SaveFlashButton() const { return saveFlash_; }
  QPushButton* SaveWebCardButton() const { return saveWeb_; }
  QProgressBar* Progress() const { return progress_; }
  QWidget* StepOnePanel() const { return panel_; }
  QTabWidget* Pages() const { return pages_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* BuildStepOne();
  void StartTitlePreview();
  bool LoadBackPreview(const std::string& file);
  enum class Output { Preview, Movie, WebCard };
  bool Build(Output output);
  void PlaceProgress();
  void MarkSaved();

  FlashProject project_;
  std::unique_ptr<FlashProject> saved_;  // the project as last saved
  bool building_ = false;
  std::string templateName_;
  bool templateTried_ = false;
  bool noticeShown_ = false;
  std::vector<std::string> tempFiles_;
  std::function<int(QDialog&)> runDialog_;

  QTabWidget* pages_;
  QWidget* panel_;
  SceneEditor* editor_;
  QCheckBox *showTitle_, *bold_, *italic_, *underline_, *strike_, *useBack_, *tile_, *music_, *jpeg_;
  QLineEdit *title_, *backPath_, *musicPath_;
  QComboBox *font_, *size_, *effect_;
  ColorBox *titleColor_, *backColor_;
  QSpinBox *width_, *height_;
  imaging::ui::TlmImageVcl* lmImg_;
  QScrollArea* backScroll_;
  QLabel* backPreview_;
  QPushButton *prev_, *next_, *saveTemplate_, *preview_, *saveFlash_, *saveWeb_;
  QProgressBar* progress_;
};

}  // namespace flashwizard::ui
