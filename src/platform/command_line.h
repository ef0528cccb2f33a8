#pragma once
// Command lines split as the platform's C runtime splits them; the same rule on every host.
#include <string>
#include <string_view>
#include <vector>

namespace platform::shell {

// Splits a command line as the platform's C runtime does: blanks separate, double quotes
// group, a missing closing quote runs to the end.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace platform::shell
