#pragma once
// The shell: open files and addresses with the desktop's opener, start programs without
// waiting (the platform's ShellExecute and WinExec), open the help pages.
#include <string>
#include <string_view>
#include <vector>

#include "platform/command_line.h"

namespace platform::shell {

// Opens a file, folder or address (http:, mailto:, …) with the desktop's opener
// (xdg-open, or the command in $LMCARD_OPENER). True when the opener was started.
bool Open(std::string_view target);

// Starts a program from a Windows-style command line without waiting for it. The program
// is the first token (quoted or up to the first blank); "x.exe" that does not exist as
// spelt is also looked for as "x". True when the program was started.
bool StartProgram(std::string_view commandLine);
// Starts a program with separate arguments (system paths and texts).
bool StartProgram(std::string_view program, const std::vector<std::string>& args);


// The help page for a topic ("pn1.htm"; "" for the contents page), from the program
// folder's "help" folder, opened in the browser.
bool OpenHelp(std::string_view topic = "");

// The system path of an executable as the host spells it: "x.exe" falls back to "x".
std::string ResolveProgram(std::string_view program);

}  // namespace platform::shell
