#pragma once
// Qt's own texts (the buttons and labels of the file, colour and input dialogs, "OK",
// "Cancel") in Simplified Chinese, as the rest of the window programs speak.
#include <string>

namespace platform {

// Loads Qt's Simplified Chinese catalogue from Qt's translations folder and installs it in the
// running application (once). False, with the reason in *why, when the catalogue is missing.
bool InstallQtTranslations(std::string* why = nullptr);

}  // namespace platform
