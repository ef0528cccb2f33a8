#pragma once
// Texts and settings of the dialogs around the interactive card build, for the build command
// and the designer's property panel (the windows themselves live in the ui layer).
#include <string_view>

#include "maker/document/card_document.h"
#include "platform/dialogs.h"

namespace packaging {

// Card format chooser.
inline constexpr std::string_view kFormatCaption = "选择贺卡格式";
inline constexpr std::string_view kFormatPrompt = "请选择您要生成的贺卡的格式:";
inline constexpr std::string_view kFormatPlainCaption = "普通格式的贺卡文件";
inline constexpr std::string_view kFormatPlainText =
    "普通格式的贺卡文件，文件体积会比较小一些，但只能在已安装了《Lumo贺卡制作》的电脑中打开它。";
inline constexpr std::string_view kFormatPlainRedClause = "只能在已安装了《Lumo贺卡制作》的电脑中打开它。";
inline constexpr std::string_view kFormatExeCaption = "EXE 格式的贺卡文件";
inline constexpr std::string_view kFormatExeText =
    "EXE 格式的贺卡文件，文件体积会比较大一些，可以在没有安装《Lumo贺卡制作》的电脑中独立运行。";
inline constexpr std::string_view kFormatExeRedClause = "可以在没有安装《Lumo贺卡制作》的电脑中独立运行。";
inline constexpr std::string_view kFormatWebCaption = "网页贺卡 (*.html)";
inline constexpr std::string_view kFormatWebText =
    "网页贺卡，一个网页文件，用浏览器打开就能观看，但网页贺卡不运行程序，也不播放Flash动画。";
inline constexpr std::string_view kFormatWebRedClause = "但网页贺卡不运行程序，也不播放Flash动画。";
inline constexpr std::string_view kFormatOk = "确定(&T)";
inline constexpr std::string_view kFormatCancel = "取消(&C)";

// The save dialog for the output: EXE card, or a plain card file whose extension is ".crd3"
// when the design has a Flash element or the designer's .crd3 flag is set, else ".crd2".
platform::FileDialogOptions CardSaveDialog(const document::CardDocument& doc, bool exeCard);
// The save dialog for a web card (".html").
platform::FileDialogOptions WebCardSaveDialog();

// "贺卡文件 " + path + " 已生成".
std::string BuiltMessage(std::string_view path);

// The designer's warning when an action file is a program (".exe", ".cmd", ".scr", ".com",
// ".bat", ".vbs"; this list has no ".reg").
bool WarnsAsExecutable(std::string_view path);
inline constexpr std::string_view kExecutableActionWarning =
    "由于您设置的文件是可执行文件，为了避免贺卡中附带及传播病毒，所以可执行文件将不会被打包到贺卡文件内，"
    "但它将仍会被作为外部文件被打开。";

}  // namespace packaging
