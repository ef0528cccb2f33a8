#include "maker/mail/dns_message.h"

#include <gtest/gtest.h>

#include "maker/mail/mail_peers.h"

using mail::BuildMxQuery;
using mail::DnsError;
using mail::ParseMxReply;
using mail_test::MxAnswer;
using mail_test::Put16;
using mail_test::ReplyHead;

namespace {

const std::string kQuery = BuildMxQuery(0x4242, "card.test");

std::string ThreeAnswers() {
  return ReplyHead(kQuery, 0, 3) + MxAnswer(20, "mx20.card.test") + MxAnswer(10, "mx10.card.test") +
         MxAnswer(30, "mx30.card.test");
}

// The message of the DnsError that parsing raises, "" when it raises none.
std::string ErrorOf(const std::string& reply, uint16_t id = 0x4242, const std::string& domain = "card.test") {
  try {
    ParseMxReply(reply, id, domain);
  } catch (const DnsError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(DnsMessage, QueryIsOneRecursiveMxQuestion) {
  const std::string q = BuildMxQuery(0xBEEF, "Sub.Card.test.");
  const std::string expected = std::string("\xBE\xEF\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 12) +
                               "\x03Sub\x04" "Card\x04test" + std::string("\0\0\x0F\0\x01", 5);
  EXPECT_EQ(q, expected);
}

TEST(DnsMessage, QueryRefusesNamesDnsCannotCarry) {
  EXPECT_THROW(BuildMxQuery(1, ""), DnsError);
  EXPECT_THROW(BuildMxQuery(1, "a..test"), DnsError);
  EXPECT_THROW(BuildMxQuery(1, std::string(64, 'a') + ".test"), DnsError);
  EXPECT_NO_THROW(BuildMxQuery(1, std::string(63, 'a') + ".test"));
  std::string longName;
  for (int i = 0; i < 50; ++i) longName += "abcd.";
  longName += "test";  // 255 wire bytes + root: one too many
  EXPECT_THROW(BuildMxQuery(1, longName), DnsError);
}

TEST(DnsMessage, AnswersComeInReplyOrderNotByPreference) {
  EXPECT_EQ(ParseMxReply(ThreeAnswers(), 0x4242, "card.test"),
            (std::vector<std::string>{"mx20.card.test", "mx10.card.test", "mx30.card.test"}));
}

TEST(DnsMessage, OtherRecordKindsAreSkippedAndQuestionMatchesWithoutRegardToCase) {
  // A CNAME answer before the MX one.
  std::string cname("\xC0\x0C\x00\x05\x00\x01\x00\x00\x00\x10", 10);
  std::string target = mail_test::WireName("alias.test");
  Put16(cname, static_cast<uint16_t>(target.size()));
  cname += target;
  std::string reply = ReplyHead(BuildMxQuery(7, "CARD.Test"), 0, 2) + cname + MxAnswer(5, "mx.card.test");
  EXPECT_EQ(ParseMxReply(reply, 7, "card.test"), std::vector<std::string>{"mx.card.test"});
  EXPECT_TRUE(ParseMxReply(ReplyHead(kQuery, 0, 0), 0x4242, "card.test").empty());
}

TEST(DnsMessage, ExchangeNamesMayPointBackIntoTheQuestion) {
  // "mail" + pointer to "card.test" at offset 12.
  std::string answer("\xC0\x0C\x00\x0F\x00\x01\x00\x00\x00\x10\x00\x09\x00\x0A\x04mail\xC0\x0C", 21);
  EXPECT_EQ(ParseMxReply(ReplyHead(kQuery, 0, 1) + answer, 0x4242, "card.test"),
            std::vector<std::string>{"mail.card.test"});
}

TEST(DnsMessage, RepliesThatDoNotFitTheQueryAreRefused) {
  EXPECT_NE(ErrorOf(std::string("\x42\x42\x81\x80", 4)).find("太短"), std::string::npos);
  EXPECT_NE(ErrorOf(ThreeAnswers(), 0x4243).find("编号不同"), std::string::npos);
  std::string notReply = ThreeAnswers();
  notReply[2] = 0x01;
  EXPECT_NE(ErrorOf(notReply).find("不是回答"), std::string::npos);
  EXPECT_NE(ErrorOf(ThreeAnswers(), 0x4242, "other.test").find("问题不同"), std::string::npos);
  std::string twoQuestions = ThreeAnswers();
  twoQuestions[5] = 2;
  EXPECT_NE(ErrorOf(twoQuestions).find("问题的个数"), std::string::npos);
}

TEST(DnsMessage, ErrorCodesBecomeMessages) {
  EXPECT_EQ(ErrorOf(ReplyHead(kQuery, 3, 0)), "DNS服务器报告错误：域名 card.test 不存在。");
  EXPECT_NE(ErrorOf(ReplyHead(kQuery, 2, 0)).find("服务器故障"), std::string::npos);
  EXPECT_NE(ErrorOf(ReplyHead(kQuery, 5, 0)).find("拒绝"), std::string::npos);
  EXPECT_NE(ErrorOf(ReplyHead(kQuery, 9, 0)).find("错误码 9"), std::string::npos);
}

TEST(DnsMessage, CompressionPointersThatLoopOrLeaveTheReplyAreRefused) {
  const std::string head = ReplyHead(kQuery, 0, 1);
  const uint16_t self = static_cast<uint16_t>(head.size());
  auto withOwner = [&](const std::string& owner) {
    return head + owner + std::string("\x00\x0F\x00\x01\x00\x00\x00\x10\x00\x03\x00\x01\x00", 13);
  };
  std::string toSelf;
  Put16(toSelf, static_cast<uint16_t>(0xC000 | self));
  EXPECT_NE(ErrorOf(withOwner(toSelf)).find("循环"), std::string::npos);
  std::string forward;
  Put16(forward, static_cast<uint16_t>(0xC000 | (self + 2)));
  EXPECT_NE(ErrorOf(withOwner(forward)).find("循环"), std::string::npos);
  EXPECT_NE(ErrorOf(withOwner(std::string("\xFF\xFF", 2))).find("循环"), std::string::npos);
  // Labels that loop back through a backward pointer grow the name past its limit.
  std::string loopingLabels = std::string("\x03" "abc", 4);
  Put16(loopingLabels, static_cast<uint16_t>(0xC000 | self));
  EXPECT_NE(ErrorOf(withOwner(loopingLabels)).find("太长"), std::string::npos);
  // Label types 01 and 10 are not names.
  EXPECT_NE(ErrorOf(withOwner(std::string("\x41\x00", 2))).find("标签类型"), std::string::npos);
}

TEST(DnsMessage, RecordsMayNotRunPastTheReplyOrTheirOwnLength) {
  std::string reply = ReplyHead(kQuery, 0, 1) + MxAnswer(10, "mx.card.test");
  // The record's data length says one byte more than there is.
  std::string longer = reply;
  longer[ReplyHead(kQuery, 0, 1).size() + 11] += 1;
  EXPECT_NE(ErrorOf(longer).find("超出"), std::string::npos);
  // One byte more with a spare byte after the name: the name does not fill its record.
  longer += '\x01';
  EXPECT_NE(ErrorOf(longer).find("长度不对"), std::string::npos);
  // One byte less: the exchange name runs out of its record.
  std::string shorter = reply;
  shorter[ReplyHead(kQuery, 0, 1).size() + 11] -= 1;
  shorter += '\0';
  EXPECT_NE(ErrorOf(shorter).find("超出"), std::string::npos);
  // More answers announced than present.
  std::string missing = reply;
  missing[7] = 2;
  EXPECT_NE(ErrorOf(missing).find("超出"), std::string::npos);
}

TEST(DnsMessage, EveryTruncationAndByteChangeOfAReplyIsHandled) {
  const std::string full = ThreeAnswers();
  for (size_t n = 0; n < full.size(); ++n) {
    EXPECT_THROW(ParseMxReply(full.substr(0, n), 0x4242, "card.test"), DnsError) << "length " << n;
  }
  // Any single changed byte either parses or is refused with a DnsError, never anything else.
  for (size_t i = 0; i < full.size(); ++i) {
    for (int v : {0x00, 0x3F, 0x40, 0xC0, 0xFF}) {
      std::string changed = full;
      changed[i] = static_cast<char>(v);
      try {
        auto names = ParseMxReply(changed, 0x4242, "card.test");
        EXPECT_LE(names.size(), 3u);
      } catch (const DnsError&) {
      }
    }
  }
}
