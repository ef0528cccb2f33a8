#include "maker/mail/dns_discovery.h"

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace mail {
namespace {

using platform::registry::Hive;

std::string Read(std::string_view key, std::string_view name) {
  return platform::registry::ReadString(Hive::LocalMachine, key, name).value_or("");
}

}  // namespace

std::string DnsServerFromRegistry(bool ntFamily) {
  std::string value = Read(ntFamily ? "\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters"
                                    : "\\System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                           "NameServer");
  for (int card = 1; card <= 3 && value.size() < 3; ++card) {
    std::string service =
        Read("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\" + std::to_string(card), "ServiceName");
    value = Read("\\SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\" + service, "NameServer");
  }
  // Only commas separate entries; blanks stay part of the first one.
  return value.substr(0, value.find(','));
}

std::string FirstNameServer(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view line = text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    pos = eol == std::string_view::npos ? text.size() : eol + 1;
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    constexpr std::string_view kKey = "nameserver";
    if (line.substr(i, kKey.size()) != kKey) continue;
    i += kKey.size();
    if (i >= line.size() || !isBlank(line[i])) continue;
    while (i < line.size() && isBlank(line[i])) ++i;
    size_t j = i;
    while (j < line.size() && !isBlank(line[j]) && line[j] != '#' && line[j] != ';') ++j;
    if (j > i) return std::string(line.substr(i, j - i));
  }
  return "";
}

std::string DiscoverDnsServer(std::string_view resolvConfPath) {
  std::string server = DnsServerFromRegistry(true);
  if (!server.empty()) return server;
  auto text = platform::files::ReadFile(platform::paths::FromHost(resolvConfPath));
  return text ? FirstNameServer(*text) : "";
}

}  // namespace mail
