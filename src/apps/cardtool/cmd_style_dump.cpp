// cardtool style-dump: every field of a style file, in the description form style-write reads.
#include <cstdio>

#include "command.h"
#include "imaging/layer_style_file.h"
#include "imaging/style_description.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"style-dump", "style-dump FILE.style", "prints the fields of a layer style file",
                                 &Run};
const cardtool::Registrar reg(kCommand);

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 1) return cardtool::Usage(kCommand);
  const std::string& path = opt.Positionals()[0];
  auto bytes = platform::files::ReadFile(platform::paths::FromHost(path));
  if (!bytes) return cardtool::Fail("cannot read " + path);
  imaging::StyleFile style;
  switch (imaging::ParseStyleFile(*bytes, style)) {
    case imaging::StyleParse::NotAStyleFile: return cardtool::Fail(path + " is not a layer style file");
    case imaging::StyleParse::VersionTooNew: return cardtool::Fail(platform::GbkToUtf8(imaging::kStyleTooNewText));
    case imaging::StyleParse::Malformed: return cardtool::Fail(path + " ends early or is malformed");
    case imaging::StyleParse::Ok: break;
  }
  std::fputs(imaging::DescribeStyle(style).c_str(), stdout);
  return 0;
}

}  // namespace
