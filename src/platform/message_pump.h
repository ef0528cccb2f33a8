#pragma once
// "Let pending window messages run": long work on the user-interface thread calls this while
// it waits. The window programs install Qt's event processing; core code and tests run with
// the default, which does nothing.
#include <functional>

namespace platform {

void ProcessPendingMessages();
// Installs the pump (nullptr restores the default); returns the previous one.
std::function<void()> SetMessagePump(std::function<void()> pump);

}  // namespace platform
