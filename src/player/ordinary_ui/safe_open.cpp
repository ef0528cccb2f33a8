#include "player/ordinary_ui/safe_open.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace ordinary_player_ui {

namespace {

constexpr std::array<std::string_view, 4> kSafeSchemes = {"http://", "https://", "ftp://", "mailto:"};

constexpr std::array<std::string_view, 22> kProgramExts = {
    ".exe", ".com", ".bat", ".cmd", ".pif", ".scr", ".msi", ".vbs", ".vbe", ".js", ".jse", ".wsf",
    ".wsh", ".hta", ".cpl", ".lnk", ".reg", ".sh", ".desktop", ".run", ".py", ".jar"};

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && platform::EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

// "%2E" and the like as the characters they stand for, as the opener reads a file: address.
std::string PercentDecoded(std::string_view s) {
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool HostExecutable(const std::string& path) {
  std::string host;
  try {
    host = platform::paths::ToHost(path);
  } catch (...) {
    return false;
  }
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return ::access(host.c_str(), X_OK) == 0;
}

}  // namespace

bool NamesProgram(std::string_view target) {
  std::string t = platform::Trim(target);
  for (std::string_view scheme : kSafeSchemes) {
    if (StartsWithNoCase(t, scheme)) return false;
  }
  if (StartsWithNoCase(t, "file:")) {
    t = PercentDecoded(std::string_view(t).substr(5));
    if (StartsWithNoCase(t, "//localhost/")) t.erase(0, 11);
    else if (t.starts_with("//")) t.erase(0, 2);
  }
  if (t.empty()) return false;
  // A command line names its program first; the extension of what follows a blank is not it.
  std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(t));
  for (std::string_view e : kProgramExts) {
    if (ext == e) return true;
  }
  std::vector<std::string> words = platform::shell::SplitCommandLine(t);
  if (!words.empty()) {
    std::string first = platform::AsciiLower(platform::paths::ExtractFileExt(words.front()));
    for (std::string_view e : kProgramExts) {
      if (first == e) return true;
    }
  }
  return HostExecutable(t) || (!words.empty() && HostExecutable(words.front()));
}

std::string ProgramConsentQuestion(std::string_view target) {
  return "贺卡要求在关闭时运行程序：\n" + std::string(target) +
         "\n\n来历不明的程序可能会损害您的电脑。确实要运行它吗？";
}

bool OpenCloseTarget(const std::string& target, const std::function<bool(const std::string&)>& opener,
                     const std::function<bool(const std::string&)>& ask) {
  if (NamesProgram(target) && !(ask && ask(ProgramConsentQuestion(target)))) return false;
  return opener(target);
}

bool OpenCloseTargetWithShell(const std::string& target) {
  return OpenCloseTarget(
      target, [](const std::string& t) { return platform::shell::Open(t); },
      [](const std::string& question) {
        return platform::ShowMessage(question, platform::MsgIcon::Warning, platform::MsgButtons::YesNo) ==
               platform::MsgResult::Yes;
      });
}

}  // namespace ordinary_player_ui
