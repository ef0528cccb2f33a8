#pragma once
// Opening what a card names when it closes. A card may come from a stranger, and its web
// address is a free text: it can name a program on this computer instead of a page. Web and
// mail addresses open at once; a target that names a program (by its extension, or a file
// here that may be executed) opens only after the user agreed.
#include <functional>
#include <string>
#include <string_view>

namespace ordinary_player_ui {

// True when target is not a web, FTP or mail address and names a program or script: an
// executable extension (".exe", ".bat", ".sh", ".desktop", ...), or an existing file that the
// host may execute. "file:" addresses count as the file they name.
bool NamesProgram(std::string_view target);

// The question asked before a program named by a card is started.
std::string ProgramConsentQuestion(std::string_view target);

// Opens target with opener; a target that names a program is opened only when ask (given the
// question) answers true. Answers whether the target was opened.
bool OpenCloseTarget(const std::string& target, const std::function<bool(const std::string&)>& opener,
                     const std::function<bool(const std::string&)>& ask);

// The real thing: platform::shell::Open, asking through the platform's message box.
bool OpenCloseTargetWithShell(const std::string& target);

}  // namespace ordinary_player_ui
