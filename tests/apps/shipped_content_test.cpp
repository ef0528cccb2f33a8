// What the program folder ships: every template opens with the suite's own readers and builds,
// through cardtool, into a card of its family that the card reader reads back; between them the
// interactive templates use every element kind and every click action and play on the card
// stage; the data folders hold
// the files the programs name. The content is copied into a fresh folder first and cardtool is
// pointed at it, so the test also shows that templates name their media relative to the
// program folder and work wherever it lies.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Literals of this file are GBK; cardtool talks UTF-8.
std::string U(const char* gbk) { return platform::GbkToUtf8(gbk); }

using ToolRun = testing_support::ProgramRun;

// Runs cardtool with the copied folder as its program folder; stdout only (progress goes to stderr).
ToolRun Cardtool(const std::string& programDir, const std::string& args) {
  return testing_support::RunProgram("LMCARD_PROGRAM_DIR='" + programDir + "' '" + std::string(CARD_PROGRAM_DIR) +
                                     "/cardtool' " + args + " 2>/dev/null");
}

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

// design-dump lines "Section.Key=value" (UTF-8), backslashes unescaped.
std::map<std::string, std::string> ParseDump(const std::string& text) {
  std::map<std::string, std::string> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) {
      std::string value = line.substr(eq + 1);
      for (size_t i = value.find("\\\\"); i != std::string::npos; i = value.find("\\\\", i + 1)) value.erase(i, 1);
      out[line.substr(0, eq)] = value;
    }
    pos = end + 1;
  }
  return out;
}

int Count(const std::map<std::string, std::string>& dump, const std::string& key) {
  auto it = dump.find(key);
  return it == dump.end() ? -1 : std::stoi(it->second);
}

bool Exists(const std::string& utf8Path) { return platform::files::FileExists(platform::Utf8ToGbk(utf8Path)); }

const char* const kFolders[] = {"template", "贺卡图片", "背景音乐", "录音", "贺词框", "贺词",
                                "图标",     "背景图",   "文字特效", "fonts", "help",
                                // the Flash player the pages carry, the Windows players EXE cards carry
                                "ruffle", "windows"};
const char* const kSideFiles[] = {"Flash.dll", "default.txt", "FORM1.obj", "FORM3.obj", "FORM4.obj",
                                  "flashsave.dat", "flashview.dat", "loading.gif"};

class ShippedContent : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing_support::TempDir;
    const fs::path shipped(CARD_PROGRAM_DIR);
    const fs::path root(dir_->HostPath());
    for (const char* folder : kFolders) {
      const std::string name = U(folder);
      if (fs::exists(shipped / name)) fs::copy(shipped / name, root / name, fs::copy_options::recursive);
    }
    for (const char* file : kSideFiles)
      if (fs::exists(shipped / file)) fs::copy_file(shipped / file, root / file);
    fs::create_directory(root / U("贺卡成品"));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static fs::path Root() { return fs::path(dir_->HostPath()); }
  static std::string Program() { return dir_->HostPath(); }
  static std::vector<fs::path> Templates(const std::string& ext) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(Root() / "template"))
      if (e.path().extension() == ext) out.push_back(e.path());
    return out;
  }
  static fs::path Built(const fs::path& templ, const std::string& ext) {
    return Root() / U("贺卡成品") / (templ.stem().string() + ext);
  }

  static testing_support::TempDir* dir_;
};

testing_support::TempDir* ShippedContent::dir_ = nullptr;

TEST_F(ShippedContent, InteractiveTemplatesBuildIntoCardsOfTheirFamilyThatReadBack) {
  const std::vector<fs::path> designs = Templates(".lmcard2");
  ASSERT_GE(designs.size(), 6u);
  EXPECT_TRUE(fs::exists(Root() / "template" / U("默认贺卡.lmcard2")));
  int flashCards = 0;
  for (const fs::path& design : designs) {
    SCOPED_TRACE(design.filename().string());
    ToolRun dump = Cardtool(Program(), "design-dump " + Quote(design));
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    auto d = ParseDump(dump.output);
    // Background, music and icon are found under the copied folder.
    EXPECT_EQ(d["Card.BkPic"], "1");
    for (const char* key : {"Card.BkPicName", "Card.MusicName", "Card.ICON"}) {
      EXPECT_TRUE(d[key].starts_with(Program())) << key << "=" << d[key];
      EXPECT_TRUE(Exists(d[key])) << key << "=" << d[key];
    }
    // The music is the template's own, not the reader's fallback for a missing file.
    const std::string music = platform::profile::GetString(platform::Utf8ToGbk(design.string()), "Application",
                                                           "MusicName", "");
    EXPECT_TRUE(d["Card.MusicName"].ends_with(platform::GbkToUtf8(music))) << d["Card.MusicName"];
    if (d["Card.YxPic"] == "1") {
      EXPECT_TRUE(Exists(d["Card.YxPicName"]));
    }
    // Every element's file exists, and so does every file a click action swaps in.
    for (const auto& [key, value] : d) {
      if (key.ends_with(".Filename")) {
        EXPECT_TRUE(Exists(value)) << key << "=" << value;
      }
      if (key.ends_with(".Cmd") && value.find(U("改为设置")) != std::string::npos && value.find(U("文本框")) != 0) {
        const std::string pic = d[key.substr(0, key.size() - 3) + "Pic"];
        EXPECT_TRUE(Exists(pic)) << key << " swaps in " << pic;
      }
    }
    // A card without a title bar must offer a way to end it.
    bool canEnd = d["Card.ShowTitbar"] == "1";
    for (const auto& [key, value] : d) canEnd = canEnd || (key.ends_with(".Cmd") && value == U("结束贺卡运行"));
    EXPECT_TRUE(canEnd);

    const bool flash = Count(d, "Card.FlashCount") > 0;
    flashCards += flash;
    const fs::path card = Built(design, flash ? ".crd3" : ".crd2");
    ToolRun build = Cardtool(Program(), "build " + Quote(design) + " " + Quote(card));
    ASSERT_EQ(build.exitCode, 0) << build.output;
    ToolRun inspect = Cardtool(Program(), "inspect " + Quote(card));
    ASSERT_EQ(inspect.exitCode, 0) << inspect.output;
    EXPECT_NE(inspect.output.find("kind: interactive"), std::string::npos);
    EXPECT_NE(inspect.output.find(flash ? "family: flash" : "family: plain"), std::string::npos) << inspect.output;
    EXPECT_NE(inspect.output.find("CardTitle=" + d["Card.CardTitle"]), std::string::npos);
    // Background, music and every picture, animation, sound and movie element travel inside.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(inspect.output, m, std::regex("media: ([0-9]+)")));
    const int elements = Count(d, "Card.ImageCount") + Count(d, "Card.GifCount") + Count(d, "Card.WavCount") +
                         Count(d, "Card.FlashCount");
    EXPECT_GE(std::stoi(m[1]), 2 + elements);
    // The card plays on the stage: drawn at its size, with its music.
    ToolRun play = Cardtool(Program(), "play " + Quote(card) + " " + Quote(Built(design, ".png")) + " --at 1500");
    ASSERT_EQ(play.exitCode, 0) << play.output;
    if (d["Card.YxPic"] != "1") {  // a mask picture's own size would be the card's
      EXPECT_NE(play.output.find("card " + d["Card.Width"] + "x" + d["Card.Height"]), std::string::npos) << play.output;
    }
    EXPECT_NE(play.output.find("sound: music "), std::string::npos) << play.output;
  }
  EXPECT_GE(flashCards, 1);
}

TEST_F(ShippedContent, InteractiveTemplatesUseEveryElementKindAndEveryAction) {
  std::set<std::string> kinds, actions;
  for (const fs::path& design : Templates(".lmcard2")) {
    auto d = ParseDump(Cardtool(Program(), "design-dump " + Quote(design)).output);
    for (const char* count : {"LabelCount", "ButtonCount", "ImageCount", "GifCount", "WavCount", "FlashCount",
                              "lmsclCount"})
      if (Count(d, std::string("Card.") + count) > 0) kinds.insert(count);
    if (d.contains("PicsBox.Pic0")) kinds.insert("PicsBox");
    for (const auto& [key, value] : d) {
      if (!key.ends_with(".Cmd") || value.empty()) continue;
      // Actions that name an element are counted by their kind.
      std::string action = platform::Utf8ToGbk(value);
      action = std::regex_replace(action, std::regex("^(文本框|图片|GIF动画|Flash电影)[0-9]+"), "$1N");
      actions.insert(action);
    }
    if (d["Card.OnLoad"] != "0") actions.insert("OnLoad" + d["Card.OnLoad"]);
    if (d["Card.OnClose"] != "0") actions.insert("OnClose" + d["Card.OnClose"]);
  }
  EXPECT_EQ(kinds, (std::set<std::string>{"LabelCount", "ButtonCount", "ImageCount", "GifCount", "WavCount",
                                          "FlashCount", "lmsclCount", "PicsBox"}));
  for (const char* action : {"无操作", "结束贺卡运行", "打开设置值1中的文件", "提示设置值2中的信息",
                             "使图像展示框显示上一幅图像", "使图像展示框显示下一幅图像", "展示框显示序为设置值1的图像",
                             "文本框N的内容改为设置值2中的值", "图片N改为设置值1中的值", "GIF动画N改为设置值1中的值",
                             "Flash电影N改为设置1中的值", "OnLoad2", "OnClose2"})
    EXPECT_TRUE(actions.contains(action)) << U(action);
}

TEST_F(ShippedContent, OrdinaryTemplatesBuildIntoOrdinaryCardsThatReadBack) {
  const std::vector<fs::path> templates = Templates(".lmcard");
  ASSERT_GE(templates.size(), 6u);
  for (const fs::path& templ : templates) {
    SCOPED_TRACE(templ.filename().string());
    const fs::path card = Built(templ, ".crd1");
    ToolRun build = Cardtool(Program(), "build-ordinary " + Quote(templ) + " " + Quote(card) + " --yes");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    ToolRun inspect = Cardtool(Program(), "inspect " + Quote(card));
    ASSERT_EQ(inspect.exitCode, 0);
    EXPECT_NE(inspect.output.find("kind: ordinary"), std::string::npos) << inspect.output;
    // The card picture, the music and the greeting box were all found through the program folder.
    EXPECT_NE(inspect.output.find("media: 3"), std::string::npos) << inspect.output;
    const std::string word = platform::profile::GetString(platform::Utf8ToGbk(templ.string()), "普通型贺卡", "BoxWord", "");
    EXPECT_NE(word.find("<%BR%>"), std::string::npos);
  }
}

TEST_F(ShippedContent, FlashTemplatesBuildIntoMoviesWithEveryObject) {
  const std::vector<fs::path> templates = Templates(".lmflash");
  ASSERT_GE(templates.size(), 4u);
  for (const fs::path& templ : templates) {
    SCOPED_TRACE(templ.filename().string());
    const std::string file = platform::Utf8ToGbk(templ.string());
    auto get = [&](const std::string& section, const char* key) {
      return platform::profile::GetString(file, section, key, "");
    };
    const int scenes = std::stoi(get("lmFlashCard", "SceneCount"));
    const int objects = std::stoi(get("lmFlashCard", "ImageCount"));
    EXPECT_GE(scenes, 2);
    int gifs = 0, texts = 0;
    for (int k = 0; k < objects; ++k) {
      const std::string section = "Image" + std::to_string(k);
      gifs += get(section, "IsGif") == "1";
      if (get(section, "IsText") != "1") continue;
      ++texts;
      // Text decorations are 32-bit pictures with alpha.
      std::string rel = platform::GbkToUtf8(get(section, "File"));  // no backslash inside a UTF-8 character
      for (char& c : rel)
        if (c == '\\') c = '/';
      ToolRun info = Cardtool(Program(), "picture-info " + Quote(Root() / rel));
      EXPECT_NE(info.output.find("bits 32"), std::string::npos) << info.output;
    }
    EXPECT_GE(gifs, 1);
    EXPECT_GE(texts, 1);

    const fs::path movie = Built(templ, ".swf");
    ToolRun build = Cardtool(Program(), "build-flash " + Quote(templ) + " " + Quote(movie));
    ASSERT_EQ(build.exitCode, 0) << build.output;
    // Every scene and every object was loaded: none was skipped for a missing file.
    EXPECT_NE(build.output.find(std::to_string(scenes) + " scenes, " + std::to_string(objects) + " objects"),
              std::string::npos)
        << build.output;
    EXPECT_TRUE(fs::exists(fs::path(movie).replace_extension(".html")));

    ToolRun dump = Cardtool(Program(), "swf-dump " + Quote(movie));
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    EXPECT_NE(dump.output.find("stage 800x600 px"), std::string::npos) << dump.output.substr(0, 200);
    EXPECT_NE(dump.output.find("DefineBitsJPEG"), std::string::npos);       // scene photos
    EXPECT_NE(dump.output.find("DefineBitsLossless2"), std::string::npos);  // animations and texts with alpha
    if (get("lmFlashCard", "UseMusic") == "1") {
      EXPECT_NE(dump.output.find("SoundStreamHead2"), std::string::npos);  // the music reached the movie
    }
  }
}

TEST_F(ShippedContent, DataFoldersHoldWhatTheProgramsName) {
  for (const char* name : {"背景音乐/7.mid", "图标/ICON26.ICO", "背景图/006.gif", "背景图/loading.gif",
                           "help/index.htm", "help/pn1.htm", "help/pn2.htm", "help/pn3.htm", "help/pn4.htm",
                           "help/pn5.htm", "help/pn6.htm", "help/hdhk.htm"})
    EXPECT_TRUE(fs::exists(Root() / U(name))) << U(name);

  // Music for the Flash cards: MP3 files whose length the music player can measure.
  int mp3 = 0;
  for (const auto& e : fs::directory_iterator(Root() / U("背景音乐"))) {
    if (e.path().extension() != ".mp3") continue;
    ++mp3;
    ToolRun info = Cardtool(Program(), "media-info " + Quote(e.path()));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info.output, m, std::regex("length ([0-9]+)"))) << info.output;
    EXPECT_GT(std::stoi(m[1]), 10000) << e.path();
  }
  EXPECT_GE(mp3, 1);

  // A sample voice in the recorder's own format: PCM WAV, mono, 11025 Hz, 8 bits.
  int voices = 0;
  for (const auto& e : fs::directory_iterator(Root() / U("录音"))) {
    const std::string wav = testing_support::ReadBytes(platform::Utf8ToGbk(e.path().string()));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    const auto u16 = [&](size_t at) { return static_cast<uint8_t>(wav[at]) | static_cast<uint8_t>(wav[at + 1]) << 8; };
    voices += u16(22) == 1 && u16(24) == 11025 && u16(34) == 8;
  }
  EXPECT_GE(voices, 1);

  // Greeting texts are GBK with CR LF line ends, and survive a round trip through UTF-8.
  int texts = 0;
  for (const auto& e : fs::directory_iterator(Root() / U("贺词"))) {
    ++texts;
    const std::string gbk = testing_support::ReadBytes(platform::Utf8ToGbk(e.path().string()));
    EXPECT_NE(gbk.find("\r\n"), std::string::npos);
    EXPECT_EQ(platform::Utf8ToGbk(platform::GbkToUtf8(gbk)), gbk) << e.path();
    EXPECT_EQ(gbk.find('?'), std::string::npos) << e.path();
  }
  EXPECT_GE(texts, 4);

  // Every page the contents page links to is there.
  const std::string index = testing_support::ReadBytes(dir_->File("help/index.htm"));
  const std::regex link("href=\"([A-Za-z0-9_]+\\.htm)\"");
  int links = 0;
  for (auto it = std::sregex_iterator(index.begin(), index.end(), link); it != std::sregex_iterator(); ++it, ++links)
    EXPECT_TRUE(fs::exists(Root() / "help" / (*it)[1].str())) << (*it)[1].str();
  EXPECT_GE(links, 7);
}

}  // namespace
