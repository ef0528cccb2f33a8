#include "maker/mail/card_mailer.h"

#include <vector>

#include "maker/mail/mx_lookup.h"

namespace mail {

const char* const kDefaultBody =
    "您好，贺卡文件在邮件附件中。\r\n"
    "\r\n"
    "如果您使用Outlook接收邮件，并且您的Outlook设置了不允许打开和保存附件\r\n"
    "的安全选项，请去掉该选项后才再开邮件。";

CardMailer::CardMailer(MailerView view, MailerSettings settings)
    : view_(std::move(view)), settings_(std::move(settings)) {
  client_.events.encodeStart = [this] { Status("正在处理邮件内容..."); };
  client_.events.sendStart = [this](uint64_t size) {
    lastSize_ = size;
    Status("正在发送邮件...");
    Progress(size, 0);
  };
  client_.events.packetSent = [this](uint64_t written, uint64_t size) { Progress(size, written); };
  client_.events.success = [this] {
    SendEnabled(true);
    Status("就绪");
    Progress(lastSize_, 0);
  };
}

SendResult CardMailer::Send(const SendForm& form) {
  if (auto failure = CheckSend(form)) {
    platform::ShowMessage(failure->message, failure->icon);
    return {SendOutcome::CheckFailed, failure->focus};
  }

  // Resolving.
  SendEnabled(false);
  Status("正在解析服务器地址...");
  client_.ClearAbort();
  std::vector<std::string> exchangers;
  GetMx(form.recipient, exchangers,
        ResolverSettings{form.dnsServer, settings_.dnsPort, settings_.dnsTimeoutMs, &client_.AbortFlag()});
  if (client_.Connected()) client_.Quit();
  const std::string host = exchangers.front();
  if (host.empty()) throw DnsError("域名 " + DomainOf(form.recipient) + " 不接收邮件。");

  MailMessage message;
  message.senderAddress = form.senderAddress;
  message.senderName = form.senderName;
  message.recipient = form.recipient;
  message.subject = form.subject;
  message.attachmentPath = form.cardFile;
  message.body = form.body;

  // Connecting: failures here go to the general error report.
  client_.host = host;
  client_.port = settings_.smtpPort;
  client_.heloName = settings_.heloName.empty() ? platform::net::LocalHostName() : settings_.heloName;
  Status("正在连接" + host + "...");
  client_.Connect();

  // Connected: send at once.
  SendEnabled(false);
  try {
    client_.Send(message);
  } catch (const std::exception&) {
    platform::ShowMessage("发生错误，邮件发送失败。", platform::MsgIcon::Error);
    Status("错误");
    SendEnabled(true);
    return {SendOutcome::Failed, MailField::None};
  }
  return {SendOutcome::Sent, MailField::None};
}

}  // namespace mail
