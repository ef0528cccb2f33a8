#include "maker/mail/mail_message.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/temp_dir.h"

using mail::BuildMessageText;
using mail::MailMessage;

namespace {

const std::string kBoundary = "====================54535abcdef====";

MailMessage Sample(const testing_support::TempDir& dir, const std::string& card = "ABCD") {
  testing_support::WriteBytes(dir.File("我的贺卡.exe"), card);
  MailMessage m;
  m.senderAddress = "me@sender.test";
  m.senderName = "小明";
  m.recipient = "you@card.test";
  m.subject = "新年快乐";
  m.body = "第一行\r\n.以点开头\r\n\r\n最后一行";
  m.attachmentPath = dir.File("我的贺卡.exe");
  return m;
}

}  // namespace

TEST(MailMessage, TheWholeTextIsBuiltAsTheMailerSendsIt) {
  testing_support::TempDir dir;
  const std::string expected =
      "From: 小明<me@sender.test>\r\n"
      "To: you@card.test\r\n"
      "Subject: 新年快乐\r\n"
      "Mime-Version: 1.0\r\n"
      "Content-Type: multipart/mixed; boundary=\"====================54535abcdef====\"\r\n"
      "\r\n"
      "--====================54535abcdef====\r\n"
      "Content-Type: text/plain; charset=us-ascii\r\n"
      "\r\n"
      "第一行\r\n"
      "..以点开头\r\n"
      "\r\n"
      "最后一行\r\n"
      "--====================54535abcdef====\r\n"
      "Content-Type: application/octet-stream; name=\"我的贺卡.exe\"\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "Content-Disposition: attachment; filename=\"我的贺卡.exe\"\r\n"
      "\r\n"
      "QUJDRA==\r\n"
      "--====================54535abcdef====--\r\n";
  EXPECT_EQ(BuildMessageText(Sample(dir), kBoundary), expected);
}

TEST(MailMessage, EmptyNameAndSubjectAndLoneLineBreaks) {
  testing_support::TempDir dir;
  MailMessage m = Sample(dir);
  m.senderName = "";
  m.subject = "";
  m.body = "a\nb\rc\r\n";
  const std::string text = BuildMessageText(m, kBoundary);
  EXPECT_EQ(text.rfind("From: <me@sender.test>\r\nTo: you@card.test\r\nMime-Version: 1.0\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find("Subject"), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\na\r\nb\r\nc\r\n--===================="), std::string::npos) << text;
}

TEST(MailMessage, BoundaryHasTheFixedFormWithRandomLetters) {
  const std::regex form("={20}54535[a-y]{6}={4}");
  std::string first = mail::NewBoundary();
  bool differs = false;
  for (int i = 0; i < 20; ++i) {
    std::string b = mail::NewBoundary();
    EXPECT_TRUE(std::regex_match(b, form)) << b;
    differs |= b != first;
  }
  EXPECT_TRUE(differs);
}

TEST(MailMessage, Base64LinesHoldSeventySixCharacters) {
  EXPECT_EQ(mail::Base64Lines(""), "");
  EXPECT_EQ(mail::Base64Lines(std::string_view("\xFF\x00\x80", 3)), "/wCA\r\n");
  EXPECT_EQ(mail::Base64Lines("ab"), "YWI=\r\n");
  std::string bytes(57 * 2 + 1, 'x');  // 57 bytes make exactly one line
  std::string lines = mail::Base64Lines(bytes);
  EXPECT_EQ(lines.substr(76, 2), "\r\n");
  EXPECT_EQ(lines.substr(154, 2), "\r\n");
  EXPECT_EQ(lines.substr(156), "eA==\r\n");
}

TEST(MailMessage, LineBreaksInHeaderFieldsAreRefused) {
  testing_support::TempDir dir;
  for (auto field : {&MailMessage::senderName, &MailMessage::senderAddress, &MailMessage::recipient,
                     &MailMessage::subject}) {
    for (const char* injected : {"x\r\nBcc: victim@else.test", "x\nBcc: v@e.test", "x\rBcc: v@e.test"}) {
      MailMessage m = Sample(dir);
      m.*field = injected;
      EXPECT_THROW(BuildMessageText(m, kBoundary), mail::MessageError) << injected;
    }
  }
}

TEST(MailMessage, AnUnreadableCardRaisesAFileError) {
  testing_support::TempDir dir;
  MailMessage m = Sample(dir);
  m.attachmentPath = dir.File("gone.exe");
  EXPECT_THROW(BuildMessageText(m, kBoundary), platform::FileError);
}
