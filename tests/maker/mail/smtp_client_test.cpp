#include "maker/mail/smtp_client.h"

#include <gtest/gtest.h>

#include <random>

#include "maker/mail/mail_peers.h"
#include "platform/message_pump.h"
#include "support/temp_dir.h"

using mail::MailMessage;
using mail::SmtpClient;
using mail::SmtpError;
using mail_test::SmtpPeer;

namespace {

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  for (size_t i = 0; i < 256 && i < n; ++i) s[i] = static_cast<char>(i);  // every byte value
  return s;
}

struct Fixture {
  testing_support::TempDir files;
  testing_support::TempDir store;

  MailMessage Message(const std::string& card, const std::string& name = "贺卡.exe") {
    testing_support::WriteBytes(files.File(name), card);
    MailMessage m;
    m.senderAddress = "me@sender.test";
    m.senderName = "小明";
    m.recipient = "you@card.test";
    m.subject = "新年快乐";
    m.body = "第一行\r\n.以点开头\r\n最后一行";
    m.attachmentPath = files.File(name);
    return m;
  }
};

void Aim(SmtpClient& c, uint16_t port) {
  c.host = "127.0.0.1";
  c.port = port;
  c.heloName = "card-maker";
  c.replyTimeoutMs = 10000;
}

}  // namespace

TEST(SmtpClient, TheCardArrivesAndAnIndependentMimeParserReadsItBackByteForByte) {
  Fixture fx;
  SmtpPeer peer(fx.store.HostPath());
  ASSERT_TRUE(peer.Ready());
  const std::string card = RandomBytes(300 * 1024 + 7, 1);
  SmtpClient client;
  Aim(client, peer.Port());
  std::vector<std::string> events;
  uint64_t size = 0, last = 0;
  bool blocksOk = true;
  client.events.encodeStart = [&] { events.push_back("encode"); };
  client.events.sendStart = [&](uint64_t s) {
    size = s;
    events.push_back("start");
  };
  client.events.packetSent = [&](uint64_t written, uint64_t total) {
    blocksOk &= total == size && written > last && written - last <= SmtpClient::kBlockSize;
    last = written;
    if (events.back() != "packet") events.push_back("packet");
  };
  client.events.success = [&] { events.push_back("success"); };
  client.Connect();
  client.Send(fx.Message(card));

  EXPECT_EQ(events, (std::vector<std::string>{"encode", "start", "packet", "success"}));
  EXPECT_TRUE(blocksOk);
  EXPECT_EQ(last, size);
  EXPECT_TRUE(client.Connected());  // left open for the next send

  auto eml = peer.Message(1);
  ASSERT_TRUE(eml.has_value());
  EXPECT_EQ(eml->size(), size - 1);  // the server dot-unstuffs the one body line that begins with "."
  EXPECT_EQ(peer.Envelope(1), "card-maker\nme@sender.test\nyou@card.test\n");

  testing_support::TempDir out;
  const std::string summary = mail_test::DumpMime(fx.store.HostPath() + "msg-1.eml", out.HostPath());
  EXPECT_NE(summary.find("from-name 小明\nfrom-address me@sender.test\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("header To you@card.test\n"), std::string::npos);
  EXPECT_NE(summary.find("header Subject 新年快乐\n"), std::string::npos);
  EXPECT_NE(summary.find("header Mime-Version 1.0\n"), std::string::npos);
  EXPECT_NE(summary.find("multipart 1\n"), std::string::npos);
  EXPECT_NE(summary.find("part 1 text/plain charset=gbk filename=\n"), std::string::npos);
  EXPECT_NE(summary.find("part 2 application/octet-stream charset= filename=贺卡.exe\n"), std::string::npos);
  EXPECT_NE(summary.find("defects 0\n"), std::string::npos);
  EXPECT_TRUE(mail_test::ReadHostFile(out.HostPath() + "part-2.bin") == card) << "the attachment differs";
  // The parser gives text lines with plain line feeds; the dot-stuffed line has its one dot back.
  EXPECT_EQ(mail_test::ReadHostFile(out.HostPath() + "part-1.bin"), "第一行\n.以点开头\n最后一行");
}

TEST(SmtpClient, MultiLineRepliesAreReadWhole) {
  Fixture fx;
  SmtpPeer peer(fx.store.HostPath(), {"--multiline"});
  ASSERT_TRUE(peer.Ready());
  SmtpClient client;
  Aim(client, peer.Port());
  client.Connect();
  EXPECT_EQ(client.Command("NOOP").code, 250);  // the greeting's and HELO's extra lines were not left behind
  client.Send(fx.Message("card"));
  ASSERT_TRUE(peer.Message(1).has_value());
}

TEST(SmtpClient, TheConnectionStaysOpenBetweenMessagesAndQuitEndsIt) {
  Fixture fx;
  SmtpPeer peer(fx.store.HostPath());
  ASSERT_TRUE(peer.Ready());
  SmtpClient client;
  Aim(client, peer.Port());
  client.Connect();
  client.Send(fx.Message("one"));
  client.Send(fx.Message("two"));
  client.Quit();
  EXPECT_FALSE(client.Connected());
  ASSERT_TRUE(peer.Message(2).has_value());
  for (int waited = 0; peer.Commands().find("QUIT") == std::string::npos && waited < 2000; waited += 20) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(peer.Commands(),
            "HELO card-maker\nRSET\nMAIL FROM:<me@sender.test>\nRCPT TO:<you@card.test>\nDATA\n"
            "RSET\nMAIL FROM:<me@sender.test>\nRCPT TO:<you@card.test>\nDATA\nQUIT\n");
}

// A reply of 400 or more at any step fails the exchange, and nothing is delivered.
class SmtpRefusal : public ::testing::TestWithParam<std::pair<std::string, int>> {};

TEST_P(SmtpRefusal, FailsAtItsStepAndDeliversNothing) {
  const auto& [step, code] = GetParam();
  Fixture fx;
  SmtpPeer peer(fx.store.HostPath(), {"--fail", step + ":" + std::to_string(code)});
  ASSERT_TRUE(peer.Ready());
  SmtpClient client;
  Aim(client, peer.Port());
  std::string failure;
  bool succeeded = false;
  client.events.failure = [&](const std::string& why) { failure = why; };
  client.events.success = [&] { succeeded = true; };
  try {
    client.Connect();
    ASSERT_NE(step, "greeting");
    ASSERT_NE(step, "HELO");
    client.Send(fx.Message("card"));
    FAIL() << "the send went through";
  } catch (const SmtpError& e) {
    EXPECT_EQ(e.Code(), code);
    if (step == "HELO") {
      EXPECT_STREQ(e.what(), "Authentication failed");
    } else {
      EXPECT_NE(std::string(e.what()).find(std::to_string(code)), std::string::npos) << e.what();
    }
    if (step != "greeting" && step != "HELO") {
      EXPECT_EQ(failure, e.what());
    }
  }
  EXPECT_FALSE(succeeded);
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(peer.Message(1, 300).has_value());
}

INSTANTIATE_TEST_SUITE_P(EachStep, SmtpRefusal,
                         ::testing::Values(std::make_pair("greeting", 421), std::make_pair("HELO", 550),
                                           std::make_pair("HELO", 354), std::make_pair("RSET", 421),
                                           std::make_pair("MAIL", 550), std::make_pair("RCPT", 450),
                                           std::make_pair("DATA", 451), std::make_pair("END", 554)),
                         [](const auto& info) { return info.param.first + std::to_string(info.param.second); });

TEST(SmtpClient, TheStopButtonAbortsALargeAttachmentHalfWay) {
  Fixture fx;
  SmtpPeer peer(fx.store.HostPath());
  ASSERT_TRUE(peer.Ready());
  const std::string card = RandomBytes(8 * 1024 * 1024, 2);
  SmtpClient client;
  Aim(client, peer.Port());
  uint64_t written = 0, size = 0;
  client.events.packetSent = [&](uint64_t w, uint64_t s) {
    written = w;
    size = s;
  };
  // The stop button is handled while the client lets pending messages run.
  auto previous = platform::SetMessagePump([&] {
    if (written >= 2 * 1024 * 1024) client.Abort();
  });
  client.Connect();
  EXPECT_THROW(client.Send(fx.Message(card)), platform::net::AbortedError);
  platform::SetMessagePump(previous);
  EXPECT_GE(written, 2u * 1024 * 1024);
  EXPECT_LT(written, size);
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(peer.Message(1, 500).has_value());

  // The stop holds until the caller clears it for a new send.
  EXPECT_THROW(client.Connect(), platform::net::AbortedError);
  client.ClearAbort();
  client.Connect();
  client.Send(fx.Message("small card"));
  EXPECT_TRUE(peer.Message(1).has_value());
}

TEST(SmtpClient, NoServerOnThePortIsANetworkError) {
  SmtpClient client;
  Aim(client, mail_test::FreePort());
  EXPECT_THROW(client.Connect(), platform::net::NetError);
  EXPECT_FALSE(client.Connected());
}

// Replies that break the protocol end the exchange with a clear error.
TEST(SmtpReplies, MalformedOrEndlessRepliesAndClosedConnectionsFail) {
  auto connectError = [](const std::string& script) -> std::string {
    mail_test::ScriptedTcpPeer peer(script);
    SmtpClient client;
    Aim(client, peer.Port());
    client.replyTimeoutMs = 2000;
    try {
      client.Connect();
    } catch (const SmtpError& e) {
      EXPECT_FALSE(client.Connected());
      return e.what();
    }
    return "";
  };
  EXPECT_NE(connectError("hello there\r\n").find("无法识别"), std::string::npos);
  EXPECT_NE(connectError("22 short\r\n").find("无法识别"), std::string::npos);
  EXPECT_NE(connectError(std::string(10000, '2')).find("太长"), std::string::npos);
  std::string many;
  for (int i = 0; i < 200; ++i) many += "220-line\r\n";
  EXPECT_NE(connectError(many).find("太长"), std::string::npos);
  // A greeting whose lines end with a bare line feed is read; the HELO reply then never comes.
  mail_test::ScriptedTcpPeer lf("220-a\n220 b\n", false);
  SmtpClient client;
  Aim(client, lf.Port());
  client.replyTimeoutMs = 300;
  EXPECT_THROW(client.Connect(), platform::net::TimeoutError);
}

TEST(SmtpReplies, TheServerClosingMidReplyFails) {
  mail_test::ScriptedTcpPeer peer("220-first line\r\n", false);
  SmtpClient client;
  Aim(client, peer.Port());
  client.replyTimeoutMs = 2000;
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    peer.Stop();
  });
  try {
    client.Connect();
    ADD_FAILURE() << "connected to a closed server";
  } catch (const SmtpError& e) {
    EXPECT_NE(std::string(e.what()).find("关闭了连接"), std::string::npos) << e.what();
  }
  closer.join();
}
