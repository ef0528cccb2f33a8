#pragma once
// A movie page that travels as one file: the Flash player's scripts inline, its WebAssembly
// core and the movie gzip-compressed (in base64) inside the page, unpacked by the browser. The program folder's "ruffle" folder holds the player laid out by the build,
// with "page-player.txt" naming the build the pages carry (its core script, its WebAssembly
// file, which the build also keeps gzip-compressed as NAME.wasm.gz).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flashwizard {

// gzip of the bytes (best compression, no name or time in the header).
std::string Gzip(std::string_view bytes);

// Replaces the page's `<script src="ruffle/ruffle.js"></script>` with the player and the movie
// inline. movieAddress is the address the page's own script loads the movie from (as written
// in a script string there); requests for it are answered with the movie. A page without that
// tag stays as it is; nothing when the player folder (a system path ending in a separator)
// lacks a file or a script cannot stand inline.
std::optional<std::string> InlinePlayer(const std::string& page, std::string_view movie,
                                        const std::string& movieAddress, const std::string& playerFolder);

}  // namespace flashwizard
