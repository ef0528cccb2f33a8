#include "platform/net.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "maker/mail/mail_peers.h"
#include "platform/message_pump.h"

using namespace platform::net;
using mail_test::ScriptedTcpPeer;

namespace {

// Counts the pending-message rounds while it is installed, and runs an action at a chosen one.
class Pump {
 public:
  explicit Pump(std::function<void(int)> action = {}) : action_(std::move(action)) {
    previous_ = platform::SetMessagePump([this] {
      ++rounds;
      if (action_) action_(rounds);
    });
  }
  ~Pump() { platform::SetMessagePump(previous_); }
  int rounds = 0;

 private:
  std::function<void(int)> action_;
  std::function<void()> previous_;
};

}  // namespace

TEST(Net, TcpCarriesLargeDataBothWaysAndSeesThePeerClose) {
  ScriptedTcpPeer peer("hello from the peer\r\n");
  TcpConnection c;
  c.Connect("127.0.0.1", peer.Port(), 2000);
  ASSERT_TRUE(c.IsOpen());
  EXPECT_EQ(c.Peer(), "127.0.0.1:" + std::to_string(peer.Port()));
  std::string got;
  while (got.size() < 21) got += c.ReceiveSome(4, 2000);
  EXPECT_EQ(got, "hello from the peer\r\n");
  std::string big(4 * 1024 * 1024 + 3, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  c.SendAll(big, 5000);
  c.Close();
  EXPECT_FALSE(c.IsOpen());
  EXPECT_TRUE(peer.Received() == big);
}

TEST(Net, AClosedPeerReadsAsEmpty) {
  ScriptedTcpPeer peer("bye", false);
  TcpConnection c;
  c.Connect("127.0.0.1", peer.Port(), 2000);
  EXPECT_EQ(c.ReceiveSome(10, 2000), "bye");
  peer.Stop();
  EXPECT_EQ(c.ReceiveSome(10, 2000), "");
}

TEST(Net, WaitsTimeOutInSlicesThatLetMessagesRun) {
  ScriptedTcpPeer silent("");
  TcpConnection c;
  c.Connect("127.0.0.1", silent.Port(), 2000);
  Pump pump;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(c.ReceiveSome(10, 300), TimeoutError);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_GE(pump.rounds, 300 / kWaitSliceMs - 2);
}

TEST(Net, TheAbortFlagEndsASendThatThePeerDoesNotTake) {
  ScriptedTcpPeer deaf("", false);  // never reads: the send fills every buffer and waits
  TcpConnection c;
  c.Connect("127.0.0.1", deaf.Port(), 2000);
  AbortFlag abort;
  Pump pump([&](int round) {
    if (round == 50) abort.Set();
  });
  std::string big(64 * 1024 * 1024, 'x');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(c.SendAll(big, 30000, &abort), AbortedError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(Net, NobodyListeningIsAnErrorForTcpAndUdp) {
  const uint16_t port = mail_test::FreePort();
  TcpConnection c;
  EXPECT_THROW(c.Connect("127.0.0.1", port, 2000), NetError);
  EXPECT_FALSE(c.IsOpen());
  UdpSocket u;
  u.Connect("127.0.0.1", port, 2000);
  u.Send("ping");
  EXPECT_THROW(u.Receive(2000), NetError);
}

TEST(Net, UdpExchangesOneDatagramWithItsPeer) {
  mail_test::MiniDns echo([](const std::string& q) { return "echo:" + q; });
  UdpSocket u;
  u.Connect("127.0.0.1", echo.Port(), 2000);
  u.Send(std::string("a\0b", 3));
  EXPECT_EQ(u.Receive(2000), std::string("echo:a\0b", 8));
}

TEST(Net, ASlowNameLookupIsBoundedByTheTimeOutAndTheAbortFlagWhileMessagesRun) {
  // A name server that takes three seconds; the lookup runs where it cannot hold up the waits.
  auto previous = SetAddressLookup([](const std::string&, uint16_t port, int socktype) {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    return SystemLookup("127.0.0.1", port, socktype);
  });
  {
    Pump pump;
    UdpSocket u;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(u.Connect("slow.test", 53, 300), TimeoutError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    EXPECT_GE(pump.rounds, 5);  // messages ran all along the wait
  }
  {
    AbortFlag abort;
    Pump pump([&](int round) {
      if (round == 10) abort.Set();
    });
    TcpConnection c;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(c.Connect("slow.test", 25, 30000, &abort), AbortedError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
  }
  SetAddressLookup(previous);
  // The system's resolver answers for names as before.
  ScriptedTcpPeer peer("hi");
  TcpConnection c;
  c.Connect("localhost", peer.Port(), 5000);
  EXPECT_TRUE(c.IsOpen());
}
