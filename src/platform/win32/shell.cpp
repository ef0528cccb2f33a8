// Opening documents and addresses with ShellExecute, starting programs with CreateProcess.
#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/win32/wide_path.h"

namespace platform::shell {
namespace {

std::wstring Wide(std::string_view gbk) { return win32::WidePath(gbk); }

// One argument quoted the way the C runtime splits a command line.
std::wstring Quote(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : a) {
    if (c == L'\\') {
      ++slashes;
    } else if (c == L'"') {
      out.append(slashes * 2 + 1, L'\\');
      slashes = 0;
    } else {
      slashes = 0;
    }
    if (c != L'"') out += c;
    else out += L'"';
  }
  out.append(slashes, L'\\');
  return out + L"\"";
}

}  // namespace

std::string ResolveProgram(std::string_view program) { return std::string(program); }

bool StartProgram(std::string_view program, const std::vector<std::string>& args) {
  std::wstring line = Quote(Wide(program));
  for (const std::string& a : args) line += L" " + Quote(Wide(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::wstring prog = Wide(program);
  const bool withFolder = paths::LastSeparator(program) != std::string::npos;
  if (!CreateProcessW(withFolder ? prog.c_str() : nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool StartProgram(std::string_view commandLine) {
  std::vector<std::string> parts = SplitCommandLine(commandLine);
  if (parts.empty()) return false;
  std::string prog = parts.front();
  parts.erase(parts.begin());
  return StartProgram(prog, parts);
}

bool Open(std::string_view target) {
  if (target.empty()) return false;
  const std::wstring t = Wide(target);
  HINSTANCE r = ShellExecuteW(nullptr, L"open", t.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(r) > 32;
}

bool OpenHelp(std::string_view topic) {
  std::string page = paths::ProgramFolder() + "help\\" + (topic.empty() ? std::string("index.htm") : std::string(topic));
  if (!files::FileExists(page)) page = paths::ProgramFolder() + "help\\index.htm";
  return Open(page);
}

}  // namespace platform::shell
