#pragma once
// A Flash element's movie on Windows: a small page beside the movie file that embeds it, opened
// in the default browser.
#include <string>

namespace win32_host {

// The page's text for a movie file name.
std::string FlashPageHtml(const std::string& movieFileName);

// Writes the page beside the movie (path + ".html") and opens it; false when that fails.
bool OpenFlashPage(const std::string& moviePath);

}  // namespace win32_host
