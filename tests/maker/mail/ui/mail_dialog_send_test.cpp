// Sends from the dialog to real peers on 127.0.0.1: dnsmasq for the MX lookup, the aiosmtpd
// server of smtp_peer.py, or a peer of the test's own that stops answering.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "maker/mail/mail_peers.h"
#include "maker/mail/ui/mail_dialog.h"
#include "maker/mail/ui/mail_ui_fixture.h"
#include "maker/mail/ui/web_attachment.h"
#include "platform/files.h"
#include "platform/qt/qt_text.h"
#include "player/player_fixture.h"
#include "support/shared_program_folder.h"

using mail_ui::TForm7;
using mail_ui_test::DialogScope;
using platform::ToQString;

namespace {

struct SendScope : DialogScope {
  mail_test::Dnsmasq dns{{"--mx-host=card.test,127.0.0.1,10", "--address=/gone.test/"}};

  TForm7& MakeFor(uint16_t smtpPort) {
    mail::MailerSettings settings;
    settings.dnsPort = dns.Port();
    settings.smtpPort = smtpPort;
    settings.heloName = "card-maker";
    TForm7& f = Make("127.0.0.1", settings);
    f.show();
    QTest::qWait(10);  // the start message
    dialogs.shown.clear();
    return f;
  }
  void Fill(TForm7& f, const std::string& cardBytes, const std::string& recipient = "friend@card.test") {
    testing_support::WriteBytes(files.File("新年贺卡.exe"), cardBytes);
    f.Edit1()->setText("me@sender.test");
    f.Edit2()->setText(ToQString("小明"));
    f.Edit3()->setText(ToQString(recipient));
    f.SetCardFile(files.File("新年贺卡.exe"));
    f.Edit5()->setText(ToQString("新年快乐"));
  }
};

}  // namespace

TEST(MailDialogSend, ACardGoesToTheLocalServerWithTheProgressReachingTheEnd) {
  SendScope s;
  testing_support::TempDir store;
  mail_test::SmtpPeer smtp(store.HostPath());
  ASSERT_TRUE(s.dns.Ready());
  ASSERT_TRUE(smtp.Ready());
  TForm7& f = s.MakeFor(smtp.Port());
  s.Fill(f, std::string(600000, 'c'));

  std::vector<std::pair<int, int>> bar;  // (maximum, value) as the bar showed them
  QObject::connect(f.PB(), &QProgressBar::valueChanged, [&](int v) { bar.emplace_back(f.PB()->maximum(), v); });
  std::vector<std::string> statuses;
  std::vector<bool> sendEnabled;
  QTimer watch;  // what the window shows while the send is under way
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (statuses.empty() || statuses.back() != f.StatusText()) statuses.push_back(f.StatusText());
    sendEnabled.push_back(f.Button6()->isEnabled());
    // Screenshots: LMCARD_SHOT_DIR names a folder for a picture of the dialog half-way.
    static const char* shots = std::getenv("LMCARD_SHOT_DIR");
    if (shots && f.PB()->value() * 2 >= f.PB()->maximum() && f.PB()->value() < f.PB()->maximum()) {
      f.grab().save(QString(shots) + "/mail-dialog-sending.png");
      shots = nullptr;
    }
  });
  watch.start(0);
  QTest::mouseClick(f.Button6(), Qt::LeftButton);
  watch.stop();

  EXPECT_TRUE(s.dialogs.shown.empty()) << s.dialogs.shown.front().text;
  auto eml = smtp.Message(1);
  ASSERT_TRUE(eml.has_value());
  EXPECT_NE(eml->find("From: =?GBK?B?0KHD9w==?=<me@sender.test>"), std::string::npos);  // 小明
  EXPECT_NE(eml->find("您好，贺卡文件在邮件附件中。\r\n\r\n如果您使用Outlook"), std::string::npos);
  EXPECT_NE(eml->find("filename=\"=?GBK?B?0MLE6rrYv6guZXhl?=\""), std::string::npos);  // 新年贺卡.exe
  EXPECT_NE(smtp.Envelope(1).find("friend@card.test"), std::string::npos);

  // The bar ran from 0 to its end over several blocks, then went back to 0.
  ASSERT_GE(bar.size(), 3u);
  const int max = bar.front().first;
  EXPECT_GT(max, 600000);
  EXPECT_NE(std::find(bar.begin(), bar.end(), std::make_pair(max, max)), bar.end());
  EXPECT_EQ(bar.back(), std::make_pair(max, 0));
  EXPECT_EQ(f.PB()->value(), 0);
  EXPECT_EQ(f.StatusText(), "就绪");
  EXPECT_TRUE(f.Button6()->isEnabled());
  EXPECT_TRUE(f.Button7()->isEnabled());
  // The window kept running while the send was under way, with sending disabled.
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "正在发送邮件..."), statuses.end());
  EXPECT_NE(std::find(sendEnabled.begin(), sendEnabled.end(), false), sendEnabled.end());
}

TEST(MailDialogSend, StopDuringASendEndsItAndClosesTheDialog) {
  SendScope s;
  ASSERT_TRUE(s.dns.Ready());
  // Greets and says hello, then never answers the message's commands.
  mail_test::ScriptedTcpPeer peer("220 peer ready\r\n250 hello\r\n");
  TForm7& f = s.MakeFor(peer.Port());
  s.Fill(f, "MZ card");
  // Stop is pressed once the dialogue is under way (the peer then leaves RSET unanswered).
  bool stopWasEnabled = false;
  QElapsedTimer clock;
  QTimer stopper;
  qint64 sendingSince = -1;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (sendingSince < 0 && f.StatusText() == "正在发送邮件...") sendingSince = clock.elapsed();
    const bool waited = sendingSince >= 0 && clock.elapsed() - sendingSince >= 300;
    if (!waited && clock.elapsed() < 20000) return;
    stopper.stop();
    stopWasEnabled = f.Button8()->isEnabled() && !f.Button6()->isEnabled();
    clock.restart();
    QTest::mouseClick(f.Button8(), Qt::LeftButton);
  });
  stopper.start(10);
  clock.start();
  QTest::mouseClick(f.Button6(), Qt::LeftButton);
  EXPECT_LT(clock.elapsed(), 5000);  // from the stop: far less than the reply time-out
  EXPECT_TRUE(stopWasEnabled);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.result(), QDialog::Rejected);
  EXPECT_FALSE(f.Sending());
  EXPECT_EQ(s.dialogs.Messages(), std::vector<std::string>{"发生错误，邮件发送失败。"});
  EXPECT_EQ(s.dialogs.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_EQ(f.StatusText(), "错误");
  const std::string received = peer.Received();  // what arrived before the connection was dropped
  EXPECT_NE(received.find("RSET"), std::string::npos) << received;
}

TEST(MailDialogSend, AFailedLookupIsReportedAndLeavesSendingDisabled) {
  SendScope s;
  ASSERT_TRUE(s.dns.Ready());
  TForm7& f = s.MakeFor(mail_test::FreePort());
  s.Fill(f, "MZ card", "friend@gone.test");
  QTest::mouseClick(f.Button6(), Qt::LeftButton);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_FALSE(s.dialogs.shown[0].text.empty());
  EXPECT_EQ(f.StatusText(), "正在解析服务器地址...");
  EXPECT_FALSE(f.Button6()->isEnabled());
  EXPECT_TRUE(f.isVisible());
}

TEST(MailDialogSend, TheWebCardChoiceAttachesTheCardAsAPage) {
  testing_support::SharedProgramFolder programFolder;  // the page's scripts
  SendScope s;
  testing_support::TempDir store;
  mail_test::SmtpPeer smtp(store.HostPath());
  ASSERT_TRUE(s.dns.Ready());
  ASSERT_TRUE(smtp.Ready());
  TForm7& f = s.MakeFor(smtp.Port());
  s.Fill(f, player_fixture::SmallCard().Build());
  f.WebCardBox()->setChecked(true);
  QTest::mouseClick(f.Button6(), Qt::LeftButton);

  EXPECT_TRUE(s.dialogs.shown.empty()) << s.dialogs.shown.front().text;
  auto eml = smtp.Message(1);
  ASSERT_TRUE(eml.has_value());
  // 新年贺卡.html as a page, its name GBK in an encoded word; the page's first bytes are
  // "<!DOCTYPE html>".
  EXPECT_NE(eml->find("Content-Type: text/html; name=\"=?GBK?B?0MLE6rrYv6guaHRtbA==?=\""), std::string::npos);
  EXPECT_NE(eml->find("filename=\"=?GBK?B?0MLE6rrYv6guaHRtbA==?=\"\r\n\r\nPCFET0NUWVBFIGh0bWw+"), std::string::npos);
  // The page was made for the send only.
  EXPECT_FALSE(platform::files::FileExists(mail_ui::WebAttachmentPath(f.CardFile())));
  EXPECT_EQ(f.StatusText(), "就绪");
}
