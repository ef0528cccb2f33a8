#pragma once
// Real peers for the mail tests, all on 127.0.0.1 and started by the tests themselves:
// dnsmasq with MX records, a DNS server of the test's own (for replies no real server
// sends), and the aiosmtpd server of smtp_peer.py.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace mail_test {

inline std::string ScriptPath(const std::string& name) {
  return std::string(CARD_SOURCE_DIR) + "/tests/maker/mail/" + name;
}

inline std::string ReadHostFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline bool HostFileExists(const std::string& hostPath) { return ::access(hostPath.c_str(), F_OK) == 0; }

// A child process with a pipe on its stdin (closing it tells smtp_peer.py to stop) and one on
// its stdout; terminated and reaped when the object goes.
class Child {
 public:
  explicit Child(const std::vector<std::string>& argv) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
  }
  ~Child() {
    if (stdin_ >= 0) ::close(stdin_);
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
    if (stdout_ >= 0) ::close(stdout_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ > 0; }
  // One line of the child's stdout, waiting at most timeoutMs.
  std::optional<std::string> ReadLine(int timeoutMs) {
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p{stdout_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      char c;
      if (::read(stdout_, &c, 1) != 1) return std::nullopt;
      if (c == '\n') return line;
      line += c;
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
};

// A port on 127.0.0.1 that is free for both UDP and TCP right now.
inline uint16_t FreePort() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    int u = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(u, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(u, reinterpret_cast<sockaddr*>(&a), &len);
    int t = ::socket(AF_INET, SOCK_STREAM, 0);
    int ok = ::bind(t, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::close(t);
    ::close(u);
    if (ok == 0 && ntohs(a.sin_port) >= 1024) return ntohs(a.sin_port);
  }
  return 0;
}

// A DNS server of the test's own on 127.0.0.1: each query is handed to answer, whose result
// (if any) goes back as the reply. The queries seen are kept.
class MiniDns {
 public:
  using Answer = std::function<std::optional<std::string>(const std::string& query)>;
  explicit MiniDns(Answer answer) : answer_(std::move(answer)) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~MiniDns() {
    stop_ = true;
    thread_.join();
    ::close(fd_);
  }
  uint16_t Port() const { return port_; }
  int Queries() const { return queries_.load(); }
  std::string LastQuery() const { return last_; }

 private:
  void Run() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      char buf[4096];
      sockaddr_in from{};
      socklen_t len = sizeof from;
      ssize_t n = ::recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
      if (n <= 0) continue;
      last_ = std::string(buf, static_cast<size_t>(n));
      ++queries_;
      if (auto reply = answer_(last_)) {
        ::sendto(fd_, reply->data(), reply->size(), 0, reinterpret_cast<sockaddr*>(&from), len);
      }
    }
  }
  Answer answer_;
  int fd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> queries_{0};
  std::string last_;
  std::thread thread_;
};

// A TCP peer of the test's own on 127.0.0.1: accepts one connection, writes script, then
// reads (when read is set) until the other side closes, keeping what arrived.
class ScriptedTcpPeer {
 public:
  explicit ScriptedTcpPeer(std::string script, bool read = true) : script_(std::move(script)), read_(read) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd_, 1);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~ScriptedTcpPeer() { Stop(); }
  // Closes the connection and stops listening.
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  uint16_t Port() const { return port_; }
  // What arrived, once the other side has closed (or the peer was stopped).
  std::string Received() {
    for (int waited = 0; !done_ && waited < 5000; waited += 10) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return received_;
  }

 private:
  void Run() {
    int c = -1;
    while (!stop_ && c < 0) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) c = ::accept(fd_, nullptr, nullptr);
    }
    if (c >= 0) {
      ::send(c, script_.data(), script_.size(), MSG_NOSIGNAL);
      while (read_ && !stop_) {
        pollfd p{c, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        char buf[65536];
        ssize_t n = ::recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        received_.append(buf, static_cast<size_t>(n));
      }
      while (!read_ && !stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      ::close(c);
    }
    done_ = true;
  }
  std::string script_;
  bool read_;
  int fd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::string received_;
  std::thread thread_;
};

// DNS wire helpers for building replies.
inline void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v >> 8);
  s += static_cast<char>(v & 0xFF);
}
inline std::string WireName(const std::string& name) {
  std::string out;
  size_t start = 0;
  while (start < name.size()) {
    size_t dot = name.find('.', start);
    if (dot == std::string::npos) dot = name.size();
    out += static_cast<char>(dot - start);
    out += name.substr(start, dot - start);
    start = dot + 1;
  }
  return out + '\0';
}
// The reply header and question for query (its id and question copied), with the given
// rcode and answer count; the caller appends the answers.
inline std::string ReplyHead(const std::string& query, int rcode, uint16_t answers) {
  std::string r = query.substr(0, 2);
  Put16(r, static_cast<uint16_t>(0x8180 | rcode));
  Put16(r, 1);
  Put16(r, answers);
  Put16(r, 0);
  Put16(r, 0);
  r += query.substr(12);  // the question as asked
  return r;
}
// An MX answer whose owner points to the question name (offset 12).
inline std::string MxAnswer(uint16_t preference, const std::string& exchange) {
  std::string r("\xC0\x0C", 2);
  Put16(r, 15);
  Put16(r, 1);
  r += std::string("\0\0\x0E\x10", 4);
  std::string wire = WireName(exchange);
  Put16(r, static_cast<uint16_t>(2 + wire.size()));
  Put16(r, preference);
  return r + wire;
}

// dnsmasq on 127.0.0.1 and a free port, answering only from its own records.
class Dnsmasq {
 public:
  explicit Dnsmasq(const std::vector<std::string>& records) {
    for (int attempt = 0; attempt < 3 && !ready_; ++attempt) {
      port_ = FreePort();
      std::vector<std::string> argv = {"/usr/sbin/dnsmasq", "--keep-in-foreground", "--conf-file=/dev/null",
                                       "--port=" + std::to_string(port_), "--listen-address=127.0.0.1",
                                       "--bind-interfaces", "--no-resolv", "--no-hosts", "--no-poll",
                                       "--pid-file=", "--user=" + std::string(::getuid() == 0 ? "root" : "")};
      if (::getuid() != 0) argv.pop_back();
      argv.insert(argv.end(), records.begin(), records.end());
      child_ = std::make_unique<Child>(argv);
      ready_ = WaitReady();
    }
  }
  bool Ready() const { return ready_; }
  uint16_t Port() const { return port_; }

 private:
  // Ready once it answers a query (any answer will do).
  bool WaitReady() {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port_);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    std::string q("\x77\x77\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 12);
    q += WireName("ready.test");
    Put16(q, 15);
    Put16(q, 1);
    bool ok = false;
    for (int i = 0; i < 100 && !ok; ++i) {
      ::send(fd, q.data(), q.size(), 0);
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 50) > 0) {
        char buf[512];
        ok = ::recv(fd, buf, sizeof buf, 0) > 0;
      }
      if (!ok) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::close(fd);
    return ok;
  }
  std::unique_ptr<Child> child_;
  uint16_t port_ = 0;
  bool ready_ = false;
};

// smtp_peer.py (aiosmtpd) on 127.0.0.1 and a free port; messages go to dir (a host path).
class SmtpPeer {
 public:
  SmtpPeer(const std::string& dir, const std::vector<std::string>& options = {}) : dir_(dir) {
    std::vector<std::string> argv = {"/usr/bin/python3", ScriptPath("smtp_peer.py"), "--dir", dir};
    argv.insert(argv.end(), options.begin(), options.end());
    child_ = std::make_unique<Child>(argv);
    if (auto line = child_->ReadLine(10000); line && line->rfind("PORT ", 0) == 0) {
      port_ = static_cast<uint16_t>(std::atoi(line->c_str() + 5));
    }
  }
  bool Ready() const { return port_ != 0; }
  uint16_t Port() const { return port_; }
  // The n-th stored message (1-based), waiting a little for it to appear.
  std::optional<std::string> Message(int n, int waitMs = 3000) const {
    std::string path = dir_ + "msg-" + std::to_string(n) + ".eml";
    for (int waited = 0; !HostFileExists(path) && waited < waitMs; waited += 20) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!HostFileExists(path)) return std::nullopt;
    return ReadHostFile(path);
  }
  std::string Envelope(int n) const { return ReadHostFile(dir_ + "msg-" + std::to_string(n) + ".env"); }
  std::string Commands() const { return ReadHostFile(dir_ + "commands.log"); }
  const std::string& Dir() const { return dir_; }

 private:
  std::string dir_;
  std::unique_ptr<Child> child_;
  uint16_t port_ = 0;
};

// Parses a stored message with Python's email package (mime_dump.py) into outDir (host path,
// with trailing "/"); returns summary.txt, "" when the parser failed.
inline std::string DumpMime(const std::string& emlHostPath, const std::string& outDir) {
  std::string cmd = "/usr/bin/python3 '" + ScriptPath("mime_dump.py") + "' '" + emlHostPath + "' '" + outDir + "'";
  if (std::system(cmd.c_str()) != 0) return "";
  return ReadHostFile(outDir + "summary.txt");
}

}  // namespace mail_test
