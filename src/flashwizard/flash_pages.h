#pragma once
// The HTML page around a built movie, from the page templates the program keeps scrambled in
// its folder, and the save and preview commands that build a movie and show its page.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "flashwizard/flash_builder.h"

namespace flashwizard {

// "1.5K", ".5K", "2M", "1.25G": kilobytes below 1024, else megabytes below 1024, else gigabytes.
std::string FormatFileSize(uint64_t bytes);

// The byte substitution of the stored page templates: stored = table[plain].
const std::array<uint8_t, 256>& PagePermutation();
std::string ScramblePage(const std::string& plain);
std::string UnscramblePage(const std::string& stored);

enum class PageKind { Save, Preview };
// The program folder's template file of a page kind.
std::string PageTemplatePath(PageKind kind);
// The plain template text; nothing when the file cannot be read.
std::optional<std::string> LoadPageTemplate(PageKind kind);

// Fills the placeholders, without regard to case: "<%cardfile%>", "<%filesize%>",
// "<%cardwidth%>", "<%cardheight%>" and, for the save page, "<%cardfullfile%>". Each value is
// escaped for where it stands: page text, an attribute inside a tag, or a quoted string in a
// script; the movie's file name, an address there, also gets "%", "#" and "?" encoded.
std::string FillPage(const std::string& page, PageKind kind, const std::string& swfPath,
                     uint64_t swfSize, const std::string& width, const std::string& height);

// Writes the page of a built movie beside it (the movie path with ".html"), one file that holds
// the movie and the program's Flash player (inline_player.h). Answers the page's path, or
// nothing when the template, the movie, the player or the page cannot be had.
std::optional<std::string> WriteMoviePage(PageKind kind, const std::string& swfPath,
                                          const std::string& width, const std::string& height);

// The save command after the file name is chosen, and the preview command: build, show
// "生成flash失败！" on failure, write the page and open it. False when nothing was shown.
bool SaveFlash(const FlashProject& project, const std::string& swfPath, const BuildHooks& hooks = {});
bool PreviewFlash(const FlashProject& project, const BuildHooks& hooks = {});

}  // namespace flashwizard
