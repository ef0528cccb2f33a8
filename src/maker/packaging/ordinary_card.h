#pragma once
// The settings of a packed ordinary card, read back from its 48 fields: what an ordinary card
// player needs besides the media files (which the card reader hands out by piece).
#include "maker/ordinary/ordinary_settings.h"
#include "maker/packaging/card_reader.h"

namespace packaging {

// The record of an ordinary card (CardKind::Ordinary). Paths stay empty (the card holds the
// files themselves); BoxIndex is 1 when the card has a greeting box; the greeting text and the
// mail body come back with CR LF line breaks. A field that should be a number and is not
// raises CardFormatError naming the field.
ordinary::OrdinarySettings OrdinarySettingsFromCard(const CardReader& card);

}  // namespace packaging
