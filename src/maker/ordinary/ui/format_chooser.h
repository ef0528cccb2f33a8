#pragma once
// The card format chooser "选择贺卡格式": a modal dialog with two choices (a plain card file,
// selected when it opens, or an EXE card) and, where the caller offers it, a third (a web
// card), an explanation under each whose closing clause is red, and the buttons "确定(&T)" and
// "取消(&C)". Used by the wizard's output browse and by the main window's build command.
#include <QDialog>
#include <functional>
#include <optional>
#include <string_view>

class QLabel;
class QPushButton;
class QRadioButton;

namespace ordinary_ui {

enum class CardFormat { Plain, Exe, Web };

class FormatChooser : public QDialog {
  Q_OBJECT

 public:
  explicit FormatChooser(QWidget* parent = nullptr, bool offerWeb = false);

  CardFormat Format() const;
  void SetFormat(CardFormat format);

  QRadioButton* PlainButton() const { return plain_; }
  QRadioButton* ExeButton() const { return exe_; }
  QRadioButton* WebButton() const { return web_; }  // hidden unless offered
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLabel* PlainText() const { return plainText_; }
  QLabel* ExeText() const { return exeText_; }

 private:
  QRadioButton* plain_;
  QRadioButton* exe_;
  QRadioButton* web_;
  QLabel* webText_;
  QLabel* plainText_;
  QLabel* exeText_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// Shows the chooser modally, centred on parent; the chosen format when it ends with
// "确定(&T)", nothing when it is closed in any other way. offerWeb adds the web card choice.
std::optional<CardFormat> ChooseCardFormat(QWidget* parent, bool offerWeb = false);

// Tests (and tools) answer the chooser without showing it: while a script is installed,
// ChooseCardFormat calls it instead of opening the dialog. Returns the previous script.
using FormatChooserScript = std::function<std::optional<CardFormat>()>;
FormatChooserScript SetFormatChooserScript(FormatChooserScript script);

// The explanation as rich text: the sentence with its closing clause in red.
QString ExplanationHtml(std::string_view text, std::string_view redClause);

}  // namespace ordinary_ui
