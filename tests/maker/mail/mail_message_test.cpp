#include "maker/mail/mail_message.h"

#include <gtest/gtest.h>

#include <regex>

#include "maker/mail/encoded_words.h"
#include "support/temp_dir.h"

using mail::BuildMessageText;
using mail::MailMessage;

namespace {

const std::string kBoundary = "====================54535abcdef====";

std::string DecodeBase64(const std::string& text) {
  static const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    bits = (bits << 6) | static_cast<uint32_t>(kAlphabet.find(c));
    if ((count += 6) >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

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
      "From: =?GBK?B?0KHD9w==?=<me@sender.test>\r\n"
      "To: you@card.test\r\n"
      "Subject: =?GBK?B?0MLE6r/swNY=?=\r\n"
      "Mime-Version: 1.0\r\n"
      "Content-Type: multipart/mixed; boundary=\"====================54535abcdef====\"\r\n"
      "\r\n"
      "--====================54535abcdef====\r\n"
      "Content-Type: text/plain; charset=GBK\r\n"
      "\r\n"
      "第一行\r\n"
      "..以点开头\r\n"
      "\r\n"
      "最后一行\r\n"
      "--====================54535abcdef====\r\n"
      "Content-Type: application/octet-stream; name=\"=?GBK?B?ztK1xLrYv6guZXhl?=\"\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "Content-Disposition: attachment; filename=\"=?GBK?B?ztK1xLrYv6guZXhl?=\"\r\n"
      "\r\n"
      "QUJDRA==\r\n"
      "--====================54535abcdef====--\r\n";
  EXPECT_EQ(BuildMessageText(Sample(dir), kBoundary), expected);
}

TEST(MailMessage, LongTextIsSplitIntoEncodedWordsBetweenCharacters) {
  // 40 two-byte characters, an ASCII letter first so that no word can end on a whole group.
  std::string text = "x";
  for (int i = 0; i < 40; ++i) text += "贺";
  const std::vector<std::string> words = mail::EncodedWords(text);
  ASSERT_GE(words.size(), 2u);
  std::string joined;
  for (const std::string& w : words) {
    EXPECT_LE(w.size(), 75u) << w;
    ASSERT_EQ(w.rfind("=?GBK?B?", 0), 0u) << w;
    ASSERT_EQ(w.substr(w.size() - 2), "?=");
    const std::string bytes = DecodeBase64(w.substr(8, w.size() - 10));
    // Each word holds whole characters: after the "x", an even number of bytes.
    EXPECT_EQ((bytes.size() - (joined.empty() ? 1 : 0)) % 2, 0u) << w;
    joined += bytes;
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(mail::HeaderText(text, "\r\n ").find("?=\r\n =?GBK?B?"), words[0].size() - 2);

  // A four-byte sequence that GBK lacks makes the text GB18030; ASCII stays as it is.
  EXPECT_EQ(mail::EncodedWords("\x95\x32\x82\x36"), std::vector<std::string>{"=?GB18030?B?lTKCNg==?="});
  EXPECT_EQ(mail::TextCharset("第一行"), "GBK");
  EXPECT_EQ(mail::EncodedWords("Bob"), std::vector<std::string>{"Bob"});
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
