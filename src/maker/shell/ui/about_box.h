#pragma once
// The about box TForm9: the product name in "华文行楷" with its shadow, the version and a
// "关闭" button. At start-up it is the splash (borderless, on top, centred, no button).
#include <QDialog>

class QPushButton;

namespace cardshell {

inline constexpr const char* kProductName = "Lumo贺卡制作";
inline constexpr const char* kVersionText = "版本: 7.0 标准版";

class TForm9 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm9(QWidget* parent = nullptr);

  // The splash: borderless, on top, centred on the screen, without the close button.
  void ShowAsSplash();
  // After the splash: the close button is there and the box keeps the place it is given.
  void EndSplash();
  bool IsSplash() const { return splash_; }
  QPushButton* CloseButton() const { return closeButton_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPushButton* closeButton_;
  bool splash_ = false;
};

}  // namespace cardshell
