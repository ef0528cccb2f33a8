#pragma once
// An ordinary card as a web card. The ordinary card stage plays the card while the page is
// built: it draws the card picture, finds what brings the greeting up (a click, a double click
// or its time) and draws the greeting box coming in step by step and then standing, and it
// closes the card to learn the closing links. The page shows those drawings on the same clock.
#include <string>

#include "maker/ordinary/ordinary_settings.h"

namespace web {

// The card's data for card_host.js (kind "ordinary"). settings: media paths as files.
std::string OrdinaryCardJson(const ordinary::OrdinarySettings& settings);

// Writes the web card to outPath (system path); platform::FileError when it cannot.
void WriteOrdinaryWebCard(const ordinary::OrdinarySettings& settings, const std::string& outPath);

}  // namespace web
