#include "webmedia/page_converter.h"

#include "platform/error.h"
#include "webmedia/web_media.h"

namespace webmedia {

web::MediaConverter PageMediaConverter(std::vector<std::string>* failures) {
  return [failures](const std::string& path) -> std::optional<web::ConvertedMedia> {
    if (!NeedsConversion(path)) return std::nullopt;
    try {
      BrowserMedia media = ConvertForBrowser(path);
      return web::ConvertedMedia{media.mime, std::string(media.bytes.begin(), media.bytes.end())};
    } catch (const platform::Error& e) {
      if (failures) failures->push_back(path + ": " + e.what());
      return std::nullopt;
    }
  };
}

}  // namespace webmedia
