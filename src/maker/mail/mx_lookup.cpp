#include "maker/mail/mx_lookup.h"

#include <random>

#include "platform/text.h"

namespace mail {

std::string DomainOf(std::string_view address) {
  size_t at = address.find('@');
  return at == std::string_view::npos ? std::string() : std::string(address.substr(at + 1));
}

void GetMx(std::string_view recipient, std::vector<std::string>& list, const ResolverSettings& resolver) {
  const std::string server = platform::Trim(resolver.server);
  if (server.empty()) throw DnsError("没有给出DNS服务器地址。");
  const std::string domain = DomainOf(recipient);
  // A fresh random id for every query, so a stale or forged reply does not match.
  std::random_device rd;
  const uint16_t id = static_cast<uint16_t>(rd());
  const std::string query = BuildMxQuery(id, domain);

  platform::net::UdpSocket socket;
  socket.Connect(server, resolver.port);
  socket.Send(query);
  std::string reply;
  try {
    reply = socket.Receive(resolver.timeoutMs, resolver.abort);
  } catch (const platform::net::TimeoutError&) {
    throw platform::net::TimeoutError("DNS服务器 " + server + " 没有在 " + std::to_string(resolver.timeoutMs) +
                                      " 毫秒内回答。");
  }
  std::vector<std::string> exchanges = ParseMxReply(reply, id, domain);
  list.insert(list.end(), exchanges.begin(), exchanges.end());
  if (list.empty()) list.push_back(domain);
}

}  // namespace mail
