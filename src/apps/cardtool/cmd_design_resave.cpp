// cardtool design-resave: reads a design file and writes it back with the design file writer.
#include <string>

#include "command.h"
#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "platform/paths.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"design-resave", "design-resave IN.lmcard2 OUT.lmcard2",
                                 "reads a design file and writes it again", &Run};
const cardtool::Registrar reg(kCommand);

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 2) return cardtool::Usage(kCommand);
  document::CardDocument doc;
  document::DelAll(doc);
  // A read error reaches cardtool's handler, which prints it; nothing is written then.
  document::Loadfileset(doc, platform::paths::FromHost(opt.Positionals()[0]));
  const std::string& out = opt.Positionals()[1];
  if (!document::lmsavefile(doc, platform::paths::FromHost(out))) return cardtool::Fail("cannot write " + out);
  return 0;
}

}  // namespace
