#pragma once
// Registers the sound file extensions the card maker plays with the platform's MCI, so that
// the multimedia layer knows which device opens ".mp3", ".wav", ".mid" and ".rmi" files.
#include <string>
#include <string_view>

namespace cardshell {

inline constexpr std::string_view kMciExtensionsKey =
    "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\MCI Extensions";

// The MCI device type that plays files of an extension ("mid" -> "Sequencer").
std::string MciDeviceFor(std::string_view extension);

// Adds a value for each of "mp3", "wav", "mid", "rmi" under HKEY_LOCAL_MACHINE that is not
// there yet; values already present are left as they are and every failure is ignored.
void checkreg();

}  // namespace cardshell
