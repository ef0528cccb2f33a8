#include "maker/shell/new_card.h"

#include <gtest/gtest.h>

#include "maker/document/element_lifecycle.h"
#include "maker/shell/shell_fixture.h"
#include "platform/bitmap.h"
#include "platform/bmp_codec.h"

using namespace cardshell;

namespace {

void WriteBmp(const std::string& path, int w, int h) {
  platform::SaveBmp(*platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24), path);
}

}  // namespace

TEST(NewCardDialog, ChecksRunInOrderAndNameTheFieldToFocus) {
  shell_fixture::ProgramFolderScope scope;
  NewCardSettings s;
  EXPECT_FALSE(CheckNewCard(s).has_value());  // the defaults are a valid card

  s.useBackground = true;
  s.backgroundPath = scope.File("bk.jpg");
  s.useMask = true;
  s.maskPath = scope.File("mask.bmp");
  s.widthText = "";
  s.heightText = "";
  auto p = CheckNewCard(s);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->message, "图片文件 " + scope.File("bk.jpg") + " 不存在，请重新定义背景图片位置。");
  EXPECT_EQ(p->field, NewCardField::BackgroundPath);

  WriteBmp(scope.File("bk.jpg"), 4, 4);
  p = CheckNewCard(s);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->message, "图片文件 " + scope.File("mask.bmp") + " 不存在，请重新定义掩饰图片位置。");
  EXPECT_EQ(p->field, NewCardField::MaskPath);

  WriteBmp(scope.File("mask.bmp"), 4, 4);
  p = CheckNewCard(s);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->message, "请输入正确的贺卡窗口宽度。");
  EXPECT_EQ(p->field, NewCardField::Width);

  s.widthText = "300";
  p = CheckNewCard(s);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->message, "请输入正确的贺卡窗口高度。");
  EXPECT_EQ(p->field, NewCardField::Height);

  // Unticked pictures are not checked; a zero or absurd size is not a window size.
  s = NewCardSettings{};
  s.backgroundPath = scope.File("nothing.jpg");
  s.widthText = "0";
  EXPECT_EQ(CheckNewCard(s)->field, NewCardField::Width);
  s.widthText = "99999999999";
  EXPECT_EQ(CheckNewCard(s)->field, NewCardField::Width);
}

TEST(NewCardDialog, SizeBoxesTakeDigitsAndBackspaceOnly) {
  EXPECT_TRUE(AcceptsSizeChar('0'));
  EXPECT_TRUE(AcceptsSizeChar('9'));
  EXPECT_TRUE(AcceptsSizeChar('\b'));
  EXPECT_FALSE(AcceptsSizeChar('-'));
  EXPECT_FALSE(AcceptsSizeChar('a'));
  EXPECT_FALSE(AcceptsSizeChar(' '));
}

TEST(NewCardDialog, OkClearsTheDesignAndSetsTheCardWindow) {
  shell_fixture::ProgramFolderScope scope;
  document::CardDocument doc;
  document::CreatelmTxt(doc);
  document::CreateSpeedbutton(doc);
  doc.window.bkPic = true;
  doc.window.bkPicName = "old.jpg";
  doc.window.yxPic = true;
  doc.window.yxPicName = "old.bmp";
  doc.window.cardTitle = "上一张贺卡";
  doc.window.musicName = "old.mid";
  doc.window.onClose = 2;

  WriteBmp(scope.File("bk.bmp"), 8, 8);
  NewCardSettings s;
  s.widthText = "640";
  s.heightText = "480";
  s.color = platform::Rgb(10, 20, 30);
  s.useBackground = true;
  s.backgroundPath = scope.File("bk.bmp");
  s.layout = 1;
  ASSERT_FALSE(CheckNewCard(s));
  ApplyNewCard(doc, s);

  EXPECT_EQ(doc.Count(document::ElementKind::Label), 0);
  EXPECT_EQ(doc.Count(document::ElementKind::Button), 0);
  EXPECT_EQ(doc.selector, (std::vector<std::string>{"贺卡窗口"}));
  EXPECT_FALSE(doc.selected.has_value());
  EXPECT_EQ(doc.window.icon, scope.Dir().Path() + "图标\\ICON26.ICO");
  EXPECT_EQ(doc.window.width, 640);
  EXPECT_EQ(doc.window.height, 480);
  EXPECT_EQ(doc.window.bkColor, platform::Rgb(10, 20, 30));
  EXPECT_TRUE(doc.window.bkPic);
  EXPECT_EQ(doc.window.bkPicName, scope.File("bk.bmp"));
  EXPECT_EQ(doc.window.bkPicSet, 1);
  EXPECT_FALSE(doc.window.yxPic);  // no mask: the plain rectangle
  EXPECT_EQ(doc.window.yxPicName, "");
  // Nothing of the previous card is carried over unseen.
  EXPECT_EQ(doc.window.cardTitle, document::CardWindow{}.cardTitle);
  EXPECT_EQ(doc.window.musicName, "");
  EXPECT_EQ(doc.window.onClose, 0);
}

TEST(NewCardDialog, AMaskOf300By200DecidesTheWindowSize) {
  shell_fixture::ProgramFolderScope scope;
  WriteBmp(scope.File("mask.bmp"), 300, 200);
  auto size = ReadMaskSize(scope.File("mask.bmp"));
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 300);
  EXPECT_EQ(size->height, 200);

  document::CardDocument doc;
  NewCardSettings s;
  s.widthText = "520";  // whatever the boxes showed before
  s.heightText = "390";
  s.useMask = true;
  s.maskPath = scope.File("mask.bmp");
  ASSERT_FALSE(CheckNewCard(s));
  ApplyNewCard(doc, s);
  EXPECT_EQ(doc.window.width, 300);
  EXPECT_EQ(doc.window.height, 200);
  EXPECT_TRUE(doc.window.yxPic);
  EXPECT_EQ(doc.window.yxPicName, scope.File("mask.bmp"));
  EXPECT_FALSE(doc.window.bkPic);

  EXPECT_FALSE(ReadMaskSize(scope.File("absent.bmp")));
}
