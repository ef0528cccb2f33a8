#pragma once
// The family names a font chooser offers. A card carries its font names to the machine that
// plays it, where only the Chinese names every such machine knows mean something; host names
// ("Sans Serif", "AR PL UKai CN") mean nothing there. So the Chinese names come first.
#include <string>
#include <vector>

namespace platform::fonts {

// The Chinese family names cards use, in the order choosers list them ("宋体" first).
const std::vector<std::string>& CardFontNames();

// The card font names that resolve on this machine (through the shipped aliases), then the
// other installed families in their own order; each name once.
std::vector<std::string> ChooserFamilies();

}  // namespace platform::fonts
