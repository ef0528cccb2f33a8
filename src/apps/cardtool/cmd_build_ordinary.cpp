// cardtool build-ordinary: builds an ordinary card from an ordinary card template (".lmcard").
// An output name ending in ".crd1" gives a plain ordinary card file, ".html" a web card,
// anything else an EXE card. A web card carries its MIDI music and movies converted for browsers.
#include <cstdio>
#include <string>

#include "command.h"
#include "maker/ordinary/ordinary_template.h"
#include "maker/packaging/card_reader.h"
#include "maker/packaging/ordinary_build.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/web/ordinary_web_card.h"
#include "webmedia/page_converter.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"build-ordinary", "build-ordinary TEMPLATE.lmcard OUT [--yes]",
                                 "builds an ordinary card (OUT .exe, .crd1, or .html for a web card) from an ordinary card template", &Run};
const cardtool::Registrar reg(kCommand);

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 2) return cardtool::Usage(kCommand);
  const std::string templ = platform::paths::FromHost(opt.Positionals()[0]);
  const std::string out = platform::paths::FromHost(opt.Positionals()[1]);
  if (!platform::files::FileExists(templ)) return cardtool::Fail("cannot open " + opt.Positionals()[0]);
  ordinary::OrdinarySettings s = ordinary::LoadTemplate(templ);
  // The wizard would not let a card without its picture be built.
  if (s.cardImg.empty()) return cardtool::Fail("the template names no card picture that exists");
  if (platform::AsciiLower(platform::paths::ExtractFileExt(out)) == ".html") {
    std::vector<std::string> failures;
    const std::vector<std::string> leftOut = web::WriteOrdinaryWebCard(s, out, webmedia::PageMediaConverter(&failures));
    for (const std::string& f : failures) std::fprintf(stderr, "warning: %s\n", platform::GbkToUtf8(f).c_str());
    for (const std::string& f : leftOut)
      std::fprintf(stderr, "warning: %s cannot be played in a browser; the web card plays without it\n",
                   platform::GbkToUtf8(f).c_str());
    std::printf("%s: ordinary web card, %zu bytes\n", opt.Positionals()[1].c_str(),
                platform::files::ReadFile(out).value_or(std::string()).size());
    return 0;
  }
  switch (packaging::BuildOrdinaryCard(s, out)) {
    case packaging::OrdinaryBuildResult::Built: break;
    case packaging::OrdinaryBuildResult::NotReplaced: return cardtool::Fail("kept the existing " + opt.Positionals()[1] + " (use --yes to replace it)");
    default: return 1;
  }
  packaging::CardReader card = packaging::CardReader::Open(out);
  std::printf("%s: ordinary card, %s, %zu media files, %zu bytes\n", opt.Positionals()[1].c_str(),
              card.Form() == packaging::CardForm::Exe ? "EXE" : "plain card file", card.Media().size(),
              card.Bytes().size());
  return 0;
}

}  // namespace
