#include "maker/document/ui/properties_window.h"

#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "maker/document/element_lifecycle.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/error.h"
#include "platform/qt/qt_text.h"

namespace designer {

using document::ElementKind;

namespace {

constexpr int kCardKey = -1;

QScrollArea* Scrolling(QWidget* inner, QWidget* parent) {
  auto* s = new QScrollArea(parent);
  s->setWidget(inner);
  s->setWidgetResizable(true);
  s->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  s->setFrameShape(QFrame::NoFrame);
  return s;
}

}  // namespace

PropertiesWindow::PropertiesWindow(Designer& designer, QWidget* parent) : QWidget(parent), designer_(designer) {
  setObjectName("PropertiesWindow");
  setWindowTitle(platform::ToQString("对象属性/事件窗口"));
  setMinimumWidth(200);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  selector_ = new QComboBox(this);
  selector_->setObjectName("Cb1");
  layout->addWidget(selector_);
  pages_ = new QTabWidget(this);
  layout->addWidget(pages_, 1);
  propStack_ = new QStackedWidget;
  eventStack_ = new QStackedWidget;
  pages_->addTab(Scrolling(propStack_, pages_), platform::ToQString("属性列表"));
  pages_->addTab(Scrolling(eventStack_, pages_), platform::ToQString("事件列表"));

  auto addProp = [this](int key, Panel* p) {
    propPanels_[key] = p;
    propStack_->addWidget(p);
  };
  auto addEvent = [this](int key, Panel* p) {
    eventPanels_[key] = p;
    eventStack_->addWidget(p);
  };
  cardProps_ = MakeCardPropertiesPanel(designer);
  addProp(kCardKey, cardProps_);
  addProp(static_cast<int>(ElementKind::Label), MakeLabelPanel(designer));
  addProp(static_cast<int>(ElementKind::Button), MakeButtonPanel(designer));
  addProp(static_cast<int>(ElementKind::Image), MakeImagePanel(designer));
  addProp(static_cast<int>(ElementKind::Gif), MakeGifPanel(designer));
  addProp(static_cast<int>(ElementKind::Wav), MakeWavPanel(designer));
  addProp(static_cast<int>(ElementKind::Flash), MakeFlashPanel(designer));
  addProp(static_cast<int>(ElementKind::Scl), MakeCaptionPanel(designer));
  addProp(static_cast<int>(ElementKind::Pics), MakePicsPanel(designer));
  addEvent(kCardKey, MakeCardEventsPanel(designer));
  for (ElementKind k : {ElementKind::Label, ElementKind::Button, ElementKind::Image, ElementKind::Gif})
    addEvent(static_cast<int>(k), MakeEventPanel(designer, k));
  auto* none = new QLabel(this);  // kinds without an event panel
  none->setObjectName("NoEvents");
  eventStack_->addWidget(none);

  connect(selector_, &QComboBox::currentIndexChanged, this, &PropertiesWindow::SelectorChanged);
}

Panel* PropertiesWindow::PropertyPanel() const { return qobject_cast<Panel*>(propStack_->currentWidget()); }
Panel* PropertiesWindow::EventPanel() const { return qobject_cast<Panel*>(eventStack_->currentWidget()); }

void PropertiesWindow::ShowPropertiesPage() { pages_->setCurrentIndex(0); }

void PropertiesWindow::FlashCardCaption(const std::string& caption) { FlashCardPanelCaption(cardProps_, caption); }

void PropertiesWindow::Refresh() {
  const document::CardDocument& doc = designer_.Document();
  filling_ = true;
  {
    QSignalBlocker block(selector_);
    selector_->clear();
    for (const std::string& s : doc.selector) selector_->addItem(platform::ToQString(s));
    int index = doc.selected ? FindItem(selector_, document::ShownName(*doc.selected)) : 0;
    selector_->setCurrentIndex(index < 0 ? 0 : index);
  }
  int key = doc.selected ? static_cast<int>(doc.selected->kind) : kCardKey;
  Panel* prop = propPanels_[key];
  propStack_->setCurrentWidget(prop);
  prop->Fill();
  auto ev = eventPanels_.find(key);
  if (ev != eventPanels_.end()) {
    eventStack_->setCurrentWidget(ev->second);
    ev->second->Fill();
  } else {
    eventStack_->setCurrentWidget(findChild<QLabel*>("NoEvents"));
  }
  filling_ = false;
}

void PropertiesWindow::SelectorChanged(int index) {
  if (filling_ || index < 0) return;
  if (index == 0) {
    designer_.SelectCardWindow();
    return;
  }
  std::optional<document::ElementRef> ref;
  try {
    ref = document::ParseSelectorEntry(platform::FromQString(selector_->itemText(index)));
  } catch (const platform::Error&) {
    ref.reset();
  }
  if (ref) designer_.SelectElement(*ref);
}

}  // namespace designer
