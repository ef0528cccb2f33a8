#include "player/card_actions.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"
#include "player_fixture.h"
#include "support/temp_dir.h"

using namespace player;
using document::ElementKind;
using platform::MsgResult;
using player_fixture::CardBytes;

namespace {

// Records what the window is asked to do.
struct RecordingHost : CardHost {
  std::vector<std::string> calls;
  void CloseCard() override { calls.push_back("close"); }
  void SetLabelText(int tag, const std::string& text) override { calls.push_back("label" + std::to_string(tag) + ":" + text); }
  bool SetImagePicture(int tag, const std::string& path) override { return Record("image", tag, path); }
  bool SetGifPicture(int tag, const std::string& path) override { return Record("gif", tag, path); }
  bool SetFlashMovie(int tag, const std::string& path) override { return Record("flash", tag, path); }
  void PicsPrevious() override { calls.push_back("pics-prev"); }
  void PicsNext() override { calls.push_back("pics-next"); }
  bool PicsShow(int index) override {
    calls.push_back("pics-show" + std::to_string(index));
    return true;
  }
  void PlaySound(const std::string& path) override { calls.push_back("sound:" + platform::files::ReadFile(path).value_or("?")); }
  // Picture changes record the file's content, which tells which media was written out.
  bool Record(const std::string& what, int tag, const std::string& path) {
    calls.push_back(what + std::to_string(tag) + ":" + platform::files::ReadFile(path).value_or("?"));
    return true;
  }
};

struct RecordingLauncher : Launcher {
  std::vector<std::string> opened, started;
  bool Open(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  bool StartProgram(const std::string& path) override {
    started.push_back(path);
    return true;
  }
  bool StartPlayer(const std::string& stub, const std::string& card) override {
    started.push_back(stub + " " + platform::files::ReadFile(card).value_or("?"));
    return true;
  }
};

// A card with one image, one GIF, a Flash movie, a sound, a show box and a label, whose
// action files are packed media.
struct Card {
  packaging::CardReader reader;
  CardModel model;
  MediaStore media;
  RecordingHost host;
  RecordingLauncher launcher;
  CardRuntime runtime;
  explicit Card(const CardBytes& c)
      : reader(c.Build()), model(ReadCardModel(reader)), media(reader), runtime(model, media, host, launcher) {}
};

CardBytes RichCard() {
  CardBytes c = player_fixture::SmallCard();
  const int newPic = c.AddMedia("BMnew picture");
  const int ding = c.AddMedia("RIFF....WAVEding");
  c.AddMedia("FWSmovie");  // packed, though the movie object names no file
  const int nested = c.AddMedia("nested card");
  c.Set("Application", "ImageCount", "1").Set("Application", "GIFCount", "1").Set("Application", "WavCount", "1");
  c.Set("Application", "FlashCount", "1");
  c.Set("Image1", "Tag", "3").Set("Image1", "Cmd", "图片3改为设置值1中的值").Set("Image1", "Pic", "C:\\x\\new.bmp");
  c.Set("Image1", "PicUrl", std::to_string(newPic)).Set("Image1", "Wav", "2");
  for (const char* k : {"Left", "Top", "Width", "Height"}) c.Set("Image1", k, "1");
  c.Set("Gif1", "Tag", "1").Set("Gif1", "Cmd", "打开设置值1中的文件").Set("Gif1", "Pic", "C:\\x\\more.crd3");
  c.Set("Gif1", "PicUrl", std::to_string(nested));
  c.Set("Wav2", "Tag", "2").Set("Wav2", "FilenameID", std::to_string(ding)).Set("Wav2", "Filename", "C:\\d.wav");
  c.Set("Flash1", "Tag", "5").Set("Flash1", "FileNameID", "-1");
  return c;
}

}  // namespace

TEST(CardActions, ActionTextsAreRecognised) {
  EXPECT_EQ(ParseAction(""), (Action{ActionKind::None, 0}));
  EXPECT_EQ(ParseAction("无操作"), (Action{ActionKind::None, 0}));
  EXPECT_EQ(ParseAction("结束贺卡运行"), (Action{ActionKind::EndCard, 0}));
  EXPECT_EQ(ParseAction("打开设置值1中的文件"), (Action{ActionKind::OpenFile, 0}));
  EXPECT_EQ(ParseAction("提示设置值2中的信息"), (Action{ActionKind::ShowMessage, 0}));
  EXPECT_EQ(ParseAction("使图像展示框显示上一幅图像"), (Action{ActionKind::PicsPrevious, 0}));
  EXPECT_EQ(ParseAction("使图像展示框显示下一幅图像"), (Action{ActionKind::PicsNext, 0}));
  EXPECT_EQ(ParseAction("展示框显示序为设置值1的图像"), (Action{ActionKind::PicsNumber, 0}));
  EXPECT_EQ(ParseAction("文本框12的内容改为设置值2中的值"), (Action{ActionKind::LabelText, 12}));
  EXPECT_EQ(ParseAction("图片3改为设置值1中的值"), (Action{ActionKind::ImagePicture, 3}));
  EXPECT_EQ(ParseAction("GIF动画4改为设置值1中的值"), (Action{ActionKind::GifPicture, 4}));
  EXPECT_EQ(ParseAction("Flash电影2改为设置1中的值"), (Action{ActionKind::FlashMovie, 2}));
  // Near misses do nothing: a blank in the GIF prefix, "设置值1" in the Flash text, no number.
  EXPECT_EQ(ParseAction("GIF 动画4改为设置值1中的值").kind, ActionKind::Unknown);
  EXPECT_EQ(ParseAction("Flash电影2改为设置值1中的值").kind, ActionKind::Unknown);
  EXPECT_EQ(ParseAction("文本框的内容改为设置值2中的值").kind, ActionKind::Unknown);
  EXPECT_EQ(ParseAction("文本框x1的内容改为设置值2中的值").kind, ActionKind::Unknown);
}

TEST(CardActions, ValueRules) {
  EXPECT_TRUE(IsExecutablePath("C:\\tools\\RUN.BAT"));
  EXPECT_TRUE(IsExecutablePath("setup.exe "));
  EXPECT_TRUE(IsExecutablePath("x.reg"));
  EXPECT_FALSE(IsExecutablePath("photo.jpg"));
  EXPECT_TRUE(IsAddress("http://example.org"));
  EXPECT_TRUE(IsAddress("MAILTO:a@b.c"));
  EXPECT_TRUE(IsAddress("www.example.org"));
  EXPECT_FALSE(IsAddress("C:\\www.txt"));
  EXPECT_EQ(StubForCard("a.CRD3"), "exe3.exe");
  EXPECT_EQ(StubForCard("a.crd1"), "exe1.exe");
  EXPECT_EQ(StubForCard("a.txt"), "");
  EXPECT_EQ(PictureNumberIndex("1"), 0);
  EXPECT_EQ(PictureNumberIndex(" 3 "), 2);
  EXPECT_EQ(PictureNumberIndex(platform::paths::ProgramFolder() + "2"), 1);
  EXPECT_EQ(PictureNumberIndex("0"), -1);
  EXPECT_EQ(PictureNumberIndex("abc"), -1);
}

TEST(CardActions, ClicksRunTheirActionsWithPackedFilesAndSounds) {
  platform::ScriptedDialogs dialogs;
  Card card(RichCard());
  // Image: the click sound plays, then its picture becomes the packed file.
  card.runtime.Click(ElementKind::Image, 3);
  ASSERT_EQ(card.host.calls.size(), 2u);
  EXPECT_EQ(card.host.calls[0], "sound:RIFF....WAVEding");
  EXPECT_EQ(card.host.calls[1], "image3:BMnew picture");
  // GIF: opening a packed ".crd3" starts the Flash card player on the written-out file.
  card.runtime.Click(ElementKind::Gif, 1);
  ASSERT_EQ(card.launcher.started.size(), 1u);
  EXPECT_EQ(card.launcher.started[0], "exe3.exe nested card");
  // A packed file that is no card goes to the desktop's opener.
  ClickSetting open;
  open.cmd = "打开设置值1中的文件";
  open.value1 = card.model.images[0].click.value1;
  card.runtime.RunClick(open);
  ASSERT_EQ(card.launcher.opened.size(), 1u);
  EXPECT_EQ(platform::paths::ExtractFileName(card.launcher.opened[0]), "new.bmp");
  EXPECT_EQ(platform::files::ReadFile(card.launcher.opened[0]).value_or(""), "BMnew picture");
  // Button: ends the card.
  card.runtime.Click(ElementKind::Button, 1);
  EXPECT_EQ(card.host.calls.back(), "close");
  // Unknown tags and kinds without clicks do nothing.
  const size_t before = card.host.calls.size();
  card.runtime.Click(ElementKind::Button, 9);
  card.runtime.Click(ElementKind::Scl, 1);
  EXPECT_EQ(card.host.calls.size(), before);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(CardActions, RunClickCoversMessagesLabelsShowBoxAndMissingTargets) {
  platform::ScriptedDialogs dialogs;
  Card card(RichCard());  // a card without show box
  ClickSetting click;
  click.cmd = "提示设置值2中的信息";
  click.text = "新年快乐\r\n万事如意";
  card.runtime.RunClick(click);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "新年快乐\r\n万事如意");
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Information);

  click = {};
  click.cmd = "文本框1的内容改为设置值2中的值";
  click.text = "改好了";
  card.runtime.RunClick(click);
  click.cmd = "文本框7的内容改为设置值2中的值";  // no such label
  card.runtime.RunClick(click);
  EXPECT_EQ(card.host.calls, (std::vector<std::string>{"label1:改好了"}));

  // Show box actions do nothing on a card without a show box.
  click = {};
  click.cmd = "使图像展示框显示下一幅图像";
  card.runtime.RunClick(click);
  EXPECT_EQ(card.host.calls.size(), 1u);

  // A Flash movie whose file is neither packed nor present stays as it is.
  click = {};
  click.cmd = "Flash电影5改为设置1中的值";
  click.value1.path = "C:\\nowhere\\movie.swf";
  card.runtime.RunClick(click);
  EXPECT_EQ(card.host.calls.size(), 1u);

  // An address opens in the browser; a missing file is reported.
  click = {};
  click.cmd = "打开设置值1中的文件";
  click.value1.path = "mailto:?subject=新年快乐";
  card.runtime.RunClick(click);
  EXPECT_EQ(card.launcher.opened, (std::vector<std::string>{"mailto:?subject=新年快乐"}));
  click.value1.path = "/no/such/file.txt";
  card.runtime.RunClick(click);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_NE(dialogs.shown[1].text.find("/no/such/file.txt"), std::string::npos);
  EXPECT_EQ(card.launcher.opened.size(), 1u);
}

TEST(CardActions, ShowBoxActionsWithPictureNumbers) {
  platform::ScriptedDialogs dialogs;
  CardBytes c;
  c.Set("Application", "Width", "100");
  c.AddMedia("\xFF\xD8pic");
  c.Set("PicsBox", "PicCount", "1").Set("PicsBox", "Pic0", "0").Set("PicsBox", "Use", "True");
  Card card(c);
  ClickSetting click;
  for (const char* cmd : {"使图像展示框显示上一幅图像", "使图像展示框显示下一幅图像"}) {
    click.cmd = cmd;
    card.runtime.RunClick(click);
  }
  click.cmd = "展示框显示序为设置值1的图像";
  click.value1.path = "2";
  card.runtime.RunClick(click);
  click.value1.path = "第一幅";
  card.runtime.RunClick(click);
  EXPECT_EQ(card.host.calls, (std::vector<std::string>{"pics-prev", "pics-next", "pics-show1"}));
}

TEST(CardActions, ExecutablesRunOnlyAfterTheUserAgrees) {
  testing_support::TempDir dir;
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("setup.exe"), "MZ"));
  platform::ScriptedDialogs dialogs;
  Card card(player_fixture::SmallCard());
  ClickSetting click;
  click.cmd = "打开设置值1中的文件";
  click.value1.path = dir.File("setup.exe");

  dialogs.messageAnswers.push_back(MsgResult::No);
  card.runtime.RunClick(click);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].buttons, platform::MsgButtons::YesNo);
  EXPECT_NE(dialogs.shown[0].text.find(dir.File("setup.exe")), std::string::npos);
  EXPECT_TRUE(card.launcher.started.empty());
  EXPECT_TRUE(card.launcher.opened.empty());

  dialogs.messageAnswers.push_back(MsgResult::Cancel);  // closing the box is no yes either
  card.runtime.RunClick(click);
  EXPECT_TRUE(card.launcher.started.empty());

  dialogs.messageAnswers.push_back(MsgResult::Yes);
  card.runtime.RunClick(click);
  EXPECT_EQ(card.launcher.started, (std::vector<std::string>{dir.File("setup.exe")}));
  EXPECT_TRUE(card.launcher.opened.empty());  // never handed to the desktop opener
}

TEST(CardActions, WindowShownAndClosingActions) {
  platform::ScriptedDialogs dialogs;
  CardBytes c = player_fixture::SmallCard();
  c.Set("Application", "OnLoad", "2").Set("Application", "OnLoadSet", "欢迎");
  c.Set("Application", "OnClose", "1").Set("Application", "OnCloseSet", "http://example.org/");
  Card card(c);
  card.runtime.WindowShown();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "欢迎");
  EXPECT_TRUE(card.launcher.opened.empty());
  card.runtime.WindowClosing();
  EXPECT_EQ(card.launcher.opened, (std::vector<std::string>{"http://example.org/"}));
}
