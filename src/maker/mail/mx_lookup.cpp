#include "maker/mail/mx_lookup.h"

#include <chrono>
#include <random>

#include "platform/text.h"

namespace mail {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::max<long long>(left, 0));
}

// The same query over TCP (two length bytes in front of each message), for an answer that
// did not fit a datagram.
std::string AskOverTcp(const std::string& server, uint16_t port, const std::string& query, Clock::time_point deadline,
                       const platform::net::AbortFlag* abort) {
  platform::net::TcpConnection conn;
  conn.Connect(server, port, MsLeft(deadline), abort);
  std::string framed;
  framed += static_cast<char>(query.size() >> 8);
  framed += static_cast<char>(query.size() & 0xFF);
  conn.SendAll(framed + query, MsLeft(deadline), abort);
  std::string in;
  size_t want = 2;
  while (in.size() < want) {
    std::string more = conn.ReceiveSome(want - in.size(), MsLeft(deadline), abort);
    if (more.empty()) throw DnsError("DNS服务器 " + server + " 没有通过TCP送完回答就关闭了连接。");
    in += more;
    if (want == 2 && in.size() >= 2) {
      want = 2 + ((static_cast<uint8_t>(in[0]) << 8) | static_cast<uint8_t>(in[1]));
    }
  }
  return in.substr(2);
}

}  // namespace

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

  // One time-out covers the whole exchange: resolving the server's name, the reply, and the
  // second asking over TCP when the reply came truncated.
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(resolver.timeoutMs, 0));
  platform::net::UdpSocket socket;
  socket.Connect(server, resolver.port, resolver.timeoutMs, resolver.abort);
  socket.Send(query);
  std::string reply;
  try {
    reply = socket.Receive(MsLeft(deadline), resolver.abort);
    if (IsTruncatedReply(reply, id)) reply = AskOverTcp(server, resolver.port, query, deadline, resolver.abort);
  } catch (const platform::net::TimeoutError&) {
    throw platform::net::TimeoutError("DNS服务器 " + server + " 没有在 " + std::to_string(resolver.timeoutMs) +
                                      " 毫秒内回答。");
  }
  std::vector<std::string> exchanges = ParseMxReply(reply, id, domain);
  list.insert(list.end(), exchanges.begin(), exchanges.end());
  if (list.empty()) list.push_back(domain);
}

}  // namespace mail
