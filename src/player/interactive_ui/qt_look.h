#pragma once
// The card's colours, fonts, cursors and shape at the Qt edge.
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QRegion>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/qt/qt_paint.h"
#include "platform/region.h"

namespace cardplayer {

using platform::ToQColor;
using platform::ToQFont;
// 0 default arrow, 1 hand, 2 cross.
Qt::CursorShape CursorShapeOf(int cursor);
// A platform region as a QRegion.
QRegion ToQRegion(const platform::Region& region);

}  // namespace cardplayer
