#pragma once
// The designer's clock panels and the preview command's plan: which test card it builds and
// which player stub it starts on it.
#include <ctime>
#include <string>
#include <string_view>

#include "maker/document/card_document.h"

namespace document {

// Status bar clock: "HH:NN:SS", the weekday ("星期日" … "星期六", Sunday first) and the date
// as a blank, the four-digit year, "年", month, "月", day, "日" (no leading zeros).
struct ClockPanels {
  std::string time, weekday, date;
};
ClockPanels ClockTexts(const std::tm& t);

inline constexpr std::string_view kTestCardExe = "TestCard.exe";
inline constexpr std::string_view kTestCardCrd2 = "TestCard.crd2";
inline constexpr std::string_view kTestCardCrd3 = "TestCard.crd3";

// A card with a Flash movie, or whose .crd3 flag is set, is previewed as "TestCard.crd3" with
// exe3.exe; any other as "TestCard.crd2" with exe2.exe.
bool PreviewAsCrd3(const CardDocument& doc);
std::string PreviewCardName(const CardDocument& doc);

// The command line that starts a stub on a test card: folder + stub, a blank, folder + card.
// A path holding a blank is put in double quotes so the stub gets it as one argument.
std::string PreviewCommandLine(std::string_view folder, std::string_view stub, std::string_view card);
// The same with the card in its own folder (the work folder beside a read-only program folder).
std::string PreviewCommandLine(std::string_view stubFolder, std::string_view stub, std::string_view cardFolder,
                               std::string_view card);

}  // namespace document
