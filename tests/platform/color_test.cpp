#include "platform/color.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Color, RedLivesInTheLowByte) {
  EXPECT_EQ(Rgb(255, 0, 0), 0x0000FF);
  EXPECT_EQ(Rgb(1, 2, 3), 0x030201);
  EXPECT_EQ(RedOf(0x030201), 1);
  EXPECT_EQ(BlueOf(0x030201), 3);
}

TEST(Color, SystemColoursResolveToTheirClassicDefaults) {
  EXPECT_TRUE(IsSystemColor(kClBtnFace));
  EXPECT_EQ(kClBtnFace, -16777201);  // as settings files store it
  EXPECT_EQ(ResolveColor(kClBtnFace), Rgb(212, 208, 200));
  EXPECT_EQ(ResolveColor(kClInfoBk), Rgb(255, 255, 225));
  EXPECT_EQ(ResolveColor(kClWindowText), Rgb(0, 0, 0));
  EXPECT_EQ(ResolveColor(Rgb(10, 20, 30)), Rgb(10, 20, 30));
  EXPECT_EQ(ResolveColor(0x02FF0000), Rgb(0, 0, 255));  // the top byte of a plain value is dropped
}
