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
