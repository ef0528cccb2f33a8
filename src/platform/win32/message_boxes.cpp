#include "platform/win32/message_boxes.h"

#include <windows.h>
#undef MessageBox

#include "platform/text.h"
#include "platform/win32/wide_path.h"

namespace platform::win32 {

MsgResult MessageBoxDialogs::MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                        MsgButtons buttons) {
  UINT flags = MB_TOPMOST | MB_SETFOREGROUND;
  switch (icon) {
    case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MsgIcon::Warning: flags |= MB_ICONWARNING; break;
    case MsgIcon::Error: flags |= MB_ICONERROR; break;
    case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
    case MsgIcon::None: break;
  }
  switch (buttons) {
    case MsgButtons::Ok: flags |= MB_OK; break;
    case MsgButtons::OkCancel: flags |= MB_OKCANCEL; break;
    case MsgButtons::YesNo: flags |= MB_YESNO; break;
    case MsgButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    case MsgButtons::RetryCancel: flags |= MB_RETRYCANCEL; break;
    case MsgButtons::AbortRetryIgnore: flags |= MB_ABORTRETRYIGNORE; break;
  }
  // Line breaks as the system's boxes take them.
  const std::string lines = ReplaceText(ReplaceText(text, "\r\n", "\n"), "\n", "\r\n");
  const int r = MessageBoxW(static_cast<HWND>(owner_), WidePath(lines).c_str(), WidePath(caption).c_str(), flags);
  return r == 0 ? MsgResult::Cancel : static_cast<MsgResult>(r);
}

}  // namespace platform::win32
