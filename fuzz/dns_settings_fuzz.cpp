// resolv.conf: any text is read for its first name server, which is one blank-free word
// taken from the text.
#include "fuzz_support.h"
#include "maker/mail/dns_discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  const std::string server = mail::FirstNameServer(text);
  if (server.find_first_of(" \t\r\n") != std::string::npos) __builtin_trap();
  if (!server.empty() && text.find(server) == std::string_view::npos) __builtin_trap();
  return 0;
}
