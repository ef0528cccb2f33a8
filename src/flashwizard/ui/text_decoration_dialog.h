#pragma once
// The add-text-decoration dialog TForm41 ("添加文字点缀"): a text styled with a font and a text
// effect, previewed in a layered image, handed back as a cropped 32-bit BMP in the temporary
// folder.
#include <QDialog>
#include <string>

#include "imaging/text_layer_info.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace imaging::ui {
class TlmImageVcl;
}

namespace flashwizard::ui {

class ColorBox;

// Effect list boxes shared by the dialog and the wizard's title: fills the list, and answers
// the style file of the chosen entry. Choosing the last entry asks for any style file, which
// the box keeps as its hint.
void FillEffectBox(QComboBox* box);
std::string EffectBoxStyleFile(const QComboBox* box);
// Asks for a style file when the last entry is chosen; false when none was chosen.
bool AskOtherStyleFile(QComboBox* box);
// Fills a font list and selects `prefer` when listed (else the first entry).
void FillFontBox(QComboBox* box, const std::string& prefer);

class TForm41 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm41(QWidget* parent = nullptr);

  // The picture file written on OK.
  const std::string& FileName() const { return fileName_; }

  // Re-renders the preview from the controls (nothing when the text is blank).
  void RefTextEff();
  // The OK command: checks the text, exports the picture and accepts.
  void Confirm();

  QComboBox* FontBox() const { return font_; }
  QComboBox* SizeBox() const { return size_; }
  ColorBox* Color() const { return color_; }
  QCheckBox* Bold() const { return bold_; }
  QSpinBox* LetterSpacing() const { return letter_; }
  QSpinBox* LineSpacing() const { return line_; }
  QComboBox* EffectBox() const { return effect_; }
  QPlainTextEdit* TextBox() const { return text_; }
  imaging::ui::TlmImageVcl* Preview() const { return lmImg1_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  void SetUpImage();
  imaging::TTextLayerInfo Describe() const;

  QComboBox *font_, *size_, *effect_;
  ColorBox* color_;
  QCheckBox *bold_, *italic_, *underline_, *strike_;
  QSpinBox *letter_, *line_;
  QPlainTextEdit* text_;
  QScrollArea* scroll_;
  imaging::ui::TlmImageVcl* lmImg1_;
  QPushButton *ok_, *cancel_;
  std::string fileName_;
};

}  // namespace flashwizard::ui
