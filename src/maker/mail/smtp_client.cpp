#include "maker/mail/smtp_client.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace mail {
namespace {

constexpr size_t kMaxReplyLine = 4096;
constexpr size_t kMaxReplyLines = 100;
constexpr int kQuitTimeoutMs = 5000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<SmtpReply> TakeSmtpReply(std::string& pending) {
  SmtpReply reply;
  size_t pos = 0;
  for (size_t lines = 0;; ++lines) {
    // One line, ended by CR LF (a bare LF is taken too).
    const size_t eol = pending.find('\n', pos);
    if (eol == std::string::npos) {
      if (pending.size() - pos > kMaxReplyLine) throw SmtpError("邮件服务器的回答太长。");
      return std::nullopt;
    }
    std::string line = pending.substr(pos, eol - pos);
    pos = eol + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxReplyLine) throw SmtpError("邮件服务器的回答太长。");
    if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2]) ||
        (line.size() > 3 && line[3] != ' ' && line[3] != '-')) {
      throw SmtpError("无法识别邮件服务器的回答：" + line.substr(0, 200));
    }
    if (!reply.text.empty()) reply.text += "\r\n";
    reply.text += line;
    // "250-..." continues the reply; "250 ..." or a bare "250" ends it.
    if (line.size() == 3 || line[3] == ' ') {
      reply.code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
      pending.erase(0, pos);
      return reply;
    }
    if (lines + 1 >= kMaxReplyLines) throw SmtpError("邮件服务器的回答太长。");
  }
}

SmtpReply SmtpClient::ReadReply() {
  for (;;) {
    if (std::optional<SmtpReply> reply = TakeSmtpReply(pending_)) return std::move(*reply);
    std::string more = conn_.ReceiveSome(4096, replyTimeoutMs, &abort_);
    if (more.empty()) throw SmtpError("邮件服务器关闭了连接。");
    pending_ += more;
  }
}

SmtpReply SmtpClient::Command(std::string_view line) {
  conn_.SendAll(std::string(line) + "\r\n", replyTimeoutMs, &abort_);
  return ReadReply();
}

SmtpReply SmtpClient::Expect(std::string_view line, int failFrom, const std::string& failText) {
  SmtpReply r = Command(line);
  if (r.code >= failFrom) {
    throw SmtpError(failText.empty() ? "邮件服务器拒绝了“" + std::string(line) + "”：" + r.text : failText, r.code);
  }
  return r;
}

void SmtpClient::Connect() {
  Disconnect();
  if (abort_.IsSet()) throw platform::net::AbortedError("操作已被中止。");
  try {
    conn_.Connect(host, port, connectTimeoutMs, &abort_);
    SmtpReply greeting = ReadReply();
    if (greeting.code >= 400) throw SmtpError("邮件服务器拒绝了连接：" + greeting.text, greeting.code);
    Expect("HELO " + (heloName.empty() ? platform::net::LocalHostName() : heloName), 300, "Authentication failed");
  } catch (...) {
    Disconnect();
    throw;
  }
}

void SmtpClient::WriteText(std::string_view text, uint64_t total, uint64_t& written) {
  for (size_t pos = 0; pos < text.size(); pos += kBlockSize) {
    std::string_view block = text.substr(pos, kBlockSize);
    conn_.SendAll(block, replyTimeoutMs, &abort_);
    written += block.size();
    if (events.packetSent) events.packetSent(written, total);
  }
}

void SmtpClient::Send(const MailMessage& m) {
  try {
    if (events.encodeStart) events.encodeStart();
    const std::string text = BuildMessageText(m, NewBoundary());
    const uint64_t total = text.size();
    if (events.sendStart) events.sendStart(total);
    if (!Connected()) throw SmtpError("没有连接到邮件服务器。");
    Expect("RSET", 400);
    Expect("MAIL FROM:<" + m.senderAddress + ">", 400);
    Expect("RCPT TO:<" + m.recipient + ">", 400);
    Expect("DATA", 400);
    uint64_t written = 0;
    WriteText(text, total, written);
    conn_.SendAll(".\r\n", replyTimeoutMs, &abort_);
    SmtpReply accepted = ReadReply();
    if (accepted.code >= 400) throw SmtpError("邮件服务器没有接受邮件：" + accepted.text, accepted.code);
  } catch (const std::exception& e) {
    // Whatever went wrong, the dialogue cannot go on from here.
    Disconnect();
    if (events.failure) events.failure(e.what());
    throw;
  }
  if (events.success) events.success();
}

void SmtpClient::Quit() {
  if (!Connected()) return;
  const int saved = replyTimeoutMs;
  replyTimeoutMs = std::min(replyTimeoutMs, kQuitTimeoutMs);
  try {
    Command("QUIT");
  } catch (const std::exception&) {
    // The connection goes either way.
  }
  replyTimeoutMs = saved;
  Disconnect();
}

void SmtpClient::Disconnect() {
  conn_.Close();
  pending_.clear();
}

}  // namespace mail
