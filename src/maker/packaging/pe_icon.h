#pragma once
// The icon resource of a Windows program (PE file). The Windows players are laid out so that an
// EXE card's icon patch lands on their icon: the image of their first icon resource is the last
// thing in the file, in a slot large enough for any 32x32 image, and the bytes before it are the
// FORM prefix without its nine image header bytes. Cutting such a player at the slot's start
// less the prefix (its Option.ini length) and appending a FORM prefix and an icon image tail
// therefore rewrites exactly the icon that the system shows for the program.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace packaging {

// A 32x32 icon image with 32-bit colour (header, colour bits, AND mask): the largest that an
// icon patch carries, and so the size of the players' icon slot.
inline constexpr uint32_t kIconSlotSize = 40 + 32 * 32 * 4 + 32 * 4;

struct PeIconResource {
  uint64_t offset = 0;  // file offset of the image of the first RT_ICON resource
  uint32_t size = 0;    // its size as the resource directory declares it
};

// Where a PE file's image ends (the end of its last section's data), so that whatever follows was
// appended; nothing when bytes is no PE file.
std::optional<uint64_t> PeImageEnd(std::string_view bytes);

// The first icon image of a PE file; nothing when bytes is no PE file, has no icon resource, or
// a directory or the image lies outside the file's sections.
std::optional<PeIconResource> FindPeIcon(std::string_view bytes);

// That image's bytes (cut at the end of the file); nothing as above.
std::optional<std::string> ReadPeIcon(std::string_view bytes);

struct IconSlotLayout {
  std::string program;   // the laid-out program
  uint64_t cutLength = 0;  // where an icon patch starts: the player's Option.ini length
};

// Lays out a linked, stripped program: its first icon image moves into a slot of kIconSlotSize
// bytes at the very end of the file (the resource section being the last), preceded by prefix;
// the icon group entry is updated to the slot. image: the program's own 32x32 icon image.
// Nothing when the program does not have that shape (no icon, resources not last, data after
// the last section) or the image does not fit.
std::optional<IconSlotLayout> PlaceIconLast(std::string_view program, std::string_view prefix,
                                            std::string_view image);

// The 32x32 image of an icon file (.ico), nothing when it holds none.
std::optional<std::string> IconFileImage32(std::string_view icoBytes);

}  // namespace packaging
