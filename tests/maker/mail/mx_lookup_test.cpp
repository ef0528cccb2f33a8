#include "maker/mail/mx_lookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "maker/mail/mail_peers.h"
#include "platform/message_pump.h"

using mail::DnsError;
using mail::GetMx;
using mail::ResolverSettings;
using mail_test::MiniDns;
using mail_test::MxAnswer;
using mail_test::ReplyHead;

namespace {

ResolverSettings At(uint16_t port) { return ResolverSettings{" 127.0.0.1 ", port}; }

// The name asked for in a query (labels after the 12-byte header), dotted.
std::string QuestionName(const std::string& q) {
  std::string name;
  for (size_t p = 12; p < q.size() && q[p] != 0; p += 1 + static_cast<uint8_t>(q[p])) {
    if (!name.empty()) name += '.';
    name += q.substr(p + 1, static_cast<uint8_t>(q[p]));
  }
  return name;
}

}  // namespace

TEST(MxLookup, DomainIsEverythingAfterTheFirstAt) {
  EXPECT_EQ(mail::DomainOf("me@mail.sub.card.test"), "mail.sub.card.test");
  EXPECT_EQ(mail::DomainOf("a@b@card.test"), "b@card.test");
  EXPECT_EQ(mail::DomainOf("nobody"), "");
}

TEST(MxLookup, DnsmasqRecordsAreFoundAndMissingDomainsRaise) {
  mail_test::Dnsmasq dns({"--mx-host=card.test,127.0.0.1,10", "--mx-host=mail.sub.card.test,mx.sub.card.test,5",
                          "--address=/gone.test/"});
  ASSERT_TRUE(dns.Ready());
  std::vector<std::string> list{"kept"};
  GetMx("friend@card.test", list, At(dns.Port()));
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "127.0.0.1"}));

  list.clear();
  GetMx("friend@mail.sub.card.test", list, At(dns.Port()));
  EXPECT_EQ(list, std::vector<std::string>{"mx.sub.card.test"});

  try {
    GetMx("friend@gone.test", list, At(dns.Port()));
    FAIL() << "a domain that does not exist must raise";
  } catch (const DnsError& e) {
    EXPECT_STREQ(e.what(), "DNS服务器报告错误：域名 gone.test 不存在。");
  }
}

TEST(MxLookup, AnAnswerTooLongForADatagramIsAskedForAgainOverTcp) {
  std::vector<std::string> records, expected;
  for (int i = 0; i < 30; ++i) {
    const std::string name = "mx-" + std::to_string(i) + "-exchanger-for-a-long-answer.big.test";
    records.push_back("--mx-host=big.test," + name + "," + std::to_string(10 + i));
    expected.push_back(name);
  }
  mail_test::Dnsmasq dns(records);
  ASSERT_TRUE(dns.Ready());
  std::vector<std::string> list;
  GetMx("friend@big.test", list, At(dns.Port()));
  std::sort(list.begin(), list.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(list, expected);
}

TEST(MxLookup, ThreeAnswersOutOfPreferenceOrderKeepTheReplyOrder) {
  MiniDns dns([](const std::string& q) {
    return ReplyHead(q, 0, 3) + MxAnswer(20, "mx20.card.test") + MxAnswer(10, "mx10.card.test") +
           MxAnswer(30, "mx30.card.test");
  });
  std::vector<std::string> list;
  GetMx("friend@card.test", list, At(dns.Port()));
  EXPECT_EQ(list, (std::vector<std::string>{"mx20.card.test", "mx10.card.test", "mx30.card.test"}));
  // The query went out for the domain after the first "@", as one recursive MX question.
  GetMx("odd@name@card.test", list, At(dns.Port()));
  EXPECT_EQ(QuestionName(dns.LastQuery()), "name@card.test");
  EXPECT_EQ(dns.LastQuery()[2] & 0x01, 0x01);
}

TEST(MxLookup, AReplyWithoutAnswersGivesTheDomainItself) {
  MiniDns dns([](const std::string& q) { return ReplyHead(q, 0, 0); });
  std::vector<std::string> list;
  GetMx("friend@plain.test", list, At(dns.Port()));
  EXPECT_EQ(list, std::vector<std::string>{"plain.test"});
}

TEST(MxLookup, MismatchedAndTruncatedRepliesRaise) {
  MiniDns wrongId([](const std::string& q) {
    std::string r = ReplyHead(q, 0, 1) + MxAnswer(1, "mx.card.test");
    r[0] = static_cast<char>(r[0] ^ 0x5A);
    return r;
  });
  std::vector<std::string> list;
  EXPECT_THROW(GetMx("friend@card.test", list, At(wrongId.Port())), DnsError);
  MiniDns truncated([](const std::string& q) { return (ReplyHead(q, 0, 1) + MxAnswer(1, "mx.card.test")).substr(0, 40); });
  EXPECT_THROW(GetMx("friend@card.test", list, At(truncated.Port())), DnsError);
  EXPECT_TRUE(list.empty());
}

TEST(MxLookup, ASilentServerTimesOutAfterFourSecondsWhileMessagesRun) {
  MiniDns silent([](const std::string&) { return std::nullopt; });
  int pumped = 0;
  auto previous = platform::SetMessagePump([&] { ++pumped; });
  std::vector<std::string> list;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(GetMx("friend@card.test", list, At(silent.Port())), platform::net::TimeoutError);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  platform::SetMessagePump(previous);
  EXPECT_GE(ms, 4000);
  EXPECT_LT(ms, 8000);
  EXPECT_GT(pumped, 4000 / platform::net::kWaitSliceMs / 2);  // messages ran all along the wait
  EXPECT_EQ(silent.Queries(), 1);
}

TEST(MxLookup, TheAbortFlagEndsTheWait) {
  MiniDns silent([](const std::string&) { return std::nullopt; });
  platform::net::AbortFlag abort;
  int pumped = 0;
  // The "stop button" is pressed while the lookup waits.
  auto previous = platform::SetMessagePump([&] {
    if (++pumped == 5) abort.Set();
  });
  ResolverSettings settings = At(silent.Port());
  settings.abort = &abort;
  std::vector<std::string> list;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(GetMx("friend@card.test", list, settings), platform::net::AbortedError);
  platform::SetMessagePump(previous);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(MxLookup, AnEmptyServerBoxRaises) {
  std::vector<std::string> list;
  EXPECT_THROW(GetMx("friend@card.test", list, ResolverSettings{"   "}), DnsError);
}
