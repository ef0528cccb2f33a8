#pragma once
// The wizard's colour box: the framework's standard and extended colours plus a custom entry
// that asks for any colour, every entry named in Chinese.
#include <QComboBox>

#include "platform/color.h"

namespace flashwizard::ui {

class ColorBox : public QComboBox {
  Q_OBJECT
 public:
  explicit ColorBox(QWidget* parent = nullptr);
  platform::Color Selected() const { return selected_; }
  // Selects the entry of that colour; other colours go to the custom entry.
  void SetSelected(platform::Color color);

 signals:
  void colorChanged(platform::Color color);

 private:
  void OnActivated(int index);
  platform::Color selected_ = 0;
  bool filling_ = false;
};

}  // namespace flashwizard::ui
