#include "maker/mail/dns_discovery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "platform/registry.h"
#include "support/temp_dir.h"

using mail::DnsServerFromRegistry;
using platform::registry::Hive;
using platform::registry::WriteString;

namespace {

constexpr const char* kNtKey = "\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr const char* kOldKey = "\\System\\CurrentControlSet\\Services\\VxD\\MSTCP";

void Card(int n, const std::string& service, std::optional<std::string> nameServer) {
  WriteString(Hive::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\" + std::to_string(n),
              "ServiceName", service);
  if (nameServer) {
    WriteString(Hive::LocalMachine, "\\SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\" + service,
                "NameServer", *nameServer);
  }
}

// Each test gets its own registry store.
class DnsDiscovery : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LMCARD_CONFIG_HOME", dir.HostPath().c_str(), 1); }
  testing_support::TempDir dir;
};

}  // namespace

TEST_F(DnsDiscovery, TheFirstOfACommaListIsTaken) {
  WriteString(Hive::LocalMachine, kNtKey, "NameServer", "10.0.0.1,10.0.0.2");
  EXPECT_EQ(DnsServerFromRegistry(true), "10.0.0.1");
  // Only commas separate; blanks stay part of the entry.
  WriteString(Hive::LocalMachine, kNtKey, "NameServer", "10.0.0.1 10.0.0.2");
  EXPECT_EQ(DnsServerFromRegistry(true), "10.0.0.1 10.0.0.2");
  // The older platform family reads its own key.
  EXPECT_EQ(DnsServerFromRegistry(false), "");
  WriteString(Hive::LocalMachine, kOldKey, "NameServer", "192.168.1.1,");
  EXPECT_EQ(DnsServerFromRegistry(false), "192.168.1.1");
}

TEST_F(DnsDiscovery, ShortValuesMoveOnToTheNetworkCards) {
  WriteString(Hive::LocalMachine, kNtKey, "NameServer", "ab");
  // Card 1 has no key at all, card 2 an empty value, card 3 the server.
  Card(2, "{SERVICE-2}", "");
  Card(3, "{SERVICE-3}", "172.16.0.53,172.16.0.54");
  EXPECT_EQ(DnsServerFromRegistry(true), "172.16.0.53");
  // A card with a usable value stops the search.
  Card(1, "{SERVICE-1}", "10.1.1.1");
  EXPECT_EQ(DnsServerFromRegistry(true), "10.1.1.1");
}

TEST_F(DnsDiscovery, AnEmptyRegistryFallsBackToTheHostResolverConfiguration) {
  EXPECT_EQ(DnsServerFromRegistry(true), "");
  const std::string conf = dir.HostPath() + "resolv.conf";
  testing_support::WriteBytes(dir.File("resolv.conf"),
                              "# generated\n; also a comment\nsearch lan\nnameservers-not 1.1.1.1\n"
                              "  nameserver\t10.9.8.7  # first\nnameserver 10.9.8.6\n");
  EXPECT_EQ(mail::DiscoverDnsServer(conf), "10.9.8.7");
  EXPECT_EQ(mail::DiscoverDnsServer(dir.HostPath() + "missing.conf"), "");
  // The registry wins when it holds a server.
  WriteString(Hive::LocalMachine, kNtKey, "NameServer", "10.0.0.1");
  EXPECT_EQ(mail::DiscoverDnsServer(conf), "10.0.0.1");
}

TEST(ResolverConfiguration, FirstNameServerLine) {
  EXPECT_EQ(mail::FirstNameServer("nameserver ::1\r\nnameserver 10.0.0.2\r\n"), "::1");
  EXPECT_EQ(mail::FirstNameServer("nameserver\nnameserver 10.0.0.2"), "10.0.0.2");
  EXPECT_EQ(mail::FirstNameServer("#nameserver 10.0.0.1\n"), "");
  EXPECT_EQ(mail::FirstNameServer(""), "");
}
