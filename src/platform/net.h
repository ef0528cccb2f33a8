#pragma once
// Sockets: one UDP exchange and TCP connections, each wait bounded by a time-out. Waits run
// in short slices that call ProcessPendingMessages(), so windows keep responding (a stop
// button can set the abort flag while a send is in progress). Host names are resolved on a
// worker thread inside the same waits, so a slow name server is bounded by the time-out and
// the abort flag as well. Error texts are GBK.
#include <sys/socket.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace platform::net {

// A network operation that failed: name lookup, connect, send, receive.
class NetError : public Error {
 public:
  using Error::Error;
};
// Nothing happened within the time-out.
class TimeoutError : public NetError {
 public:
  using NetError::NetError;
};
// The abort flag was set while the operation waited.
class AbortedError : public NetError {
 public:
  using NetError::NetError;
};

// Set by a handler (or another thread) to end the waits that watch it.
class AbortFlag {
 public:
  void Set() { set_.store(true); }
  void Clear() { set_.store(false); }
  bool IsSet() const { return set_.load(); }

 private:
  std::atomic<bool> set_{false};
};

// How long one wait slice lasts before pending messages run again.
inline constexpr int kWaitSliceMs = 20;

// A UDP socket bound to one peer: only that peer's datagrams are received.
class UdpSocket {
 public:
  UdpSocket() = default;
  ~UdpSocket();
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  // host is a name or an IPv4/IPv6 literal; resolving it waits at most timeoutMs.
  void Connect(const std::string& host, uint16_t port, int timeoutMs, const AbortFlag* abort = nullptr);
  void Send(std::string_view datagram);
  // One datagram, waiting at most timeoutMs; throws TimeoutError or AbortedError.
  std::string Receive(int timeoutMs, const AbortFlag* abort = nullptr);
  void Close();

 private:
  int fd_ = -1;
  std::string peer_;
};

class TcpConnection {
 public:
  TcpConnection() = default;
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // timeoutMs bounds the name lookup and the connection together.
  void Connect(const std::string& host, uint16_t port, int timeoutMs, const AbortFlag* abort = nullptr);
  bool IsOpen() const { return fd_ >= 0; }
  // Writes all of data; timeoutMs bounds each wait for the peer to take more.
  void SendAll(std::string_view data, int timeoutMs, const AbortFlag* abort = nullptr);
  // What has arrived, at most max bytes, after waiting up to timeoutMs for anything;
  // "" when the peer closed the connection.
  std::string ReceiveSome(size_t max, int timeoutMs, const AbortFlag* abort = nullptr);
  void Close();
  // "host:port" of the peer, for messages.
  const std::string& Peer() const { return peer_; }

 private:
  int fd_ = -1;
  std::string peer_;
};

// One address a host name resolved to, ready for socket() and connect().
struct ResolvedAddress {
  int family = 0;
  int socktype = 0;
  int protocol = 0;
  sockaddr_storage address{};
  socklen_t length = 0;
};

// Resolves host for port and socket type (SOCK_STREAM or SOCK_DGRAM); raises NetError when the
// name is unknown. It runs on a worker thread, so it must not touch the caller's state.
using AddressLookup =
    std::function<std::vector<ResolvedAddress>(const std::string& host, uint16_t port, int socktype)>;
// Replaces the system's resolver (getaddrinfo) for the lookups that follow, so tests can
// stand in a slow name server; nullptr restores the system's. Returns the previous one.
AddressLookup SetAddressLookup(AddressLookup lookup);
// The system's resolver, called directly (blocking).
std::vector<ResolvedAddress> SystemLookup(const std::string& host, uint16_t port, int socktype);

// The local computer's host name ("localhost" when the host has none).
std::string LocalHostName();

}  // namespace platform::net
