#pragma once
// The card title as the wizard's title preview draws it: a text layer with the chosen font,
// size, colour, styles and text effect over a 761 x 65 preview, exported with alpha.
#include <memory>
#include <string>

#include "platform/bitmap.h"

namespace flashwizard {

struct FlashSettings;

// A size box text as a font size: the Chinese size names as character heights (negative,
// pixels), other numbers as points, anything else (or 0) as 12 pixels high.
int FontSizeFromText(const std::string& text);

// The style file of an effect list entry: "不添加任何文字特效" is the program folder's
// "null.style" when it exists; others are "文字特效\" + name + ".style" when that exists.
// Empty when there is none.
std::string StyleFileFor(const std::string& effectName);

// The title preview's image with its background layer hidden; null when the title cannot
// be drawn.
std::unique_ptr<platform::Bitmap> RenderTitleImage(const FlashSettings& settings);

}  // namespace flashwizard
