#include "webmedia/page_converter.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "webmedia/web_media.h"

namespace webmedia {

web::MediaConverter PageMediaConverter(std::vector<std::string>* failures) {
  return [failures](const std::string& name, std::string_view bytes) -> std::optional<web::ConvertedMedia> {
    if (!NeedsConversion(name)) return std::nullopt;
    const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(name));
    const bool midi = ext == ".mid" || ext == ".midi" || ext == ".rmi";
    try {
      const std::vector<std::uint8_t> in(bytes.begin(), bytes.end());
      const std::vector<std::uint8_t> out = midi ? MidiToMp3(in) : MovieToWebm(in);
      return web::ConvertedMedia{midi ? "audio/mpeg" : "video/webm", std::string(out.begin(), out.end())};
    } catch (const platform::Error& e) {
      if (failures) failures->push_back(name + ": " + e.what());
      return std::nullopt;
    }
  };
}

}  // namespace webmedia
