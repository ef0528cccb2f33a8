#include "maker/document/design_file.h"

#include <gtest/gtest.h>

#include "document_fixture.h"
#include "maker/document/element_lifecycle.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

using namespace document;
using document_test::DocumentTest;

namespace {

platform::FontSpec Font(const char* name, int size, int color, bool b, bool i, bool u, bool s) {
  platform::FontSpec f;
  f.name = name;
  f.size = size;
  f.color = color;
  f.bold = b;
  f.italic = i;
  f.underline = u;
  f.strikeOut = s;
  return f;
}

CardDocument ReadBack(const std::string& path) {
  CardDocument doc;
  Loadfileset(doc, path);
  return doc;
}

}  // namespace

class DesignFileTest : public DocumentTest {
 protected:
  // A design that sets every property of every kind to a value other than its default.
  CardDocument FullDesign() {
    CardDocument doc;
    CardWindow& w = doc.window;
    w.cardTitle = "生日快乐";
    w.width = 640;
    w.height = 480;
    w.bkColor = 255;
    w.showTitbar = true;
    w.bkPic = true;
    w.bkPicName = Make("bk.jpg", document_test::JpegBytes(8, 8));
    w.bkPicSet = 2;
    w.yxPic = true;
    w.yxPicName = Make("mask.bmp", document_test::BmpBytes(8, 8));
    w.musicName = Make("song.mid", "MThd");
    w.icon = dir.File("card.ico");
    w.onLoad = 1;
    w.onLoadSet = "http://example.com/";
    w.onClose = 2;
    w.onCloseSet = "再见";
    w.sPos = 3;
    w.ePos = 9;
    w.SetMoveScr(true);
    w.moveSD = "250";
    std::string action = Make("act.txt", "x");

    CreatelmTxt(doc);
    CreatelmTxt(doc);
    DellmTxt(doc, 1);  // Tags need not start at 1
    LabelElement& l = doc.labels[0];
    l.control.caption = "第一行\r\n第二行";
    l.control.font = Font("隶书", 14, 128, true, true, true, true);
    l.control.rect = {10, 20, 30, 40};
    l.rec = {"标签提示", action, "打开设置值1中的文件", "甲\r\n乙", 1, l.rec.Ind, 1};

    CreateSpeedbutton(doc);
    ButtonElement& b = doc.buttons[0];
    b.control.caption = "按下";
    b.control.font = Font("宋体", 11, 65280, false, true, false, true);
    b.control.rect = {1, 2, 3, 4};
    b.rec = {"按钮提示", "消息\r\n两行", action, "提示设置值2中的信息", 2, b.rec.Ind, 1};

    CreateLmImage(doc, Make("p.bmp", document_test::BmpBytes(33, 44)));
    ImageElement& im = doc.images[0];
    im.control.rect = {5, 6, 33, 44};
    im.control.autoSize = true;
    im.control.stretch = false;
    im.rec.Hint = "图片提示";
    im.rec.Text = "t";
    im.rec.Pic = action;
    im.rec.Cmd = "结束贺卡运行";
    im.rec.Cursor = 1;
    im.rec.Wav = 1;

    CreateLmGif(doc, Make("a.gif", document_test::GifBytes(50, 60)));
    GifElement& g = doc.gifs[0];
    g.control.rect = {7, 8, 90, 91};
    g.rec.Hint = "动画";
    g.rec.Text = "gif\r\ntext";
    g.rec.Pic = "http://example.com/x";
    g.rec.Cmd = "打开设置值1中的文件";
    g.rec.Cursor = 2;

    CreateWav(doc, Make("s.wav", "RIFF"));
    CreatelmFlash(doc, dir.File("m.swf"));
    doc.flashes[0].control.rect = {11, 12, 13, 14};

    createlmscl(doc);
    SclElement& s = doc.scls[0];
    s.control.rect = {15, 16, 17, 18};
    s.control.transparent = false;
    s.control.timerInterval = 55;
    s.rec.Text = "第一行\r\n第二行";
    s.rec.Font = Font("华文行楷", 20, 4210752, true, false, true, false);
    s.rec.BKColor = 8421504;
    s.rec.Way = 3;
    s.rec.Pic = Make("sclbk.bmp", document_test::BmpBytes(2, 2));

    CreatePics(doc);
    doc.picsBox->rect = {100, 110, 120, 130};
    doc.picsBox->randPic = true;
    doc.picsBox->effectId = 19;
    doc.picsDat.Hint = "展示";
    doc.picsDat.Cursor = 1;
    doc.picsDat.Inv = 7;
    doc.picsDat.BkCor = 12345;
    doc.picsDat.Clk = true;
    doc.picsDat.pictures = {dir.File("1.jpg"), dir.File("2.jpg")};
    return doc;
  }
};

TEST_F(DesignFileTest, EveryKindWithEveryPropertyRoundTrips) {
  CardDocument doc = FullDesign();
  std::string path = dir.File("card.lmcard2");
  ASSERT_TRUE(lmsavefile(doc, path));
  CardDocument back = ReadBack(path);

  EXPECT_EQ(back.window.cardTitle, doc.window.cardTitle);
  EXPECT_EQ(back.window.bkPicName, doc.window.bkPicName);
  EXPECT_EQ(back.window.yxPicName, doc.window.yxPicName);
  EXPECT_EQ(back.window.musicName, doc.window.musicName);
  EXPECT_EQ(back.window.onLoadSet, doc.window.onLoadSet);
  // Every window field at once, after the field checks above say which one went wrong.
  CardWindow expectWindow = doc.window;
  EXPECT_TRUE(back.window.showTitbar == expectWindow.showTitbar && back.window.bkPic && back.window.yxPic &&
              back.window.bkPicSet == 2 && back.window.width == 640 && back.window.height == 480 &&
              back.window.bkColor == 255 && back.window.icon == expectWindow.icon && back.window.onLoad == 1 &&
              back.window.onClose == 2 && back.window.onCloseSet == "再见" && back.window.sPos == 3 &&
              back.window.ePos == 9 && !back.window.suoScr && back.window.moveScr && back.window.moveSD == "250");

  EXPECT_EQ(back.labels, doc.labels);
  EXPECT_EQ(back.buttons, doc.buttons);
  EXPECT_EQ(back.images, doc.images);
  EXPECT_EQ(back.gifs, doc.gifs);
  EXPECT_EQ(back.wavs, doc.wavs);
  EXPECT_EQ(back.flashes, doc.flashes);
  EXPECT_EQ(back.scls, doc.scls);
  EXPECT_EQ(back.picsBox, doc.picsBox);
  EXPECT_EQ(back.picsDat, doc.picsDat);
  EXPECT_EQ(back.labels[0].Tag(), 2);
  EXPECT_EQ(back.numbering.label, 2);
  EXPECT_FALSE(back.selected);
  // Saving the read design again gives the same file.
  // Creating the Flash movie and the caption advanced Zorder past the stored value.
  EXPECT_EQ(back.zorder, doc.zorder + 2);
  back.zorder = doc.zorder;
  std::string again = dir.File("again.lmcard2");
  ASSERT_TRUE(lmsavefile(back, again));
  EXPECT_EQ(testing_support::ReadBytes(again), testing_support::ReadBytes(path));
}

TEST_F(DesignFileTest, WriterOutputForASmallDesignIsExact) {
  CardDocument doc;
  doc.window.cardTitle = "测试";
  doc.window.width = 300;
  doc.window.height = 200;
  doc.window.bkColor = 255;
  CreatelmTxt(doc);
  LabelElement& l = doc.labels[0];
  l.control.caption = "第一行\r\n第二行";
  l.control.font.bold = true;
  l.control.font.italic = true;
  l.rec.Hint = "提示";
  l.rec.Cursor = 1;
  l.rec.Cmd = "结束贺卡运行";
  std::string path = dir.File("small.lmcard2");
  ASSERT_TRUE(lmsavefile(doc, path));
  const char* expected =
      "[Application]\r\nLabelCount=1\r\nButtonCount=0\r\nImageCount=0\r\nGIFCount=0\r\nWavCount=0\r\n"
      "AviCount=0\r\nFlashCount=0\r\nlmsclCount=0\r\nZorder=1\r\nWidth=300\r\nHeight=200\r\nBkColor=255\r\n"
      "CardTitle=测试\r\nBkPic=-1\r\nBkPicSet=0\r\nYxPic=-1\r\nYxPicName=\r\nMusicName=\r\nOnLoad=0\r\n"
      "OnLoadSet=\r\nOnClose=0\r\nOnCloseSet=\r\nICON=\r\nSPos=0\r\nEPos=0\r\nSuoScr=1\r\nMoveSD=100\r\n"
      "[Label1]\r\nCaption=第一行<%BR%>第二行\r\nFontName=宋体\r\nFontSize=9\r\nFontColor=0\r\n"
      "FontBold=True\r\nFontItlic=True\r\nHint=提示\r\nCursor=1\r\nLeft=0\r\nTop=0\r\nWidth=120\r\n"
      "Height=120\r\nTag=1\r\nCmd=结束贺卡运行\r\nText=\r\nInd=1\r\nWav=0\r\nPicUrl=-1\r\nPic=\r\n"
      "[PicsBox]\r\nUse=False\r\n";
  EXPECT_EQ(testing_support::ReadBytes(path), expected);
}

TEST_F(DesignFileTest, MediaIdsFollowTheWritersList) {
  CardDocument doc;
  doc.window.bkPic = true;
  doc.window.bkPicName = dir.File("BK.jpg");  // used but missing: still id 0
  doc.window.musicName = Make("m.mid", "MThd");
  std::string shared = Make("shared.txt", "x");
  CreatelmTxt(doc);
  doc.labels[0].rec.Pic = shared;
  CreatelmTxt(doc);
  doc.labels[1].rec.Pic = shared;  // same file: same id
  CreatelmTxt(doc);
  doc.labels[2].rec.Pic = shared;
  doc.labels[2].rec.Cmd = "打开设置值1中的文件";
  std::string path = dir.File("ids.lmcard2");
  ASSERT_TRUE(lmsavefile(doc, path));
  EXPECT_EQ(doc.mediaList, (std::vector<std::string>{platform::AsciiLower(dir.File("BK.jpg")),
                                                     platform::AsciiLower(doc.window.musicName),
                                                     platform::AsciiLower(shared)}));
  auto get = [&](const char* s, const char* k) { return platform::profile::GetString(path, s, k, "absent"); };
  EXPECT_EQ(get("Application", "BkPic"), "0");
  EXPECT_EQ(get("Application", "Music"), "1");
  EXPECT_EQ(get("Label1", "PicUrl"), "2");
  EXPECT_EQ(get("Label2", "PicUrl"), "2");
  EXPECT_EQ(get("Label3", "PicUrl"), "2");  // the id is looked up whatever the action
  doc.window.bkPic = false;
  ASSERT_TRUE(lmsavefile(doc, path));
  EXPECT_EQ(get("Application", "BkPic"), "-1");
  EXPECT_EQ(get("Application", "BkPicName"), "absent");
  EXPECT_EQ(get("Application", "BkPicSet"), "0");
  EXPECT_EQ(get("Application", "YxPicName"), "");
}

TEST_F(DesignFileTest, CaptionPiecesAndBlanksAtTheirEnds) {
  CardDocument doc;
  createlmscl(doc);
  std::string text = std::string(999, 'a') + " " + std::string(1000, 'b') + std::string(500, 'c');
  doc.scls[0].rec.Text = text;
  std::vector<std::string> pieces = CaptionPieces(text);
  EXPECT_EQ(pieces[0], "\"" + std::string(999, 'a') + " \"");
  EXPECT_EQ(pieces[1], std::string(1000, 'b'));
  EXPECT_EQ(pieces[2], std::string(500, 'c'));
  std::string path = dir.File("scl.lmcard2");
  ASSERT_TRUE(lmsavefile(doc, path));
  EXPECT_EQ(ReadBack(path).scls[0].rec.Text, text);

  // Line breaks count with their six-byte marker; bytes after the 3000th are not stored.
  doc.scls[0].rec.Text = "一\r\n二 " + std::string(3000, 'x');
  ASSERT_TRUE(lmsavefile(doc, path));
  std::string stored = ReadBack(path).scls[0].rec.Text;
  EXPECT_EQ(stored, "一\r\n二 " + std::string(3000 - 11, 'x'));
}

TEST_F(DesignFileTest, HandWrittenFileReadsDefaultsPathsAndPlaceholders) {
  Make("pics.jpg", document_test::JpegBytes(3, 3));
  ASSERT_TRUE(platform::files::CreateFolder(dir.File("背景音乐")));
  Make("背景音乐\\7.mid", "MThd");
  std::string path = Make("hand.lmcard2",
                          "[Application]\r\nLabelCount=1\r\nImageCount=1\r\nMusicName=gone.mid\r\n"
                          "ICON=<%=lmcardpath%>card.ico  \r\nButtonCount=1\r\n"
                          "[Label1]\r\nTag=5\r\nPic=docs\\readme.txt\r\n"
                          "[Image1]\r\nFilename=pics.jpg\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\n"
                          "Pic=<%=lmcardpath%>docs\\a.txt\r\n"
                          "[Button1]\r\nTag=2\r\nInd=4\r\nWav=0\r\nPic=http://example.com/\r\n"
                          "[lmscl1]\r\n");
  CardDocument doc;
  Loadfileset(doc, path);
  const CardWindow& w = doc.window;
  EXPECT_EQ(w.width, 0);
  EXPECT_EQ(w.bkColor, 16777215);
  EXPECT_EQ(w.cardTitle, "互动型贺卡");
  EXPECT_EQ(w.icon, dir.File("card.ico"));
  EXPECT_EQ(w.musicName, dir.Path() + "背景音乐\\7.mid");
  EXPECT_EQ(w.moveSD, "100");
  EXPECT_FALSE(w.suoScr);
  EXPECT_EQ(w.yxPicName, dir.Path());  // an empty path becomes the program folder
  EXPECT_FALSE(w.yxPic);
  ASSERT_EQ(doc.labels.size(), 1u);
  const LabelElement& l = doc.labels[0];
  EXPECT_EQ(l.Tag(), 5);
  EXPECT_EQ(l.control.caption, "");
  EXPECT_EQ(l.control.font.name, "宋体");
  EXPECT_EQ(l.control.font.size, 9);
  EXPECT_EQ(l.control.rect, (Rect{0, 0, 0, 0}));
  EXPECT_EQ(l.rec.Pic, dir.Path() + "docs\\readme.txt");
  EXPECT_EQ(doc.images[0].rec.Pic, dir.Path() + "docs\\a.txt");
  EXPECT_EQ(doc.images[0].rec.Filename, dir.File("pics.jpg"));
  EXPECT_EQ(doc.buttons[0].rec.Pic, "http://example.com/");  // an address stays as it is
  EXPECT_EQ(doc.buttons[0].rec.Ind, 4);
  EXPECT_EQ(doc.scls.size(), 0u);  // no lmsclCount: none
  EXPECT_EQ(doc.numbering.label, 5);
  EXPECT_EQ(doc.numbering.button, 2);
}

TEST_F(DesignFileTest, PlaceholderAndRelativeAndDrivePathsOfSettingValue1) {
  std::string path = Make("rel.lmcard2",
                          "[Application]\r\nLabelCount=4\r\n"
                          "[Label1]\r\nPic=a\\b.txt\r\n[Label2]\r\nPic=<%=lmcardpath%>a\\b.txt\r\n"
                          "[Label3]\r\nPic=D:\\x\\y.txt\r\n[Label4]\r\nPic=3\r\n");
  CardDocument doc = ReadBack(path);
  EXPECT_EQ(doc.labels[0].rec.Pic, dir.Path() + "a\\b.txt");
  EXPECT_EQ(doc.labels[1].rec.Pic, doc.labels[0].rec.Pic);
  EXPECT_EQ(doc.labels[2].rec.Pic, "D:\\x\\y.txt");
  EXPECT_EQ(doc.labels[3].rec.Pic, "3");  // a picture number for the show box
}

TEST_F(DesignFileTest, MissingButtonIndStopsAfterTheButtonWasCreated) {
  std::string path = Make("noind.lmcard2",
                          "[Application]\r\nLabelCount=1\r\nButtonCount=2\r\nWidth=333\r\n"
                          "[Label1]\r\nTag=1\r\n[PicsBox]\r\nUse=True\r\nPicCount=1\r\nPic0=a.jpg\r\n"
                          "[Button1]\r\nTag=7\r\nCaption=按钮\r\nWav=0\r\n[Button2]\r\nTag=8\r\nInd=1\r\nWav=0\r\n");
  CardDocument doc;
  try {
    Loadfileset(doc, path);
    FAIL() << "no conversion error";
  } catch (const platform::ConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_EQ(doc.window.width, 333);
  EXPECT_EQ(doc.labels.size(), 1u);
  EXPECT_TRUE(doc.picsBox);
  EXPECT_EQ(doc.picsDat.pictures, std::vector<std::string>{"a.jpg"});
  ASSERT_EQ(doc.buttons.size(), 1u);
  EXPECT_EQ(doc.buttons[0].control.caption, "按钮");
  EXPECT_EQ(doc.numbering.button, 7);
  EXPECT_TRUE(doc.selected);  // step 9 did not run: the button is still selected
}

TEST_F(DesignFileTest, TextInANumericKeyStopsReading) {
  std::string path = Make("bad.lmcard2", "[Application]\r\nLabelCount=2\r\n[Label1]\r\nTag=1\r\n"
                                         "[Label2]\r\nTag=2\r\nLeft=abc\r\n");
  CardDocument doc;
  EXPECT_THROW(Loadfileset(doc, path), platform::ConvertError);
  EXPECT_EQ(doc.labels.size(), 2u);
  EXPECT_EQ(doc.numbering.label, 2);
}

TEST_F(DesignFileTest, ImageWithoutItsPictureStopsReading) {
  std::string path = Make("img.lmcard2", "[Application]\r\nImageCount=1\r\n[Image1]\r\nFilename=none.jpg\r\n");
  CardDocument doc;
  EXPECT_THROW(Loadfileset(doc, path), platform::LoadError);
  EXPECT_EQ(doc.images.size(), 0u);
}

TEST_F(DesignFileTest, CountsAbove160ReadTheFirst160AndSaySo) {
  std::string text = "[Application]\r\nWavCount=170\r\n";
  for (int n = 1; n <= 170; ++n) text += "[Wav" + std::to_string(n) + "]\r\nTag=" + std::to_string(n) + "\r\n";
  std::string path = Make("many.lmcard2", text);
  CardDocument doc = ReadBack(path);
  EXPECT_EQ(doc.wavs.size(), 160u);
  EXPECT_EQ(doc.wavs.back().Tag(), 160);
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0], "贺卡设计方案中有170个“声音”，超过了每个贺卡允许的160个，只读入了前160个。");
}

TEST_F(DesignFileTest, CountersEndAtTheLargestTagAndZorderPastTheStoredValue) {
  std::string path = Make("tags.lmcard2",
                          "[Application]\r\nLabelCount=2\r\nFlashCount=1\r\nlmsclCount=2\r\nZorder=3\r\n"
                          "[Label1]\r\nTag=9\r\nInd=1\r\n[Label2]\r\nTag=4\r\nInd=2\r\n"
                          "[Flash1]\r\nTag=2\r\nInd=3\r\n"
                          "[lmscl1]\r\nTag=6\r\nInd=4\r\n[lmscl2]\r\nTag=3\r\nInd=5\r\n");
  CardDocument doc = ReadBack(path);
  EXPECT_EQ(doc.numbering.label, 9);
  EXPECT_EQ(doc.numbering.scl, 6);
  EXPECT_EQ(doc.zorder, 6);  // 3 from the file, advanced by the Flash movie and two captions
  EXPECT_EQ(doc.flashes[0].rec.Ind, 3);
  EXPECT_EQ(doc.scls[1].rec.Ind, 5);
  EXPECT_EQ(doc.scls[1].control.timerTag, 3);
  EXPECT_EQ(doc.selector, (std::vector<std::string>{"贺卡窗口", "文本框9", "文本框4", "Flash电影2", "滚动字幕6",
                                                    "滚动字幕3"}));
  EXPECT_EQ(CreatelmTxt(doc), 10);
  EXPECT_EQ(createlmscl(doc), 7);
}

TEST_F(DesignFileTest, ShowBoxPictureListIsReadAsWritten) {
  std::string path = Make("pics.lmcard2", "[PicsBox]\r\nUse=True\r\nPicCount=2000000000\r\nPic0=a.jpg\r\n"
                                          "Pic1=<%=lmcardpath%>b.jpg\r\nInv=3\r\n");
  CardDocument doc = ReadBack(path);
  ASSERT_TRUE(doc.picsBox);
  ASSERT_GE(doc.picsDat.pictures.size(), 2u);
  EXPECT_LE(doc.picsDat.pictures.size(), 5u);
  EXPECT_EQ(doc.picsDat.pictures[0], "a.jpg");  // no path rule for the show box's pictures
  EXPECT_EQ(doc.picsDat.pictures[1], dir.File("b.jpg"));
  EXPECT_EQ(doc.picsDat.Inv, 3);
  EXPECT_EQ(doc.selector.back(), "图像展示框");
}

TEST_F(DesignFileTest, MissingFileReadsAsDefaults) {
  CardDocument doc = ReadBack(dir.File("nothing.lmcard2"));
  EXPECT_EQ(doc.window.cardTitle, "互动型贺卡");
  EXPECT_EQ(doc.window.bkColor, 16777215);
  EXPECT_EQ(doc.Count(ElementKind::Label), 0);
  EXPECT_FALSE(doc.picsBox);
}

TEST_F(DesignFileTest, FailedSaveKeepsThePreviousDesign) {
  CardDocument doc;
  CreatelmTxt(doc);
  std::string path = dir.File("card.lmcard2");
  ASSERT_TRUE(lmsavefile(doc, path));
  std::string before = testing_support::ReadBytes(path);
  // A folder in the way of the file the new design is first written to makes the save fail.
  ASSERT_TRUE(platform::files::CreateFolder(path + ".~sav"));
  Make("card.lmcard2.~sav/keep", "x");
  CreatelmTxt(doc);
  EXPECT_FALSE(lmsavefile(doc, path));
  EXPECT_EQ(testing_support::ReadBytes(path), before);
  EXPECT_EQ(ReadBack(path).labels.size(), 1u);
}

TEST_F(DesignFileTest, GetSetCutsLongValuesAndTrims) {
  std::string path = Make("g.ini", "[S]\r\nLong=" + std::string(1500, 'z') + "\r\nT=\"a \t\"\r\n");
  SetCurrentFilePath(path);
  EXPECT_EQ(GetSet("S", "Long", "").size(), 1023u);
  EXPECT_EQ(GetSet("S", "T", ""), "a");
  EXPECT_EQ(GetSet("S", "None", "<%=lmcardpath%>x"), dir.Path() + "x");
}
