#include "maker/mail/ui/lm_status_bar.h"

#include <QLabel>
#include <QResizeEvent>

#include "platform/qt/qt_text.h"

namespace mail_ui {

namespace {
constexpr int kGap = 2;  // between panels
}

TlmStatusBar::TlmStatusBar(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::NoFrame);
  setAutoFillBackground(true);
}

int TlmStatusBar::AddPanel(int width) {
  auto* label = new QLabel(this);
  label->setTextFormat(Qt::PlainText);  // panels show outside text (host names) as it is
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setContentsMargins(2, 0, 2, 0);
  label->show();
  panels_.push_back({width, label, nullptr});
  Lay();
  return PanelCount() - 1;
}

void TlmStatusBar::SetPanelText(int index, const std::string& text) {
  panels_.at(static_cast<size_t>(index)).label->setText(platform::ToQString(text));
}

std::string TlmStatusBar::PanelText(int index) const {
  return platform::FromQString(panels_.at(static_cast<size_t>(index)).label->text());
}

QRect TlmStatusBar::PanelRect(int index) const {
  int x = 0;
  for (int i = 0; i < index; ++i) x += panels_[static_cast<size_t>(i)].width + kGap;
  int w = panels_.at(static_cast<size_t>(index)).width;
  if (index == PanelCount() - 1) w = std::max(w, width() - x);
  return QRect(x, 1, w, std::max(0, height() - 2));
}

void TlmStatusBar::CoverPanel(int index, QWidget* control) {
  control->setParent(this);
  panels_.at(static_cast<size_t>(index)).cover = control;
  control->show();
  control->raise();
  Lay();
}

QSize TlmStatusBar::sizeHint() const {
  int w = 0;
  for (const Panel& p : panels_) w += p.width + kGap;
  return QSize(w, fontMetrics().height() + 8);
}

void TlmStatusBar::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  Lay();
}

void TlmStatusBar::Lay() {
  for (int i = 0; i < PanelCount(); ++i) {
    const Panel& p = panels_[static_cast<size_t>(i)];
    const QRect r = PanelRect(i);
    p.label->setGeometry(r);
    if (p.cover) p.cover->setGeometry(r.adjusted(1, 1, -1, -1));
  }
}

}  // namespace mail_ui
