#pragma once
// SMTP without authentication (RFC 821): greeting, HELO, then per message RSET, MAIL FROM,
// RCPT TO, DATA, the text and ".". The connection stays open between messages and is closed
// with QUIT before the next send. Every wait watches the abort flag and lets pending window
// messages run.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "maker/mail/mail_message.h"
#include "platform/error.h"
#include "platform/net.h"

namespace mail {

// The server refused a step (a reply of 400 or more) or its reply could not be read.
class SmtpError : public platform::Error {
 public:
  SmtpError(const std::string& text, int code = 0) : Error(text), code_(code) {}
  int Code() const { return code_; }  // the server's reply code, 0 when there was none

 private:
  int code_;
};

struct SmtpReply {
  int code = 0;
  std::string text;  // every line of the reply, CR LF between them
};

// Takes one whole reply off the front of the bytes received so far; nothing (and nothing
// taken) while its last line has not arrived. SmtpError for a line that is no reply line, a
// line over 4096 bytes or a reply over 100 lines.
std::optional<SmtpReply> TakeSmtpReply(std::string& pending);

// What the dialog shows while a message goes out.
struct SmtpEvents {
  std::function<void()> encodeStart;                                 // the message is being built
  std::function<void(uint64_t size)> sendStart;                      // the dialogue begins
  std::function<void(uint64_t written, uint64_t size)> packetSent;   // after each block written
  std::function<void()> success;                                     // the server took the message
  std::function<void(const std::string& why)> failure;               // before the error is raised
};

class SmtpClient {
 public:
  std::string host;
  uint16_t port = 25;
  std::string heloName;             // the local computer's host name when empty
  int connectTimeoutMs = 30000;
  int replyTimeoutMs = 60000;       // each wait for a reply, or for the server to take more data
  SmtpEvents events;

  static constexpr size_t kBlockSize = 65536;  // the most written before a progress event

  // Opens the connection, reads the greeting (400 or more fails) and says HELO (300 or more
  // fails with "Authentication failed"). Raises NetError or SmtpError; AbortedError at once
  // while the abort flag is still set from an earlier Abort().
  void Connect();
  bool Connected() const { return conn_.IsOpen(); }
  // Builds and sends one message on the open connection. Raises on any failure (after the
  // failure event); a failed exchange leaves the connection closed.
  void Send(const MailMessage& message);
  // Says QUIT and closes; never raises. An abort during the QUIT is kept: the flag stays set,
  // so the Connect that follows refuses to start.
  void Quit();
  // Drops the connection without a word.
  void Disconnect();
  // Ends the exchange in progress with an error; safe to call from a handler that runs
  // while the client waits, or from another thread. The flag stays set until ClearAbort(),
  // which the caller does when a new send begins.
  void Abort() { abort_.Set(); }
  void ClearAbort() { abort_.Clear(); }
  platform::net::AbortFlag& AbortFlag() { return abort_; }

  // One command line and its reply (for the steps above and for tests).
  SmtpReply Command(std::string_view line);
  SmtpReply ReadReply();

 private:
  SmtpReply Expect(std::string_view line, int failFrom, const std::string& failText = {});
  void WriteText(std::string_view text, uint64_t total, uint64_t& written);

  platform::net::TcpConnection conn_;
  platform::net::AbortFlag abort_;
  std::string pending_;  // bytes received after the last reply line read
};

}  // namespace mail
