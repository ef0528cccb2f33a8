#include "player/ordinary_ui/card_unpack.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "ordinary_ui_fixture.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"
#include "player/ordinary_ui/player_program.h"
#include "support/temp_dir.h"

using namespace ordinary_player_ui;
using namespace ordinary_ui_test;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// The message a damaged card gives when exe1 opens it.
std::string MessageFor(const std::string& cardBytes, const TempDir& dir) {
  WriteBytes(dir.File("bad.crd1"), cardBytes);
  platform::ScriptedDialogs dialogs;
  std::optional<UnpackedCard> card = OpenCardForPlaying({dir.File("bad.crd1")}, "", dir.File("media\\"));
  EXPECT_FALSE(card.has_value());
  if (dialogs.shown.size() != 1) return "(" + std::to_string(dialogs.shown.size()) + " boxes)";
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_EQ(dialogs.shown[0].caption, platform::ApplicationTitle());
  EXPECT_EQ(dialogs.shown[0].text.rfind("无法播放贺卡 " + dir.File("bad.crd1"), 0), 0u) << dialogs.shown[0].text;
  return dialogs.shown[0].text;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(CardUnpack, WritesTheMediaAndPointsTheSettingsAtThem) {
  TempDir dir;
  const std::string picture = QuarterBmp(), box = QuarterBmp(8, 2);
  ordinary::OrdinarySettings s = SmallCard();
  s.boxWord = "第一行\r\n第二行";
  packaging::CardReader card(OrdinaryCardBytes(s, picture, box));
  UnpackedCard u = UnpackOrdinaryCard(card, dir.File("media\\"));
  EXPECT_EQ(u.settings.cardImg, dir.File("media\\card.bmp"));
  EXPECT_EQ(u.settings.cardBox, dir.File("media\\box.bmp"));
  EXPECT_EQ(ReadBytes(u.settings.cardImg), picture);
  EXPECT_EQ(ReadBytes(u.settings.cardBox), box);
  EXPECT_EQ(u.settings.boxWord, "第一行\r\n第二行");
  EXPECT_EQ(u.settings.cardWidth, "100");
  EXPECT_TRUE(u.settings.click);
  EXPECT_FALSE(u.icon.has_value());
  EXPECT_EQ(u.files.size(), 2u);
  RemoveUnpackedFiles(u, dir.File("media\\"));
  EXPECT_FALSE(platform::files::Exists(u.settings.cardImg));
  EXPECT_FALSE(platform::files::Exists(dir.File("media")));
}

TEST(CardUnpack, DamagedCardsNameWhatIsWrong) {
  TempDir dir;
  const std::string picture = QuarterBmp();
  ordinary::OrdinarySettings s = SmallCard();

  // Not a card at all.
  EXPECT_TRUE(Has(MessageFor("just some text", dir), "不是贺卡文件"));
  // A card size that is no number, or no size.
  s.cardWidth = "abc";
  EXPECT_TRUE(Has(MessageFor(OrdinaryCardBytes(s, picture, picture), dir), "贺卡宽度（第 3 项）不是数字"));
  s.cardWidth = "100";
  s.cardHeight = "0";
  EXPECT_TRUE(Has(MessageFor(OrdinaryCardBytes(s, picture, picture), dir), "贺卡高度（第 4 项）是 0"));
  s.cardHeight = "80";
  // A picture that does not decode, and one of a kind the player does not show.
  std::string broken = picture;
  broken.resize(30);
  EXPECT_TRUE(Has(MessageFor(OrdinaryCardBytes(s, broken, picture), dir), "贺卡图片无法显示"));
  s.cardImg = "card.png";
  EXPECT_TRUE(Has(MessageFor(OrdinaryCardBytes(s, picture, picture), dir), "贺卡图片的类型“.png”无法显示"));
  s.cardImg = "card.bmp";
  EXPECT_TRUE(Has(MessageFor(OrdinaryCardBytes(s, picture, broken), dir), "贺词框图片无法显示"));
  // Lengths that run past the settings block.
  std::string cut = OrdinaryCardBytes(s, picture, picture);
  cut.erase(packaging::HeaderFileBytes().size(), 10);
  EXPECT_TRUE(Has(MessageFor(cut, dir), "贺卡文件已损坏"));
  // A number field spoiled in the settings text.
  std::string text = packaging::OrdinarySettingsText(s, {picture.size(), 0, 0, picture.size()},
                                                     packaging::HeaderFileBytes().size());
  text.replace(text.find("<%=lmcrlf%>" + std::to_string(s.cardBkColor) + "<%=lmcrlf%>"),
               std::to_string(s.cardBkColor).size() + 22, "<%=lmcrlf%>red<%=lmcrlf%>");
  EXPECT_TRUE(Has(MessageFor(packaging::HeaderFileBytes() + picture + picture + packaging::OrdinaryBlock(text), dir),
                  "第 5 项不是数字"));
  // An interactive card handed to the ordinary player.
  std::string interactive = packaging::HeaderFileBytes() +
                            packaging::InteractiveBlock("[Application]\r\nWidth=100\r\nHeight=80\r\n");
  EXPECT_TRUE(Has(MessageFor(interactive, dir), "不是普通型贺卡"));
  EXPECT_FALSE(platform::files::Exists(dir.File("media\\card.bmp")));
}

TEST(CardUnpack, MissingFilesAndProgramsWithoutACardSaySo) {
  TempDir dir;
  platform::ScriptedDialogs dialogs;
  EXPECT_FALSE(OpenCardForPlaying({dir.File("nothing.crd1")}, "", dir.File("m\\")).has_value());
  // This test program is an executable with nothing appended: as exe1 it carries no card.
  EXPECT_FALSE(OpenCardForPlaying({}, OwnProgramFile(), dir.File("m\\")).has_value());
  ASSERT_EQ(dialogs.Messages().size(), 2u);
  EXPECT_EQ(dialogs.Messages()[0], CardErrorMessage(dir.File("nothing.crd1"), "文件不存在。"));
  EXPECT_EQ(dialogs.Messages()[1], NoCardMessage());
}

TEST(CardUnpack, ACardAppendedToTheProgramPlaysWithItsPatchedIcon) {
  TempDir dir;
  // The program's own bytes, an icon patch, then the card: what a built EXE card with a
  // replacement icon holds.
  std::string self = ReadBytes(OwnProgramFile());
  ASSERT_FALSE(self.empty());
  const std::string picture = QuarterBmp();
  ordinary::OrdinarySettings s = SmallCard();
  s.boxIndex = 0;
  std::string icon;
  {
    // A 32x32 32-bit icon image: header, pixels, AND mask.
    auto put32 = [&](uint32_t v) {
      for (int i = 0; i < 4; ++i) icon += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(40), put32(32), put32(64), icon += std::string("\x01\x00\x20\x00", 4);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int i = 0; i < 32 * 32; ++i) put32(0xFF00C000);
    icon += std::string(32 * 4, '\0');
  }
  std::string form = packaging::FormFileBytes(1).substr(0, packaging::kForm1PrefixLength);
  std::string base = self + form + icon.substr(packaging::kIconHeaderStart.size());
  packaging::OrdinaryMediaLengths len;
  len.cardImg = picture.size();
  std::string card = base + picture + packaging::OrdinaryBlock(packaging::OrdinarySettingsText(s, len, base.size()));
  ASSERT_TRUE(WriteBytes(dir.File("card.exe"), card));
  platform::ScriptedDialogs dialogs;
  std::optional<UnpackedCard> u = OpenCardForPlaying({}, dir.File("card.exe"), dir.File("m\\"));
  ASSERT_TRUE(u.has_value()) << (dialogs.Messages().empty() ? "" : dialogs.Messages()[0]);
  ASSERT_TRUE(u->icon.has_value());
  EXPECT_EQ(u->icon->width, 32);
  EXPECT_EQ(u->icon->argb[0], 0xFF00C000u);
  App();
  QIcon windowIcon = CardWindowIcon(*u);
  ASSERT_FALSE(windowIcon.isNull());
  EXPECT_EQ(windowIcon.pixmap(32, 32).toImage().pixel(5, 5), 0xFF00C000u);
  RemoveUnpackedFiles(*u, dir.File("m\\"));
}

TEST(CardUnpack, MediaFoldersOfGoneRunsAreRemovedOthersKept) {
  TempDir temp;
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", temp.HostPath().c_str(), 1);
  pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);  // a process id that no longer runs
  const std::string gone = temp.File("lmcard-exe1-" + std::to_string(child));
  const std::string mine = RunMediaFolder();
  const std::string parent = temp.File("lmcard-exe1-" + std::to_string(::getppid()));
  const std::string other = temp.File("lmcard-exe1-x1");
  for (const std::string& f : {gone, mine, parent, other}) {
    ASSERT_TRUE(platform::files::CreateFolder(f)) << f;
    ASSERT_TRUE(WriteBytes(platform::paths::Join(f, "card.bmp"), "x"));
  }
  RemoveStaleMediaFolders();
  if (old) ::setenv("TMPDIR", saved.c_str(), 1);
  else ::unsetenv("TMPDIR");
  EXPECT_FALSE(platform::files::Exists(gone));
  EXPECT_TRUE(platform::files::Exists(platform::paths::Join(mine, "card.bmp")));
  EXPECT_TRUE(platform::files::Exists(parent));
  EXPECT_TRUE(platform::files::Exists(other));
}
