#include "platform/unsaved_work.h"

#include "platform/dialogs.h"

namespace platform {

bool MayCloseWithChanges(bool changed, const std::string& question, const std::function<bool()>& save) {
  if (!changed) return true;
  switch (ShowMessage(question, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return save();
    case MsgResult::No: return true;
    default: return false;
  }
}

}  // namespace platform
