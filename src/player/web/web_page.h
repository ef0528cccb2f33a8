#pragma once
// One self-contained web card page: the card's data (JSON, its media as data: addresses), the
// card rules compiled to WebAssembly and the page's host script, all inline in one .html file
// that needs no other file and no network. The page's Content-Security-Policy allows only the
// page itself: its own inline script and style, data: and blob: media, nothing fetched.
//
// Card texts go into the page only inside the JSON block, escaped so that no text can end the
// block or run as script; the host script puts them on the page as text, never as markup.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace web {

// The folder beside the programs holding the page's scripts ("web/" of the program folder):
// card_rules.js (the rules in WebAssembly, base64 inside) and card_host.js.
std::string WebPlayerFolder();

// A JSON string literal of UTF-8 text, safe inside an HTML <script> block: quotes, backslashes
// and control characters escaped, and "<", ">", "&", U+2028 and U+2029 as \u escapes.
std::string JsonString(std::string_view utf8);
// A JSON string of GBK text.
std::string JsonText(std::string_view gbk);

std::string DataUri(std::string_view mime, std::string_view bytes);
// The bitmap as a PNG data: address (32-bit bitmaps keep their alpha).
std::string PngDataUri(const platform::Bitmap& bitmap);
// A media file's bytes as a data: address the browser can play or show; mime chosen by content.
// Empty when the browser cannot use the kind (MIDI, movies): the card then plays without it.
std::string SoundDataUri(std::string_view bytes);

// A media file turned into one a browser plays (MIDI music to MP3, movies to WebM).
struct ConvertedMedia {
  std::string mime;
  std::string bytes;
};
// Converts a media file's bytes (its name's extension tells the kind), or answers nothing when
// it cannot. The programs that link the converters supply one (webmedia::PageMediaConverter);
// the writers never call the codecs themselves.
using MediaConverter = std::function<std::optional<ConvertedMedia>(const std::string& name, std::string_view bytes)>;

// Media as a data: address a browser plays: as they are when the browser knows the kind, else
// converted by convert (when given). Empty when neither works. lengthMs (when given) receives
// the playing length, 0 when unknown.
std::string MediaDataUri(const std::string& name, std::string_view bytes, const MediaConverter& convert,
                         int64_t* lengthMs = nullptr);
// The same for a file (system path); empty when it cannot be read.
std::string MediaFileDataUri(const std::string& path, const MediaConverter& convert, int64_t* lengthMs = nullptr);

// The whole page. title: UTF-8; cardJson: the card's data as one JSON value.
// Raises platform::FileError when the player's scripts are missing beside the programs.
std::string WebCardPage(std::string_view titleUtf8, std::string_view cardJson);
// The same page with other scripts of the player's folder inline, in order (a card kind that
// needs no card rules carries only its own host script).
std::string WebCardPage(std::string_view titleUtf8, std::string_view cardJson,
                        const std::vector<std::string>& scripts);

}  // namespace web
