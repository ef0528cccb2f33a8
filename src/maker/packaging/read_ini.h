#pragma once
// Integer values of the builders' settings files (Option.ini).
#include <string_view>

namespace packaging {

// The value of key in section of file, read with the profile-string reader (buffer of 1024
// characters) with def's decimal text as default, converted to an integer. A value that is not
// a number raises platform::ConvertError.
int ReadIni(std::string_view section, std::string_view key, std::string_view file, int def);

}  // namespace packaging
