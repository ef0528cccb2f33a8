#include "maker/packaging/ordinary_build.h"

#include <gtest/gtest.h>

#include "maker/packaging/card_reader.h"
#include "maker/packaging/icon_patch.h"
#include "maker/packaging/ordinary_card.h"
#include "maker/packaging/settings_block.h"
#include "maker/packaging/packaging_fixture.h"

using namespace packaging;
using namespace packaging_test;
using ordinary::OrdinarySettings;

namespace {

class OrdinaryBuild : public PackagingTest {
 protected:
  OrdinarySettings Minimal() {
    OrdinarySettings s = ordinary::NewCardSettings();
    s.cardImg = Write("card.JPG", std::string(1234, 'J'));
    s.cardWidth = "320";
    s.cardHeight = "240";
    s.icon = "默认";
    return s;
  }
  OrdinarySettings Full() {
    OrdinarySettings s = Minimal();
    s.bkMusic = true;
    s.music = Write("song.mid", std::string(5000, 'M'));
    s.musicEndless = false;
    s.musicCount = "3";
    s.useWav = true;
    s.wav = Write("voice.wav", std::string(777, 'W'));
    s.boxIndex = 2;
    s.cardBox = Write("box.gif", std::string(300, 'G'));
    s.boxWidth = "200";
    s.boxHeight = "100";
    return s;
  }
};

}  // namespace

TEST_F(OrdinaryBuild, CardWithoutExtrasIsStubPictureAndBlock) {
  const std::string out = Pf("card.exe");
  ASSERT_EQ(BuildOrdinaryCard(Minimal(), out), OrdinaryBuildResult::Built);
  const std::string bytes = ReadBytes(out);
  const std::string stub = ReadBytes(Wf("exe1.exe"));
  ASSERT_EQ(bytes.substr(0, stub.size()), stub);
  EXPECT_EQ(bytes.substr(stub.size(), 1234), std::string(1234, 'J'));
  const size_t block = stub.size() + 1234;
  EXPECT_EQ(bytes.substr(block, 3), "\xFF\xFF\xFF");

  // Every text byte is scrambled.
  std::string text = RestoreOrdinaryText(std::string_view(bytes).substr(block + 3));
  EXPECT_EQ(OrdinaryBlock(text), bytes.substr(block));
  EXPECT_EQ(text.find(".JPG<%=lmcrlf%>1234<%=lmcrlf%>320<%=lmcrlf%>240<%=lmcrlf%>"), 0u);
  EXPECT_TRUE(text.ends_with("<%=lmcrlf%><%=lmcrlf%>" + std::to_string(stub.size()) + "<%=lmcrlf%>"));

  CardReader card(bytes);
  EXPECT_EQ(card.Kind(), CardKind::Ordinary);
  EXPECT_EQ(card.Family(), CardFamily::Ordinary);
  EXPECT_EQ(card.Text(), text);
  ASSERT_EQ(card.Fields().size(), 48u);
  // No music, voice or greeting box: fields 7-12 and 15-19 keep their empty forms.
  EXPECT_EQ(card.Field(7), "0");
  EXPECT_EQ(card.Field(8), " ");
  EXPECT_EQ(card.Field(9), "0");
  EXPECT_EQ(card.Field(10), "0");
  EXPECT_EQ(card.Field(11), "0");
  EXPECT_EQ(card.Field(12), "0");
  EXPECT_EQ(card.Field(15), "0");
  EXPECT_EQ(card.Field(16), " ");
  EXPECT_EQ(card.Field(17), "0");
  EXPECT_EQ(card.Field(18), "0");
  EXPECT_EQ(card.Field(19), "0");
  EXPECT_EQ(card.Field(35), "1");  // single click
  EXPECT_EQ(card.Field(36), "0");
  EXPECT_EQ(card.Field(47), "");
  ASSERT_EQ(card.Media().size(), 1u);
  EXPECT_EQ(card.MediaBytes(card.Media()[0]), std::string(1234, 'J'));
  EXPECT_FALSE(card.Icon().has_value());
  EXPECT_TRUE(NoPartialFiles(out));
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_EQ(dialogs_.Messages()[0], "贺卡文件 " + out + " 已生成，您现在可以将它发送给您的朋友了。");
}

TEST_F(OrdinaryBuild, PiecesFollowInOrderAndTheFieldsNameTheirLengths) {
  OrdinarySettings s = Full();
  s.boxWord = "第一行\r\n第二行";
  s.body = "看过了\r\n<%=lmdate%> <%=lmtime%>";
  s.boxFontItalic = true;
  s.click = false;
  const std::string out = Pf("full.exe");
  ASSERT_EQ(BuildOrdinaryCard(s, out), OrdinaryBuildResult::Built);
  CardReader card = CardReader::Open(out);
  const uint64_t base = 210000;
  ASSERT_EQ(card.Media().size(), 4u);
  const uint64_t starts[] = {base, base + 1234, base + 1234 + 5000, base + 1234 + 5000 + 777};
  const char fill[] = {'J', 'M', 'W', 'G'};
  const uint64_t lengths[] = {1234, 5000, 777, 300};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(card.Media()[i].start, starts[i]) << i;
    EXPECT_EQ(card.MediaBytes(card.Media()[i]), std::string(lengths[i], fill[i])) << i;
  }
  EXPECT_EQ(card.BlockOffset(), base + 1234 + 5000 + 777 + 300);
  EXPECT_EQ(card.Field(8), ".mid");
  EXPECT_EQ(card.Field(9), "5000");
  EXPECT_EQ(card.Field(10), "3");
  EXPECT_EQ(card.Field(12), "777");
  EXPECT_EQ(card.Field(16), ".gif");
  EXPECT_EQ(card.Field(18), "200");
  EXPECT_EQ(card.Field(22), "第一行<%br%>第二行");
  EXPECT_EQ(card.Field(27), "1");
  EXPECT_EQ(card.Field(35), "0");
  EXPECT_EQ(card.Field(36), "1");
  EXPECT_EQ(card.Field(44), "看过了%0a%0d<%=lmdate%> <%=lmtime%>");
  EXPECT_EQ(card.Field(48), std::to_string(base));

  // "无限次循环播放" gives 0 whatever the count field holds.
  s.musicEndless = true;
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("endless.exe")), OrdinaryBuildResult::Built);
  EXPECT_EQ(CardReader::Open(Pf("endless.exe")).Field(10), "0");
}

TEST_F(OrdinaryBuild, GreetingTextIsCutAtByte1000AfterTheLineBreakReplacement) {
  OrdinarySettings s = Minimal();
  const std::string sep = "<%=lmcrlf%>";
  // 995 bytes + "<%br%>" is 1001 bytes: the cut drops the marker's last byte and the rest.
  s.boxWord = std::string(995, 'a') + "\r\nbcdef";
  EXPECT_NE(OrdinarySettingsText(s, {}, 0).find(sep + std::string(995, 'a') + "<%br%" + sep), std::string::npos);
  // Exactly 1000 bytes stay whole.
  s.boxWord = std::string(994, 'a') + "\r\n";
  EXPECT_NE(OrdinarySettingsText(s, {}, 0).find(sep + std::string(994, 'a') + "<%br%>" + sep), std::string::npos);
  // A two-byte character across byte 1000 is left out whole, never split.
  s.boxWord = std::string(999, 'a') + "贺卡";
  EXPECT_NE(OrdinarySettingsText(s, {}, 0).find(sep + std::string(999, 'a') + sep), std::string::npos);
}

TEST_F(OrdinaryBuild, TypedTextHoldingTheFieldSeparatorIsRefusedBeforeAnythingIsWritten) {
  for (std::string OrdinarySettings::*field :
       {&OrdinarySettings::boxWord, &OrdinarySettings::url, &OrdinarySettings::subject, &OrdinarySettings::body}) {
    OrdinarySettings s = Minimal();
    s.*field = "新年<%=lmcrlf%>快乐";
    EXPECT_EQ(BuildOrdinaryCard(s, Pf("sep.exe")), OrdinaryBuildResult::BadText);
    EXPECT_FALSE(platform::files::Exists(Pf("sep.exe")));
    EXPECT_NE(dialogs_.Messages().back().find("<%=lmcrlf%>"), std::string::npos);
  }
}

TEST_F(OrdinaryBuild, CapitalCrd1IsAPlainCardFileWithoutIconPatch) {
  OrdinarySettings s = Minimal();
  s.icon = Write("my.ico", IconFile(32, 32, 8));
  const std::string out = Pf("Card.CRD1");
  ASSERT_EQ(BuildOrdinaryCard(s, out), OrdinaryBuildResult::Built);
  const std::string bytes = ReadBytes(out);
  const std::string header = HeaderFileBytes();
  EXPECT_EQ(bytes.substr(0, header.size()), header);
  CardReader card(bytes);
  EXPECT_EQ(card.Form(), CardForm::PlainFile);
  EXPECT_EQ(card.Field(48), std::to_string(header.size()));
  EXPECT_FALSE(card.Icon().has_value());
  EXPECT_EQ(bytes.find(kIconPatchMagic), std::string::npos);
  EXPECT_FALSE(platform::files::Exists(Pf(std::string(kIconTailFile))));
  EXPECT_FALSE(platform::files::Exists(Pf(std::string(kIconCopyFile))));
}

TEST_F(OrdinaryBuild, IconPatchCutsTheStubAtItsOptionLength) {
  OrdinarySettings s = Minimal();
  const std::string icon = IconFile(32, 32, 8);
  s.icon = Write("my.ico", icon);
  // No Option.ini: the stub copy is cut at 199717 bytes.
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("a.exe")), OrdinaryBuildResult::Built);
  std::string bytes = ReadBytes(Pf("a.exe"));
  EXPECT_EQ(bytes.substr(0, 199717), ReadBytes(Wf("exe1.exe")).substr(0, 199717));
  EXPECT_EQ(bytes.substr(199717, 32), FormFileBytes(1));
  std::string tail = *IconImageTail(icon);
  EXPECT_EQ(bytes.substr(199717 + 32, tail.size()), tail);
  CardReader card(bytes);
  EXPECT_EQ(card.Field(48), std::to_string(199717 + 32 + tail.size()));
  ASSERT_TRUE(card.Icon().has_value());
  EXPECT_EQ(card.Icon()->offset, 199717u);
  EXPECT_EQ(card.Icon()->form, 1);
  // The nine header bytes of the FORM file and the tail make up the icon's whole image.
  auto px = DecodeIconDib(std::string_view(bytes).substr(card.Icon()->imageOffset, card.Icon()->imageLength));
  auto want = DecodeIconDib(std::string_view(icon).substr(22));
  ASSERT_TRUE(px && want);
  EXPECT_EQ(px->argb, want->argb);
  EXPECT_FALSE(platform::files::Exists(Pf("~tmpico.obj")));
  EXPECT_FALSE(platform::files::Exists(Pf("~tmp.dat")));

  // With Option.ini naming the stub's full length nothing is cut.
  Write("windows/Option.ini", OptionIniText(210000, -1, -1));
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("b.exe")), OrdinaryBuildResult::Built);
  CardReader full = CardReader::Open(Pf("b.exe"));
  ASSERT_TRUE(full.Icon().has_value());
  EXPECT_EQ(full.Icon()->offset, 210000u);
}

TEST_F(OrdinaryBuild, TheStubsOwnIconIsNotExtracted) {
  OrdinarySettings s = Minimal();
  s.icon = Write("ICON26.ICO", "not an icon at all");
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("a.exe")), OrdinaryBuildResult::Built);
  EXPECT_FALSE(CardReader::Open(Pf("a.exe")).Icon().has_value());
  EXPECT_EQ(CardReader::Open(Pf("a.exe")).Field(48), "210000");
}

TEST_F(OrdinaryBuild, IconWithoutA32x32ImageIsCopiedFirst) {
  OrdinarySettings s = Minimal();
  s.icon = Write("small.ico", IconFile(16, 16, 4));
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("a.exe")), OrdinaryBuildResult::Built);
  CardReader card = CardReader::Open(Pf("a.exe"));
  ASSERT_TRUE(card.Icon().has_value());
  auto px = DecodeIconDib(std::string_view(card.Bytes()).substr(card.Icon()->imageOffset, card.Icon()->imageLength));
  ASSERT_TRUE(px);
  EXPECT_EQ(px->width, 32);
  EXPECT_EQ(px->height, 32);
  auto small = DecodeIconDib(std::string_view(IconFile(16, 16, 4)).substr(22));
  // Each source pixel covers 2x2 pixels of the copy; the first column stays transparent.
  EXPECT_EQ(px->argb[5 * 32 + 9], small->argb[2 * 16 + 4]);
  EXPECT_EQ(px->argb[3 * 32 + 0] >> 24, 0u);
  EXPECT_FALSE(platform::files::Exists(Pf("~tmpico.ico")));
}

TEST_F(OrdinaryBuild, UnusableIconStopsBeforeTheOutputIsTouched) {
  OrdinarySettings s = Minimal();
  s.icon = Write("bad.ico", std::string(59, '\x28'));
  const std::string out = Write("old.exe", "old card");
  dialogs_.messageAnswers.push_back(platform::MsgResult::Yes);  // replace the old file
  EXPECT_EQ(BuildOrdinaryCard(s, out), OrdinaryBuildResult::BadIcon);
  EXPECT_EQ(ReadBytes(out), "old card");
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].text, "图标文件 " + s.icon + " 无法被《Lumo贺卡制作 2002》处理，请重新选择图标文件。");
  EXPECT_EQ(dialogs_.shown[1].icon, platform::MsgIcon::Error);
  EXPECT_FALSE(platform::files::Exists(Pf("~tmpico.obj")));
  EXPECT_FALSE(platform::files::Exists(Pf("~tmpico.ico")));
}

TEST_F(OrdinaryBuild, OutputChecksAskBeforeReplacing) {
  EXPECT_EQ(BuildOrdinaryCard(Minimal(), "   "), OrdinaryBuildResult::NoOutputPath);
  EXPECT_EQ(dialogs_.Messages().back(), "请输入贺卡输出位置！");
  const std::string out = Write("old.exe", "old card");
  dialogs_.messageAnswers.push_back(platform::MsgResult::No);
  EXPECT_EQ(BuildOrdinaryCard(Minimal(), out), OrdinaryBuildResult::NotReplaced);
  EXPECT_EQ(dialogs_.Messages().back(), "文件 " + out + " 已存在，是否替换原文件？");
  EXPECT_EQ(ReadBytes(out), "old card");
  dialogs_.messageAnswers.push_back(platform::MsgResult::Yes);
  EXPECT_EQ(BuildOrdinaryCard(Minimal(), " " + out + " "), OrdinaryBuildResult::Built);
  EXPECT_EQ(CardReader::Open(out).Kind(), CardKind::Ordinary);
}

TEST_F(OrdinaryBuild, UnreadableMediaOrMissingStubLeaveTheOldFileAndNoPartialOne) {
  const std::string out = Write("old.exe", "old card");
  OrdinarySettings s = Full();
  s.wav = Pf("gone.wav");
  dialogs_.messageAnswers.push_back(platform::MsgResult::Yes);
  EXPECT_EQ(BuildOrdinaryCard(s, out), OrdinaryBuildResult::Failed);
  EXPECT_EQ(dialogs_.Messages().back(), BuildFailureMessage(out));
  EXPECT_EQ(dialogs_.shown.back().icon, platform::MsgIcon::Error);
  EXPECT_EQ(ReadBytes(out), "old card");
  EXPECT_TRUE(NoPartialFiles(out));

  platform::files::DeleteFile(Wf("exe1.exe"));
  s = Minimal();
  s.icon = Write("small.ico", IconFile(16, 16, 4));  // makes both icon work files
  EXPECT_EQ(BuildOrdinaryCard(s, Pf("new.exe")), OrdinaryBuildResult::Failed);
  EXPECT_FALSE(platform::files::Exists(Pf("new.exe")));
  EXPECT_TRUE(NoPartialFiles(Pf("new.exe")));
  EXPECT_FALSE(platform::files::Exists(Pf(std::string(kIconTailFile))));
  EXPECT_FALSE(platform::files::Exists(Pf(std::string(kIconCopyFile))));
}

TEST_F(OrdinaryBuild, ThePackedFieldsGiveBackEverySettingButThePaths) {
  OrdinarySettings s = Full();
  s.cardBkColor = 0x102030;
  s.cardBkTran = true;
  s.playSet = 3;
  s.playPosition = 4567;
  s.boxColor = 0x405060;
  s.boxTran = true;
  s.boxWord = "甲\r\n乙";
  s.boxFontName = "隶书";
  s.boxFontSize = 16;
  s.boxFontColor = 0xFF;
  s.boxFontBold = false;
  s.boxFontUnderline = true;
  s.boxFontStrikeOut = true;
  s.move = "40";
  s.moveSet1 = 2;
  s.moveSet2 = 8;
  s.cen = true;
  s.moves = true;
  s.useTime = true;
  s.timelen = "9";
  s.openUrl = true;
  s.url = "http://example.org/";
  s.sendMail = true;
  s.email = "a@example.org";
  s.subject = "主题";
  s.body = "第一行\r\n<%=lmdate%>";
  s.boxScroll = true;
  s.boxInv = "70";
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("all.exe")), OrdinaryBuildResult::Built);
  OrdinarySettings back = OrdinarySettingsFromCard(CardReader::Open(Pf("all.exe")));
  OrdinarySettings want = s;
  want.cardImg = want.music = want.wav = want.cardBox = want.icon = "";
  want.boxIndex = 1;
  EXPECT_EQ(back, want);
}
