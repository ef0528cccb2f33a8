#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_dir.h"

using namespace platform::registry;

namespace {
// Each test gets its own store.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LMCARD_CONFIG_HOME", dir.HostPath().c_str(), 1); }
  testing_support::TempDir dir;
};
}  // namespace

TEST_F(RegistryTest, ValuesAreKeptPerHiveAndKeyWithoutRegardToCase) {
  EXPECT_FALSE(ReadString(Hive::CurrentUser, "Software\\Lumo", "Path").has_value());
  ASSERT_TRUE(WriteString(Hive::CurrentUser, "Software\\Lumo", "Path", "C:\\Lumo\\"));
  EXPECT_EQ(ReadString(Hive::CurrentUser, "SOFTWARE\\lumo", "path").value_or(""), "C:\\Lumo\\");
  EXPECT_FALSE(ReadString(Hive::LocalMachine, "Software\\Lumo", "Path").has_value());
  EXPECT_TRUE(KeyExists(Hive::CurrentUser, "Software"));
  EXPECT_FALSE(KeyExists(Hive::CurrentUser, "Soft"));
}

TEST_F(RegistryTest, EmptyValuesDefaultValuesAndAwkwardBytesSurvive) {
  ASSERT_TRUE(WriteString(Hive::LocalMachine, "K", "Empty", ""));
  ASSERT_TRUE(WriteString(Hive::LocalMachine, "K", "", "default"));
  ASSERT_TRUE(WriteString(Hive::LocalMachine, "K", "Odd", " \"quoted\" 100%\r\nnext "));
  EXPECT_EQ(ReadString(Hive::LocalMachine, "K", "Empty").value_or("absent"), "");
  EXPECT_EQ(ReadString(Hive::LocalMachine, "K", "").value_or(""), "default");
  EXPECT_EQ(ReadString(Hive::LocalMachine, "K", "Odd").value_or(""), " \"quoted\" 100%\r\nnext ");
  ASSERT_TRUE(DeleteValue(Hive::LocalMachine, "K", "Odd"));
  EXPECT_FALSE(ReadString(Hive::LocalMachine, "K", "Odd").has_value());
}
