#pragma once
// A file named on the card maker's command line (a design or template opened from the file
// manager or the desktop menu) and what the maker does with it at start-up.
#include <string_view>

namespace cardshell {

enum class StartFileKind {
  None,         // no file, or one the maker does not open: the template gallery as usual
  Design,       // ".lmcard2": opened in the designer as the current design file
  Ordinary,     // ".lmcard": the ordinary card wizard with that template
  FlashWizard,  // ".lmflash": the Flash card wizard with that template
};

// By the file's extension, without regard to case.
StartFileKind StartFileKindOf(std::string_view path);

}  // namespace cardshell
