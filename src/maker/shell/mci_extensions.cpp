#include "maker/shell/mci_extensions.h"

#include <exception>

#include "platform/registry.h"
#include "platform/text.h"

namespace cardshell {

std::string MciDeviceFor(std::string_view extension) {
  std::string e = platform::AsciiLower(extension);
  if (!e.empty() && e.front() == '.') e.erase(0, 1);
  if (e == "mid" || e == "rmi") return "Sequencer";
  if (e == "wav") return "WaveAudio";
  return "MPEGVideo";
}

void checkreg() {
  using platform::registry::Hive;
  for (std::string_view ext : {".mp3", ".wav", ".mid", ".rmi"}) {
    try {
      std::string name = platform::AsciiLower(ext.substr(1));
      if (platform::registry::ReadString(Hive::LocalMachine, kMciExtensionsKey, name)) continue;
      // A store that cannot be written (no rights) is no reason to stop the program.
      platform::registry::WriteString(Hive::LocalMachine, kMciExtensionsKey, name, MciDeviceFor(name));
    } catch (const std::exception&) {
    }
  }
}

}  // namespace cardshell
