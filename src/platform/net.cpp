#include "platform/net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/message_pump.h"

namespace platform::net {
namespace {

using Clock = std::chrono::steady_clock;

std::string Endpoint(const std::string& host, uint16_t port) {
  if (host.find(':') != std::string::npos) return "[" + host + "]:" + std::to_string(port);
  return host + ":" + std::to_string(port);
}

std::string SystemText(int err) { return std::strerror(err); }

struct AddrInfoDeleter {
  void operator()(addrinfo* a) const { freeaddrinfo(a); }
};
using AddrList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

std::mutex& LookupMutex() {
  static std::mutex m;
  return m;
}

AddressLookup& InstalledLookup() {
  static AddressLookup lookup;
  return lookup;
}

// What a lookup on the worker thread hands back; shared, so a waiter that gives up (time-out,
// abort) leaves the thread a place to finish into.
struct LookupJob {
  std::mutex m;
  std::condition_variable done;
  bool finished = false;
  std::vector<ResolvedAddress> addresses;
  std::string error;
};

std::string LookupTimeoutText(const std::string& host, int timeoutMs) {
  return "解析主机名 " + host + " 超时（" + std::to_string(timeoutMs) + " 毫秒内没有结果）。";
}

void SetNonBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// Waits for events on fd in slices, letting pending messages run between them. Returns the
// poll events that arrived; throws on time-out or abort.
short WaitFor(int fd, short events, int timeoutMs, const AbortFlag* abort, const std::string& what) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    ProcessPendingMessages();
    if (abort && abort->IsSet()) throw AbortedError("操作已被中止。");
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    int slice = static_cast<int>(std::clamp<long long>(left, 0, kWaitSliceMs));
    pollfd p{fd, events, 0};
    int rc = ::poll(&p, 1, slice);
    if (rc < 0) {
      if (errno == EINTR) continue;
      throw NetError(what + "失败（" + SystemText(errno) + "）。");
    }
    if (rc > 0 && p.revents != 0) {
      if (abort && abort->IsSet()) throw AbortedError("操作已被中止。");
      return p.revents;
    }
    if (left <= 0) throw TimeoutError(what + "超时（" + std::to_string(timeoutMs) + " 毫秒内没有回应）。");
  }
}

// Resolves host on a worker thread and waits for it in slices until deadline, letting
// pending messages run and watching the abort flag.
std::vector<ResolvedAddress> Resolve(const std::string& host, uint16_t port, int socktype, Clock::time_point deadline,
                                     int timeoutMs, const AbortFlag* abort) {
  if (host.empty()) throw NetError("没有给出服务器地址。");
  AddressLookup lookup;
  {
    std::lock_guard<std::mutex> lock(LookupMutex());
    lookup = InstalledLookup();
  }
  if (!lookup) lookup = SystemLookup;
  auto job = std::make_shared<LookupJob>();
  std::thread([job, lookup = std::move(lookup), host, port, socktype] {
    std::vector<ResolvedAddress> found;
    std::string error;
    try {
      found = lookup(host, port, socktype);
    } catch (const std::exception& e) {
      error = e.what();
      if (error.empty()) error = "找不到主机 " + host + "。";
    }
    std::lock_guard<std::mutex> lock(job->m);
    job->addresses = std::move(found);
    job->error = std::move(error);
    job->finished = true;
    job->done.notify_all();
  }).detach();

  for (;;) {
    ProcessPendingMessages();
    if (abort && abort->IsSet()) throw AbortedError("操作已被中止。");
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    std::unique_lock<std::mutex> lock(job->m);
    job->done.wait_for(lock, std::chrono::milliseconds(std::clamp<long long>(left, 0, kWaitSliceMs)),
                       [&] { return job->finished; });
    if (job->finished) {
      if (!job->error.empty()) throw NetError(job->error);
      if (job->addresses.empty()) throw NetError("找不到主机 " + host + "。");
      return std::move(job->addresses);
    }
    if (left <= 0) throw TimeoutError(LookupTimeoutText(host, timeoutMs));
  }
}

Clock::time_point DeadlineIn(int timeoutMs) { return Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0)); }

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::max<long long>(left, 0));
}

}  // namespace

AddressLookup SetAddressLookup(AddressLookup lookup) {
  std::lock_guard<std::mutex> lock(LookupMutex());
  AddressLookup previous = std::move(InstalledLookup());
  InstalledLookup() = std::move(lookup);
  return previous;
}

std::vector<ResolvedAddress> SystemLookup(const std::string& host, uint16_t port, int socktype) {
  if (host.empty()) throw NetError("没有给出服务器地址。");
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = socktype;
  hints.ai_flags = AI_ADDRCONFIG;
  addrinfo* list = nullptr;
  std::string service = std::to_string(port);
  int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
  if (rc == EAI_ADDRFAMILY || rc == EAI_NONAME) {
    // Without a configured address of the family (a host with loopback only), try again plainly.
    hints.ai_flags = 0;
    rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
  }
  if (rc != 0 || !list) {
    throw NetError("找不到主机 " + host + "（" + gai_strerror(rc) + "）。");
  }
  AddrList owned(list);
  std::vector<ResolvedAddress> out;
  for (addrinfo* a = list; a; a = a->ai_next) {
    if (a->ai_addrlen > sizeof(sockaddr_storage)) continue;
    ResolvedAddress r;
    r.family = a->ai_family;
    r.socktype = a->ai_socktype;
    r.protocol = a->ai_protocol;
    std::memcpy(&r.address, a->ai_addr, a->ai_addrlen);
    r.length = a->ai_addrlen;
    out.push_back(r);
  }
  return out;
}

// --- UDP ----------------------------------------------------------------------------------

UdpSocket::~UdpSocket() { Close(); }

void UdpSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void UdpSocket::Connect(const std::string& host, uint16_t port, int timeoutMs, const AbortFlag* abort) {
  Close();
  peer_ = Endpoint(host, port);
  const std::vector<ResolvedAddress> list = Resolve(host, port, SOCK_DGRAM, DeadlineIn(timeoutMs), timeoutMs, abort);
  int lastErr = 0;
  for (const ResolvedAddress& a : list) {
    int fd = ::socket(a.family, a.socktype | SOCK_CLOEXEC, a.protocol);
    if (fd < 0) {
      lastErr = errno;
      continue;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a.address), a.length) == 0) {
      SetNonBlocking(fd);
      fd_ = fd;
      return;
    }
    lastErr = errno;
    ::close(fd);
  }
  throw NetError("无法连接到 " + peer_ + "（" + SystemText(lastErr) + "）。");
}

void UdpSocket::Send(std::string_view datagram) {
  if (fd_ < 0) throw NetError("套接字没有连接。");
  for (;;) {
    ssize_t n = ::send(fd_, datagram.data(), datagram.size(), MSG_NOSIGNAL);
    if (n >= 0) return;
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
      WaitFor(fd_, POLLOUT, 1000, nullptr, "向 " + peer_ + " 发送");
      continue;
    }
    throw NetError("向 " + peer_ + " 发送失败（" + SystemText(errno) + "）。");
  }
}

std::string UdpSocket::Receive(int timeoutMs, const AbortFlag* abort) {
  if (fd_ < 0) throw NetError("套接字没有连接。");
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  std::string buf(65536, '\0');
  for (;;) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    WaitFor(fd_, POLLIN, static_cast<int>(std::max<long long>(left, 0)), abort, "等待 " + peer_ + " 回答");
    ssize_t n = ::recv(fd_, buf.data(), buf.size(), 0);
    if (n >= 0) {
      buf.resize(static_cast<size_t>(n));
      return buf;
    }
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
    if (errno == ECONNREFUSED) throw NetError(peer_ + " 拒绝了连接（没有服务在该端口上）。");
    throw NetError("从 " + peer_ + " 接收失败（" + SystemText(errno) + "）。");
  }
}

// --- TCP ----------------------------------------------------------------------------------

TcpConnection::~TcpConnection() { Close(); }

void TcpConnection::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void TcpConnection::Connect(const std::string& host, uint16_t port, int timeoutMs, const AbortFlag* abort) {
  Close();
  peer_ = Endpoint(host, port);
  const auto deadline = DeadlineIn(timeoutMs);
  const std::vector<ResolvedAddress> list = Resolve(host, port, SOCK_STREAM, deadline, timeoutMs, abort);
  std::string lastError = "无法连接到 " + peer_ + "。";
  for (const ResolvedAddress& a : list) {
    int fd = ::socket(a.family, a.socktype | SOCK_CLOEXEC, a.protocol);
    if (fd < 0) continue;
    SetNonBlocking(fd);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&a.address), a.length);
    int err = rc == 0 ? 0 : errno;
    if (rc != 0 && err == EINPROGRESS) {
      try {
        WaitFor(fd, POLLOUT, MsLeft(deadline), abort, "连接 " + peer_);
      } catch (const AbortedError&) {
        ::close(fd);
        throw;
      } catch (const NetError& e) {
        ::close(fd);
        lastError = e.what();
        continue;
      }
      socklen_t len = sizeof err;
      getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
    }
    if (err == 0) {
      fd_ = fd;
      return;
    }
    lastError = "无法连接到 " + peer_ + "（" + SystemText(err) + "）。";
    ::close(fd);
  }
  throw NetError(lastError);
}

void TcpConnection::SendAll(std::string_view data, int timeoutMs, const AbortFlag* abort) {
  size_t done = 0;
  while (done < data.size()) {
    if (fd_ < 0) throw NetError("连接已关闭。");
    ProcessPendingMessages();
    if (abort && abort->IsSet()) throw AbortedError("操作已被中止。");
    ssize_t n = ::send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EINTR)) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      WaitFor(fd_, POLLOUT, timeoutMs, abort, "向 " + peer_ + " 发送");
      continue;
    }
    throw NetError("向 " + peer_ + " 发送失败（" + SystemText(errno) + "）。");
  }
}

std::string TcpConnection::ReceiveSome(size_t max, int timeoutMs, const AbortFlag* abort) {
  if (fd_ < 0) throw NetError("连接已关闭。");
  std::string buf(std::max<size_t>(max, 1), '\0');
  for (;;) {
    ssize_t n = ::recv(fd_, buf.data(), buf.size(), 0);
    if (n >= 0) {
      buf.resize(static_cast<size_t>(n));
      return buf;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      WaitFor(fd_, POLLIN, timeoutMs, abort, "等待 " + peer_ + " 回答");
      continue;
    }
    throw NetError("从 " + peer_ + " 接收失败（" + SystemText(errno) + "）。");
  }
}

std::string LocalHostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

}  // namespace platform::net
