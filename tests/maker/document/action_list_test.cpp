#include "maker/document/action_list.h"

#include <gtest/gtest.h>

#include "maker/document/element_lifecycle.h"

using namespace document;

TEST(ActionList, ButtonOnCardWithTwoLabelsAndShowBox) {
  CardDocument doc;
  CreatelmTxt(doc);
  CreatelmTxt(doc);
  CreatelmTxt(doc);
  DellmTxt(doc, 2);
  CreatePics(doc);
  CreateSpeedbutton(doc);
  std::vector<std::string> list = BuildActionList(doc);
  ASSERT_EQ(list.size(), 4u + 3u + 2u);
  EXPECT_EQ(list[0], "无操作");
  EXPECT_EQ(list[3], "提示设置值2中的信息");
  EXPECT_EQ(list[4], "使图像展示框显示上一幅图像");
  EXPECT_EQ(list[6], "展示框显示序为设置值1的图像");
  EXPECT_EQ(list[7], "文本框1的内容改为设置值2中的值");
  EXPECT_EQ(list[8], "文本框3的内容改为设置值2中的值");
}

TEST(ActionList, WithoutShowBoxNamesImagesGifsAndFlashMovies) {
  CardDocument doc;
  for (int i = 0; i < 3; ++i) CreatelmFlash(doc, "a.swf");
  DellmFlash(doc, 1);
  std::vector<std::string> list = BuildActionList(doc);
  ASSERT_EQ(list.size(), 4u + 2u);
  EXPECT_EQ(list[3], "提示设置值2中的信息");
  // Position 1 now holds Tag 3, position 2 Tag 2.
  EXPECT_EQ(list[4], "Flash电影3改为设置1中的值");
  EXPECT_EQ(list[5], "Flash电影2改为设置1中的值");
  CreateWav(doc, "a.wav");
  CreateWav(doc, "b.wav");
  EXPECT_EQ(SoundChoices(doc), (std::vector<std::string>{"声音1", "声音2"}));
}
