#include "maker/packaging/package_builder.h"

#include <gtest/gtest.h>

#include "maker/packaging/card_reader.h"
#include "maker/packaging/icon_patch.h"
#include "maker/packaging/packaging_fixture.h"
#include "maker/packaging/settings_block.h"
#include "platform/text.h"
#include "platform/user_folders.h"

using namespace packaging;
using namespace packaging_test;
using document::CardDocument;

namespace {

class MakeExeTest : public PackagingTest {
 protected:
  // A card that needs nothing packed: the title bar on, no files.
  CardDocument Empty() {
    CardDocument doc;
    doc.window.showTitbar = true;
    return doc;
  }
  document::LabelElement Label(int tag, std::string cmd, std::string pic) {
    document::LabelElement e;
    e.control.tag = tag;
    e.control.caption = "标签";
    e.rec.Cmd = std::move(cmd);
    e.rec.Pic = std::move(pic);
    return e;
  }
  document::ImageElement Image(int tag, std::string file, std::string pic = "") {
    document::ImageElement e;
    e.control.tag = tag;
    e.rec.Filename = std::move(file);
    e.rec.Pic = std::move(pic);
    return e;
  }
};

}  // namespace

TEST_F(MakeExeTest, CardWithoutMediaIsTheStubFollowedByTheSettingsBlock) {
  CardDocument doc = Empty();
  std::vector<std::string> status;
  MakeExeHooks hooks;
  hooks.status = [&](const std::string& s) { status.push_back(s); };
  const std::string out = Pf("card.exe");
  ASSERT_TRUE(MakeExe(doc, out, hooks));
  EXPECT_EQ(status, (std::vector<std::string>{"正在编译...", "正在写EXE...", "就绪"}));
  const std::string bytes = ReadBytes(out);
  const std::string stub = ReadBytes(Wf("exe2.exe"));
  ASSERT_EQ(bytes.substr(0, stub.size()), stub);
  EXPECT_EQ(bytes.substr(stub.size(), 6), std::string(6, '\xFD'));
  // The settings text is ~tmpset.obj, left in place; its last three bytes are plain.
  const std::string text = ReadBytes(Pf("~tmpset.obj"));
  ASSERT_GT(text.size(), 3u);
  EXPECT_EQ(bytes.size(), stub.size() + 6 + text.size());
  EXPECT_EQ(bytes.substr(bytes.size() - 3), text.substr(text.size() - 3));
  EXPECT_TRUE(text.ends_with("\r\n"));
  for (size_t i = 0; i + 3 < text.size(); ++i) {
    ASSERT_EQ(static_cast<unsigned char>(bytes[stub.size() + 6 + i]),
              static_cast<unsigned char>(text[i]) ^ 0x6B) << i;
  }
  CardReader card(bytes);
  EXPECT_EQ(card.Kind(), CardKind::Interactive);
  EXPECT_EQ(card.Family(), CardFamily::Plain);
  EXPECT_EQ(card.Form(), CardForm::Exe);
  EXPECT_EQ(card.Text(), text);
  EXPECT_TRUE(card.Media().empty());
  EXPECT_EQ(card.Value("Application", "ICON", "none"), "none");
  EXPECT_EQ(card.Value("PicsBox", "Use"), "False");
  EXPECT_FALSE(card.Value("END", "MakeTime").empty());
  EXPECT_FALSE(platform::profile::GetString(ProgramSettingsFile(), "LMCARD", "LastMake", "").empty());
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MakeExeTest, MediaIdsFollowTheBuildersOrderAndShareCaseInsensitively) {
  CardDocument doc = Empty();
  doc.window.bkPic = true;
  doc.window.bkPicName = Write("Back.BMP", std::string(100, 'B'));
  doc.window.musicName = Write("song.mid", std::string(200, 'M'));
  Write("readme.txt", std::string(30, 'T'));
  Write("run.BAT", "echo");
  Write("pic.jpg", std::string(40, 'P'));
  doc.labels.push_back(Label(1, "打开设置值1中的文件", Pf("run.BAT")));
  doc.labels.push_back(Label(2, "打开设置值1中的文件", Pf("readme.txt")));
  doc.images.push_back(Image(1, Pf("PIC.JPG"), Pf("gone.txt")));
  doc.images.push_back(Image(2, Pf("pic.jpg")));
  doc.picsBox = document::PicsBoxControl{};
  doc.picsDat.pictures = {Pf("Pic.jpg"), Pf("back.bmp")};
  document::WavElement wav;
  wav.control.tag = 7;
  wav.rec.Filename = Write("ding.wav", std::string(50, 'W'));
  doc.wavs.push_back(wav);

  ASSERT_TRUE(MakeExe(doc, Pf("card.exe")));
  CardReader card = CardReader::Open(Pf("card.exe"));
  // background 0, music 1, label action 2, show box picture 3; the rest share those ids.
  ASSERT_EQ(card.Media().size(), 5u);
  const char fill[] = {'B', 'M', 'T', 'P', 'W'};
  const uint64_t lengths[] = {100, 200, 30, 40, 50};
  uint64_t at = 240000;
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(card.Media()[k].start, at) << k;
    EXPECT_EQ(card.MediaBytes(card.Media()[k]), std::string(lengths[k], fill[k])) << k;
    at += lengths[k];
  }
  EXPECT_EQ(card.BlockOffset(), at);
  EXPECT_EQ(card.Value("Application", "BkPic"), "0");
  EXPECT_EQ(card.Value("Application", "YxPic"), "-1");
  EXPECT_EQ(card.Value("Application", "Music"), "1");
  EXPECT_EQ(card.Value("Label1", "PicUrl"), "-1");  // executable, in capitals: never packed
  EXPECT_EQ(card.Value("Label1", "Pic"), Pf("run.BAT"));
  EXPECT_EQ(card.Value("Label2", "PicUrl"), "2");
  EXPECT_EQ(card.Value("Image1", "FilenameId"), "3");
  EXPECT_EQ(card.Value("Image1", "PicUrl"), "-1");
  EXPECT_EQ(card.Value("Image2", "FilenameId"), "3");
  EXPECT_EQ(card.Value("PicsBox", "Pic0"), "3");
  EXPECT_EQ(card.Value("PicsBox", "Pic1"), "0");
  EXPECT_EQ(card.Value("Wav7", "FilenameID"), "4");  // named after the Tag
  EXPECT_EQ(card.Value("Wav1", "FilenameID", "absent"), "absent");

  // Section order: Application, labels, images, PicsBox (after the images), sounds, files, END.
  std::vector<std::string> names;
  for (const CardSection& s : card.Sections()) names.push_back(s.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Application", "Label1", "Label2", "Image1", "Image2", "PicsBox", "Wav7",
                                             "File0", "File1", "File2", "File3", "File4", "END"}));
  EXPECT_EQ(doc.mediaList.size(), 5u);
  EXPECT_EQ(doc.mediaList[0], platform::AsciiLower(Pf("Back.BMP")));
}

TEST_F(MakeExeTest, FamilyAndFormFollowTheDesignAndTheOutputName) {
  CardDocument doc = Empty();
  document::FlashElement flash;
  flash.control.tag = 1;
  flash.rec.Filename = Write("movie.swf", "FWS");
  doc.flashes.push_back(flash);
  // A Flash design under a ".crd2" name is an EXE card of the Flash family.
  ASSERT_TRUE(MakeExe(doc, Pf("a.crd2")));
  std::string bytes = ReadBytes(Pf("a.crd2"));
  EXPECT_EQ(bytes.substr(0, 250000), ReadBytes(Wf("exe3.exe")));
  EXPECT_EQ(CardReader(bytes).Family(), CardFamily::Flash);
  // Under ".CRD3" it is a plain card file.
  ASSERT_TRUE(MakeExe(doc, Pf("b.CRD3")));
  CardReader plain = CardReader::Open(Pf("b.crd3"));
  EXPECT_EQ(plain.Form(), CardForm::PlainFile);
  EXPECT_EQ(plain.Bytes().substr(0, HeaderFileBytes().size()), HeaderFileBytes());
  EXPECT_EQ(plain.Media()[0].start, HeaderFileBytes().size());

  // A design without Flash that packs a ".crd3" action file takes the Flash family too.
  CardDocument linked = Empty();
  linked.labels.push_back(Label(1, "打开设置值1中的文件", Write("other.CRD3", "card")));
  ASSERT_TRUE(MakeExe(linked, Pf("c.exe")));
  EXPECT_EQ(CardReader::Open(Pf("c.exe")).Family(), CardFamily::Flash);
  CardDocument none = Empty();
  ASSERT_TRUE(MakeExe(none, Pf("d.crd2")));
  EXPECT_EQ(CardReader::Open(Pf("d.crd2")).Form(), CardForm::PlainFile);
}

TEST_F(MakeExeTest, IconPatchTakesForm4For256ColourIconsAndTheOptionLength) {
  CardDocument doc = Empty();
  const std::string icon8 = IconFile(32, 32, 8);
  ASSERT_EQ(static_cast<unsigned char>(icon8[14]), 168);
  doc.window.icon = Write("card.ico", icon8);
  // No Option.ini: EXE2 defaults to 230139.
  ASSERT_TRUE(MakeExe(doc, Pf("a.exe")));
  CardReader a = CardReader::Open(Pf("a.exe"));
  ASSERT_TRUE(a.Icon().has_value());
  EXPECT_EQ(a.Icon()->offset, 230139u);
  EXPECT_EQ(a.Icon()->form, 4);
  EXPECT_EQ(a.Bytes().substr(230139, 38), FormFileBytes(4));
  EXPECT_EQ(a.Bytes().substr(230139 + 38, IconImageTail(icon8)->size()), *IconImageTail(icon8));
  auto px = DecodeIconDib(std::string_view(a.Bytes()).substr(a.Icon()->imageOffset, a.Icon()->imageLength));
  ASSERT_TRUE(px);
  EXPECT_EQ(px->argb, DecodeIconDib(std::string_view(icon8).substr(22))->argb);

  // A 16-colour icon takes FORM3; Option.ini's own length applies. (A 32-bit 32x32 image is
  // 4264 bytes long, so byte 14 reads 168 for it as well and it takes FORM4.)
  Write("windows/Option.ini", OptionIniText(-1, 240000, 250000));
  doc.window.icon = Write("few.ico", IconFile(32, 32, 4));
  ASSERT_TRUE(MakeExe(doc, Pf("b.exe")));
  CardReader b = CardReader::Open(Pf("b.exe"));
  ASSERT_TRUE(b.Icon().has_value());
  EXPECT_EQ(b.Icon()->offset, 240000u);
  EXPECT_EQ(b.Icon()->form, 3);

  // A plain card file never carries the patch; the stub's own icon file is never used.
  ASSERT_TRUE(MakeExe(doc, Pf("c.crd2")));
  EXPECT_FALSE(CardReader::Open(Pf("c.crd2")).Icon().has_value());
  doc.window.icon = Write("Icon26.ico", icon8);
  ASSERT_TRUE(MakeExe(doc, Pf("d.exe")));
  EXPECT_FALSE(CardReader::Open(Pf("d.exe")).Icon().has_value());
  for (const char* work : {"~tmpico.obj", "~tmpico.ico", "~tmp.dat"}) EXPECT_FALSE(platform::files::Exists(Pf(work)));
}

TEST_F(MakeExeTest, UnusableIconKeepsTheStubsIconWithoutAMessage) {
  CardDocument doc = Empty();
  doc.window.icon = Write("tiny.ico", std::string(59, '\x28'));
  ASSERT_TRUE(MakeExe(doc, Pf("a.exe")));
  CardReader a = CardReader::Open(Pf("a.exe"));
  EXPECT_FALSE(a.Icon().has_value());
  EXPECT_EQ(a.BlockOffset(), 240000u);  // not cut either
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MakeExeTest, ChecksStopTheBuildBeforeAnythingIsWritten) {
  std::vector<std::string> flashed;
  MakeExeHooks hooks;
  hooks.onWindowCheckFailed = [&](const std::string& c) { flashed.push_back(c); };
  CardDocument doc = Empty();
  doc.window.bkPic = true;
  doc.window.bkPicName = Pf("gone.bmp");
  EXPECT_FALSE(MakeExe(doc, Pf("a.exe"), hooks));
  EXPECT_EQ(dialogs_.Messages().back(), "图片文件 " + Pf("gone.bmp") + " 不存在，请重新定义背景图片的位置或不使用背景图片。");
  doc.window.bkPic = false;
  doc.window.yxPic = true;
  doc.window.yxPicName = Pf("mask.bmp");
  EXPECT_FALSE(MakeExe(doc, Pf("a.exe"), hooks));
  EXPECT_EQ(dialogs_.Messages().back(), "图片文件 " + Pf("mask.bmp") + " 不存在，请重新定义掩饰图片的位置或不使用掩饰图片。");
  doc.window.yxPic = false;
  doc.window.musicName = Pf("gone.mid");
  EXPECT_FALSE(MakeExe(doc, Pf("a.exe"), hooks));
  EXPECT_EQ(dialogs_.Messages().back(), "音乐文件 " + Pf("gone.mid") + " 不存在，请重新定义背景音乐的位置或不使用背景音乐。");
  EXPECT_EQ(flashed, (std::vector<std::string>{"使用背景图片", "使用掩饰图片", "贺卡背景音乐:"}));
  doc.window.musicName.clear();
  doc.picsBox = document::PicsBoxControl{};
  doc.picsDat.pictures = {Pf("gone.jpg")};
  EXPECT_FALSE(MakeExe(doc, Pf("a.exe"), hooks));
  EXPECT_EQ(dialogs_.shown.back().text,
            "您在图像展示框中设置的图像文件：" + Pf("gone.jpg") + " 不存在，请重新定位该文件位置或移除该图像。");
  EXPECT_EQ(dialogs_.shown.back().icon, platform::MsgIcon::Error);
  EXPECT_FALSE(platform::files::Exists(Pf("a.exe")));
}

TEST_F(MakeExeTest, ACardThatCannotBeClosedGetsItsTitleBar) {
  CardDocument doc;
  doc.window.showTitbar = false;
  doc.labels.push_back(Label(1, "无操作", ""));
  ASSERT_TRUE(MakeExe(doc, Pf("a.exe")));
  EXPECT_TRUE(doc.window.showTitbar);
  EXPECT_EQ(CardReader::Open(Pf("a.exe")).Value("Application", "ShowTitbar"), "True");

  CardDocument closable;
  closable.labels.push_back(Label(1, "结束贺卡运行", ""));
  ASSERT_TRUE(MakeExe(closable, Pf("b.exe")));
  EXPECT_FALSE(closable.window.showTitbar);
}

TEST_F(MakeExeTest, AFailedWriteLeavesTheOldCardAndNoPartialFile) {
  const std::string out = Write("card.exe", "old card");
  CardDocument doc = Empty();
  platform::files::DeleteFile(Wf("exe2.exe"));
  EXPECT_FALSE(MakeExe(doc, out));
  EXPECT_EQ(dialogs_.Messages().back(), BuildFailureMessage(out));
  EXPECT_EQ(ReadBytes(out), "old card");
  EXPECT_TRUE(NoPartialFiles(out));
  EXPECT_TRUE(BuildFailureMessage("x").starts_with("生成贺卡文件：x 出错！\r\n\r\n请重新生成"));
}

TEST(CardReader, RefusesFilesThatAreNotCardsAndOffsetsBeyondTheBlock) {
  EXPECT_THROW(CardReader(std::string("MZ just a program\r\n")), CardFormatError);
  EXPECT_THROW(CardReader{std::string()}, CardFormatError);
  try {
    CardReader(std::string(100, '\xFD'));
    FAIL();
  } catch (const CardFormatError& e) {
    EXPECT_EQ(std::string(e.what()), "该文件不是贺卡文件：文件末尾没有贺卡的设置数据。");
  }
  const std::string head = "MZ stub";
  auto card = [&](const std::string& fileSection) {
    return head + "media" + InteractiveBlock("[Application]\r\nLabelCount=0\r\n" + fileSection + "[END]\r\nMakeTime=x\r\n");
  };
  CardReader good(card("[File0]\r\nLen=5\r\nStart=7\r\n"));
  ASSERT_EQ(good.Media().size(), 1u);
  EXPECT_EQ(good.MediaBytes(good.Media()[0]), "media");
  EXPECT_THROW(CardReader(card("[File0]\r\nLen=6\r\nStart=7\r\n")), CardFormatError);
  EXPECT_THROW(CardReader(card("[File0]\r\nLen=1\r\nStart=999999\r\n")), CardFormatError);
  EXPECT_THROW(CardReader(card("[File0]\r\nLen=-1\r\nStart=0\r\n")), CardFormatError);
  EXPECT_THROW(CardReader(card("[File0]\r\nLen=18446744073709551615\r\nStart=1\r\n")), CardFormatError);
}

TEST(CardReader, FindsTheOrdinaryBlockAfterMediaEndingInMarkerBytes) {
  // A greeting box picture that ends in 0xFF bytes sits right before the 0xFF marker.
  std::string text;
  for (int n = 1; n <= 48; ++n) {
    std::string v = n == 1 ? ".bmp" : n == 2 ? "4" : n == 48 ? "2" : "0";
    text += v + "<%=lmcrlf%>";
  }
  std::string bytes = "MZ" + std::string("\xFF\xFF\xFF\xFF", 4) + OrdinaryBlock(text);
  CardReader card(bytes);
  EXPECT_EQ(card.BlockOffset(), 6u);
  EXPECT_EQ(card.MediaBytes(card.Media()[0]), std::string(4, '\xFF'));
  // Lengths that do not reach the block are refused.
  std::string shortText = text;
  shortText.replace(shortText.find("4<%"), 1, "3");
  EXPECT_THROW(CardReader("MZ" + std::string(4, '\xFF') + OrdinaryBlock(shortText)), CardFormatError);
}

TEST_F(MakeExeTest, EveryElementKindTakesItsPlaceInTheMediaList) {
  CardDocument doc = Empty();
  auto file = [&](const std::string& name) { return Write(name, name); };
  doc.window.bkPic = true;
  doc.window.bkPicName = file("bk.bmp");
  doc.window.yxPic = true;
  doc.window.yxPicName = file("mask.bmp");
  doc.window.musicName = file("m.mid");
  doc.labels.push_back(Label(1, "打开设置值1中的文件", file("label.txt")));
  doc.picsBox = document::PicsBoxControl{};
  doc.picsDat.pictures = {file("show.jpg")};
  document::ButtonElement button;
  button.control.tag = 1;
  button.rec.Pic = file("button.txt");
  doc.buttons.push_back(button);
  doc.images.push_back(Image(1, file("image.jpg"), file("image.txt")));
  document::GifElement gif;
  gif.control.tag = 1;
  gif.rec.Pic = file("gif.txt");
  gif.rec.Filename = file("anim.gif");
  doc.gifs.push_back(gif);
  document::GifElement lost = gif;
  lost.control.tag = 2;
  lost.rec.Pic = Pf("nowhere.txt");
  lost.rec.Filename = Pf("nowhere.gif");
  doc.gifs.push_back(lost);
  document::WavElement wav;
  wav.control.tag = 3;
  wav.rec.Filename = file("s.wav");
  doc.wavs.push_back(wav);
  document::FlashElement flash;
  flash.control.tag = 1;
  flash.rec.Filename = file("f.swf");
  doc.flashes.push_back(flash);
  document::SclElement scl;
  scl.control.tag = 1;
  scl.rec.Pic = file("scl.bmp");
  doc.scls.push_back(scl);

  ASSERT_TRUE(MakeExe(doc, Pf("card.exe")));
  CardReader card = CardReader::Open(Pf("card.exe"));
  const char* order[] = {"bk.bmp",    "mask.bmp", "m.mid",    "label.txt", "show.jpg", "button.txt", "image.txt",
                         "image.jpg", "gif.txt",  "anim.gif", "s.wav",     "f.swf",    "scl.bmp"};
  ASSERT_EQ(card.Media().size(), std::size(order));
  for (size_t k = 0; k < std::size(order); ++k) EXPECT_EQ(card.MediaBytes(card.Media()[k]), order[k]) << k;
  EXPECT_EQ(card.Value("Application", "YxPic"), "1");
  EXPECT_EQ(card.Value("Application", "Music"), "2");
  EXPECT_EQ(card.Value("Button1", "PicUrl"), "5");
  EXPECT_EQ(card.Value("Gif1", "PicUrl"), "8");
  EXPECT_EQ(card.Value("Gif1", "FilenameId"), "9");
  EXPECT_EQ(card.Value("Gif2", "PicUrl"), "-1");  // missing files: left out, not reported
  EXPECT_EQ(card.Value("Gif2", "FilenameId"), "-1");
  EXPECT_EQ(card.Value("Wav3", "FilenameID"), "10");
  EXPECT_EQ(card.Value("Flash1", "FileNameID"), "11");
  EXPECT_EQ(card.Value("lmscl1", "PicID"), "12");
  EXPECT_EQ(card.Family(), CardFamily::Flash);
  EXPECT_TRUE(dialogs_.shown.empty());
  std::vector<std::string> names;
  for (const CardSection& s : card.Sections()) names.push_back(s.name);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 10),
            (std::vector<std::string>{"Application", "Label1", "Button1", "Image1", "PicsBox", "Gif1", "Gif2", "Wav3",
                                      "Flash1", "lmscl1"}));

  // The Flash family's stub is cut at 243007 when Option.ini has no EXE3.
  doc.window.icon = Write("c.ico", IconFile(32, 32, 8));
  ASSERT_TRUE(MakeExe(doc, Pf("icon.exe")));
  CardReader patched = CardReader::Open(Pf("icon.exe"));
  ASSERT_TRUE(patched.Icon().has_value());
  EXPECT_EQ(patched.Icon()->offset, 243007u);
}

TEST_F(MakeExeTest, ASuccessfulBuildReplacesAnExistingCardAndStampsTheTime) {
  const std::string out = Write("card.crd2", "old card");
  CardDocument doc = Empty();
  ASSERT_TRUE(MakeExe(doc, out));
  CardReader card = CardReader::Open(out);
  EXPECT_EQ(card.Form(), CardForm::PlainFile);
  EXPECT_EQ(card.Value("END", "MakeTime"),
            platform::profile::GetString(ProgramSettingsFile(), "LMCARD", "LastMake", ""));
  std::tm t{};
  t.tm_year = 102;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  EXPECT_EQ(ShortDateLongTime(t), "2002-1-5 7:03:09");
}

#ifndef _WIN32  // the user folders of an installed Linux program folder
TEST_F(MakeExeTest, BesideAReadOnlyProgramFolderWorkFilesAndSettingsGoToTheUsersFolders) {
  testing_support::TempDir home, out;
  setenv("XDG_DATA_HOME", home.HostPath().c_str(), 1);
  platform::user_folders::ForceInUse(true);
  CardDocument doc = Empty();
  doc.window.icon = Write("card.ico", IconFile(32, 32, 8));
  const std::vector<std::string> before = platform::files::ListFiles(dir_.Path());
  const bool built = MakeExe(doc, out.File("card.exe"));
  platform::user_folders::ForceInUse(std::nullopt);
  unsetenv("XDG_DATA_HOME");

  ASSERT_TRUE(built);
  EXPECT_EQ(platform::files::ListFiles(dir_.Path()), before);
  EXPECT_EQ(CardReader::Open(out.File("card.exe")).Text(),
            ReadBytes(platform::user_folders::TempFolder() + "~tmpset.obj"));
  EXPECT_TRUE(CardReader::Open(out.File("card.exe")).Icon().has_value());
  const auto settings = platform::files::ListFiles(home.Path() + "lmcard");
  ASSERT_EQ(settings.size(), 1u);
  EXPECT_FALSE(platform::profile::GetString(home.Path() + "lmcard/" + settings[0], "LMCARD", "LastMake", "").empty());
}
#endif
