#pragma once
// The card package builder: turns the interactive card open in the designer into an EXE card
// (a copy of exe2.exe or exe3.exe, optionally with a replacement icon) or a plain card file
// (".crd2"/".crd3" behind default.txt), with the card's media files and its scrambled settings
// text appended.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"
#include "maker/packaging/build_report.h"
#include "maker/packaging/side_files.h"

namespace packaging {

// The settings text of the card being built, in the program folder.
inline constexpr std::string_view kSettingsWorkFile = "~tmpset.obj";

// ".exe", ".scr", ".com", ".vbs", ".cmd", ".reg", ".bat": action files never packed.
bool IsExecutableExtension(std::string_view path);

// The builder's media list of a document: background picture (always id 0 when used), mask,
// music, then the element files in the builder's order; lower-cased, each path once.
std::vector<std::string> BuilderMediaList(const document::CardDocument& doc);

// The family a design builds into: Flash when it has a Flash element or packs a ".crd3" file.
const StubFamily& ChooseFamily(const document::CardDocument& doc, const std::vector<std::string>& mediaList);

// The date and time as the system's short date and long time format writes them
// ("2002-1-5 7:03:09").
std::string ShortDateLongTime(const std::tm& t);

// The running program's own settings file: its name with ".ini" appended, in the program folder
// (in the user's data folder when the program folder is read-only).
std::string ProgramSettingsFile();

struct MakeExeHooks {
  StatusCallback status;  // "正在编译...", "正在写EXE...", "就绪" (the last on every path)
  // A check of the card window failed: the designer selects the card window, shows its first
  // property page and flashes the caption given ("使用背景图片", "使用掩饰图片", "贺卡背景音乐:").
  std::function<void(const std::string& caption)> onWindowCheckFailed;
};

// Builds the card file at outputPath from doc. Returns true on success; false when a check
// failed or writing failed, after telling the user why. May switch the title bar option on
// (a card without title bar needs a "结束贺卡运行" action to be closable) and refills
// doc.mediaList. The output is written under a temporary name and replaces an existing file
// only when complete: a failed build leaves no partial output and the old file whole.
bool MakeExe(document::CardDocument& doc, std::string_view outputPath, const MakeExeHooks& hooks = {});

}  // namespace packaging
