#pragma once
// The add-scene dialog TForm2 ("添加场景") and the notice TForm3 ("重要提示") of the Flash
// card wizard.
#include <QDialog>

#include "flashwizard/flash_project.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace flashwizard::ui {

class ColorBox;

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // The scene the controls describe; durations and display time are read as seconds and
  // stored as milliseconds. ConvertError when one of them is not a number.
  TpvFlashScene ReadScene() const;

  QLineEdit* NameEdit() const { return name_; }
  QRadioButton* NoBackground() const { return none_; }
  QRadioButton* UseColor() const { return useColor_; }
  QRadioButton* UsePicture() const { return usePicture_; }
  ColorBox* Color() const { return color_; }
  QLineEdit* PicturePath() const { return path_; }
  QPushButton* BrowseButton() const { return browse_; }
  QComboBox* Layout() const { return layout_; }
  QComboBox* AppearEffect() const { return showEff_; }
  QComboBox* DisappearEffect() const { return hideEff_; }
  QLineEdit* AppearTime() const { return showTime_; }
  QLineEdit* DisappearTime() const { return hideTime_; }
  QLineEdit* DisplayTime() const { return displayTime_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  void Browse();

  QLineEdit* name_;
  QRadioButton *none_, *useColor_, *usePicture_;
  ColorBox* color_;
  QLineEdit* path_;
  QPushButton* browse_;
  QComboBox *layout_, *showEff_, *hideEff_;
  QLineEdit *showTime_, *hideTime_, *displayTime_;
  QPushButton *ok_, *cancel_;
};

class TForm3 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
  QLabel* DownloadLink() const { return link_; }

 private:
  QLabel* link_;
};

// The image program's link: starts the registered program when its file exists, else opens
// its download page.
void OpenImageProgram();
// Opens the image program's download page.
void OpenImageProgramPage();
// Opens the wizard's online help.
void OpenWizardHelp();

}  // namespace flashwizard::ui
