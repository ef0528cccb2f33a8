#include "maker/packaging/read_ini.h"

#include "platform/profile.h"
#include "platform/text.h"

namespace packaging {

int ReadIni(std::string_view section, std::string_view key, std::string_view file, int def) {
  return platform::StrToInt(
      platform::profile::GetString(file, section, key, platform::IntToStr(def), 1024));
}

}  // namespace packaging
