// cardtool build: builds a card file from a design file with the package builder. The output
// name's extension chooses the form: the family's plain extension (".crd2" without Flash,
// ".crd3" with Flash) gives a plain card file, ".html" a web card, anything else an EXE card.
#include <cstdio>
#include <string>

#include "command.h"
#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/packaging/build_dialogs.h"
#include "maker/packaging/card_reader.h"
#include "maker/ordinary/ordinary_template.h"
#include "maker/packaging/package_builder.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/web/interactive_web_card.h"
#include "webmedia/page_converter.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"build", "build DESIGN.lmcard2 OUT [--verbose]",
                                 "builds an interactive card (OUT .exe, .crd2, .crd3, or .html for a web card) from a design file", &Run};
const cardtool::Registrar reg(kCommand);

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 2) return cardtool::Usage(kCommand);
  const std::string design = platform::paths::FromHost(opt.Positionals()[0]);
  const std::string out = platform::paths::FromHost(opt.Positionals()[1]);
  if (!platform::files::FileExists(design)) return cardtool::Fail("cannot open " + opt.Positionals()[0]);
  // An ordinary card template reads as an empty design: refuse it rather than build a blank card.
  for (const std::string& section : platform::profile::SectionNames(design)) {
    if (platform::AsciiLower(section) == platform::AsciiLower(ordinary::kTemplateSection)) {
      return cardtool::Fail(opt.Positionals()[0] + " is an ordinary card template, not a design file; build it with: "
                            "cardtool build-ordinary " + opt.Positionals()[0] + " " + opt.Positionals()[1]);
    }
  }

  document::CardDocument doc;
  document::DelAll(doc);
  // A read error reaches cardtool's handler, which prints it; nothing is built then.
  document::Loadfileset(doc, design);
  packaging::MakeExeHooks hooks;
  if (opt.Flag("verbose")) {
    hooks.status = [](const std::string& s) { std::fprintf(stderr, "%s\n", platform::GbkToUtf8(s).c_str()); };
  }
  if (platform::AsciiLower(platform::paths::ExtractFileExt(out)) == ".html") {
    std::vector<std::string> failures;
    const bool built = web::BuildInteractiveWebCard(doc, out, hooks, webmedia::PageMediaConverter(&failures));
    for (const std::string& f : failures) std::fprintf(stderr, "warning: %s\n", platform::GbkToUtf8(f).c_str());
    if (!built) return 1;
    std::printf("%s: web card, %zu bytes\n", opt.Positionals()[1].c_str(),
                platform::files::ReadFile(out).value_or(std::string()).size());
    return 0;
  }
  if (!packaging::MakeExe(doc, out, hooks)) return 1;
  platform::ShowMessage(packaging::BuiltMessage(out), platform::MsgIcon::Information);
  packaging::CardReader card = packaging::CardReader::Open(out);
  std::printf("%s: %s card, %s, %zu media files, %zu bytes\n", opt.Positionals()[1].c_str(),
              packaging::FamilyName(card.Family()),
              card.Form() == packaging::CardForm::Exe ? "EXE" : "plain card file", card.Media().size(),
              card.Bytes().size());
  return 0;
}

}  // namespace
