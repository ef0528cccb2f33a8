// libFuzzer target for DNS replies: any bytes, read as the reply to an MX query for
// "card.test". A reply is either read or refused with DnsError; nothing may be read outside
// it, and no name it yields may be longer than a DNS name can be.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "maker/mail/dns_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The id is taken from the input, so the fuzzer gets past the id check at once.
  const uint16_t id = static_cast<uint16_t>((data[0] << 8) | data[1]);
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  try {
    for (const std::string& name : mail::ParseMxReply(reply, id, "card.test")) {
      if (name.size() > 255) __builtin_trap();
    }
  } catch (const mail::DnsError&) {
  }
  // A query must always read back as its own question.
  try {
    const std::string query = mail::BuildMxQuery(id, std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    std::string reply2 = query;
    reply2[2] = static_cast<char>(0x81);
    reply2[3] = static_cast<char>(0x80);
    if (!mail::ParseMxReply(reply2, id, std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2)).empty()) {
      __builtin_trap();
    }
  } catch (const mail::DnsError&) {
  }
  return 0;
}
