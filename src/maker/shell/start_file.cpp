#include "maker/shell/start_file.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace cardshell {

StartFileKind StartFileKindOf(std::string_view path) {
  const std::string ext = platform::paths::ExtractFileExt(path);
  if (platform::EqualsNoCase(ext, ".lmcard2")) return StartFileKind::Design;
  if (platform::EqualsNoCase(ext, ".lmcard")) return StartFileKind::Ordinary;
  if (platform::EqualsNoCase(ext, ".lmflash")) return StartFileKind::FlashWizard;
  return StartFileKind::None;
}

}  // namespace cardshell
