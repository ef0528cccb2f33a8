#pragma once
// A real mail server for the delivery tests: the system's exim run as the test's own daemon
// on 127.0.0.1 and a free port, with a configuration, spool and mailbox of its own inside a
// test folder. Only "card.test" is taken; each message lands in a maildir there. Running as
// root, the server and its deliveries act as the exim system user; otherwise as the caller.
#include <pwd.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "maker/mail/mail_peers.h"

namespace mail_test {

class EximPeer {
 public:
  static constexpr const char* kBinary = "/usr/sbin/exim4";

  // dir is a host path with its trailing "/".
  explicit EximPeer(const std::string& dir) : dir_(dir) {
    if (::access(kBinary, X_OK) != 0) {
      problem_ = std::string(kBinary) + " is missing (scripts/install-deps.sh installs exim4-daemon-light)";
      return;
    }
    std::string user = std::to_string(::getuid());
    std::string group = std::to_string(::getgid());
    std::filesystem::create_directories(dir_ + "spool");
    std::filesystem::create_directories(dir_ + "log");
    if (::getuid() == 0) {
      // Exim never delivers as root, and its own processes give root up.
      const passwd* pw = ::getpwnam("Debian-exim");
      if (!pw) {
        problem_ = "the Debian-exim user is missing";
        return;
      }
      user = group = "Debian-exim";
      ::chmod(dir_.c_str(), 0755);
      for (const char* sub : {"", "spool", "log"}) {
        if (::chown((dir_ + sub).c_str(), pw->pw_uid, pw->pw_gid) != 0) problem_ = "cannot hand " + dir_ + sub + " over";
      }
      if (!problem_.empty()) return;
    }
    port_ = FreePort();
    const std::string conf = dir_ + "exim.conf";
    {
      std::ofstream out(conf);
      out << "primary_hostname = card.test\n"
             "qualify_domain = card.test\n"
             "domainlist local_domains = card.test\n"
             "spool_directory = " << dir_ << "spool\n"
             "log_file_path = " << dir_ << "log/%slog\n"
             "pid_file_path = " << dir_ << "exim.pid\n"
             "daemon_smtp_ports = " << port_ << "\n"
             "local_interfaces = 127.0.0.1\n"
             "exim_user = " << user << "\n"
             "exim_group = " << group << "\n"
             "host_lookup =\n"
             "rfc1413_hosts =\n"
             "tls_advertise_hosts =\n"
             "keep_environment =\n"
             "acl_smtp_rcpt = check_rcpt\n"
             "begin acl\n"
             "check_rcpt:\n"
             "  accept domains = +local_domains\n"
             "  deny\n"
             "begin routers\n"
             "local:\n"
             "  driver = accept\n"
             "  domains = +local_domains\n"
             "  transport = maildir\n"
             "begin transports\n"
             "maildir:\n"
             "  driver = appendfile\n"
             "  directory = " << dir_ << "Maildir\n"
             "  maildir_format\n"
             "  create_directory\n"
             "  user = " << user << "\n"
             "  group = " << group << "\n"
             "  mode = 0644\n";
    }
    ::chmod(conf.c_str(), 0644);
    child_ = std::make_unique<Child>(
        std::vector<std::string>{kBinary, "-C", conf, "-bdf", "-oX", std::to_string(port_)});
    if (!WaitListening()) problem_ = "exim did not start listening; its log:\n" + Log();
  }

  bool Ready() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }
  uint16_t Port() const { return port_; }
  std::string Log() const { return ReadHostFile(dir_ + "log/mainlog") + ReadHostFile(dir_ + "log/paniclog"); }

  // The host path of the one delivered message, waiting up to waitMs; "" when none came.
  std::string DeliveredMessage(int waitMs = 15000) const {
    const std::filesystem::path box = dir_ + "Maildir/new";
    for (int waited = 0; waited <= waitMs; waited += 50) {
      std::error_code ec;
      for (const auto& entry : std::filesystem::directory_iterator(box, ec)) return entry.path().string();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
  }

 private:
  bool WaitListening() {
    for (int i = 0; i < 200; ++i) {
      int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_port = htons(port_);
      a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
      ::close(fd);
      if (up) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  std::string dir_;
  std::string problem_;
  uint16_t port_ = 0;
  std::unique_ptr<Child> child_;
};

}  // namespace mail_test
