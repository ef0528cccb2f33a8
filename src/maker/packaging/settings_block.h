#pragma once
// The settings block that ends every card file. It has no length field: it runs from its
// marker to the end of the file.
//   interactive cards: six bytes 0xFD, then the settings text with its first N-3 bytes XORed
//                      with 0x6B and its last three bytes plain;
//   ordinary cards:    three bytes 0xFF, then the settings text with every byte XORed with 0x6B.
#include <string>
#include <string_view>

namespace packaging {

inline constexpr unsigned char kScrambleKey = 0x6B;
inline constexpr std::string_view kInteractiveMarker{"\xFD\xFD\xFD\xFD\xFD\xFD", 6};
inline constexpr std::string_view kOrdinaryMarker{"\xFF\xFF\xFF", 3};

// The block for a settings text (marker + scrambled text).
std::string InteractiveBlock(std::string_view text);
std::string OrdinaryBlock(std::string_view text);

// The settings text from the bytes that follow the marker (the XOR undoes itself).
std::string RestoreInteractiveText(std::string_view scrambled);
std::string RestoreOrdinaryText(std::string_view scrambled);

}  // namespace packaging
