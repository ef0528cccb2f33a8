#include "maker/shell/start_file.h"

#include <gtest/gtest.h>

using namespace cardshell;

TEST(StartFile, TheExtensionChoosesWhatTheMakerOpens) {
  EXPECT_EQ(StartFileKindOf("/home/u/贺卡/生日.lmcard2"), StartFileKind::Design);
  EXPECT_EQ(StartFileKindOf("C:\\卡\\新年.LMCARD"), StartFileKind::Ordinary);
  EXPECT_EQ(StartFileKindOf("新春.lmflash"), StartFileKind::FlashWizard);
  // A card file plays in its player, not in the maker; a folder named like a design is no design.
  EXPECT_EQ(StartFileKindOf("/tmp/x.crd2"), StartFileKind::None);
  EXPECT_EQ(StartFileKindOf("/tmp/a.lmcard2/b"), StartFileKind::None);
  EXPECT_EQ(StartFileKindOf(""), StartFileKind::None);
}
