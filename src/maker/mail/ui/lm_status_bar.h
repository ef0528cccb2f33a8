#pragma once
// A status bar of fixed-width panels whose panels can be covered by a control (the mail
// dialog's progress bar sits over its second panel).
#include <QFrame>
#include <string>
#include <vector>

class QLabel;

namespace mail_ui {

class TlmStatusBar : public QFrame {
  Q_OBJECT

 public:
  explicit TlmStatusBar(QWidget* parent = nullptr);

  // Appends a panel of the given width in pixels (the last panel also takes what is left);
  // returns its index.
  int AddPanel(int width);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  // Panel texts are GBK, shown as plain text (never as markup).
  void SetPanelText(int index, const std::string& text);
  std::string PanelText(int index) const;
  // Where a panel lies, in the bar's coordinates.
  QRect PanelRect(int index) const;
  // Puts control (made a child of the bar) over the panel; it follows the panel's place.
  void CoverPanel(int index, QWidget* control);

  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Panel {
    int width;
    QLabel* label;
    QWidget* cover;
  };
  void Lay();

  std::vector<Panel> panels_;
};

}  // namespace mail_ui
