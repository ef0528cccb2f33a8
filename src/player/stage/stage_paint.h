#pragma once
// Drawing onto the stage's bitmap where the platform's raster operations do not reach: pictures
// with alpha laid over the card (stretched or not), text lines clipped to an element, and the
// flat button's frame.
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/font_spec.h"
#include "platform/region.h"

namespace stage {

// Lays src, stretched to dst (nearest pixel), over target: 32-bit sources are blended by their
// alpha, others copied. Only the part inside clip (and the target) is drawn.
void DrawOver(platform::Bitmap& target, const platform::Rect& dst, const platform::Bitmap& src,
              const platform::Rect& clip);

// Text broken into lines for a width (width <= 0: hard breaks only) and drawn from (x, y) one
// line under the other, clipped to clip. Answers the lines drawn.
std::vector<std::string> DrawTextBox(platform::Bitmap& target, const platform::FontSpec& font,
                                     const std::string& text, int x, int y, int width,
                                     const platform::Rect& clip);

// Text centred in a rectangle, on one line per hard break, clipped to it (button captions).
void DrawCentredText(platform::Bitmap& target, const platform::FontSpec& font, const std::string& text,
                     const platform::Rect& rect);

// A 1-pixel frame: light top and left with dark bottom and right (raised), or the reverse.
void DrawEdge(platform::Bitmap& target, const platform::Rect& rect, bool raised);

}  // namespace stage
