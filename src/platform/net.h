#pragma once
// Sockets: one UDP exchange and TCP connections, each wait bounded by a time-out. Waits run
// in short slices that call ProcessPendingMessages(), so windows keep responding (a stop
// button can set the abort flag while a send is in progress). Error texts are GBK.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

  // host is a name or an IPv4/IPv6 literal.
  void Connect(const std::string& host, uint16_t port);
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

// The local computer's host name ("localhost" when the host has none).
std::string LocalHostName();

}  // namespace platform::net
