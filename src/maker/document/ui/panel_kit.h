#pragma once
// What the property and event panels share: the panel base (fill from the document, write
// through to it), field builders for the narrow dock, the numeric position and size fields
// with their key filters and apply rules, file fields, colour swatches and the record fields
// of the kinds with a hint, cursor and click action.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"
#include "maker/document/field_rules.h"

namespace designer {

class Designer;

class Panel : public QWidget {
  Q_OBJECT

 public:
  Panel(Designer& designer, QWidget* parent = nullptr);
  // Shows the document's values (of the selected element, or the card window).
  void Fill();

 protected:
  virtual void DoFill() = 0;
  document::CardDocument& Doc();
  // The selected element (Label 0 when none, which panels never see).
  document::ElementRef Selected();
  // Runs a write-through edit unless the panel is being filled.
  bool Filling() const { return filling_; }

  // Builders: a caption label above a field, in the panel's column.
  QVBoxLayout* Column() { return column_; }
  QLabel* AddCaption(std::string_view caption, QLayout* into = nullptr);
  QLineEdit* AddLine(std::string_view caption, const char* name, QLayout* into = nullptr);
  QPlainTextEdit* AddText(std::string_view caption, const char* name, int height, QLayout* into = nullptr);
  QComboBox* AddChooser(std::string_view caption, const char* name, const std::vector<std::string>& items,
                        QLayout* into = nullptr);
  QCheckBox* AddCheck(std::string_view caption, const char* name, QLayout* into = nullptr);
  QPushButton* AddButton(std::string_view caption, const char* name, QLayout* into = nullptr);
  // A read-only path field with its "浏览" button (key presses are discarded).
  QLineEdit* AddFileField(std::string_view caption, const char* name, QPushButton** browse,
                          bool readOnly = true, QLayout* into = nullptr);
  // A colour swatch button; its colour is set with SetSwatch.
  QPushButton* AddSwatch(std::string_view caption, const char* name, QLayout* into = nullptr);
  static void SetSwatch(QPushButton* swatch, platform::Color c);
  // The four position and size fields of an element of `kind`.
  void AddRectFields(document::ElementKind kind);
  void FillRectFields();
  // A hint field and a cursor chooser writing the record's Hint and Cursor (labels, buttons,
  // images, GIFs).
  void AddHintAndCursor();
  void FillHintAndCursor();
  // A note text (word-wrapped).
  QLabel* AddNote(std::string_view text);

  Designer& designer_;
  document::ElementKind kind_ = document::ElementKind::Label;
  QLineEdit* rectFields_[4] = {};
  QLineEdit* hint_ = nullptr;
  QComboBox* cursor_ = nullptr;

 private:
  void ApplyRectField(int field);

  QVBoxLayout* column_;
  bool filling_ = false;
};

// Record fields of the kinds with hint, cursor and click action, by reference into the
// document (valid until the tables change); all null for other kinds.
struct ActionFields {
  std::string* hint = nullptr;
  int* cursor = nullptr;
  std::string* cmd = nullptr;
  std::string* pic = nullptr;
  std::string* text = nullptr;
  int* wav = nullptr;
};
ActionFields ActionFieldsOf(document::CardDocument& doc, document::ElementRef ref);

// A key filter for a line edit: `accepts` sees every typed character (Backspace as 8);
// refused characters are swallowed. Enter runs `onEnter` and is swallowed too.
void FilterKeys(QLineEdit* edit, std::function<bool(char)> accepts, std::function<void()> onEnter = {});

// The text of a field as GBK, and a GBK text into a field without signalling a user edit.
std::string TextOf(const QLineEdit* e);
std::string TextOf(const QPlainTextEdit* e);
void SetText(QLineEdit* e, std::string_view gbk);
void SetText(QPlainTextEdit* e, std::string_view gbk);
void SetItems(QComboBox* box, const std::vector<std::string>& items);
// The index of the entry equal to text, -1 when none.
int FindItem(const QComboBox* box, std::string_view text);

// A file dialog preset with the current path; the chosen path or "" when cancelled.
std::string BrowseFile(std::string_view title, std::string_view filter, std::string_view current,
                       std::string_view initialDir = {});

// Panel factories (one file per kind).
Panel* MakeCardPropertiesPanel(Designer& d);
Panel* MakeCardEventsPanel(Designer& d);
Panel* MakeLabelPanel(Designer& d);
Panel* MakeButtonPanel(Designer& d);
Panel* MakeImagePanel(Designer& d);
Panel* MakeGifPanel(Designer& d);
Panel* MakeWavPanel(Designer& d);
Panel* MakeFlashPanel(Designer& d);
Panel* MakeCaptionPanel(Designer& d);
Panel* MakePicsPanel(Designer& d);
Panel* MakeEventPanel(Designer& d, document::ElementKind kind);
// The card properties panel's flash of a caption (a failed build check).
void FlashCardPanelCaption(Panel* cardPanel, const std::string& caption);

}  // namespace designer
