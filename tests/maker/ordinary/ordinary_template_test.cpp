#include "maker/ordinary/ordinary_template.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

using namespace ordinary;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// Points the program folder at a test folder for one test.
class ProgramFolderScope {
 public:
  explicit ProgramFolderScope(const std::string& folder) : old_(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(folder);
  }
  ~ProgramFolderScope() { platform::paths::SetProgramFolder(old_); }

 private:
  std::string old_;
};

// Every field away from its default, with existing files for the paths.
OrdinarySettings Busy(const TempDir& dir) {
  WriteBytes(dir.File("card.jpg"), "JPEG");
  WriteBytes(dir.File("m.mid"), "MThd");
  WriteBytes(dir.File("box.bmp"), "BM");
  WriteBytes(dir.File("i.ico"), "ICO");
  OrdinarySettings s;
  s.cardImg = dir.File("card.jpg");
  s.cardWidth = "320";
  s.cardHeight = "240";
  s.cardBkColor = 0x123456;
  s.cardBkTran = true;
  s.bkMusic = true;
  s.music = dir.File("m.mid");
  s.musicEndless = false;
  s.musicCount = "3";
  s.useWav = true;
  s.wav = "D:\\voice.wav";
  s.playSet = 4;
  s.playPosition = 12345;
  s.cardBox = dir.File("box.bmp");
  s.boxWidth = "200";
  s.boxHeight = "150";
  s.boxIndex = 3;
  s.boxColor = 0x00FF00;
  s.boxTran = true;
  s.boxWord = "新年快乐\r\n万事如意";
  s.boxFontName = "隶书";
  s.boxFontSize = 14;
  s.boxFontColor = 0x0000FF;
  s.boxFontBold = true;
  s.boxFontItalic = true;
  s.boxFontUnderline = true;
  s.boxFontStrikeOut = true;
  s.boxScroll = true;
  s.boxInv = "50";
  s.move = "30";
  s.moveSet1 = 3;
  s.moveSet2 = 9;
  s.cen = true;
  s.moves = true;
  s.click = true;
  s.useTime = true;
  s.timelen = "15";
  s.openUrl = true;
  s.url = "http://example.org/";
  s.sendMail = true;
  s.email = "me@example.org";
  s.subject = "看过了";
  s.body = "第一行\r\n<%=lmdate%> <%=lmtime%>";
  s.icon = dir.File("i.ico");
  return s;
}

}  // namespace

TEST(OrdinaryTemplate, SaveAndLoadGiveBackEverySetting) {
  TempDir dir;
  platform::ScriptedDialogs dialogs;
  OrdinarySettings s = Busy(dir);
  ASSERT_TRUE(SaveSet(dir.File("t.lmcard"), s));
  EXPECT_EQ(LoadTemplate(dir.File("t.lmcard")), s);

  // The opposite of every flag and choice round-trips too.
  OrdinarySettings plain = NewCardSettings();
  plain.click = false;
  plain.boxFontBold = false;
  plain.boxColor = 77;
  ASSERT_TRUE(SaveSet(dir.File("u.lmcard"), plain));
  OrdinarySettings back;
  LoadSet(dir.File("u.lmcard"), back);
  plain.icon = "默认";  // names no file: kept as typed
  EXPECT_EQ(back, plain);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(OrdinaryTemplate, WritesOneSectionInTableOrderWithFlagForms) {
  TempDir dir;
  OrdinarySettings s = NewCardSettings();
  s.click = false;
  s.boxWord = "a\r\nb";
  ASSERT_TRUE(SaveSet(dir.File("t.lmcard"), s));
  std::string text = ReadBytes(dir.File("t.lmcard"));
  EXPECT_EQ(text.find("[普通型贺卡]"), 0u);
  EXPECT_EQ(text.find('[', 1), std::string::npos);
  // "True"/"False" keys are always there, "True"-or-absent keys only when set.
  EXPECT_NE(text.find("CardBkTran=False"), std::string::npos);
  EXPECT_NE(text.find("BoxFontBold=True"), std::string::npos);
  EXPECT_EQ(text.find("Click="), std::string::npos);
  EXPECT_EQ(text.find("BoxFontItalic="), std::string::npos);
  EXPECT_NE(text.find("MusicCount=0"), std::string::npos);
  EXPECT_NE(text.find("BoxWord=a<%BR%>b"), std::string::npos);
  const char* order[] = {"Cardimg=", "CardWidth=", "CardBkColor=", "Music=", "UseWav=", "PlaySet=",
                         "CardBox=", "BoxIndex=", "BoxWord=", "BoxFontColor=", "BoxInv=", "Move=",
                         "MoveSet2=", "Timelen=", "Url=", "Email=", "Body=", "ICON="};
  size_t at = 0;
  for (const char* key : order) {
    size_t p = text.find(std::string("\n") + key, at);
    ASSERT_NE(p, std::string::npos) << key;
    at = p;
  }
}

TEST(OrdinaryTemplate, KeysReadWithoutRegardToCaseAndMissingKeysTakeDefaults) {
  TempDir dir;
  WriteBytes(dir.File("t.lmcard"),
             "[普通型贺卡]\r\nBOXFONTCOLOR=4660\r\nboxfontstrikeout=True\r\nTIMELEN=7\r\nclick=True\r\n"
             "musiccount=2\r\nBoxWord=x<%BR%>y\r\n");
  OrdinarySettings s = LoadTemplate(dir.File("t.lmcard"));
  EXPECT_EQ(s.boxFontColor, 4660);
  EXPECT_TRUE(s.boxFontStrikeOut);
  EXPECT_EQ(s.timelen, "7");
  EXPECT_TRUE(s.click);
  EXPECT_FALSE(s.musicEndless);
  EXPECT_EQ(s.musicCount, "2");
  EXPECT_EQ(s.boxWord, "x\r\ny");
  // Defaults of the table for everything else.
  EXPECT_EQ(s.cardBkColor, 12632256);
  EXPECT_EQ(s.cardWidth, "0");
  EXPECT_EQ(s.boxFontName, "宋体");
  EXPECT_EQ(s.boxFontSize, 9);
  EXPECT_EQ(s.boxInv, "100");
  EXPECT_EQ(s.move, "100");
  EXPECT_FALSE(s.boxFontBold);  // the new wizard's bold is cleared by a template without it
  EXPECT_EQ(s.url, "");

  // MusicCount "0" selects endless play; Click absent means double click.
  WriteBytes(dir.File("u.lmcard"), "[普通型贺卡]\r\nMusicCount=0\r\nClick=true\r\n");
  platform::profile::ClearCache();
  OrdinarySettings u = LoadTemplate(dir.File("u.lmcard"));
  EXPECT_TRUE(u.musicEndless);
  EXPECT_FALSE(u.click);  // only the exact "True" sets a flag
}

TEST(OrdinaryTemplate, RelativePathsAreFoundUnderTheProgramFolderAndMissingPicturesStayUnset) {
  TempDir dir;
  ProgramFolderScope scope(dir.Path());
  std::string pf = dir.Path();
  ASSERT_TRUE(WriteBytes(pf + "card.jpg", "J"));
  ASSERT_TRUE(WriteBytes(pf + "song.mid", "M"));
  WriteBytes(dir.File("t.lmcard"),
             "[普通型贺卡]\r\nCardimg=card.jpg\r\nMusic=song.mid\r\nCardBox=nobox.bmp\r\nICON=默认\r\n"
             "Wav=song.mid\r\nBoxIndex=3\r\n");
  OrdinarySettings s = LoadTemplate(dir.File("t.lmcard"));
  EXPECT_EQ(s.cardImg, pf + "card.jpg");
  EXPECT_EQ(s.music, pf + "song.mid");
  EXPECT_EQ(s.cardBox, "");       // found nowhere: no greeting box picture
  EXPECT_EQ(s.boxIndex, 3);
  EXPECT_EQ(s.icon, "默认");      // names no file: kept for the default icon
  EXPECT_EQ(s.wav, "song.mid");   // the voice has no program-folder fallback

  WriteBytes(dir.File("v.lmcard"), "[普通型贺卡]\r\nCardimg=gone.jpg\r\nMusic=gone.mid\r\n");
  OrdinarySettings v = LoadTemplate(dir.File("v.lmcard"));
  EXPECT_EQ(v.cardImg, "");
  EXPECT_EQ(v.music, "gone.mid");
}

TEST(OrdinaryTemplate, ANumericKeyWithTextStopsTheLoadAtThatKey) {
  TempDir dir;
  WriteBytes(dir.File("t.lmcard"), "[普通型贺卡]\r\nCardWidth=640\r\nUseWav=True\r\nPlaySet=abc\r\nBoxWidth=9\r\n");
  OrdinarySettings s;
  try {
    LoadSet(dir.File("t.lmcard"), s);
    FAIL() << "no conversion error";
  } catch (const platform::ConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(s.cardWidth, "640");  // read before the bad key
  EXPECT_TRUE(s.useWav);
  EXPECT_EQ(s.boxWidth, "0");     // after it: untouched
}

TEST(OrdinaryTemplate, SavingOverAnExistingTemplateAsksFirst) {
  TempDir dir;
  platform::ScriptedDialogs dialogs;
  const std::string path = dir.File("t.lmcard");
  WriteBytes(path, "old bytes\r\n");
  dialogs.messageAnswers.push_back(platform::MsgResult::No);
  EXPECT_FALSE(SaveSet(path, NewCardSettings()));
  EXPECT_EQ(ReadBytes(path), "old bytes\r\n");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "同名的模板文件已存在，是否替换原文件？");
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Question);
  EXPECT_EQ(dialogs.shown[0].buttons, platform::MsgButtons::YesNo);

  dialogs.messageAnswers.push_back(platform::MsgResult::Yes);
  EXPECT_TRUE(SaveSet(path, NewCardSettings()));
  std::string text = ReadBytes(path);
  EXPECT_EQ(text.find("old bytes"), std::string::npos);
  EXPECT_EQ(LoadTemplate(path).subject, "我已经看过你的贺卡了");
}

TEST(OrdinaryTemplate, AFailedSaveKeepsTheOldTemplate) {
  TempDir dir;
  platform::ScriptedDialogs dialogs;
  const std::string path = dir.File("sub\\t.lmcard");  // its folder does not exist
  EXPECT_THROW(SaveSet(path, NewCardSettings()), platform::FileError);
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(OrdinarySettings, PositionListHalvesEachTermSeparately) {
  // Halving each term: 1024/2 - 301/2 = 362, where (1024-301)/2 would give 361.
  EXPECT_EQ(PositionOf(1, 1024, 768, 301, 201), (Point{362, 284}));
  EXPECT_EQ(PositionOf(2, 1024, 768, 300, 200), (Point{362, 0}));
  EXPECT_EQ(PositionOf(5, 1024, 768, 300, 200), (Point{0, 568}));
  EXPECT_EQ(PositionOf(7, 1024, 768, 300, 200), (Point{724, 568}));
  EXPECT_EQ(PositionOf(8, 1024, 768, 300, 201), (Point{724, 284}));
  EXPECT_EQ(PositionOf(9, 1024, 768, 300, 200), (Point{724, 0}));
  EXPECT_EQ(kPositions[2], "屏蔽正上方");
  EXPECT_EQ(kPlayOrders[5], "当弹出贺词框时播放录音");
}

TEST(OrdinarySettings, MailPlaceholdersTakeTheDateAndTimeFormats) {
  std::tm t{};
  t.tm_year = 2002 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  EXPECT_EQ(FillMailPlaceholders("<%=lmdate%> <%=lmtime%>!<%=lmdate%>", t),
            "2002年1月5日 07:03:09!2002年1月5日");
}

TEST(OrdinaryTemplate, NamedTemplatesGoIntoTheTemplateFolder) {
  TempDir dir;
  ProgramFolderScope scope(dir.Path());
  platform::ScriptedDialogs dialogs;
  EXPECT_EQ(SaveNamedTemplate("  ", NewCardSettings()), SaveTemplateResult::EmptyName);
  EXPECT_EQ(dialogs.Messages().back(), "请首先输入模板文件名。");
  OrdinarySettings s = NewCardSettings();
  s.boxWord = "生日快乐";
  EXPECT_EQ(SaveNamedTemplate("生日", s), SaveTemplateResult::Saved);
  EXPECT_EQ(dialogs.Messages().back(), "模板已保存。");
  EXPECT_EQ(TemplatePath("生日"), dir.Path() + "template\\生日.lmcard");
  EXPECT_EQ(LoadTemplate(TemplatePath("生日")).boxWord, "生日快乐");
  dialogs.messageAnswers.push_back(platform::MsgResult::No);
  EXPECT_EQ(SaveNamedTemplate("生日", NewCardSettings()), SaveTemplateResult::Kept);
  EXPECT_EQ(LoadTemplate(TemplatePath("生日")).boxWord, "生日快乐");
}
