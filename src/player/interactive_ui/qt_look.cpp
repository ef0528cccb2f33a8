#include "player/interactive_ui/qt_look.h"

namespace cardplayer {

Qt::CursorShape CursorShapeOf(int cursor) {
  switch (cursor) {
    case 1: return Qt::PointingHandCursor;
    case 2: return Qt::CrossCursor;
    default: return Qt::ArrowCursor;
  }
}

QRegion ToQRegion(const platform::Region& region) {
  QRegion out;
  region.ForEachSpan([&](int y, int left, int right) { out += QRect(left, y, right - left, 1); });
  return out;
}

}  // namespace cardplayer
