#include "flashwizard/ui/color_box.h"

#include <QPixmap>

#include "flashwizard/ui/wizard_rules.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"

namespace flashwizard::ui {

namespace {

QIcon Swatch(platform::Color c) {
  QPixmap pm(14, 14);
  c = platform::ResolveColor(c);
  pm.fill(QColor(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)));
  return QIcon(pm);
}

}  // namespace

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
  filling_ = true;
  addItem(Swatch(platform::kClBlack), platform::ToQString(ChineseColorName("Custom...")), QVariant(0));
  for (const NamedColor& c : ColorBoxColors())
    addItem(Swatch(c.color), platform::ToQString(ChineseColorName(c.english)), QVariant(c.color));
  filling_ = false;
  SetSelected(platform::kClBlack);
  connect(this, qOverload<int>(&QComboBox::activated), this, &ColorBox::OnActivated);
}

void ColorBox::SetSelected(platform::Color color) {
  filling_ = true;
  int found = -1;
  for (int i = 1; i < count() && found < 0; ++i)
    if (itemData(i).toInt() == color) found = i;
  if (found < 0) {
    setItemData(0, QVariant(color));
    setItemIcon(0, Swatch(color));
    found = 0;
  }
  setCurrentIndex(found);
  filling_ = false;
  if (selected_ != color) {
    selected_ = color;
    emit colorChanged(color);
  }
}

void ColorBox::OnActivated(int index) {
  if (filling_) return;
  if (index == 0) {
    auto chosen = platform::CurrentDialogs().ChooseColor(selected_);
    if (!chosen) {
      SetSelected(selected_);
      return;
    }
    filling_ = true;
    setItemData(0, QVariant(*chosen));
    setItemIcon(0, Swatch(*chosen));
    filling_ = false;
    if (selected_ != *chosen) {
      selected_ = *chosen;
      emit colorChanged(selected_);
    }
    return;
  }
  platform::Color c = itemData(index).toInt();
  if (c != selected_) {
    selected_ = c;
    emit colorChanged(c);
  }
}

}  // namespace flashwizard::ui
