#include "webmedia/web_media.h"

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace webmedia {

namespace {

enum class Kind { None, Midi, Movie };

Kind KindOf(const std::string& path) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  if (ext == ".mid" || ext == ".midi" || ext == ".rmi") return Kind::Midi;
  for (const char* e : {".avi", ".mpg", ".mpeg", ".mpe", ".dat", ".wmv", ".asf", ".mov"})
    if (ext == e) return Kind::Movie;
  return Kind::None;
}

}  // namespace

bool NeedsConversion(const std::string& path) { return KindOf(path) != Kind::None; }

BrowserMedia ConvertForBrowser(const std::string& path) {
  const Kind kind = KindOf(path);
  if (kind == Kind::None) throw platform::ConvertError(path + " is not media that needs converting");
  auto bytes = platform::files::ReadFile(path);
  if (!bytes) throw platform::FileError("Cannot open file " + path);
  const std::vector<std::uint8_t> in(bytes->begin(), bytes->end());
  if (kind == Kind::Midi) return {"audio/mpeg", MidiToMp3(in)};
  return {"video/webm", MovieToWebm(in)};
}

}  // namespace webmedia
