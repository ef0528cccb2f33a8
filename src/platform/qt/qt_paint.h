#pragma once
// The system's colours and font descriptions as Qt paints them.
#include <QColor>
#include <QFont>

#include "platform/color.h"
#include "platform/font_spec.h"

namespace platform {

// System colours (clWindow and the like) resolved first.
QColor ToQColor(Color c);
// The family through the shipped aliases (宋体 → the installed Chinese font), the pixel height
// of the description (its height, or its point size at 96 dpi), and the styles; the colour is
// not part of a QFont.
QFont ToQFont(const FontSpec& fontSpec);

}  // namespace platform
