// cardtool, the suite's command-line companion: every main road of the suite, headless.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "command.h"
#include "platform/console_dialogs.h"
#include "platform/dialogs.h"
#include "platform/text.h"

namespace {

constexpr const char* kVersion = "7.0";

void PrintHelp() {
  // Literals are GBK bytes; the terminal reads UTF-8.
  std::printf("%s", platform::GbkToUtf8(std::string("cardtool ") + kVersion +
                                       " — builds, inspects and sends the cards of the card suite.\n\n").c_str());
  std::printf("usage: cardtool COMMAND [ARGS...]\n\ncommands:\n");
  for (const cardtool::Command& c : cardtool::Commands()) {
    std::printf("  %-58s %s\n", platform::GbkToUtf8(c.synopsis).c_str(), platform::GbkToUtf8(c.summary).c_str());
  }
  std::printf("\n  --help, --version\n");
}

}  // namespace

int main(int argc, char** argv) {
  platform::ConsoleDialogs dialogs;
  platform::SetDialogs(&dialogs);
  platform::SetApplicationTitle("Lumo贺卡制作 标准版");
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("cardtool %s\n", kVersion);
    return 0;
  }
  cardtool::Args args(argv + 2, argv + argc);
  for (const std::string& a : args) {
    if (a == "--yes") dialogs.SetAssumeYes(true);
  }
  for (const cardtool::Command& c : cardtool::Commands()) {
    if (c.name != argv[1]) continue;
    for (const std::string& a : args) {
      if (a == "--help") return cardtool::Usage(c), 0;
    }
    try {
      return c.run(args);
    } catch (const std::exception& e) {
      // The suite's errors carry GBK text.
      return cardtool::Fail(platform::GbkToUtf8(e.what()));
    }
  }
  return cardtool::Fail(std::string("unknown command '") + argv[1] + "' (see cardtool --help)", 2);
}
