#pragma once
// A Flash card template opened by a program without the wizard's window (cardtool, the
// benches): fonts are those installed on this host, text effects those that have a style file,
// and music lengths are measured from the files.
#include <memory>
#include <string>

#include "flashwizard/flash_project.h"

namespace flashwizard {

LoadHooks HostLoadHooks();
// The project of the template at path (system path), on the default settings where it says nothing.
std::unique_ptr<FlashProject> LoadFlashTemplate(const std::string& path);

}  // namespace flashwizard
