#include "player/card_model.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "player/card_source.h"
#include "player_fixture.h"
#include "support/temp_dir.h"

using namespace player;
using player_fixture::CardBytes;
using player_fixture::SmallCard;

namespace {

CardModel Read(const CardBytes& c) { return ReadCardModel(packaging::CardReader(c.Build())); }

// The message a damaged card gives.
std::string ErrorOf(const CardBytes& c) {
  try {
    Read(c);
  } catch (const packaging::CardFormatError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(CardModel, ReadsWindowAndElements) {
  CardBytes c = SmallCard();
  const int bk = c.AddMedia("BMfake");
  c.Set("Application", "BkPic", std::to_string(bk)).Set("Application", "BkPicName", "C:\\pics\\bk.bmp");
  c.Set("Application", "BkPicSet", "2").Set("Application", "ShowTitbar", "True");
  c.Set("Application", "MoveScr", "1").Set("Application", "MoveSD", "0").Set("Application", "SPos", "3");
  c.Set("Application", "OnLoad", "2").Set("Application", "OnLoadSet", "你好");
  c.Set("Application", "GIFCount", "1").Set("Application", "WavCount", "1").Set("Application", "lmsclCount", "1");
  const int gif = c.AddMedia("GIF89a");
  c.Set("Gif1", "AutoSize", "True").Set("Gif1", "Filename", "C:\\a\\star.gif").Set("Gif1", "FilenameId", std::to_string(gif));
  for (const char* k : {"Left", "Top", "Width", "Height"}) c.Set("Gif1", k, "5");
  c.Set("Gif1", "Tag", "4").Set("Gif1", "Cmd", "GIF动画4改为设置值1中的值").Set("Gif1", "Ind", "3").Set("Gif1", "Wav", "7");
  c.Set("Wav7", "Filename", "C:\\s\\ding.wav").Set("Wav7", "FilenameID", "-1").Set("Wav7", "Tag", "7");
  c.Set("lmscl1", "Tag", "2").Set("lmscl1", "Width", "160").Set("lmscl1", "Height", "22");
  c.Set("lmscl1", "Transparent", "1").Set("lmscl1", "SD", "40").Set("lmscl1", "Txt1", "新年<%br%>快乐");
  c.Set("lmscl1", "Way", "2").Set("lmscl1", "FontItalic", "True");

  const CardModel m = Read(c);
  EXPECT_EQ(m.window.title, "测试贺卡");
  EXPECT_EQ(m.window.width, 300);
  EXPECT_TRUE(m.window.showTitleBar);
  EXPECT_EQ(m.window.background.id, 0);
  EXPECT_EQ(m.window.backgroundLayout, 2);
  EXPECT_FALSE(m.window.mask.Packed());
  EXPECT_TRUE(m.window.loopMove);
  EXPECT_FALSE(m.window.lockCentre);
  EXPECT_EQ(m.window.moveIntervalMs, 10);  // "0" is taken as 10
  EXPECT_EQ(m.window.startPosition, 3);
  EXPECT_EQ(m.window.onLoad, 2);
  ASSERT_EQ(m.labels.size(), 1u);
  EXPECT_EQ(m.labels[0].caption, "第一行\r\n第二行");
  EXPECT_TRUE(m.labels[0].font.italic);  // the label's italic key is spelt FontItlic
  EXPECT_EQ(m.labels[0].font.size, 12);
  EXPECT_EQ((m.labels[0].rect), (Rect{10, 20, 100, 40}));
  ASSERT_EQ(m.buttons.size(), 1u);
  EXPECT_EQ(m.buttons[0].click.cmd, "结束贺卡运行");
  ASSERT_EQ(m.gifs.size(), 1u);
  EXPECT_EQ(m.gifs[0].tag, 4);
  EXPECT_TRUE(m.gifs[0].autoSize);
  EXPECT_EQ(m.gifs[0].file.id, gif);
  EXPECT_EQ(m.gifs[0].click.wav, 7);
  ASSERT_EQ(m.wavs.size(), 1u);  // sound sections are named by Tag
  EXPECT_EQ(m.wavs[0].tag, 7);
  ASSERT_EQ(m.captions.size(), 1u);
  EXPECT_EQ(m.captions[0].text, "新年\r\n快乐");
  EXPECT_TRUE(m.captions[0].transparent);
  EXPECT_TRUE(m.captions[0].font.italic);
  EXPECT_EQ(m.captions[0].interval, 40);
  EXPECT_FALSE(m.picsBox.present);
  EXPECT_EQ(m.makeTime, "2026-12-9 12:00:00");
}

TEST(CardModel, PictureShowBoxListsMediaIds) {
  CardBytes f;
  f.Set("Application", "Width", "100").Set("Application", "Height", "100");
  f.AddMedia("\xFF\xD8one");
  f.AddMedia("\xFF\xD8two");
  f.Set("PicsBox", "Inv", "3").Set("PicsBox", "RandPic", "1").Set("PicsBox", "Clk", "1");
  f.Set("PicsBox", "EffectID", "170").Set("PicsBox", "Pic0", "1").Set("PicsBox", "Pic1", "0");
  f.Set("PicsBox", "PicCount", "2").Set("PicsBox", "Use", "True");
  const CardModel m = Read(f);
  ASSERT_TRUE(m.picsBox.present);
  EXPECT_EQ(m.picsBox.pictures, (std::vector<int>{1, 0}));
  EXPECT_EQ(m.picsBox.intervalSeconds, 3);
  EXPECT_TRUE(m.picsBox.randomOrder);
  EXPECT_TRUE(m.picsBox.clickShowsNext);
  EXPECT_EQ(m.picsBox.effectId, 170);
  EXPECT_EQ(m.window.title, "互动型贺卡");  // default title
}

TEST(CardModel, DamagedCardsNameWhatIsWrong) {
  {
    CardBytes d;
    d.Set("Application", "ButtonCount", "1").Set("Button1", "Left", "abc");
    const std::string msg = ErrorOf(d);
    EXPECT_NE(msg.find("贺卡文件已损坏"), std::string::npos) << msg;
    EXPECT_NE(msg.find("[Button1]"), std::string::npos) << msg;
    EXPECT_NE(msg.find("Left"), std::string::npos) << msg;
    EXPECT_NE(msg.find("abc"), std::string::npos) << msg;
  }
  {
    CardBytes d;
    d.Set("Application", "LabelCount", "2").Set("Label1", "Tag", "1");
    EXPECT_NE(ErrorOf(d).find("[Label2]"), std::string::npos);
  }
  {
    CardBytes d;
    d.Set("Application", "ImageCount", "1").Set("Image1", "Tag", "1").Set("Image1", "FilenameId", "5");
    const std::string msg = ErrorOf(d);
    EXPECT_NE(msg.find("FilenameId"), std::string::npos) << msg;
    EXPECT_NE(msg.find("5"), std::string::npos) << msg;
  }
  {
    CardBytes d;
    d.Set("Application", "LabelCount", "161");
    EXPECT_NE(ErrorOf(d).find("LabelCount"), std::string::npos);
  }
  {
    CardBytes d;
    d.Set("Application", "Width", "-5");
    EXPECT_NE(ErrorOf(d).find("贺卡窗口的大小"), std::string::npos);
  }
}

TEST(CardSource, OpeningFailuresGiveClearMessages) {
  testing_support::TempDir dir;
  auto messageOf = [&](const std::vector<std::string>& args, const std::string& self) {
    try {
      OpenCard(args, self);
    } catch (const CardOpenError& e) {
      return std::string(e.what());
    }
    return std::string("(opened)");
  };
  EXPECT_NE(messageOf({dir.File("nope.crd2")}, "").find("找不到贺卡文件"), std::string::npos);

  ASSERT_TRUE(testing_support::WriteBytes(dir.File("text.crd2"), "just some text, no card"));
  const std::string notCard = messageOf({dir.File("text.crd2")}, "");
  EXPECT_NE(notCard.find("无法打开贺卡文件"), std::string::npos) << notCard;
  EXPECT_NE(notCard.find("text.crd2"), std::string::npos) << notCard;

  // A card whose media runs past the settings block.
  CardBytes withMedia = SmallCard();
  withMedia.AddMedia(std::string(100, 'x'));
  std::string broken = withMedia.Build();
  broken.erase(30, 50);  // the media piece loses bytes: [File0] now points past its place
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("broken.crd2"), broken));
  const std::string damaged = messageOf({dir.File("broken.crd2")}, "");
  EXPECT_NE(damaged.find("File0"), std::string::npos) << damaged;

  // A player started without argument whose own file holds no card.
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("player.exe"), "\x7f" "ELF plain program"));
  EXPECT_NE(messageOf({}, dir.File("player.exe")).find("本程序中没有可以播放的贺卡"), std::string::npos);

  // A good card opens, from an argument or from the program's own file.
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("good.crd2"), SmallCard().Build()));
  OpenedCard card = OpenCard({dir.File("good.crd2")}, dir.File("player.exe"));
  EXPECT_EQ(card.model.window.title, "测试贺卡");
  EXPECT_FALSE(card.ownProgram);
  OpenedCard own = OpenCard({}, dir.File("good.crd2"));
  EXPECT_TRUE(own.ownProgram);
  EXPECT_EQ(own.model.labels.size(), 1u);
}
