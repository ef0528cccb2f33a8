#include "maker/shell/web_links.h"

#include "platform/shell.h"

namespace cardshell {

void OpenHelpContents() { platform::shell::OpenHelp(""); }

void OpenHelpTopic(std::string_view topic) { platform::shell::OpenHelp(topic); }

void OpenAddress(std::string_view address) { platform::shell::Open(address); }

}  // namespace cardshell
