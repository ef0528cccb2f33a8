#pragma once
// A readable text form of a style file, one "Key = value" line per field under a section per
// effect ([DropShadow], [Stroke], ...). cardtool style-write turns a description into a style
// file, style-dump prints a style file in the same form, and the two round-trip.
#include <string>

#include "imaging/layer_style_file.h"

namespace imaging {

// Parses a description over `style` (fields not mentioned keep their values; origins that are
// not given are derived from Offset and the sizes, as the style files store them). folder is
// the host folder that relative pattern file names start from. False with `error` set
// ("line 12: unknown key 'Sise'") when the text has a mistake.
bool ParseStyleDescription(const std::string& text, const std::string& hostFolder, StyleFile& style,
                           std::string& error);

// Every field of a style file as a description (pattern pixels as a note, not reproducible).
std::string DescribeStyle(const StyleFile& style);

}  // namespace imaging
