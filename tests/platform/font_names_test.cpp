#include "platform/font_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/fonts.h"

using namespace platform::fonts;

TEST(FontNames, ChoosersOfferTheChineseCardNamesFirstAndEachResolves) {
  UseAliasFile(std::string(CARD_SOURCE_DIR) + "/data/fonts/fonts.conf");
  const std::vector<std::string> offered = ChooserFamilies();
  // Every card name the suite knows resolves here through the shipped aliases, in the list's order.
  ASSERT_GE(offered.size(), CardFontNames().size());
  EXPECT_TRUE(std::equal(CardFontNames().begin(), CardFontNames().end(), offered.begin()));
  for (const char* name : {"宋体", "黑体", "楷体", "仿宋", "隶书", "幼圆", "华文行楷"}) {
    EXPECT_NE(std::find(offered.begin(), offered.end(), name), offered.end()) << name;
  }
  EXPECT_EQ(HostFamilyFor("仿宋"), "AR PL UMing CN");
  EXPECT_EQ(HostFamilyFor("幼圆"), "WenQuanYi Zen Hei");
  // The host's own families follow, each once.
  const auto host = std::find(offered.begin(), offered.end(), "AR PL UKai CN");
  ASSERT_NE(host, offered.end());
  EXPECT_GE(host - offered.begin(), static_cast<long>(CardFontNames().size()));
  EXPECT_EQ(std::set<std::string>(offered.begin(), offered.end()).size(), offered.size());
}
