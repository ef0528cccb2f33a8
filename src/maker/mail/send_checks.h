#pragma once
// The checks the mail dialog makes before it sends, and the rules of its recipient list.
// Plain functions: the dialog shows the message and moves the focus.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace mail {

// The dialog's boxes, as focus targets.
enum class MailField {
  None,
  DnsServer,      // Edit6
  SenderAddress,  // Edit1
  SenderName,     // Edit2
  Recipient,      // Edit3
  CardFile,       // Edit4
  Subject,        // Edit5
};

struct CheckFailure {
  std::string message;
  platform::MsgIcon icon = platform::MsgIcon::Warning;
  MailField focus = MailField::None;
};

// What the send button reads from the dialog.
struct SendForm {
  std::string dnsServer;
  std::string senderAddress;
  std::string senderName;
  std::string recipient;
  std::string cardFile;
  std::string subject;
  std::string body;  // not checked; carried to the message
};

// A line break in any of these would let the text start header lines of its own: refused.
// attachmentPath's bare file name goes into the attachment's headers.
std::optional<CheckFailure> CheckHeaderFields(std::string_view senderName, std::string_view senderAddress,
                                              std::string_view recipient, std::string_view subject,
                                              std::string_view attachmentPath = {});

// The send checks in their order; the first that fails, or nothing when all pass.
std::optional<CheckFailure> CheckSend(const SendForm& form);

// Recipient list rules.
inline constexpr size_t kMaxListAddresses = 10;
// An address for the list: it holds "@" with at least 4 characters after the first one.
bool IsValidListAddress(std::string_view address);
enum class AddResult { Added, Duplicate, ListFull, Invalid };
// Adds a valid address unless the list is full or already holds it (in any letter case).
AddResult AddToRecipientList(std::vector<std::string>& list, std::string_view address);
// The message for an Invalid or ListFull result (error icon), "" otherwise.
std::string AddResultMessage(AddResult result);

}  // namespace mail
