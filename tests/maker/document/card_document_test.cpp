#include "maker/document/card_document.h"

#include <gtest/gtest.h>

#include "maker/document/action_list.h"
#include "maker/document/element_lifecycle.h"

using namespace document;

TEST(CardDocument, StartsWithTheCardWindowOnly) {
  CardDocument doc;
  EXPECT_EQ(doc.window.width, 520);
  EXPECT_EQ(doc.window.height, 390);
  EXPECT_EQ(doc.window.cardTitle, "互动型贺卡");
  EXPECT_FALSE(doc.window.bkPic);
  EXPECT_FALSE(doc.window.yxPic);
  EXPECT_TRUE(doc.window.musicName.empty());
  EXPECT_EQ(kScreenPositions[static_cast<size_t>(doc.window.sPos)], "随机位置");
  EXPECT_EQ(kScreenPositions[static_cast<size_t>(doc.window.ePos)], "随机位置");
  EXPECT_EQ(kScreenPositions[2], "屏蔽正上方");
  EXPECT_TRUE(doc.window.suoScr);
  EXPECT_FALSE(doc.window.moveScr);
  EXPECT_EQ(doc.window.moveSD, "100");
  EXPECT_EQ(doc.selector, std::vector<std::string>{"贺卡窗口"});
  for (ElementKind k : kTableKinds) EXPECT_EQ(doc.Count(k), 0);
}

TEST(CardDocument, LockAndLoopMoveExcludeEachOther) {
  CardWindow w;
  w.SetMoveScr(true);
  EXPECT_TRUE(w.moveScr);
  EXPECT_FALSE(w.suoScr);
  w.SetSuoScr(true);
  EXPECT_TRUE(w.suoScr);
  EXPECT_FALSE(w.moveScr);
  w.SetSuoScr(false);
  EXPECT_FALSE(w.suoScr);
  EXPECT_FALSE(w.moveScr);
}

TEST(CardDocument, MoveSpeedFieldIsApplied) {
  CardWindow w;
  w.ApplyMoveSpeed("");
  EXPECT_EQ(w.moveSD, "100");
  w.ApplyMoveSpeed("0");
  EXPECT_EQ(w.moveSD, "10");
  w.ApplyMoveSpeed("250");
  EXPECT_EQ(w.moveSD, "250");
}

TEST(CardDocument, IndexLookupByTagGivesCountPlusOneWhenAbsent) {
  CardDocument doc;
  CreatelmTxt(doc);
  CreatelmTxt(doc);
  CreatelmTxt(doc);
  DellmTxt(doc, 1);  // Tag 3 moves to position 1
  EXPECT_EQ(GetlmtxtIndex(doc, 3), 1);
  EXPECT_EQ(GetlmtxtIndex(doc, 2), 2);
  EXPECT_EQ(GetlmtxtIndex(doc, 1), 3);
  EXPECT_EQ(GetSpeedbuttonIndex(doc, 1), 1);
  createlmscl(doc);
  EXPECT_EQ(getlmsclindex(doc, 1), 1);
  EXPECT_EQ(getlmsclindex(doc, 7), 2);
}

TEST(CardDocument, Crd3FlagFollowsSettingValue1Extension) {
  CardDocument doc;
  NoteSettingValue1(doc, "C:\\cards\\a.crd2");
  EXPECT_FALSE(doc.crd3);
  NoteSettingValue1(doc, "C:\\cards\\A.CRD3");
  EXPECT_TRUE(doc.crd3);
  NoteSettingValue1(doc, "C:\\x.txt");
  EXPECT_TRUE(doc.crd3);  // set until the document is cleared
  DelAll(doc);
  EXPECT_FALSE(doc.crd3);
}

TEST(CardDocument, ScrollTextIsLimitedTo3000Characters) {
  std::string chinese;
  for (int i = 0; i < 3001; ++i) chinese += "字";
  EXPECT_EQ(LimitScrollText(chinese).size(), 6000u);
  EXPECT_EQ(LimitScrollText(std::string(3005, 'a')).size(), 3000u);
  EXPECT_EQ(LimitScrollText("短"), "短");
}

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
