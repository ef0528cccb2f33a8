#include "maker/mail/card_mailer.h"

#include <gtest/gtest.h>

#include "maker/mail/mail_peers.h"
#include "platform/message_pump.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

using mail::CardMailer;
using mail::MailField;
using mail::SendForm;
using mail::SendOutcome;

namespace {

// What the dialog would have shown.
struct Screen {
  std::vector<std::string> statuses;
  std::vector<bool> enabled;
  std::vector<std::pair<uint64_t, uint64_t>> progress;

  mail::MailerView View() {
    return {[this](const std::string& s) { statuses.push_back(s); },
            [this](uint64_t max, uint64_t pos) { progress.emplace_back(max, pos); },
            [this](bool on) { enabled.push_back(on); }};
  }
};

struct Road {
  testing_support::TempDir files;
  testing_support::TempDir store;
  mail_test::Dnsmasq dns{{"--mx-host=card.test,127.0.0.1,10", "--address=/gone.test/"}};
  std::unique_ptr<mail_test::SmtpPeer> smtp;
  platform::ScriptedDialogs dialogs;
  Screen screen;

  explicit Road(const std::vector<std::string>& smtpOptions = {})
      : smtp(std::make_unique<mail_test::SmtpPeer>(store.HostPath(), smtpOptions)) {}
  bool Ready() const { return dns.Ready() && smtp->Ready(); }

  mail::MailerSettings Settings() const {
    mail::MailerSettings s;
    s.dnsPort = dns.Port();
    s.smtpPort = smtp->Port();
    s.heloName = "card-maker";
    return s;
  }
  SendForm Form(const std::string& card = "MZ card bytes") {
    testing_support::WriteBytes(files.File("贺卡.exe"), card);
    return SendForm{"127.0.0.1", "me@sender.test", "小明", "friend@card.test", files.File("贺卡.exe"), "新年快乐",
                    mail::kDefaultBody};
  }
};

}  // namespace

TEST(CardMailer, SendsThroughDnsmasqAndTheLocalServerShowingEachStep) {
  Road road;
  ASSERT_TRUE(road.Ready());
  CardMailer mailer(road.screen.View(), road.Settings());
  auto result = mailer.Send(road.Form(std::string(200000, 'c')));
  EXPECT_EQ(result.outcome, SendOutcome::Sent);
  EXPECT_EQ(road.screen.statuses, (std::vector<std::string>{"正在解析服务器地址...", "正在连接127.0.0.1...",
                                                            "正在处理邮件内容...", "正在发送邮件...", "就绪"}));
  EXPECT_EQ(road.screen.enabled, (std::vector<bool>{false, false, true}));
  ASSERT_GE(road.screen.progress.size(), 4u);  // start, the blocks, back to 0
  const uint64_t size = road.screen.progress.front().first;
  EXPECT_EQ(road.screen.progress.front().second, 0u);
  EXPECT_EQ(road.screen.progress[road.screen.progress.size() - 2], std::make_pair(size, size));
  EXPECT_EQ(road.screen.progress.back(), std::make_pair(size, uint64_t{0}));
  EXPECT_TRUE(road.dialogs.shown.empty());
  auto eml = road.smtp->Message(1);
  ASSERT_TRUE(eml.has_value());
  EXPECT_NE(eml->find("您好，贺卡文件在邮件附件中。\r\n\r\n如果您使用Outlook"), std::string::npos);
}

TEST(CardMailer, TheNextSendClosesTheOpenConnectionWithQuitFirst) {
  Road road;
  ASSERT_TRUE(road.Ready());
  CardMailer mailer(road.screen.View(), road.Settings());
  ASSERT_EQ(mailer.Send(road.Form()).outcome, SendOutcome::Sent);
  ASSERT_EQ(mailer.Send(road.Form()).outcome, SendOutcome::Sent);
  ASSERT_TRUE(road.smtp->Message(2).has_value());
  EXPECT_EQ(road.smtp->Commands(),
            "HELO card-maker\nRSET\nMAIL FROM:<me@sender.test>\nRCPT TO:<friend@card.test>\nDATA\nQUIT\n"
            "HELO card-maker\nRSET\nMAIL FROM:<me@sender.test>\nRCPT TO:<friend@card.test>\nDATA\n");
}

TEST(CardMailer, StopDuringTheQuitOfTheLastConnectionEndsTheSend) {
  Road road({"--quit-delay", "3"});
  ASSERT_TRUE(road.Ready());
  CardMailer mailer(road.screen.View(), road.Settings());
  ASSERT_EQ(mailer.Send(road.Form()).outcome, SendOutcome::Sent);
  // Stop is pressed once the server has the QUIT, while its answer is awaited.
  bool stopped = false;
  auto previous = platform::SetMessagePump([&] {
    if (!stopped && road.smtp->Commands().find("QUIT") != std::string::npos) {
      stopped = true;
      mailer.Abort();
    }
  });
  EXPECT_THROW(mailer.Send(road.Form()), platform::net::AbortedError);
  platform::SetMessagePump(previous);
  EXPECT_TRUE(stopped);
  EXPECT_FALSE(mailer.Client().Connected());
  EXPECT_FALSE(road.smtp->Message(2, 500).has_value());
  EXPECT_EQ(road.smtp->Commands().substr(road.smtp->Commands().find("QUIT")), "QUIT\n");
}

TEST(CardMailer, AFailedCheckShowsItsMessageAndSendsNothing) {
  Road road;
  ASSERT_TRUE(road.Ready());
  CardMailer mailer(road.screen.View(), road.Settings());
  SendForm form = road.Form();
  form.recipient = "friend@SENDER.test";
  auto result = mailer.Send(form);
  EXPECT_EQ(result.outcome, SendOutcome::CheckFailed);
  EXPECT_EQ(result.focus, MailField::None);
  ASSERT_EQ(road.dialogs.shown.size(), 1u);
  EXPECT_EQ(road.dialogs.shown[0].text, "发件箱和收件箱不能在同一服务器下，因为很多服务器在这种情况下要求身份验证。");
  EXPECT_EQ(road.dialogs.shown[0].caption, platform::ApplicationTitle());
  EXPECT_EQ(road.dialogs.shown[0].icon, platform::MsgIcon::Error);

  // A subject that would start a header line of its own is refused the same way.
  form = road.Form();
  form.subject = "新年快乐\r\nBcc: everyone@victims.test";
  result = mailer.Send(form);
  EXPECT_EQ(result.outcome, SendOutcome::CheckFailed);
  EXPECT_EQ(result.focus, MailField::Subject);
  EXPECT_TRUE(road.screen.statuses.empty());
  EXPECT_EQ(road.smtp->Commands(), "");
}

TEST(CardMailer, AFailureInsideTheDialogueShowsTheSendErrorAndEnablesSendingAgain) {
  Road road({"--fail", "RCPT:550"});
  ASSERT_TRUE(road.Ready());
  CardMailer mailer(road.screen.View(), road.Settings());
  auto result = mailer.Send(road.Form());
  EXPECT_EQ(result.outcome, SendOutcome::Failed);
  ASSERT_EQ(road.dialogs.Messages(), std::vector<std::string>{"发生错误，邮件发送失败。"});
  EXPECT_EQ(road.dialogs.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_EQ(road.screen.statuses.back(), "错误");
  EXPECT_TRUE(road.screen.enabled.back());
  EXPECT_FALSE(mailer.Client().Connected());
}

TEST(CardMailer, AFailureBeforeTheConnectionRaisesAndLeavesSendingDisabled) {
  Road road;
  ASSERT_TRUE(road.Ready());
  CardMailer mailer(road.screen.View(), road.Settings());
  SendForm form = road.Form();
  form.recipient = "friend@gone.test";
  EXPECT_THROW(mailer.Send(form), mail::DnsError);
  EXPECT_EQ(road.screen.statuses, std::vector<std::string>{"正在解析服务器地址..."});
  EXPECT_EQ(road.screen.enabled, std::vector<bool>{false});
  EXPECT_TRUE(road.dialogs.shown.empty());

  // A refused greeting also goes to the general error report.
  Road refusing({"--fail", "greeting:554"});
  ASSERT_TRUE(refusing.Ready());
  CardMailer second(refusing.screen.View(), refusing.Settings());
  EXPECT_THROW(second.Send(refusing.Form()), mail::SmtpError);
  EXPECT_EQ(refusing.screen.statuses.back(), "正在连接127.0.0.1...");
  EXPECT_FALSE(refusing.screen.enabled.back());
}
