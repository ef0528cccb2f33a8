// Mailing a 5 MB card: the whole send (message built, base64, SMTP dialogue, progress events)
// to a local aiosmtpd server, against a floor measured in the same run: the same message bytes
// written over a plain loopback TCP connection to a reader that discards them.
// x_floor = the send's time / the floor's time; server_wait_ms is the part spent after the last
// block was written, while the server (Python) was still taking the data in.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "../tests/maker/mail/mail_peers.h"
#include "maker/mail/mail_message.h"
#include "maker/mail/smtp_client.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

constexpr size_t kCardSize = 5 * 1024 * 1024;

struct Setup {
  std::string folder;  // host path
  std::string card;    // system path
  std::string text;    // the message text of the card, as it goes after DATA
  mail::MailMessage message;
  Setup() {
    char tmpl[] = "/tmp/lmcard-mail-bench-XXXXXX";
    folder = std::string(::mkdtemp(tmpl)) + "/";
    std::string bytes(kCardSize, '\0');
    std::mt19937 rng(5);
    for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
    card = platform::paths::FromHost(folder + "card.exe");
    platform::files::WriteFileAtomic(card, bytes);
    message = {"me@sender.test", "bench", "you@card.test", "5 MB card", "hello", card};
    text = mail::BuildMessageText(message, mail::NewBoundary());
  }
  ~Setup() {
    platform::files::DeleteFile(card);
    ::unlink((folder + "commands.log").c_str());
    ::rmdir(folder.c_str());
  }
};

Setup& TheSetup() {
  static Setup s;
  return s;
}

double floorSeconds = 0;

// A reader on 127.0.0.1 that takes `expect` bytes per round and answers one byte.
class Sink {
 public:
  explicit Sink(size_t expect) : expect_(expect) {
    listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listen_, 1);
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] {
      int c = ::accept(listen_, nullptr, nullptr);
      std::string buf(1 << 16, '\0');
      size_t got = 0;
      for (;;) {
        ssize_t n = ::recv(c, buf.data(), buf.size(), 0);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
        while (got >= expect_) {
          got -= expect_;
          ::send(c, "k", 1, MSG_NOSIGNAL);
        }
      }
      ::close(c);
    });
  }
  ~Sink() {
    thread_.join();
    ::close(listen_);
  }
  uint16_t Port() const { return port_; }

 private:
  size_t expect_;
  int listen_;
  uint16_t port_;
  std::thread thread_;
};

// The floor: the message bytes over loopback TCP, in the same 64 KB blocks, until the reader has them all.
void BM_LoopbackFloor(benchmark::State& state) {
  const std::string& text = TheSetup().text;
  Sink sink(text.size());
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(sink.Port());
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  double total = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    for (size_t pos = 0; pos < text.size();) {
      size_t n = std::min<size_t>(mail::SmtpClient::kBlockSize, text.size() - pos);
      ssize_t w = ::send(fd, text.data() + pos, n, MSG_NOSIGNAL);
      if (w <= 0) break;
      pos += static_cast<size_t>(w);
    }
    char ack;
    ::recv(fd, &ack, 1, 0);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(s);
    total += s;
  }
  ::close(fd);
  floorSeconds = total / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoopbackFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The send: build, encode, dialogue and every progress event, to aiosmtpd on 127.0.0.1.
void BM_MailCard5MB(benchmark::State& state) {
  Setup& setup = TheSetup();
  mail_test::SmtpPeer peer(setup.folder, {"--discard"});
  if (!peer.Ready()) {
    state.SkipWithError("the SMTP server (python3-aiosmtpd) did not start");
    return;
  }
  mail::SmtpClient client;
  client.host = "127.0.0.1";
  client.port = peer.Port();
  client.heloName = "bench";
  int64_t events = 0;
  using Clock = std::chrono::steady_clock;
  Clock::time_point lastPacket;
  client.events.packetSent = [&](uint64_t, uint64_t) {
    ++events;
    lastPacket = Clock::now();
  };
  client.Connect();
  double total = 0, serverWait = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    client.Send(setup.message);
    auto end = std::chrono::steady_clock::now();
    double s = std::chrono::duration<double>(end - start).count();
    state.SetIterationTime(s);
    total += s;
    serverWait += std::chrono::duration<double>(end - lastPacket).count();
  }
  client.Quit();
  const double mean = total / static_cast<double>(state.iterations());
  state.counters["events"] = static_cast<double>(events) / static_cast<double>(state.iterations());
  state.counters["send_ms"] = mean * 1000;
  // From the last block written to the server's acceptance: the server still reading the data.
  state.counters["server_wait_ms"] = serverWait / static_cast<double>(state.iterations()) * 1000;
  state.counters["floor_ms"] = floorSeconds * 1000;
  if (floorSeconds > 0) state.counters["x_floor"] = mean / floorSeconds;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCardSize));
}
BENCHMARK(BM_MailCard5MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
