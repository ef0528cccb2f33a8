#include "maker/document/element_lifecycle.h"

#include <gtest/gtest.h>

#include "document_fixture.h"
#include "maker/document/action_list.h"
#include "maker/document/stacking.h"
#include "platform/error.h"

using namespace document;
using document_test::DocumentTest;

namespace {
std::vector<int> Tags(const auto& table) {
  std::vector<int> t;
  for (const auto& e : table) t.push_back(e.Tag());
  return t;
}
}  // namespace

TEST(ElementLifecycle, NewLabelsTakeConsecutiveTagsAndZorderValues) {
  CardDocument doc;
  CreateSpeedbutton(doc);  // Zorder 1
  int a = CreatelmTxt(doc);
  int b = CreatelmTxt(doc);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(doc.labels[0].control.caption, "文本框1");
  EXPECT_EQ(doc.labels[1].control.hint, "文本框2");
  EXPECT_EQ(doc.labels[0].rec.Ind, 2);
  EXPECT_EQ(doc.labels[1].rec.Ind, 3);
  EXPECT_EQ(doc.zorder, 3);
  EXPECT_EQ(doc.selected, (ElementRef{ElementKind::Label, 2}));
}

TEST_F(DocumentTest, EveryKindStartsWithItsDefaults) {
  CardDocument doc;
  doc.designerFont.name = "Tahoma";
  std::string bmp = Make("p.bmp", document_test::BmpBytes(33, 44));
  std::string gif = Make("a.gif", document_test::GifBytes(50, 60));

  CreatelmTxt(doc);
  const ElementControl& l = doc.labels[0].control;
  EXPECT_EQ(l.rect, (Rect{0, 0, 120, 120}));
  EXPECT_TRUE(l.transparent);
  EXPECT_EQ(l.font.name, "宋体");
  EXPECT_EQ(l.font.size, 9);
  EXPECT_EQ(l.font.color, 0);

  CreateSpeedbutton(doc);
  EXPECT_EQ(doc.buttons[0].control.rect, (Rect{0, 0, 68, 20}));
  EXPECT_EQ(doc.buttons[0].control.font.name, "Tahoma");
  EXPECT_EQ(doc.buttons[0].control.caption, "浮动按钮1");

  CreateLmImage(doc, bmp);
  EXPECT_EQ(doc.images[0].control.rect, (Rect{0, 0, 33, 44}));
  EXPECT_TRUE(doc.images[0].control.stretch);
  EXPECT_EQ(doc.images[0].rec.Filename, bmp);

  CreateLmGif(doc, gif);
  EXPECT_EQ(doc.gifs[0].control.rect, (Rect{0, 0, 50, 60}));
  EXPECT_EQ(doc.selector.back(), "GIF 动画1");

  CreateWav(doc, "x.wav");
  EXPECT_EQ(doc.wavs[0].control.rect, (Rect{0, 0, 32, 32}));
  CreatelmFlash(doc, "m.swf");
  EXPECT_EQ(doc.flashes[0].control.rect, (Rect{0, 0, 400, 300}));
  EXPECT_EQ(doc.flashes[0].rec.Ind, 5);  // sounds take no Zorder value

  createlmscl(doc);
  const SclElement& s = doc.scls[0];
  EXPECT_EQ(s.control.rect, (Rect{0, 0, 200, 150}));
  EXPECT_EQ(s.control.timerInterval, 100);
  EXPECT_EQ(s.control.timerTag, 1);
  EXPECT_TRUE(s.control.transparent);
  EXPECT_EQ(s.rec.BKColor, 16777215);
  EXPECT_EQ(s.rec.Way, 0);
  EXPECT_EQ(s.rec.Text, "滚动字幕1");

  CreatePics(doc);
  ASSERT_TRUE(doc.picsBox);
  EXPECT_EQ(doc.picsBox->rect, (Rect{0, 0, 400, 300}));
  EXPECT_EQ(doc.picsBox->effectId, 0);
  EXPECT_EQ(doc.picsDat.Inv, 5);
  EXPECT_EQ(doc.selector, (std::vector<std::string>{"贺卡窗口", "文本框1", "浮动按钮1", "图片1", "GIF 动画1",
                                                    "声音1", "Flash电影1", "滚动字幕1", "图像展示框"}));
}

TEST_F(DocumentTest, PictureThatCannotBeLoadedLeavesNothingBehind) {
  CardDocument doc;
  std::string bad = Make("bad.jpg", "not a picture");
  EXPECT_THROW(CreateLmImage(doc, bad), platform::LoadError);
  EXPECT_THROW(CreateLmGif(doc, dir.File("missing.gif")), platform::LoadError);
  EXPECT_EQ(doc.Count(ElementKind::Image), 0);
  EXPECT_EQ(doc.numbering.image, 0);
  EXPECT_EQ(doc.zorder, 0);
  EXPECT_EQ(doc.selector.size(), 1u);
}

TEST_F(DocumentTest, ImagePathRuleLooksInTheProgramFolder) {
  CardDocument doc;
  Make("pic.jpg", document_test::JpegBytes(640, 480));
  CreateLmImage(doc, "pic.jpg");  // relative, and not found from the working folder
  EXPECT_EQ(doc.images[0].control.picture, dir.File("pic.jpg"));
  EXPECT_EQ(doc.images[0].control.rect, (Rect{0, 0, 640, 480}));
}

TEST(ElementLifecycle, DeletingMovesTheLastElementIntoTheGap) {
  CardDocument doc;
  for (int i = 0; i < 3; ++i) CreatelmTxt(doc);
  doc.labels[2].control.caption = "third";
  doc.labels[2].control.rect = {5, 6, 7, 8};
  doc.labels[2].rec.Cmd = "结束贺卡运行";
  DellmTxt(doc, 1);
  EXPECT_EQ(Tags(doc.labels), (std::vector<int>{3, 2}));
  EXPECT_EQ(doc.labels[0].control.caption, "third");
  EXPECT_EQ(doc.labels[0].control.hint, "文本框3");
  EXPECT_EQ(doc.labels[0].control.rect, (Rect{5, 6, 7, 8}));
  EXPECT_EQ(doc.labels[0].rec.Cmd, "结束贺卡运行");
  EXPECT_EQ(doc.labels[0].rec.Ind, 3);
  EXPECT_EQ(doc.labels[1].rec.Ind, 2);
  EXPECT_EQ(doc.selector, (std::vector<std::string>{"贺卡窗口", "文本框2", "文本框3"}));
  EXPECT_EQ(CreatelmTxt(doc), 4);
}

TEST(ElementLifecycle, DeletingTheOnlyElementKeepsTheCounter) {
  CardDocument doc;
  createlmscl(doc);
  createlmscl(doc);
  DelLmScl(doc, 2);
  DelLmScl(doc, 1);
  EXPECT_EQ(doc.Count(ElementKind::Scl), 0);
  EXPECT_EQ(doc.numbering.scl, 2);
  EXPECT_EQ(createlmscl(doc), 3);
}

TEST(ElementLifecycle, DeletingAnUnknownTagChangesNoTable) {
  CardDocument doc;
  CreateSpeedbutton(doc);
  CreateSpeedbutton(doc);
  DelSpeedbutton(doc, 9);
  EXPECT_EQ(Tags(doc.buttons), (std::vector<int>{1, 2}));
  EXPECT_EQ(doc.selector.size(), 3u);
}

TEST(ElementLifecycle, DelAllStartsNumberingAfresh) {
  CardDocument doc;
  doc.window.cardTitle = "保留";
  CreatelmTxt(doc);
  CreatePics(doc);
  doc.picsDat.pictures = {"a.jpg"};
  doc.picsDat.Inv = 9;
  DelAll(doc);
  EXPECT_EQ(doc.selector, std::vector<std::string>{"贺卡窗口"});
  EXPECT_FALSE(doc.picsBox);
  EXPECT_TRUE(doc.picsDat.pictures.empty());
  EXPECT_EQ(doc.picsDat.Inv, 5);
  EXPECT_FALSE(doc.selected);
  EXPECT_EQ(doc.window.cardTitle, "保留");
  CreatelmTxt(doc);
  EXPECT_EQ(doc.labels[0].Tag(), 1);
  EXPECT_EQ(doc.labels[0].rec.Ind, 1);
}

TEST(ElementLifecycle, DeleteCommandFindsTheKindByLeadingBytes) {
  struct Case {
    const char* entry;
    ElementKind kind;
    int tag;
  } cases[] = {{"Flash电影2", ElementKind::Flash, 2}, {"滚动字幕10", ElementKind::Scl, 10},
               {"浮动按钮3", ElementKind::Button, 3},  {"GIF 动画15", ElementKind::Gif, 15},
               {"图像展示框", ElementKind::Pics, 0},   {"文本框7", ElementKind::Label, 7},
               {"图片4", ElementKind::Image, 4},       {"声音12", ElementKind::Wav, 12}};
  for (const Case& c : cases) {
    auto ref = ParseSelectorEntry(c.entry);
    ASSERT_TRUE(ref) << c.entry;
    EXPECT_EQ(ref->kind, c.kind) << c.entry;
    EXPECT_EQ(ref->tag, c.tag) << c.entry;
  }
  EXPECT_FALSE(ParseSelectorEntry("贺卡窗口"));
  EXPECT_FALSE(ParseSelectorEntry("文本框"));  // no Tag after the prefix
  EXPECT_THROW(ParseSelectorEntry("文本框x"), platform::ConvertError);
}

TEST_F(DocumentTest, DeleteCommandOnGifAndShowBox) {
  CardDocument doc;
  std::string gif = Make("a.gif", document_test::GifBytes(10, 10));
  for (int i = 0; i < 15; ++i) CreateLmGif(doc, gif);
  CreatePics(doc);
  doc.picsDat.Hint = "h";
  doc.picsDat.pictures = {"1.jpg", "2.jpg"};
  EXPECT_TRUE(DeleteSelectorEntry(doc, "GIF 动画15"));
  EXPECT_EQ(doc.Count(ElementKind::Gif), 14);
  EXPECT_EQ(GETLMGIFINDEX(doc, 15), 15);
  EXPECT_FALSE(doc.selected);
  EXPECT_TRUE(DeleteSelectorEntry(doc, "图像展示框"));
  EXPECT_FALSE(doc.picsBox);
  EXPECT_TRUE(doc.picsDat.pictures.empty());
  EXPECT_TRUE(doc.picsDat.Hint.empty());
  EXPECT_EQ(doc.selector.back(), "GIF 动画14");
}

TEST_F(DocumentTest, SecondShowBoxIsRefusedWithTheMessage) {
  CardDocument doc;
  EXPECT_TRUE(InsertPics(doc));
  CreatelmTxt(doc);
  auto before = doc.selector;
  EXPECT_FALSE(InsertPics(doc));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "每个贺卡中只允许一个“图像展示框”存在。");
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_EQ(doc.selector, before);
}

TEST_F(DocumentTest, A161stElementIsRefused) {
  CardDocument doc;
  for (int i = 0; i < kMaxElements; ++i) CreateWav(doc, "a.wav");
  EXPECT_FALSE(CanInsert(doc, ElementKind::Wav));
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0], "每个贺卡中最多只允许160个“声音”存在。");
  EXPECT_THROW(CreateWav(doc, "a.wav"), platform::Error);
  EXPECT_EQ(doc.Count(ElementKind::Wav), kMaxElements);
  EXPECT_EQ(doc.numbering.wav, kMaxElements);
  EXPECT_TRUE(CanInsert(doc, ElementKind::Label));
}
