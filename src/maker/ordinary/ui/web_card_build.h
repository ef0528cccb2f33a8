#pragma once
// The wizard's build of a web card (an output ending in ".html" or ".htm"): the same checks and
// messages as the other card formats, the page written with MIDI music and movies converted.
#include <string>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/packaging/ordinary_build.h"

namespace ordinary_ui {

bool IsWebCardOutput(const std::string& outputPath);

// Asks before replacing a file, reports media the page has to go without, and says when the card
// is built. Never throws.
packaging::OrdinaryBuildResult BuildOrdinaryWebCard(const ordinary::OrdinarySettings& settings,
                                                    const std::string& outputPath);

}  // namespace ordinary_ui
