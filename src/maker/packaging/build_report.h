#pragma once
// What the card builders tell the user: status texts through a callback (the main window's
// status bar, cardtool's stderr) and the failure box.
#include <functional>
#include <string>
#include <string_view>

namespace packaging {

using StatusCallback = std::function<void(const std::string& text)>;

inline constexpr std::string_view kStatusCompiling = "正在编译...";
inline constexpr std::string_view kStatusWriting = "正在写EXE...";
inline constexpr std::string_view kStatusReady = "就绪";

// "生成贺卡文件：" + path + " 出错！" and the advice that follows it, lines separated by CR LF.
std::string BuildFailureMessage(std::string_view path);

// The program folder + name.
std::string ProgramFile(std::string_view name);
// The folder for the builders' work files (see platform/user_folders.h) + name.
std::string WorkFile(std::string_view name);

// An EXE card is a Windows program: the builders copy the Windows players, and cut and patch
// them by the Option.ini and FORM files that describe those players, all kept in this folder of
// the program folder (the players beside the programs are the host's own, for previews and
// card files).
inline constexpr std::string_view kExeCardFolder = "windows\\";

// The program folder + kExeCardFolder + name.
std::string ExeCardFile(std::string_view name);

}  // namespace packaging
