#pragma once
// The send road of the mail dialog, without the window: checks, MX lookup, connection,
// message, with the status texts and progress the dialog shows. The dialog (and cardtool)
// hand it the boxes' texts and a view to report to.
#include <cstdint>
#include <functional>
#include <string>

#include "maker/mail/dns_message.h"
#include "maker/mail/send_checks.h"
#include "maker/mail/smtp_client.h"

namespace mail {

// The body box's text when the dialog opens.
extern const char* const kDefaultBody;

// What the dialog shows; every member may be left empty.
struct MailerView {
  std::function<void(const std::string& text)> status;          // status bar panel 0
  std::function<void(uint64_t max, uint64_t position)> progress;  // the progress bar
  std::function<void(bool enabled)> sendEnabled;                  // both send buttons
};

struct MailerSettings {
  uint16_t dnsPort = 53;
  uint16_t smtpPort = 25;
  int dnsTimeoutMs = 4000;
  std::string heloName;  // the local computer's host name when empty
};

enum class SendOutcome { CheckFailed, Sent, Failed };

struct SendResult {
  SendOutcome outcome = SendOutcome::Failed;
  MailField focus = MailField::None;  // where a failed check puts the focus
};

class CardMailer {
 public:
  explicit CardMailer(MailerView view, MailerSettings settings = {});

  // The send button. A failed check shows its message and returns CheckFailed with the
  // focus target. A failure before the connection is up (lookup, connect, greeting, HELO)
  // is raised for the program's general error report; the status keeps its last text and
  // the send buttons stay disabled. A failure inside the dialogue shows
  // "发生错误，邮件发送失败。", sets the status to "错误" and enables the buttons again.
  SendResult Send(const SendForm& form);
  // The stop button: the exchange in progress (or the wait for the DNS reply) ends with an error.
  void Abort() { client_.Abort(); }
  // Closes an open connection with QUIT (when the dialog goes away).
  void Close() { client_.Quit(); }
  SmtpClient& Client() { return client_; }

 private:
  void Status(const std::string& text) { if (view_.status) view_.status(text); }
  void Progress(uint64_t max, uint64_t pos) { if (view_.progress) view_.progress(max, pos); }
  void SendEnabled(bool on) { if (view_.sendEnabled) view_.sendEnabled(on); }

  MailerView view_;
  MailerSettings settings_;
  SmtpClient client_;
  uint64_t lastSize_ = 100;
};

}  // namespace mail
