#pragma once
// Closing a window whose work changed since it was last saved.
#include <functional>
#include <string>

namespace platform {

// Unchanged work closes without a word. Otherwise asks `question` (Yes / No / Cancel, captioned
// with the application title): Yes runs `save` and lets the window close only when it saved,
// No lets it close, Cancel (or closing the box) keeps it open. True when the window may close.
bool MayCloseWithChanges(bool changed, const std::string& question, const std::function<bool()>& save);

}  // namespace platform
