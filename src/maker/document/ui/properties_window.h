#pragma once
// The property and event window ("对象属性/事件窗口"): the element selector (Cb1) above two
// pages, "属性列表" and "事件列表". Only the panels of the selected kind (or of the card
// window) are visible; most fields write through to the document on every change, position
// and size fields apply on Enter or when left. Sized for a 217 px wide dock panel.
#include <QComboBox>
#include <QTabWidget>
#include <QWidget>
#include <map>
#include <string>

#include "maker/document/element_kinds.h"

class QStackedWidget;

namespace designer {

class Designer;
class Panel;

class PropertiesWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PropertiesWindow(Designer& designer, QWidget* parent = nullptr);

  QComboBox* Selector() const { return selector_; }  // Cb1
  QTabWidget* Pages() const { return pages_; }        // "属性列表", "事件列表"

  // Refills the selector from the document and shows and fills the panels of the selection
  // (the card window when nothing is selected).
  void Refresh();
  // Shows the first page ("属性列表").
  void ShowPropertiesPage();
  // The panels now on show (the event panel is nullptr for kinds without one).
  Panel* PropertyPanel() const;
  Panel* EventPanel() const;
  // The card window's panels, also when hidden.
  Panel* CardPanelProperties() const { return cardProps_; }
  // Flashes a caption of the card window's property panel red (a failed build check).
  void FlashCardCaption(const std::string& caption);

 private:
  void SelectorChanged(int index);  // Cb1Click

  Designer& designer_;
  QComboBox* selector_;
  QTabWidget* pages_;
  QStackedWidget* propStack_;
  QStackedWidget* eventStack_;
  std::map<int, Panel*> propPanels_;   // by ElementKind; -1 the card window
  std::map<int, Panel*> eventPanels_;
  Panel* cardProps_ = nullptr;
  bool filling_ = false;
};

}  // namespace designer
