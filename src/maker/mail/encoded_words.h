#pragma once
// Header text that is not plain ASCII, written as MIME encoded words ("=?GBK?B?...?=") so
// that mail readers show the sender's name, the subject and the attachment's file name in
// the right characters.
#include <string>
#include <string_view>
#include <vector>

namespace mail {

// The character set to declare for text of the program's code page: "GBK", or "GB18030"
// when the text holds four-byte sequences that GBK does not have.
std::string TextCharset(std::string_view text);

// text as it goes into a header: unchanged when it is ASCII, otherwise base64 encoded words
// of at most 75 characters each, never splitting a character between two words.
std::vector<std::string> EncodedWords(std::string_view text);

// The words joined by separator: "\r\n " folds a header line between them, " " keeps them
// on one line (inside a quoted parameter).
std::string HeaderText(std::string_view text, std::string_view separator);

}  // namespace mail
