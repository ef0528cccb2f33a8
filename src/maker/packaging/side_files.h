#pragma once
// The side files of the program folder that the card builders copy and append to: the three
// player stubs, the plain card header default.txt, the icon patch prefixes FORM1/3/4.obj and
// Option.ini with the length at which each stub is cut before an icon patch.
//
// Our stubs are cut at their full length (Option.ini is written at build time from the sizes
// of the stubs), so a patched stub is the whole program followed by the icon patch:
//
//   stub bytes | FORM prefix | icon image tail | media ... | settings block
//
// A FORM prefix is the 8-byte magic kIconPatchMagic, the form number (1, 3 or 4), a colour
// hint (8 for FORM4: 256 colours, 0 otherwise), zero padding, and the first nine bytes of a
// 32x32 icon image header (28 00 00 00 20 00 00 00 40). Since the image tail continues right
// after those nine bytes, the last nine prefix bytes and the tail together are the complete
// 32x32 icon image (BITMAPINFOHEADER, palette, colour bits, AND mask). A player finds the
// prefix at the end of its own ELF image (ElfImageEnd) and the image runs up to the first
// media file or the settings block.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace packaging {

inline constexpr std::string_view kHeaderFileName = "default.txt";
inline constexpr std::string_view kOptionIniName = "Option.ini";
inline constexpr std::string_view kOptionSection = "Application";
inline constexpr std::string_view kForm1Name = "FORM1.obj";
inline constexpr std::string_view kForm3Name = "FORM3.obj";
inline constexpr std::string_view kForm4Name = "FORM4.obj";

// A stub family: its program, the extension of its plain card files, its Option.ini key and
// the length used when Option.ini lacks the key.
struct StubFamily {
  std::string_view stub;
  std::string_view plainExt;
  std::string_view optionKey;
  int defaultLength;
};
inline constexpr StubFamily kOrdinaryFamily{"exe1.exe", ".crd1", "EXE1", 199717};
inline constexpr StubFamily kPlainFamily{"exe2.exe", ".crd2", "EXE2", 230139};
inline constexpr StubFamily kFlashFamily{"exe3.exe", ".crd3", "EXE3", 243007};

// Bytes of a FORM file placed in front of the icon image tail.
inline constexpr size_t kForm1PrefixLength = 32;   // ordinary cards
inline constexpr size_t kForm34PrefixLength = 38;  // interactive cards

inline constexpr std::string_view kIconPatchMagic{"\x89LMICON\x1a", 8};
// The nine bytes that start a 32x32 icon image header (size 40, width 32, height 64).
inline constexpr std::string_view kIconHeaderStart{"\x28\x00\x00\x00\x20\x00\x00\x00\x40", 9};

// The contents of FORM1.obj, FORM3.obj or FORM4.obj (form = 1, 3 or 4).
std::string FormFileBytes(int form);

// The contents of default.txt, the header of every plain card file.
std::string HeaderFileBytes();

// The contents of Option.ini for stubs of the given lengths (a length < 0 leaves its key out).
std::string OptionIniText(long long exe1, long long exe2, long long exe3);

// Where the ELF image in bytes ends (the largest end of its headers, segments and sections),
// or nothing when bytes does not start with an ELF header or the header is damaged.
std::optional<uint64_t> ElfImageEnd(std::string_view bytes);

struct IconPatch {
  uint64_t offset = 0;       // first byte of the FORM prefix
  int form = 0;              // 1, 3 or 4
  uint64_t imageOffset = 0;  // first byte of the 32x32 icon image (its header)
  uint64_t imageLength = 0;  // up to the payload start
};

// The icon patch of a card file whose payload (first media file, or the settings block when
// there is none) starts at payloadStart: at the end of the ELF image when the file is one, else
// the last FORM prefix before payloadStart. Nothing when there is none.
std::optional<IconPatch> FindIconPatch(std::string_view fileBytes, uint64_t payloadStart);

}  // namespace packaging
