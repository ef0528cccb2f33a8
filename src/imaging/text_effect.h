#pragma once
// A text with a text effect rendered the way the Flash wizard renders its title: a text layer
// at smoothing level 3 over a background, the style loaded and every cache rebuilt, then the
// background hidden, the image exported with alpha and cropped to the opaque pixels.
#include <string>

#include "imaging/layered_image.h"

namespace imaging {

// A font size box's text: a Chinese size name ("二号") gives its character height in pixels as
// a negative size; any other whole number is points; anything else, or 0, gives height 12.
int FontSizeFromText(const std::string& gbkText);

struct TextEffectRequest {
  TTextLayerInfo info;     // text, font, colour, size, styles, spacing (smoothing is set to 3)
  std::string styleFile;   // system path of a ".style" file; empty for none
};

// The cropped 32-bit picture; nullptr when nothing could be drawn. styleLoaded tells whether the
// style file was accepted.
BitmapPtr RenderTextEffect(const TextEffectRequest& request, bool* styleLoaded = nullptr);

}  // namespace imaging
