#include "maker/shell/ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace cardshell {

void PlaceBottomRightOn(QWidget* w, const QWidget* anchor) {
  if (!w || !anchor) return;
  QRect a = anchor->frameGeometry();
  QSize own = w->frameGeometry().size();
  if (!w->isVisible()) own = w->size().expandedTo(w->sizeHint());
  w->move(a.right() + 1 - own.width(), a.bottom() + 1 - own.height());
}

void CentreOn(QWidget* w, const QWidget* anchor) {
  if (!w) return;
  QRect area;
  if (anchor) {
    area = anchor->frameGeometry();
  } else if (QScreen* s = QGuiApplication::primaryScreen()) {
    area = s->availableGeometry();
  }
  QSize own = w->isVisible() ? w->frameGeometry().size() : w->size().expandedTo(w->sizeHint());
  w->move(area.center() - QPoint(own.width() / 2, own.height() / 2));
}

}  // namespace cardshell
