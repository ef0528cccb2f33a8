#pragma once
// GBK text: the system's own byte strings, the conversions at the edges, and the small
// string rules every subsystem shares.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// GBK <-> UTF-8. Bytes that cannot be converted become '?' (never an exception).
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);

// True for a GBK lead byte (0x81..0xFE): the byte starts a two-byte character.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Replaces every occurrence of pattern, left to right, and repeats until none is left.
// A replacement that contains its own pattern would never end: it is replaced in one pass.
std::string ReplaceText(std::string text, std::string_view pattern, std::string_view replacement);

// CR LF <-> a one-line marker ("<%BR%>" in settings, "<%br%>" for scrolling captions).
inline constexpr std::string_view kLineBreakMarker = "<%BR%>";
inline constexpr std::string_view kCaptionLineBreakMarker = "<%br%>";
std::string EncodeLineBreaks(std::string_view text, std::string_view marker = kLineBreakMarker);
std::string DecodeLineBreaks(std::string_view text, std::string_view marker = kLineBreakMarker);

// Removes blanks and control characters (bytes up to 0x20) from the end.
std::string TrimRight(std::string_view text);
// Removes blanks and control characters from both ends.
std::string Trim(std::string_view text);

// ASCII-only case folding (GBK bytes from 0x80 are left alone, as the platform's ANSI
// comparison leaves double-byte characters alone).
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Integer text as the platform's conversion reads it: optional blanks, sign, decimal digits
// or "$"/"0x" hexadecimal. Anything else raises ConvertError("'abc' is not a valid integer value").
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
bool TryStrToInt(std::string_view text, int& value);
std::string IntToStr(long long value);

// The bytes in base64 (RFC 4648, with "=" padding), on one line.
std::string Base64(std::string_view bytes);

}  // namespace platform
