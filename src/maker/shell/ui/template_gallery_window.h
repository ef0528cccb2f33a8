#pragma once
// The template gallery TForm2 ("新建贺卡"): one page per card kind, each listing "空白模板"
// and the templates of the program folder's "template" folder in large icons.
#include <QDialog>
#include <functional>
#include <string>

#include "maker/shell/new_card.h"
#include "maker/shell/template_gallery.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

namespace cardshell {

class TForm6;

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // What the choices do; the main window wires them to the wizard and the designer.
  // Ordinary page: open the ordinary card wizard near the gallery with a template file ("" for
  // the blank entry); the gallery stays open.
  std::function<void(QWidget* gallery, const std::string& templateFile)> openOrdinaryWizard;
  // Interactive page, template entry: read the design into the designer.
  std::function<void(const std::string& designFile)> loadInteractiveTemplate;
  // Interactive page, blank entry, new card dialog confirmed.
  std::function<void(const NewCardSettings& settings)> createBlankCard;

  void SetNewCardDialog(TForm6* dialog) { newCardDialog_ = dialog; }

  // Clears and refills the three lists from the template folder (done on every showing).
  void FillLists();
  // "确定(&T)" on the current page (also a double click on an entry).
  void OkClick();

  QTabWidget* Pages() const { return pages_; }
  QListWidget* List(GalleryPage page) const { return lists_[static_cast<int>(page)]; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  GalleryPage CurrentPage() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OkOnPage(GalleryPage page, QListWidgetItem* item);

  QTabWidget* pages_;
  QListWidget* lists_[3];
  QPushButton* ok_;
  QPushButton* cancel_;
  TForm6* newCardDialog_ = nullptr;
};

}  // namespace cardshell
