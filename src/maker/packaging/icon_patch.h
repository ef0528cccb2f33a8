#pragma once
// Replacement icons of EXE cards: the icon image tail that follows the FORM bytes in a patched
// stub, and the 32x32 copy made of an icon that holds no 32x32 image.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace packaging {

// Work files of the icon patch in the program folder.
inline constexpr std::string_view kIconTailFile = "~tmpico.obj";
inline constexpr std::string_view kIconCopyFile = "~tmpico.ico";
inline constexpr std::string_view kFormCopyFile = "~tmp.dat";

// Deletes the icon patch's work files; as a guard, again when the build leaves its scope, on
// every road out (a card file that takes no icon, a stub that cannot be copied, an exception).
void RemoveIconWorkFiles();
struct IconWorkFilesGuard {
  IconWorkFilesGuard() = default;
  IconWorkFilesGuard(const IconWorkFilesGuard&) = delete;
  IconWorkFilesGuard& operator=(const IconWorkFilesGuard&) = delete;
  ~IconWorkFilesGuard() { RemoveIconWorkFiles(); }
};

// The icon named by an icon field replaces the stub's when that file exists and its lower-cased
// file name is not "icon26.ico" (the stubs' own icon).
bool UsesReplacementIcon(std::string_view iconPath);

// The icon image tail of an icon file's bytes: everything after the first position i (i >= 10)
// where the nine bytes ending at i are 28 00 00 00 20 00 00 00 40, the start of a 32x32 image
// header. Nothing when the file is shorter than 60 bytes or holds no such header.
std::optional<std::string> IconImageTail(std::string_view iconBytes);

// A 32x32, 32-bit icon file made from the image of an icon file nearest to 32x32 (stretched),
// or nothing when the bytes are not an icon with a readable image.
std::optional<std::string> MakeIcon32Copy(std::string_view iconBytes);

// Extracts the tail of iconPath into tailPath; when the icon has no usable image, writes the
// 32x32 copy to copyPath and extracts from that. False when neither gives a tail (tailPath is
// then absent). Read and write errors count as no usable image.
bool PrepareIconTail(std::string_view iconPath, std::string_view tailPath, std::string_view copyPath);

// An icon image (BITMAPINFOHEADER, palette, colour bits, AND mask; uncompressed, 1 to 32 bits
// per pixel) as top-down 0xAARRGGBB pixels; the header's height counts both bitmaps. Nothing
// when the bytes are damaged or too short.
struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
};
std::optional<IconPixels> DecodeIconDib(std::string_view dib);

// Where a patched stub's program image ends (a Windows player's icon slot runs to its end): the
// icon patch is followed by zero bytes up to there, so that a card with a small icon and little
// payload is still a whole program. 0 when the stub is no Windows program.
uint64_t StubImageEnd(std::string_view stubPath);

}  // namespace packaging
