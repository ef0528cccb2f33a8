// INI files through the profile reader: any bytes are read as an INI file; every section and
// key it lists can be read back (as text, and as a number the way ReadIni takes it), and a
// write followed by a read gives the value written.
#include "fuzz_support.h"
#include "maker/packaging/read_ini.h"
#include "platform/error.h"
#include "platform/profile.h"

namespace profile = platform::profile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::Folder() + "settings.ini";
  profile::InMemoryFile file(path, fuzz::AsText(data, size));
  const std::vector<std::string> sections = profile::SectionNames(path);
  for (const std::string& section : sections) {
    for (const std::string& key : profile::KeyNames(path, section)) {
      if (profile::GetString(path, section, key, "", 64).size() > 63) __builtin_trap();
      try {
        packaging::ReadIni(section, key, path, 0);
      } catch (const platform::ConvertError&) {
      }
    }
  }
  if (!sections.empty() && !sections.front().empty() && sections.front().find_first_of("[]\r\n") == std::string::npos) {
    if (!profile::WriteString(path, sections.front(), "FuzzKey", "value")) __builtin_trap();
    if (profile::GetString(path, sections.front(), "fuzzkey", "") != "value") __builtin_trap();
  }
  return 0;
}
