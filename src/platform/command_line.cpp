#include "platform/command_line.h"

#include "platform/text.h"

namespace platform::shell {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string tok;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      if (!quoted && (c == ' ' || c == '\t')) break;
      tok += c;
      if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < line.size()) tok += line[++i];
    }
    out.push_back(tok);
  }
  return out;
}

}  // namespace platform::shell
