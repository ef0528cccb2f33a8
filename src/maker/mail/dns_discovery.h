#pragma once
// Finds the DNS server that the mail dialog offers: the registry's TCP/IP settings first,
// then the host's resolver configuration.
#include <string>
#include <string_view>

namespace mail {

// The registry's name server, as the platform keeps it: the TCP/IP parameters key of the
// platform family (NT or the older one), then network cards 1 to 3 while the value has fewer
// than 3 characters; the text before the first comma. Missing keys read as empty; never fails.
std::string DnsServerFromRegistry(bool ntFamily = true);

// The first "nameserver" entry of a resolver configuration text (resolv.conf form), or "".
std::string FirstNameServer(std::string_view resolvConf);

// What the DNS server box starts with: the registry's server, else the first name server of
// the host's resolver configuration (resolvConfPath, a host path), else "".
std::string DiscoverDnsServer(std::string_view resolvConfPath = "/etc/resolv.conf");

}  // namespace mail
