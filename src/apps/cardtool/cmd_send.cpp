// cardtool send: mails a card file as an attachment straight to the recipient's mail exchanger,
// the road of the mail dialog: the same checks, MX lookup, SMTP dialogue and messages, with the
// status texts on stderr and a progress bar on the terminal. Ctrl-C stops a send in progress.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "command.h"
#include "maker/mail/card_mailer.h"
#include "maker/mail/dns_discovery.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{
    "send",
    "send CARD --from ADDR [--name NAME] --to ADDR [--subject S] [--body FILE] [--dns SERVER[:PORT]] [--smtp-port PORT]",
    "mails a card to the recipient's mail exchanger (DNS server found as the mail dialog finds it)", &Run};
const cardtool::Registrar reg(kCommand);

volatile std::sig_atomic_t interrupted = 0;

// A progress bar on stderr, redrawn in place; status lines go above it.
class Terminal {
 public:
  Terminal() : tty_(::isatty(STDERR_FILENO) != 0) {}
  void Status(const std::string& gbk) {
    EndBar();
    std::fprintf(stderr, "%s\n", platform::GbkToUtf8(gbk).c_str());
  }
  void Progress(uint64_t max, uint64_t pos) {
    // The bar going back to 0 after the send is the dialog's reset, not news for a terminal.
    if (max == 0 || (pos == 0 && drawn_)) return;
    drawn_ = true;
    const int percent = static_cast<int>(pos * 100 / max);
    // On a pipe, one line per tenth is enough.
    if (!tty_ && percent / 10 == lastTenth_ && pos != max) return;
    lastTenth_ = percent / 10;
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(pos * kWidth / max);
    std::fprintf(stderr, "%s[%s%s] %3d%%  %.1f / %.1f MB%s", tty_ ? "\r" : "", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, '-').c_str(), percent, pos / 1048576.0, max / 1048576.0,
                 tty_ ? "" : "\n");
    barShown_ = tty_;
    std::fflush(stderr);
  }
  void EndBar() {
    if (barShown_) std::fputc('\n', stderr);
    barShown_ = false;
    lastTenth_ = -1;
  }

 private:
  bool tty_;
  bool barShown_ = false;
  bool drawn_ = false;
  int lastTenth_ = -1;
};

bool ParsePort(const std::string& text, uint16_t& port) {
  int v = 0;
  if (!platform::TryStrToInt(text, v) || v < 1 || v > 65535) return false;
  port = static_cast<uint16_t>(v);
  return true;
}

// "host", "host:port" or "[v6]:port"; a bare IPv6 address keeps all its colons.
bool SplitServer(const std::string& text, std::string& host, uint16_t& port) {
  host = text;
  if (!text.empty() && text.front() == '[') {
    size_t close = text.find(']');
    if (close == std::string::npos) return false;
    host = text.substr(1, close - 1);
    if (close + 1 == text.size()) return true;
    return text[close + 1] == ':' && ParsePort(text.substr(close + 2), port);
  }
  size_t colon = text.find(':');
  if (colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
    host = text.substr(0, colon);
    return ParsePort(text.substr(colon + 1), port);
  }
  return true;
}

// True when bytes are valid UTF-8 holding something beyond ASCII.
bool LooksLikeUtf8(const std::string& s) {
  bool beyondAscii = false;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    beyondAscii |= n > 1;
    i += n;
  }
  return beyondAscii;
}

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {"from", "name", "to", "subject", "body", "dns", "smtp-port"});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 1 || !opt.Value("from") || !opt.Value("to")) return cardtool::Usage(kCommand);
  using platform::Utf8ToGbk;

  mail::MailerSettings settings;
  mail::SendForm form;
  form.cardFile = platform::paths::FromHost(opt.Positionals()[0]);
  form.senderAddress = Utf8ToGbk(*opt.Value("from"));
  form.senderName = Utf8ToGbk(opt.ValueOr("name", ""));
  form.recipient = Utf8ToGbk(*opt.Value("to"));
  form.subject = Utf8ToGbk(opt.ValueOr("subject", ""));
  form.body = mail::kDefaultBody;
  if (auto bodyFile = opt.Value("body")) {
    // A body file in UTF-8 (as written on this host) is converted; anything else is taken as GBK.
    auto bytes = platform::files::ReadFile(platform::paths::FromHost(*bodyFile));
    if (!bytes) return cardtool::Fail("cannot read " + *bodyFile);
    form.body = LooksLikeUtf8(*bytes) ? Utf8ToGbk(*bytes) : *bytes;
  }
  if (auto dns = opt.Value("dns")) {
    if (!SplitServer(*dns, form.dnsServer, settings.dnsPort)) return cardtool::Fail("bad --dns value '" + *dns + "'", 2);
  } else {
    form.dnsServer = mail::DiscoverDnsServer();
  }
  if (auto port = opt.Value("smtp-port"); port && !ParsePort(*port, settings.smtpPort)) {
    return cardtool::Fail("bad --smtp-port value '" + *port + "'", 2);
  }

  Terminal terminal;
  mail::CardMailer mailer({[&](const std::string& s) { terminal.Status(s); },
                           [&](uint64_t max, uint64_t pos) { terminal.Progress(max, pos); }, nullptr},
                          settings);
  // Ctrl-C is the stop button: the waits notice it while they let messages run.
  interrupted = 0;
  auto previousHandler = std::signal(SIGINT, [](int) { interrupted = 1; });
  auto previousPump = platform::SetMessagePump([&] {
    if (interrupted) mailer.Abort();
  });
  struct Restore {
    decltype(previousHandler) handler;
    std::function<void()>& pump;
    ~Restore() {
      std::signal(SIGINT, handler);
      platform::SetMessagePump(pump);
    }
  } restore{previousHandler, previousPump};

  mail::SendResult result;
  try {
    result = mailer.Send(form);
  } catch (...) {
    terminal.EndBar();
    throw;  // cardtool's handler prints the error's own message
  }
  terminal.EndBar();
  mailer.Close();
  return result.outcome == mail::SendOutcome::Sent ? 0 : 1;
}

}  // namespace
