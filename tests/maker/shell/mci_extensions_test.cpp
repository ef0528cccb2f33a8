#include "maker/shell/mci_extensions.h"

#include <gtest/gtest.h>

#include "maker/shell/shell_fixture.h"
#include "platform/registry.h"

using platform::registry::Hive;
namespace reg = platform::registry;

TEST(Checkreg, AddsMissingExtensionsAndLeavesPresentValuesAlone) {
  shell_fixture::ProgramFolderScope scope;
  ASSERT_TRUE(reg::WriteString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "wav", "MyWavePlayer"));
  cardshell::checkreg();
  EXPECT_EQ(reg::ReadString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "mp3"), "MPEGVideo");
  EXPECT_EQ(reg::ReadString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "wav"), "MyWavePlayer");
  EXPECT_EQ(reg::ReadString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "mid"), "Sequencer");
  EXPECT_EQ(reg::ReadString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "rmi"), "Sequencer");
  // The key is the same whatever case it is written in.
  EXPECT_EQ(reg::ReadString(Hive::LocalMachine, "\\software\\microsoft\\windows nt\\currentversion\\mci extensions",
                            "MP3"),
            "MPEGVideo");

  // A second start changes nothing, even a value the user set to something else.
  ASSERT_TRUE(reg::WriteString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "mp3", "Other"));
  cardshell::checkreg();
  EXPECT_EQ(reg::ReadString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "mp3"), "Other");
}

TEST(Checkreg, AStoreThatCannotBeWrittenIsIgnored) {
  shell_fixture::ProgramFolderScope scope;
  // The configuration folder is a file: the store can be neither read nor written.
  testing_support::WriteBytes(scope.File("blocked"), "x");
  setenv("LMCARD_CONFIG_HOME", (scope.Dir().HostPath() + "blocked").c_str(), 1);
  EXPECT_NO_THROW(cardshell::checkreg());
  EXPECT_FALSE(reg::ReadString(Hive::LocalMachine, cardshell::kMciExtensionsKey, "mp3").has_value());
}

TEST(Checkreg, DeviceTypesByExtension) {
  EXPECT_EQ(cardshell::MciDeviceFor("mid"), "Sequencer");
  EXPECT_EQ(cardshell::MciDeviceFor(".RMI"), "Sequencer");
  EXPECT_EQ(cardshell::MciDeviceFor("wav"), "WaveAudio");
  EXPECT_EQ(cardshell::MciDeviceFor("mp3"), "MPEGVideo");
}
