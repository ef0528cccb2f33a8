#include "maker/mail/send_checks.h"

#include <algorithm>

#include "maker/mail/mx_lookup.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace mail {
namespace {

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::optional<CheckFailure> CheckHeaderFields(std::string_view senderName, std::string_view senderAddress,
                                              std::string_view recipient, std::string_view subject,
                                              std::string_view attachmentPath) {
  using platform::MsgIcon;
  if (HasLineBreak(senderName)) return CheckFailure{"您的名字中不能含有换行符。", MsgIcon::Warning, MailField::SenderName};
  if (HasLineBreak(senderAddress)) {
    return CheckFailure{"您的电子信箱地址中不能含有换行符。", MsgIcon::Warning, MailField::SenderAddress};
  }
  if (HasLineBreak(recipient)) {
    return CheckFailure{"接收贺卡的邮箱地址中不能含有换行符。", MsgIcon::Warning, MailField::Recipient};
  }
  if (HasLineBreak(subject)) return CheckFailure{"邮件标题中不能含有换行符。", MsgIcon::Warning, MailField::Subject};
  if (HasLineBreak(platform::paths::ExtractFileName(attachmentPath))) {
    return CheckFailure{"贺卡文件的名字中不能含有换行符。", MsgIcon::Warning, MailField::CardFile};
  }
  return std::nullopt;
}

std::optional<CheckFailure> CheckSend(const SendForm& f) {
  using platform::MsgIcon;
  if (platform::Trim(f.dnsServer).empty()) return CheckFailure{"请输入DNS服务器地址。", MsgIcon::Warning, MailField::DnsServer};
  if (f.senderAddress.find('@') == std::string::npos) {
    return CheckFailure{"请正确输入您的电子信箱地址。", MsgIcon::Warning, MailField::SenderAddress};
  }
  if (f.recipient.find('@') == std::string::npos) {
    return CheckFailure{"请在“接收贺卡的邮箱地址”输入框中输入正确的邮址。", MsgIcon::Warning, MailField::Recipient};
  }
  if (!platform::files::FileExists(f.cardFile)) {
    return CheckFailure{"请输入正确的贺卡文件位置。", MsgIcon::Warning, MailField::CardFile};
  }
  if (platform::EqualsNoCase(DomainOf(f.senderAddress), DomainOf(f.recipient))) {
    return CheckFailure{"发件箱和收件箱不能在同一服务器下，因为很多服务器在这种情况下要求身份验证。", MsgIcon::Error,
                        MailField::None};
  }
  return CheckHeaderFields(f.senderName, f.senderAddress, f.recipient, f.subject, f.cardFile);
}

bool IsValidListAddress(std::string_view address) {
  size_t at = address.find('@');
  return at != std::string_view::npos && address.size() - at - 1 >= 4;
}

AddResult AddToRecipientList(std::vector<std::string>& list, std::string_view address) {
  if (!IsValidListAddress(address)) return AddResult::Invalid;
  if (list.size() >= kMaxListAddresses) return AddResult::ListFull;
  bool present = std::any_of(list.begin(), list.end(),
                             [&](const std::string& a) { return platform::EqualsNoCase(a, address); });
  if (present) return AddResult::Duplicate;
  list.emplace_back(address);
  return AddResult::Added;
}

std::string AddResultMessage(AddResult result) {
  switch (result) {
    case AddResult::Invalid: return "请输入正确的邮址。";
    case AddResult::ListFull:
      return "对不起，为防止有人利用本软件乱发垃圾邮件，所以本软件一次最多允许10个邮箱存在目标邮箱列表中。";
    default: return "";
  }
}

}  // namespace mail
