// cardtool style-write: a style file from its readable description.
#include <fstream>
#include <sstream>

#include "command.h"
#include "imaging/layer_style_file.h"
#include "imaging/style_description.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"style-write", "style-write DESCRIPTION OUT.style",
                                 "writes a layer style file from a text description (the form style-dump prints)",
                                 &Run};
const cardtool::Registrar reg(kCommand);

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 2) return cardtool::Usage(kCommand);
  const std::string& descPath = opt.Positionals()[0];
  std::ifstream in(descPath, std::ios::binary);
  if (!in) return cardtool::Fail("cannot read " + descPath);
  std::stringstream text;
  text << in.rdbuf();
  size_t slash = descPath.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : descPath.substr(0, slash);
  imaging::StyleFile style;
  std::string error;
  if (!imaging::ParseStyleDescription(text.str(), folder, style, error))
    return cardtool::Fail(descPath + ": " + error);
  if (!platform::files::WriteFileAtomic(platform::paths::FromHost(opt.Positionals()[1]),
                                        imaging::WriteStyleFile(style)))
    return cardtool::Fail("cannot write " + opt.Positionals()[1]);
  return 0;
}

}  // namespace
