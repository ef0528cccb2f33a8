// A card mailed through a real mail server, read back as a mail reader would read it.
#include <gtest/gtest.h>

#include "maker/mail/card_mailer.h"
#include "maker/mail/exim_peer.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

TEST(EximDelivery, TheRecipientSeesTheNameSubjectBodyAndFileNameInTheirCharacters) {
  testing_support::TempDir files;
  testing_support::TempDir server;
  testing_support::TempDir out;
  mail_test::Dnsmasq dns({"--mx-host=card.test,127.0.0.1,10"});
  ASSERT_TRUE(dns.Ready());
  mail_test::EximPeer exim(server.HostPath());
  ASSERT_TRUE(exim.Ready()) << exim.Problem();
  platform::ScriptedDialogs dialogs;

  std::string card = "MZ";
  for (int i = 0; i < 5000; ++i) card += static_cast<char>(i * 37 % 256);
  ASSERT_TRUE(testing_support::WriteBytes(files.File("贺卡.exe"), card));
  // A subject long enough to need more than one encoded word.
  const std::string subject = "给朋友的新年贺卡：祝你新年快乐，万事如意，身体健康！";
  const std::string body = "您好，贺卡文件在邮件附件中。\r\n.点开头的一行\r\n\r\n张三敬上";

  mail::MailerSettings settings;
  settings.dnsPort = dns.Port();
  settings.smtpPort = exim.Port();
  settings.heloName = "card-maker";
  mail::CardMailer mailer({}, settings);
  const auto result = mailer.Send(
      mail::SendForm{"127.0.0.1", "me@sender.test", "张三", "friend@card.test", files.File("贺卡.exe"), subject, body});
  ASSERT_EQ(result.outcome, mail::SendOutcome::Sent) << exim.Log();
  EXPECT_TRUE(dialogs.shown.empty());

  const std::string delivered = exim.DeliveredMessage();
  ASSERT_FALSE(delivered.empty()) << exim.Log();
  const std::string summary = mail_test::DumpMime(delivered, out.HostPath());
  EXPECT_NE(summary.find("from-name 张三\nfrom-address me@sender.test\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("header Subject " + subject + "\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("part 1 text/plain charset=gbk filename=\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("part 2 application/octet-stream charset= filename=贺卡.exe\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("defects 0\n"), std::string::npos) << summary;
  EXPECT_EQ(mail_test::ReadHostFile(out.HostPath() + "part-1.txt"),
            "您好，贺卡文件在邮件附件中。\n.点开头的一行\n\n张三敬上");
  EXPECT_TRUE(mail_test::ReadHostFile(out.HostPath() + "part-2.bin") == card) << "the attachment differs";
}
