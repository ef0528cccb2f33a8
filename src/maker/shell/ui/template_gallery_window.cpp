#include "maker/shell/ui/template_gallery_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "maker/shell/ui/new_card_dialog.h"
#include "maker/shell/ui/toolbar_icons.h"
#include "maker/shell/ui/window_placement.h"
#include "maker/shell/web_links.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"

namespace cardshell {

using platform::FromQString;
using platform::ToQString;

namespace {

// The advertising picture at the side of a page: drawn, and a link to a page of the maker.
class AdPicture : public QWidget {
 public:
  AdPicture(std::string_view address, QString line1, QString line2, QColor top, QColor bottom, QWidget* parent)
      : QWidget(parent), address_(address), line1_(line1), line2_(line2), top_(top), bottom_(bottom) {
    setObjectName("Image1");
    setFixedWidth(120);
    setCursor(Qt::PointingHandCursor);
    setToolTip(ToQString(address_));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, top_);
    g.setColorAt(1, bottom_);
    p.fillRect(rect(), g);
    p.drawPixmap(QRect(width() / 2 - 24, 20, 48, 48), DrawShellIcon(ShellIcon::Program, 48));
    QFont f = font();
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(4, 80, width() - 8, 50), Qt::AlignCenter | Qt::TextWordWrap, line1_);
    f.setPixelSize(12);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(4, 130, width() - 8, 80), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, line2_);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) OpenAddress(address_);
  }

 private:
  std::string_view address_;
  QString line1_, line2_;
  QColor top_, bottom_;
};

QIcon PageIcon(GalleryPage page, bool blank) {
  if (blank) return MakeShellIcon(ShellIcon::New);
  switch (page) {
    case GalleryPage::Ordinary: return MakeShellIcon(ShellIcon::Image);
    case GalleryPage::Interactive: return MakeShellIcon(ShellIcon::Program);
    case GalleryPage::Flash: return MakeShellIcon(ShellIcon::Flash);
  }
  return {};
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm2");
  setWindowTitle(ToQString(kGalleryCaption));
  resize(600, 420);
  auto* outer = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  const std::string_view captions[3] = {kOrdinaryPageCaption, kInteractivePageCaption, kFlashPageCaption};
  const char* ad1[3] = {"更多精美模板", "互动贺卡", "Flash 贺卡"};
  const char* ad2[3] = {"到Lumo网下载更多普通型贺卡模板", "到Lumo网看看别人做的互动贺卡",
                        "到Lumo网下载更多Flash贺卡模板"};
  for (int i = 0; i < 3; ++i) {
    auto* page = new QWidget(pages_);
    auto* row = new QHBoxLayout(page);
    auto* list = new QListWidget(page);
    list->setObjectName(QString("ListView%1").arg(i + 1));
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(48, 48));
    list->setGridSize(QSize(104, 88));
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setWordWrap(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, i](QListWidgetItem* item) { OkOnPage(static_cast<GalleryPage>(i), item); });
    lists_[i] = list;
    row->addWidget(list, 1);
    // The first page advertises one page of the maker, the others another.
    std::string_view address = i == 0 ? kGalleryAdOrdinary : kGalleryAdOthers;
    QColor top = i == 0 ? QColor(240, 110, 140) : QColor(90, 120, 220);
    QColor bottom = i == 0 ? QColor(170, 30, 70) : QColor(30, 40, 120);
    row->addWidget(new AdPicture(address, ToQString(ad1[i]), ToQString(ad2[i]), top, bottom, page));
    pages_->addTab(page, ToQString(captions[i]));
  }
  outer->addWidget(pages_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ok_ = new QPushButton(ToQString("确定(&T)"), this);
  ok_->setObjectName("Button1");
  ok_->setDefault(true);
  cancel_ = new QPushButton(ToQString("取消(&C)"), this);
  cancel_->setObjectName("Button2");
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  outer->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, [this] { OkClick(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

GalleryPage TForm2::CurrentPage() const { return static_cast<GalleryPage>(pages_->currentIndex()); }

void TForm2::showEvent(QShowEvent* event) {
  FillLists();
  QDialog::showEvent(event);
}

void TForm2::FillLists() {
  for (int i = 0; i < 3; ++i) {
    GalleryPage page = static_cast<GalleryPage>(i);
    QListWidget* list = lists_[i];
    list->clear();
    bool first = true;
    for (const std::string& caption : GalleryEntries(page)) {
      list->addItem(new QListWidgetItem(PageIcon(page, first), ToQString(caption)));
      first = false;
    }
  }
}

void TForm2::OkClick() {
  GalleryPage page = CurrentPage();
  QListWidget* list = List(page);
  QList<QListWidgetItem*> selected = list->selectedItems();
  OkOnPage(page, selected.isEmpty() ? nullptr : selected.front());
}

void TForm2::OkOnPage(GalleryPage page, QListWidgetItem* item) {
  if (!item) {
    // The Flash page has no rule of its own for this; it says the same as the others.
    platform::ShowMessage(std::string(kChooseTemplateMessage), platform::MsgIcon::Warning);
    return;
  }
  std::string caption = FromQString(item->text());
  bool blank = List(page)->row(item) == 0;
  switch (page) {
    case GalleryPage::Ordinary:
      if (openOrdinaryWizard) openOrdinaryWizard(this, blank ? std::string() : TemplateFile(caption, page));
      break;
    case GalleryPage::Interactive:
      if (!blank) {
        // A design that cannot be read raises its error here and the gallery stays open.
        if (loadInteractiveTemplate) loadInteractiveTemplate(TemplateFile(caption, page));
        accept();
        return;
      }
      if (!newCardDialog_) return;
      PlaceBottomRightOn(newCardDialog_, this);
      if (newCardDialog_->exec() != QDialog::Accepted) return;  // the gallery stays open
      if (createBlankCard) createBlankCard(newCardDialog_->Settings());
      accept();
      break;
    case GalleryPage::Flash:
      StartFlashWizard(caption);
      break;
  }
}

}  // namespace cardshell
