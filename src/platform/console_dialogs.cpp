#include "platform/console_dialogs.h"

#include <cstdio>

#include "platform/text.h"

namespace platform {

MsgResult ConsoleDialogs::MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                     MsgButtons buttons) {
  const char* kind = icon == MsgIcon::Error ? "error" : icon == MsgIcon::Warning ? "warning"
                   : icon == MsgIcon::Question ? "question" : "info";
  std::string t = GbkToUtf8(ReplaceText(text, "\r\n", "\n"));
  std::fprintf(stderr, "[%s] %s: %s\n", kind, GbkToUtf8(caption).c_str(), t.c_str());
  switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::OkCancel: return assumeYes_ ? MsgResult::Ok : MsgResult::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return assumeYes_ ? MsgResult::Yes : MsgResult::No;
    case MsgButtons::RetryCancel: return MsgResult::Cancel;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
  }
  return MsgResult::Ok;
}

}  // namespace platform
