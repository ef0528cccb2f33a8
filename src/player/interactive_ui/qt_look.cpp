#include "player/interactive_ui/qt_look.h"

#include "maker/transitions/ui/bitmap_image.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/picture.h"

namespace cardplayer {

QColor ToQColor(platform::Color c) {
  c = platform::ResolveColor(c);
  return QColor(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
}

QFont ToQFont(const platform::FontSpec& fontSpec) {
  QFont f(QString::fromStdString(platform::fonts::HostFamilyFor(fontSpec.name)));
  if (fontSpec.height != 0) {
    f.setPixelSize(std::max(1, fontSpec.PixelHeight()));
  } else {
    f.setPixelSize(std::max(1, (fontSpec.size * 96 + 36) / 72));  // points at 96 dpi, as the card was designed
  }
  f.setBold(fontSpec.bold);
  f.setItalic(fontSpec.italic);
  f.setUnderline(fontSpec.underline);
  f.setStrikeOut(fontSpec.strikeOut);
  return f;
}

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
