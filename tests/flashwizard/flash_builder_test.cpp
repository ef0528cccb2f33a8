#include "flashwizard/flash_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "flashwizard/flash_pages.h"
#include "flashwizard/flash_project.h"
#include "platform/bmp_codec.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

using namespace flashwizard;
using testing_support::TempDir;

namespace {

// The recording Flash.dll's folder as program folder, its log in a fresh file.
class Recorder {
 public:
  explicit Recorder(const TempDir& dir, const char* fail = nullptr)
      : previous_(platform::paths::ProgramFolder()), log_(dir.HostPath() + "/calls.log") {
    platform::paths::SetProgramFolder(FLASH_RECORDER_DIR);
    setenv("FLASH_RECORDER_LOG", log_.c_str(), 1);
    if (fail) setenv("FLASH_RECORDER_FAIL", fail, 1);
    else unsetenv("FLASH_RECORDER_FAIL");
  }
  ~Recorder() {
    platform::paths::SetProgramFolder(previous_);
    unsetenv("FLASH_RECORDER_LOG");
    unsetenv("FLASH_RECORDER_FAIL");
  }
  std::vector<std::string> Calls() const {
    std::vector<std::string> out;
    std::istringstream in(testing_support::ReadBytes(platform::paths::FromHost(log_)));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

 private:
  std::string previous_, log_;
};

std::string Picture(const std::string& path, int w, int h) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(platform::Rgb(10, 20, 30));
  platform::SaveBmp(*b, path);
  return path;
}

// Two scenes of 1.5 + 30 + 1.5 s, a tiled background, music of 90 s, a title, two objects on
// layers 1 and 0 and one deleted slot.
std::unique_ptr<FlashProject> Project(const TempDir& dir) {
  auto p = std::make_unique<FlashProject>();
  FlashSettings& s = p->Settings;
  s.UseTitle = true;
  s.UseBackPic = true;
  s.TileBack = true;
  s.BackPic = Picture(dir.File("back.bmp"), 8, 8);
  s.UseMusic = true;
  s.BackMusic = dir.File("m.mp3");
  testing_support::WriteBytes(s.BackMusic, "ID3");
  p->MusicLength = 90000;
  p->SceneCount = 2;
  for (int i = 0; i < 2; ++i) {
    TpvFlashScene& c = p->Scenes[i];
    c.Name = "场景 " + std::to_string(i + 1);
    c.ShowEffTime = c.HideEffTime = 1500;
    c.ShowTime = 30000;
    c.ShowEff = 3;
    c.HideEff = 27;
    c.UseBackColor = true;
  }
  std::string a = Picture(dir.File("a.bmp"), 200, 100);
  p->AddPicture(a, 0);
  p->AddPicture(a, 0);
  p->AddPicture(a, 1);
  p->DelObj(1);
  p->Objects[0].LayerID = 1;
  p->Objects[0].Left = 400;
  p->Objects[0].Top = 300;
  p->Objects[0].Width = 300;  // 1.5 x the picture
  p->Objects[0].StartShowTime = 2000;
  p->Objects[2].Name = "last.bmp";
  return p;
}

BuildHooks TitleHooks(std::vector<std::pair<int, int>>* progress = nullptr) {
  BuildHooks h;
  h.exportTitle = [] {
    auto b = platform::Bitmap::Create(100, 40, platform::PixelFormat::Bgra32);
    for (int y = 5; y < 15; ++y)
      for (int x = 10; x < 30; ++x) b->SetPixelColor(x, y, platform::Rgb(255, 0, 0), 255);
    return b;
  };
  if (progress) h.progress = [progress](int m, int p) { progress->push_back({m, p}); };
  return h;
}

}  // namespace

TEST(FlashBuilder, TimingCountsMusicOnlyWhenUsed) {
  TempDir dir;
  auto p = Project(dir);
  MovieTiming t = ComputeTiming(*p);
  EXPECT_EQ(t.sceneStart, (std::vector<int>{0, 33000}));
  EXPECT_EQ(t.movieLength, 90000);
  p->Settings.UseMusic = false;
  EXPECT_EQ(ComputeTiming(*p).movieLength, 66000);
  EXPECT_EQ(PackedPosition(400, 300, 800, 600), (500 << 16) + 500);
  EXPECT_EQ(PackedPosition(-8, 0, 800, 600), -10 * 65536);
}

TEST(FlashBuilder, CallsTheEntryPointsInOrderWithTheirArguments) {
  TempDir dir;
  auto p = Project(dir);
  Recorder rec(dir);
  platform::ScriptedDialogs dialogs;
  std::vector<std::pair<int, int>> progress;
  ASSERT_TRUE(MakeFlash(*p, dir.File("out.swf"), TitleHooks(&progress)));
  auto calls = rec.Calls();
  ASSERT_EQ(calls.size(), 11u);
  EXPECT_EQ(calls[0], "CreateFlash(800,600,800,600,1,1,mintcloverharbors,callback)");
  EXPECT_EQ(calls[1], "CreateTitle(packet(22x12x1),389,8)");
  EXPECT_EQ(calls[2].substr(0, 46), "CreateBackGround(16777215,16777215,0,packet(8x");
  EXPECT_EQ(calls[2].substr(calls[2].size() - 3), ",2)");
  EXPECT_EQ(calls[3], "AddSound(file,0,0,0,0,0,0,0,0,0,1,0)");
  EXPECT_EQ(calls[4], "CreateSound()");
  // Layer 0 first: the last scene's object lasts to the end of the movie.
  EXPECT_EQ(calls[5], "AddSprinkle(packet(200x100x1),9,[9,0],0,0,0,1,33000,1,90000,1,1,1500,1500,1,0,1.0000,1.0000)");
  EXPECT_EQ(calls[6], "AddSprinkle(packet(200x100x1),9,[9," + std::to_string((500 << 16) + 500) +
                          "],0,0,0,1,2000,1,33500,1,1,1500,1500,1,0,1.5000,1.0000)");
  EXPECT_EQ(calls[7], "AddPhoto(packet(800x600x1),30000,3,1500,27,1500,0,0,0,0,10,0,0,0,0,0,0,1,0)");
  EXPECT_EQ(calls[8], calls[7]);
  EXPECT_EQ(calls[9].substr(0, 11), "FlashToFile");
  EXPECT_EQ(calls[10], "FreeFlashObj()");
  EXPECT_TRUE(dialogs.shown.empty());
  // The library's callback and the object steps reach the progress bar.
  // Positions are table index + 1 in building order: layer 0 (slot 2), then layer 1 (slot 0).
  EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{7, 3}, {3, 0}, {3, 3}, {3, 1}}));
}

TEST(FlashBuilder, AnObjectWithoutAnySceneKeepsItsOwnTimes) {
  // A template may hold an object of scene -1 and no scenes at all.
  TempDir dir;
  auto p = std::make_unique<FlashProject>();
  ASSERT_EQ(p->AddPicture(Picture(dir.File("a.bmp"), 20, 10), -1), 0);
  Recorder rec(dir);
  platform::ScriptedDialogs dialogs;
  ASSERT_TRUE(MakeFlash(*p, dir.File("out.swf")));
  auto calls = rec.Calls();
  auto sprinkle = std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("AddSprinkle", 0) == 0; });
  ASSERT_NE(sprinkle, calls.end());
  EXPECT_NE(sprinkle->find(",0,0,0,1,0,1,31500,"), std::string::npos) << *sprinkle;
}

TEST(FlashBuilder, FailuresShowTheirMessagesAndStopOnlyWhereTheyMust) {
  TempDir dir;
  auto p = Project(dir);
  {
    Recorder rec(dir, "CreateTitle,AddSprinkle,AddPhoto,CreateSound");
    platform::ScriptedDialogs dialogs;
    EXPECT_TRUE(MakeFlash(*p, dir.File("a.swf"), TitleHooks()));
    EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{
                                      "添加标题失败！", "添加背景音乐失败！", "添加 “last.bmp”失败！",
                                      "添加 “a.bmp”失败！", "添加场景 “场景 1” 失败！", "添加场景 “场景 2” 失败！"}));
  }
  {
    Recorder rec(dir, "AddSound");
    platform::ScriptedDialogs dialogs;
    EXPECT_TRUE(MakeFlash(*p, dir.File("b.swf"), TitleHooks()));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 22), "添加背景音乐失败！\r\n\r\n");
    EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Error);
  }
  {
    // A background that cannot be created ends the build and frees the movie.
    Recorder rec(dir, "CreateBackGround");
    platform::ScriptedDialogs dialogs;
    EXPECT_FALSE(MakeFlash(*p, dir.File("c.swf"), TitleHooks()));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"创建背景失败！"});
    EXPECT_EQ(rec.Calls().back(), "FreeFlashObj()");
  }
  {
    // A movie that was not written is not a built movie.
    Recorder rec(dir, "FlashToFile");
    platform::ScriptedDialogs dialogs;
    EXPECT_FALSE(MakeFlash(*p, dir.File("d.swf"), TitleHooks()));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"写入Flash到文件失败！"});
  }
  {
    Recorder rec(dir, "CreateFlash");
    platform::ScriptedDialogs dialogs;
    EXPECT_FALSE(SaveFlash(*p, dir.File("e.swf"), TitleHooks()));
    EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{"创建Flash失败！", "生成flash失败！"}));
    EXPECT_FALSE(platform::files::FileExists(dir.File("e.html")));
  }
  {
    platform::paths::SetProgramFolder(dir.Path());
    platform::ScriptedDialogs dialogs;
    EXPECT_FALSE(MakeFlash(*p, dir.File("f.swf")));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"载入Flash插件失败！请重新下载安装完整的《Lumo贺卡制作》。"});
    platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
  }
}

TEST(FlashPages, SizesAndPlaceholders) {
  EXPECT_EQ(FormatFileSize(1536), "1.5K");
  EXPECT_EQ(FormatFileSize(512), ".5K");
  EXPECT_EQ(FormatFileSize(2 * 1024 * 1024), "2M");
  EXPECT_EQ(FormatFileSize(1342177280ull), "1.25G");
  // The stored templates are scrambled with a permutation and read back.
  std::array<bool, 256> seen{};
  for (uint8_t v : PagePermutation()) seen[v] = true;
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 256);
  EXPECT_EQ(UnscramblePage(ScramblePage("<%CardFile%>贺卡")), "<%CardFile%>贺卡");
  platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
  auto save = LoadPageTemplate(PageKind::Save);
  ASSERT_TRUE(save.has_value());
  EXPECT_NE(save->find("<html"), std::string::npos);
  std::string page = FillPage(*save + "<%CARDFILE%>", PageKind::Save, "/cards/新年.swf", 512, "800", "600");
  EXPECT_EQ(page.find("<%"), std::string::npos) << page;
  EXPECT_NE(page.find(".5K"), std::string::npos);
  EXPECT_NE(page.find("/cards/新年.swf"), std::string::npos);
  EXPECT_NE(page.find("新年.swf\""), std::string::npos);
  EXPECT_NE(page.find("800px"), std::string::npos);
  auto view = LoadPageTemplate(PageKind::Preview);
  ASSERT_TRUE(view.has_value());
  std::string preview = FillPage(*view + "<%cardfullfile%>", PageKind::Preview, "/t/~lmcard.swf", 2048, "8", "6");
  EXPECT_NE(preview.find("<%cardfullfile%>"), std::string::npos);
  EXPECT_NE(preview.find("2K"), std::string::npos);
}

TEST(FlashPages, FileNamesAreEscapedForWhereTheyStand) {
  // "淺" ends in the byte of a backslash, which must pass unchanged.
  const std::string page =
      "<title><%cardfile%></title><a href=\"<%CardFile%>\"><%cardfullfile%></a>"
      "<script>load(\"<%cardfile%>\");</script><p><%cardwidth%></p>";
  std::string filled = FillPage(page, PageKind::Save, "/c/a&b\"<i>'#%淺.swf", 1, "<8>", "6");
  EXPECT_EQ(filled,
            "<title>a&amp;b&quot;&lt;i&gt;&#39;#%淺.swf</title>"
            "<a href=\"a&amp;b&quot;&lt;i&gt;&#39;%23%25淺.swf\">/c/a&amp;b&quot;&lt;i&gt;&#39;#%淺.swf</a>"
            "<script>load(\"a\\x26b\\\"\\x3ci\\x3e\\'%23%25淺.swf\");</script><p>&lt;8&gt;</p>");
}
