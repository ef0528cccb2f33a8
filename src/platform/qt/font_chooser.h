#pragma once
// The one font dialog of the window programs. It offers the Chinese family names that cards
// carry first (宋体, 黑体, 楷体, …), under those names, and then the host's other families,
// so that a card keeps names that mean something on the machine that plays it.
#include <QDialog>
#include <optional>
#include <string>

#include "platform/font_spec.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace platform {

class FontChooser : public QDialog {
  Q_OBJECT

 public:
  explicit FontChooser(const FontSpec& initial, QWidget* parent = nullptr);

  // The initial font with the family, size and styles the dialog holds now (size in points,
  // no platform height; the colour and character set stay as they were).
  FontSpec Chosen() const;

  // Controls, for tests.
  QListWidget* FamilyList() const { return families_; }
  QListWidget* StyleList() const { return styles_; }
  QLineEdit* SizeEdit() const { return size_; }
  QCheckBox* StrikeOutBox() const { return strikeOut_; }
  QCheckBox* UnderlineBox() const { return underline_; }

  // Shows the dialog modally; nothing when cancelled.
  static std::optional<FontSpec> Choose(const FontSpec& initial, QWidget* parent);

 private:
  void UpdateSample();

  FontSpec initial_;
  QListWidget* families_;
  QListWidget* styles_;
  QLineEdit* size_;
  QListWidget* sizes_;
  QCheckBox* strikeOut_;
  QCheckBox* underline_;
  QLabel* sample_;
};

// Fills a family list box with the chooser's families and selects `current`; a current name that
// is not installed is kept, at the top, so that showing a font never changes it.
void FillFontFamilies(QComboBox* box, const std::string& current);

}  // namespace platform
