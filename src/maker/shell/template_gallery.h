#pragma once
// The template gallery's lists and choices: one page per card kind, each listing the blank
// entry and the templates of the program folder's "template" folder.
#include <string>
#include <string_view>
#include <vector>

namespace cardshell {

enum class GalleryPage { Ordinary = 0, Interactive = 1, Flash = 2 };

inline constexpr std::string_view kGalleryCaption = "新建贺卡";
inline constexpr std::string_view kBlankTemplate = "空白模板";
inline constexpr std::string_view kOrdinaryPageCaption = "普通型贺卡(&M)";
inline constexpr std::string_view kInteractivePageCaption = "互动式贺卡(&E)";
inline constexpr std::string_view kFlashPageCaption = "Flash 贺卡";
inline constexpr std::string_view kChooseTemplateMessage = "请选择要使用的模板。";
inline constexpr std::string_view kFlashWizardMissingMessage =
    "没找到Flash贺卡制作部件，请重新安装完整版的《Lumo贺卡制作》。";
inline constexpr std::string_view kFlashWizardProgram = "lmflashcard.exe";

// ".lmcard", ".lmcard2", ".lmflash".
std::string_view TemplateExtension(GalleryPage page);

// The folder the gallery lists: the program folder + "template\".
std::string TemplateFolder();

// The caption of a template file on a page: the name without the page's extension, so a name
// with several dots keeps everything before its last extension.
std::string TemplateCaption(std::string_view fileName, GalleryPage page);

// A page's entries: "空白模板", then one caption per matching file of folder, in the order the
// folder listing gives them.
std::vector<std::string> GalleryEntries(std::string_view folder, GalleryPage page);
// The same over the user's templates and the shipped ones together, sorted by name; the
// user's file stands for both on a clash of names (see platform/user_folders.h).
std::vector<std::string> GalleryEntries(GalleryPage page);

// The template file of an entry: "template\" + caption + extension, the user's file when
// there is one, else the program folder's.
std::string TemplateFile(std::string_view caption, GalleryPage page);
// Where a template saved under caption goes: the program folder's "template\", or the
// user's when the program folder is read-only; the folder is created.
std::string NewTemplateFile(std::string_view caption, GalleryPage page);

// The Flash card wizard's command line: the program folder + "lmflashcard.exe", a blank and a
// double quote, then the caption (the wizard strips the one quote it finds).
std::string FlashWizardCommandLine(std::string_view programFolder, std::string_view caption);

// Whether the program folder holds the Flash card wizard.
bool FlashWizardInstalled(std::string_view programFolder);

// OK on the Flash page: starts the wizard with the caption, or says it is missing (error box).
// Returns whether it was started.
bool StartFlashWizard(std::string_view caption);

}  // namespace cardshell
