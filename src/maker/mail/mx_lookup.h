#pragma once
// The mail exchanger lookup: one MX query over UDP to a chosen DNS server (asked again over
// TCP when the answer does not fit a datagram).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "maker/mail/dns_message.h"
#include "platform/net.h"

namespace mail {

struct ResolverSettings {
  std::string server;          // the DNS server box's text; blanks around it are removed
  uint16_t port = 53;
  int timeoutMs = 4000;        // the wait for the reply
  const platform::net::AbortFlag* abort = nullptr;  // ends the wait early when set
};

// The domain of an address: the text after its first "@", to the end ("" without "@").
std::string DomainOf(std::string_view address);

// Appends the mail exchanger names of the recipient's domain to list, in the order the reply
// lists them; when the list is still empty after that (no MX answers), the domain itself. Raises DnsError for a bad
// reply and platform::net::NetError when the exchange fails (no reply within the time-out).
void GetMx(std::string_view recipient, std::vector<std::string>& list, const ResolverSettings& resolver);

}  // namespace mail
