#pragma once
// The converters as the web card writers take them (web::MediaConverter): the programs that
// write web cards hand this to the writers, which never link the codec libraries themselves.
#include "player/web/web_page.h"

namespace webmedia {

// Converts MIDI music and movies with ConvertForBrowser; answers nothing for other kinds and for
// files that cannot be converted (the reason goes to *failures when given, one line a file).
web::MediaConverter PageMediaConverter(std::vector<std::string>* failures = nullptr);

}  // namespace webmedia
