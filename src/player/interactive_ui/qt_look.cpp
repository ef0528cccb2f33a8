#include "player/interactive_ui/qt_look.h"

#include "maker/transitions/ui/bitmap_image.h"
#include "platform/error.h"
#include "platform/picture.h"

namespace cardplayer {

Qt::CursorShape CursorShapeOf(int cursor) {
  switch (cursor) {
    case 1: return Qt::PointingHandCursor;
    case 2: return Qt::CrossCursor;
    default: return Qt::ArrowCursor;
  }
}

QImage LoadImageFile(std::string_view path) {
  try {
    if (auto b = platform::LoadPicture(path)) return widgets::ToQImage(*b);
  } catch (const platform::Error&) {
  }
  return {};
}

QRegion ToQRegion(const platform::Region& region) {
  QRegion out;
  region.ForEachSpan([&](int y, int left, int right) { out += QRect(left, y, right - left, 1); });
  return out;
}

}  // namespace cardplayer
