#pragma once
// The ordinary card build: exe1.exe (or default.txt for a ".crd1" file), the optional icon
// patch, the card picture, music, voice and greeting box picture, then the settings block of
// 48 positional fields.
#include <cstdint>
#include <string>
#include <string_view>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/packaging/build_report.h"

namespace packaging {

// Lengths of the packed files (0 for a file that is not packed).
struct OrdinaryMediaLengths {
  uint64_t cardImg = 0;
  uint64_t music = 0;
  uint64_t wav = 0;
  uint64_t cardBox = 0;
};

// The settings text: fields 1 to 48, each followed by "<%=lmcrlf%>".
std::string OrdinarySettingsText(const ordinary::OrdinarySettings& s, const OrdinaryMediaLengths& lengths,
                                 uint64_t payloadOffset);

enum class OrdinaryBuildResult {
  Built,         // the card is written and the success box was shown
  NoOutputPath,  // "请输入贺卡输出位置！" was shown
  NotReplaced,   // the user kept an existing file
  BadIcon,       // the icon cannot be used; its error box was shown
  Failed,        // a file could not be copied, read or written; the failure box was shown
  BadText,       // a typed text holds the packed fields' separator; its warning was shown
};

// The greeting travels in the card cut to this many bytes, never inside a character.
inline constexpr size_t kMaxPackedGreeting = 1000;

// True when a text of the settings holds "<%=lmcrlf%>", which no card can carry.
bool HoldsPackedSeparator(const ordinary::OrdinarySettings& s);

// Builds the card at outputPath (trimmed) from the settings, with the stub, header and FORM
// file of the program folder. The wizard's own checks of the settings come first and are not
// repeated here. The output is written under a temporary name and replaces an existing file
// only when complete; after any failure the old file is untouched and no partial file is left.
OrdinaryBuildResult BuildOrdinaryCard(const ordinary::OrdinarySettings& s, std::string_view outputPath,
                                      const StatusCallback& status = {});

}  // namespace packaging
