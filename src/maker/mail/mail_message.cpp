#include "maker/mail/mail_message.h"

#include <random>

#include "maker/mail/encoded_words.h"
#include "maker/mail/send_checks.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace mail {
namespace {

constexpr size_t kBase64LineLength = 76;

// The body's lines, each ended by CR LF; a line break at the very end starts no new line.
std::string BodyLines(std::string_view body) {
  std::string out;
  out.reserve(body.size() + 64);
  size_t pos = 0;
  while (pos < body.size()) {
    size_t eol = body.find_first_of("\r\n", pos);
    std::string_view line = body.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
    if (!line.empty() && line.front() == '.') out += '.';
    out.append(line);
    out += "\r\n";
    if (eol == std::string_view::npos) break;
    pos = eol + ((body[eol] == '\r' && eol + 1 < body.size() && body[eol + 1] == '\n') ? 2 : 1);
  }
  return out;
}

// A quoted header parameter value; a quote or backslash in it is escaped.
std::string Quoted(std::string_view value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string NewBoundary() {
  static std::mt19937 rng{std::random_device{}()};
  std::uniform_int_distribution<int> letter('a', 'y');
  std::string b = std::string(20, '=') + "54535";
  for (int i = 0; i < 6; ++i) b += static_cast<char>(letter(rng));
  return b + "====";
}

std::string Base64Lines(std::string_view bytes) {
  const std::string encoded = platform::Base64(bytes);
  std::string out;
  out.reserve(encoded.size() + (encoded.size() / kBase64LineLength + 1) * 2);
  for (size_t at = 0; at < encoded.size(); at += kBase64LineLength)
    out.append(encoded, at, kBase64LineLength).append("\r\n");
  return out;
}

std::string AttachmentType(std::string_view path) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  return ext == ".html" || ext == ".htm" ? "text/html" : "application/octet-stream";
}

std::string BuildMessageText(const MailMessage& m, std::string_view boundary) {
  if (auto refusal = CheckHeaderFields(m.senderName, m.senderAddress, m.recipient, m.subject, m.attachmentPath)) {
    throw MessageError(refusal->message);
  }
  std::optional<std::string> card = platform::files::ReadFile(m.attachmentPath);
  if (!card) throw platform::FileError("无法读取贺卡文件 " + m.attachmentPath + "。");
  const std::string fileName = HeaderText(platform::paths::ExtractFileName(m.attachmentPath), " ");
  const std::string b(boundary);

  std::string t;
  t.reserve(card->size() / 3 * 4 + card->size() / 38 + m.body.size() + 1024);
  // Names and the subject go out as encoded words when they are not ASCII; the file name
  // likewise inside its quotes.
  t += "From: " + HeaderText(m.senderName, "\r\n ") + "<" + m.senderAddress + ">\r\n";
  t += "To: " + m.recipient + "\r\n";
  if (!m.subject.empty()) t += "Subject: " + HeaderText(m.subject, "\r\n ") + "\r\n";
  t += "Mime-Version: 1.0\r\n";
  t += "Content-Type: multipart/mixed; boundary=\"" + b + "\"\r\n";
  t += "\r\n";
  t += "--" + b + "\r\n";
  t += "Content-Type: text/plain; charset=" + TextCharset(m.body) + "\r\n";
  t += "\r\n";
  t += BodyLines(m.body);
  t += "--" + b + "\r\n";
  t += "Content-Type: " + AttachmentType(m.attachmentPath) + "; name=" + Quoted(fileName) + "\r\n";
  t += "Content-Transfer-Encoding: base64\r\n";
  t += "Content-Disposition: attachment; filename=" + Quoted(fileName) + "\r\n";
  t += "\r\n";
  t += Base64Lines(*card);
  t += "--" + b + "--\r\n";
  return t;
}

}  // namespace mail
