#pragma once
// The new interactive card dialog TForm6 ("新建贺卡"): the card window's size, colour,
// background picture with its layout and mask picture, with the enabling rules and OK's checks.
#include <QDialog>

#include "maker/shell/new_card.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cardshell {

class ColorSwatch;

class TForm6 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);

  // What the controls hold now.
  NewCardSettings Settings() const;
  platform::Color SwatchColor() const { return color_; }
  void SetSwatchColor(platform::Color c);

  // Handlers, public so that tests can drive them.
  void CheckBox1Click();   // "使用背景图片"
  void CheckBox2Click();   // "使用掩饰图片(...)"
  void Button3Click();     // browse background picture
  void Button4Click();     // browse mask picture
  void SwatchClick();      // colour dialog
  void HelpClick();        // "帮助信息"
  void OkClick();          // "确定(&T)"

  QLineEdit* WidthEdit() const { return edit1_; }
  QLineEdit* HeightEdit() const { return edit2_; }
  QLineEdit* BackgroundEdit() const { return edit3_; }
  QLineEdit* MaskEdit() const { return edit4_; }
  QCheckBox* BackgroundCheck() const { return check1_; }
  QCheckBox* MaskCheck() const { return check2_; }
  QComboBox* LayoutList() const { return combo1_; }
  QLabel* WidthLabel() const { return widthLabel_; }
  QLabel* HeightLabel() const { return heightLabel_; }
  QLabel* LayoutLabel() const { return layoutLabel_; }
  QPushButton* BackgroundBrowse() const { return button3_; }
  QPushButton* MaskBrowse() const { return button4_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }
  QWidget* Swatch() const;

 private:
  void SetEnabledLook(QWidget* w, bool enabled);

  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QCheckBox* check1_;
  QCheckBox* check2_;
  QComboBox* combo1_;
  QLabel* widthLabel_;
  QLabel* heightLabel_;
  QLabel* widthUnit_;
  QLabel* heightUnit_;
  QLabel* layoutLabel_;
  QPushButton* button3_;
  QPushButton* button4_;
  QPushButton* help_;
  QPushButton* ok_;
  QPushButton* cancel_;
  ColorSwatch* swatch_;
  platform::Color color_ = platform::kClInfoBk;
};

}  // namespace cardshell
