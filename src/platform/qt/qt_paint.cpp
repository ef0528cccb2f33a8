#include "platform/qt/qt_paint.h"

#include <algorithm>

#include "platform/fonts.h"

namespace platform {

QColor ToQColor(Color c) {
  c = ResolveColor(c);
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QFont ToQFont(const FontSpec& fontSpec) {
  QFont f(QString::fromStdString(fonts::HostFamilyFor(fontSpec.name)));
  f.setPixelSize(std::max(1, fontSpec.PixelHeight()));
  f.setBold(fontSpec.bold);
  f.setItalic(fontSpec.italic);
  f.setUnderline(fontSpec.underline);
  f.setStrikeOut(fontSpec.strikeOut);
  return f;
}

}  // namespace platform
