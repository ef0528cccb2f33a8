#pragma once
// How the design file reader and the image/GIF creation complete relative paths with the
// program folder.
#include <string>
#include <string_view>

namespace document {

// Path rule: a value that is not absolute (second character ":", or a leading separator on
// this host) gets the program folder in front
// (an empty value thus becomes the program folder).
std::string ApplyPathRule(std::string_view value);
// Image variant: only when the second character is not ":" and no file of that name exists.
std::string ApplyImagePathRule(std::string_view value);
// Setting value 1 may be an address or a picture number as well as a file: the path rule is
// applied only when the value looks like a file path (not empty, no scheme such as "http:" or
// "mailto:", not "www.…", not a plain number).
bool LooksLikeFilePath(std::string_view value);
std::string ApplySettingPathRule(std::string_view value);

}  // namespace document
