#include "platform/dialogs.h"

#include "platform/console_dialogs.h"

namespace platform {
namespace {
Dialogs*& Installed() {
  static Dialogs* d = nullptr;
  return d;
}
std::string& Title() {
  static std::string t;
  return t;
}
}  // namespace

Dialogs& CurrentDialogs() {
  static ConsoleDialogs fallback;
  Dialogs* d = Installed();
  return d ? *d : fallback;
}

Dialogs* SetDialogs(Dialogs* dialogs) {
  Dialogs* old = Installed();
  Installed() = dialogs;
  return old;
}

const std::string& ApplicationTitle() { return Title(); }
void SetApplicationTitle(std::string title) { Title() = std::move(title); }

MsgResult ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) {
  return CurrentDialogs().MessageBox(text, ApplicationTitle(), icon, buttons);
}

}  // namespace platform
