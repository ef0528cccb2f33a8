#pragma once
// What the main window needs from the designer it holds: the canvas for its centre, the
// properties/events window for its left panel, the open card, and the designer's commands.
#include <QWidget>
#include <functional>
#include <string>

#include "maker/document/card_document.h"
#include "maker/shell/file_commands.h"
#include "maker/shell/new_card.h"

namespace cardshell {

// The two widgets are made without a parent; the main window takes them over and deletes them
// before the designer.
class DesignerHost : public DesignerView {
 public:
  virtual QWidget* CanvasWidget() = 0;       // the card window on its design surface
  virtual QWidget* PropertiesWidget() = 0;   // the properties/events window (Panel2's content)
  virtual document::CardDocument& Document() = 0;

  virtual void Insert(document::ElementKind kind) = 0;  // the insert commands (with their dialogs)
  virtual void DeleteSelected() = 0;                     // "删除选定的对象(&D)"
  virtual void DeleteAll() = 0;                          // "删除全部对象(&A)", with its question
  virtual void ShowCardProperties() = 0;                 // "贺卡属性(&I)"
  virtual void Preview() = 0;                            // "预览贺卡(&P)"
  virtual void StopCaptionTimers() = 0;
  virtual void StartCaptionTimers() = 0;
  // The card window failed a build check: select it, show its first page, flash the caption.
  virtual void FlashCheckCaption(const std::string& caption) = 0;
  // The new card dialog's OK: clear, size, colour, pictures, mask shape, property boxes.
  virtual void CreateNewCard(const NewCardSettings& settings) = 0;
  // The status bar clock's panels 1 to 3 for now: time, weekday, date.
  virtual std::string ClockText(int panel) const = 0;
  // The first status panel's text goes through here while the designer works.
  std::function<void(const std::string&)> statusText;
};

}  // namespace cardshell
