#include "platform/message_pump.h"

namespace platform {
namespace {
std::function<void()>& Pump() {
  static std::function<void()> pump;
  return pump;
}
}  // namespace

void ProcessPendingMessages() {
  if (auto& p = Pump()) p();
}

std::function<void()> SetMessagePump(std::function<void()> pump) {
  std::function<void()> old = std::move(Pump());
  Pump() = std::move(pump);
  return old;
}

}  // namespace platform
