#include "flashwizard/flash_pages.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "flashwizard/flash_project.h"
#include "flashwizard/inline_player.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace flashwizard {

namespace {

// Delphi's "#.#" / "#.##": rounded, no trailing zeros, no leading zero.
std::string FormatHash(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  if (s.empty()) s = '0';
  return s;
}

// Where a placeholder stands in a page: in text, inside a tag (an attribute), or in a script.
enum class PageContext { Text, Attribute, Script };

// Calls each(byte index, length) for every character: a GBK pair as one, so that no trail
// byte is taken for the ASCII character of the same value.
template <typename F>
void ForEachChar(const std::string& s, F each) {
  for (size_t i = 0; i < s.size();) {
    size_t n = platform::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    each(i, n);
    i += n;
  }
}

std::string EscapeHtml(const std::string& s) {
  std::string out;
  ForEachChar(s, [&](size_t i, size_t n) {
    switch (n == 1 ? s[i] : '\0') {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out.append(s, i, n);
    }
  });
  return out;
}

// The content of a quoted script string: nothing in it can end the string or the script.
std::string EscapeScriptString(const std::string& s) {
  std::string out;
  ForEachChar(s, [&](size_t i, size_t n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (n == 2) {
      out.append(s, i, 2);
    } else if (c == '\\' || c == '"' || c == '\'') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  });
  return out;
}

// A file name used as a relative address: the characters that would end the path or start
// an escape are percent-encoded; the others stay for the browser to encode.
std::string EscapeAddress(const std::string& s) {
  std::string out;
  ForEachChar(s, [&](size_t i, size_t n) {
    switch (n == 1 ? s[i] : '\0') {
      case '%': out += "%25"; break;
      case '#': out += "%23"; break;
      case '?': out += "%3F"; break;
      default: out.append(s, i, n);
    }
  });
  return out;
}

struct Placeholder {
  const char* name;
  std::string value;
  bool address;  // the value names the movie file (a link or the player's source)
};

std::string EscapeFor(PageContext context, const Placeholder& p) {
  switch (context) {
    case PageContext::Text: return EscapeHtml(p.value);
    case PageContext::Attribute: return EscapeHtml(p.address ? EscapeAddress(p.value) : p.value);
    case PageContext::Script: return EscapeScriptString(p.address ? EscapeAddress(p.value) : p.value);
  }
  return p.value;
}

// Fills the placeholders (without regard to case), each escaped for where it stands.
std::string FillPlaceholders(const std::string& page, const std::vector<Placeholder>& placeholders) {
  const std::string lower = platform::AsciiLower(page);
  auto at = [&](size_t i, const char* text) { return lower.compare(i, std::strlen(text), text) == 0; };
  std::string out;
  bool inTag = false, inScript = false, scriptTag = false;
  char quote = 0;
  for (size_t i = 0; i < page.size();) {
    const Placeholder* found = nullptr;
    for (const Placeholder& p : placeholders)
      if (at(i, p.name)) found = &p;
    if (found) {
      out += EscapeFor(inTag ? PageContext::Attribute : inScript ? PageContext::Script : PageContext::Text, *found);
      i += std::strlen(found->name);
      continue;
    }
    const char c = page[i];
    const size_t n = platform::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < page.size() ? 2 : 1;
    if (n == 1) {
      if (inTag) {
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          inTag = false;
          inScript = scriptTag;
        }
      } else if (inScript) {
        if (at(i, "</script")) {
          inScript = scriptTag = false;
          inTag = true;
        }
      } else if (c == '<' && i + 1 < page.size() &&
                 (std::isalpha(static_cast<unsigned char>(page[i + 1])) || page[i + 1] == '/' || page[i + 1] == '!')) {
        inTag = true;
        scriptTag = at(i, "<script") && (i + 7 >= page.size() || !std::isalnum(static_cast<unsigned char>(page[i + 7])));
      }
    }
    out.append(page, i, n);
    i += n;
  }
  return out;
}

}  // namespace

std::string FormatFileSize(uint64_t bytes) {
  double k = bytes / 1024.0;
  if (k < 1024) return FormatHash(k, 1) + "K";
  double m = k / 1024;
  if (m < 1024) return FormatHash(m, 1) + "M";
  return FormatHash(m / 1024, 2) + "G";
}

const std::array<uint8_t, 256>& PagePermutation() {
  // Fisher-Yates over 0..255 driven by a fixed linear congruential sequence.
  static const std::array<uint8_t, 256> table = [] {
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
    uint32_t seed = 0x4C4D4643u;
    for (int i = 255; i > 0; --i) {
      seed = seed * 1103515245u + 12345u;
      int j = static_cast<int>((seed >> 16) % static_cast<uint32_t>(i + 1));
      std::swap(t[i], t[j]);
    }
    return t;
  }();
  return table;
}

std::string ScramblePage(const std::string& plain) {
  const auto& t = PagePermutation();
  std::string out(plain.size(), '\0');
  for (size_t i = 0; i < plain.size(); ++i) out[i] = static_cast<char>(t[static_cast<uint8_t>(plain[i])]);
  return out;
}

std::string UnscramblePage(const std::string& stored) {
  static const std::array<uint8_t, 256> inverse = [] {
    std::array<uint8_t, 256> inv{};
    const auto& t = PagePermutation();
    for (int i = 0; i < 256; ++i) inv[t[i]] = static_cast<uint8_t>(i);
    return inv;
  }();
  std::string out(stored.size(), '\0');
  for (size_t i = 0; i < stored.size(); ++i) out[i] = static_cast<char>(inverse[static_cast<uint8_t>(stored[i])]);
  return out;
}

std::string PageTemplatePath(PageKind kind) {
  return platform::paths::ProgramFolder() + (kind == PageKind::Save ? "flashsave.dat" : "flashview.dat");
}

std::optional<std::string> LoadPageTemplate(PageKind kind) {
  auto stored = platform::files::ReadFile(PageTemplatePath(kind));
  if (!stored) return std::nullopt;
  return UnscramblePage(*stored);
}

std::string FillPage(const std::string& page, PageKind kind, const std::string& swfPath,
                     uint64_t swfSize, const std::string& width, const std::string& height) {
  std::vector<Placeholder> placeholders = {{"<%cardfile%>", platform::paths::ExtractFileName(swfPath), true},
                                            {"<%filesize%>", FormatFileSize(swfSize), false},
                                            {"<%cardwidth%>", width, false},
                                            {"<%cardheight%>", height, false}};
  if (kind == PageKind::Save) placeholders.push_back({"<%cardfullfile%>", swfPath, false});
  return FillPlaceholders(page, placeholders);
}

std::optional<std::string> WriteMoviePage(PageKind kind, const std::string& swfPath,
                                          const std::string& width, const std::string& height) {
  auto page = LoadPageTemplate(kind);
  auto movie = platform::files::ReadFile(swfPath);
  if (!page || !movie) return std::nullopt;
  std::string text = FillPage(*page, kind, swfPath, movie->size(), width, height);
  // One line of text.
  text = platform::ReplaceText(platform::ReplaceText(text, "\r", ""), "\n", "");
  // The page carries the Flash player and the movie, so that it plays alone, from disk or served.
  auto single = InlinePlayer(text, *movie, EscapeScriptString(EscapeAddress(platform::paths::ExtractFileName(swfPath))),
                             platform::paths::ProgramFolder() + "ruffle/");
  if (!single) return std::nullopt;
  std::string htmlPath = platform::paths::ChangeFileExt(swfPath, ".html");
  if (!platform::files::WriteFileAtomic(htmlPath, *single + "\r\n")) return std::nullopt;
  return htmlPath;
}

namespace {

bool BuildAndShow(const FlashProject& project, const std::string& swfPath, PageKind kind,
                  const BuildHooks& hooks) {
  if (!MakeFlash(project, swfPath, hooks)) {
    platform::ShowMessage("生成flash失败！", platform::MsgIcon::Error);
    return false;
  }
  auto page = WriteMoviePage(kind, swfPath, std::to_string(project.Settings.Width),
                             std::to_string(project.Settings.Height));
  if (!page) return false;
  if (!platform::shell::Open(*page)) platform::shell::StartProgram("explorer " + swfPath);
  return true;
}

}  // namespace

bool SaveFlash(const FlashProject& project, const std::string& swfPath, const BuildHooks& hooks) {
  return BuildAndShow(project, swfPath, PageKind::Save, hooks);
}

bool PreviewFlash(const FlashProject& project, const BuildHooks& hooks) {
  return BuildAndShow(project, platform::user_folders::TempFolder() + "~lmcard.swf", PageKind::Preview, hooks);
}

}  // namespace flashwizard
