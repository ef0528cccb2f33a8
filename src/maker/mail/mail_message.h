#pragma once
// The e-mail that carries a card: headers, a plain text part with the body and the card file
// as a base64 attachment, in one multipart/mixed message ready for the SMTP DATA phase.
#include <string>
#include <string_view>

#include "platform/error.h"

namespace mail {

// A message that cannot be built: a header field that would break the header, or an
// attachment that cannot be read (platform::FileError).
class MessageError : public platform::Error {
 public:
  using Error::Error;
};

struct MailMessage {
  std::string senderAddress;
  std::string senderName;
  std::string recipient;
  std::string subject;         // no Subject header when empty
  std::string body;            // lines separated by CR LF (a lone CR or LF also ends a line)
  std::string attachmentPath;  // the card file or its web card, a system path
};

// "====================54535", six letters drawn from "a" to "y", "====".
std::string NewBoundary();

// The attachment's MIME type by its extension: "text/html" for a web card (".html", ".htm"),
// "application/octet-stream" for every other card file.
std::string AttachmentType(std::string_view path);

// Base64 of bytes in lines of 76 characters, each ended by CR LF.
std::string Base64Lines(std::string_view bytes);

// The message text as it goes after DATA, without the closing "." line: header lines, an
// empty line, the MIME body; body lines that begin with "." get one more in front. Raises
// MessageError when a header field holds CR or LF, platform::FileError when the attachment
// cannot be read.
std::string BuildMessageText(const MailMessage& message, std::string_view boundary);

}  // namespace mail
