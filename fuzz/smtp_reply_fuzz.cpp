// SMTP replies: any bytes are taken as what a mail server sent, reply after reply. Each reply
// is read whole with a three-digit code, or refused with SmtpError; the bytes are never read
// past, and what is left is never more than was received.
#include "fuzz_support.h"
#include "maker/mail/smtp_client.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pending(fuzz::AsText(data, size));
  try {
    for (;;) {
      const size_t before = pending.size();
      std::optional<mail::SmtpReply> reply = mail::TakeSmtpReply(pending);
      if (!reply) {
        if (pending.size() != before) __builtin_trap();
        break;
      }
      if (reply->code < 0 || reply->code > 999 || pending.size() >= before) __builtin_trap();
    }
  } catch (const mail::SmtpError&) {
  }
  return 0;
}
