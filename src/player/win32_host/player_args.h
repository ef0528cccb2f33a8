#pragma once
// The command line of a Windows player after the program name, as system paths (GBK).
#include <string>
#include <vector>

namespace win32_host {

std::vector<std::string> CommandLineArgs();

}  // namespace win32_host
