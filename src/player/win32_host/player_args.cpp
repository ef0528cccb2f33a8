#include "player/win32_host/player_args.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wide_path.h"

namespace win32_host {

std::vector<std::string> CommandLineArgs() {
  std::vector<std::string> args;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) args.push_back(platform::win32::GbkFromWide(argv[i]));
  if (argv) LocalFree(argv);
  return args;
}

}  // namespace win32_host
