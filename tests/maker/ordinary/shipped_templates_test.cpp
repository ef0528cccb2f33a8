// Every template the program folder ships opens with the suite's own readers and builds into a
// card that the card reader reads back. The templates and their media are copied into a fresh
// program folder first, so the test also shows that they name their media relative to the
// program folder and work wherever it lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/ordinary/ordinary_template.h"
#include "maker/packaging/card_reader.h"
#include "maker/packaging/ordinary_build.h"
#include "maker/packaging/package_builder.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "maker/packaging/packaging_fixture.h"

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

const char* const kShippedFolders[] = {"template", "贺卡图片", "背景音乐", "贺词框", "贺词", "图标", "背景图", "录音"};

class ShippedTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    // CARD_PROGRAM_DIR is the build tree's program folder, named in the host's encoding.
    const fs::path shipped(CARD_PROGRAM_DIR);
    ASSERT_TRUE(fs::is_directory(shipped / "template")) << CARD_PROGRAM_DIR;
    for (const char* folder : kShippedFolders) {
      const std::string hostName = platform::GbkToUtf8(folder);
      if (fs::exists(shipped / hostName))
        fs::copy(shipped / hostName, fs::path(dir_.HostPath()) / hostName, fs::copy_options::recursive);
    }
    ASSERT_TRUE(platform::files::CreateFolder(dir_.File("贺卡成品")) ||
                platform::files::Exists(dir_.File("贺卡成品")));
    // Stand-ins for the player programs; the side files are the program's own.
    WriteBytes(dir_.File("exe1.exe"), packaging_test::StubBytes('1', 4000));
    WriteBytes(dir_.File("exe2.exe"), packaging_test::StubBytes('2', 5000));
    WriteBytes(dir_.File("exe3.exe"), packaging_test::StubBytes('3', 6000));
    WriteBytes(dir_.File("default.txt"), packaging::HeaderFileBytes());
    for (int form : {1, 3, 4})
      WriteBytes(dir_.File("FORM" + std::to_string(form) + ".obj"), packaging::FormFileBytes(form));
    old_ = platform::paths::ProgramFolder();
    platform::paths::SetProgramFolder(dir_.Path());
    platform::profile::ClearCache();
  }
  void TearDown() override {
    platform::paths::SetProgramFolder(old_);
    platform::profile::ClearCache();
  }

  std::vector<std::string> Templates(const char* ext) const {
    return platform::files::ListFiles(dir_.File("template"), {ext});
  }
  // The packed media file with the given id, or nothing.
  static std::string Packed(const packaging::CardReader& card, int id) {
    for (const auto& m : card.Media())
      if (m.id == id) return std::string(card.MediaBytes(m));
    return {};
  }

  testing_support::TempDir dir_;
  platform::ScriptedDialogs dialogs_;
  std::string old_;
};

TEST_F(ShippedTemplates, InteractiveDesignsOpenAndBuildIntoReadableCards) {
  const std::vector<std::string> names = Templates(".lmcard2");
  ASSERT_GE(names.size(), 5u);
  EXPECT_NE(std::find(names.begin(), names.end(), "默认贺卡.lmcard2"), names.end());
  for (const std::string& name : names) {
    SCOPED_TRACE(platform::GbkToUtf8(name));
    document::CardDocument doc;
    document::DelAll(doc);
    ASSERT_NO_THROW(document::Loadfileset(doc, dir_.File("template/" + name)));

    // The media the design names are found under the copied program folder.
    EXPECT_TRUE(doc.window.bkPic);
    EXPECT_TRUE(doc.window.bkPicName.starts_with(dir_.Path())) << doc.window.bkPicName;
    EXPECT_TRUE(platform::files::FileExists(doc.window.bkPicName));
    EXPECT_TRUE(platform::files::FileExists(doc.window.musicName));
    EXPECT_TRUE(platform::files::FileExists(doc.window.icon));
    EXPECT_FALSE(doc.labels.empty());
    EXPECT_FALSE(doc.buttons.empty());
    for (const auto& e : doc.images) EXPECT_TRUE(platform::files::FileExists(e.control.picture)) << e.control.picture;
    for (const auto& e : doc.gifs) EXPECT_TRUE(platform::files::FileExists(e.control.picture)) << e.control.picture;
    // A card without a title bar must offer a way to end it.
    bool canEnd = doc.window.showTitbar;
    for (const auto& b : doc.buttons) canEnd = canEnd || b.rec.Cmd == "结束贺卡运行";
    EXPECT_TRUE(canEnd);

    const std::string title = doc.window.cardTitle;
    const std::string background = ReadBytes(doc.window.bkPicName);
    // A design with a Flash movie builds into the Flash family's plain card file.
    const bool flash = !doc.flashes.empty();
    const std::string out = dir_.File("贺卡成品/" + name.substr(0, name.size() - 8) + (flash ? ".crd3" : ".crd2"));
    ASSERT_TRUE(packaging::MakeExe(doc, out));

    packaging::CardReader card = packaging::CardReader::Open(out);
    EXPECT_EQ(card.Kind(), packaging::CardKind::Interactive);
    EXPECT_EQ(card.Family(), flash ? packaging::CardFamily::Flash : packaging::CardFamily::Plain);
    EXPECT_EQ(card.Form(), packaging::CardForm::PlainFile);
    EXPECT_EQ(card.Value("Application", "CardTitle"), title);
    EXPECT_EQ(card.Value("Application", "LabelCount"), std::to_string(doc.labels.size()));
    // Background picture, music and every picture element travel inside the card.
    EXPECT_GE(card.Media().size(), 2u + doc.images.size() + doc.gifs.size());
    EXPECT_EQ(Packed(card, 0), background);
  }
}

TEST_F(ShippedTemplates, OrdinaryTemplatesOpenAndBuildIntoReadableCards) {
  const std::vector<std::string> names = Templates(".lmcard");
  ASSERT_GE(names.size(), 5u);
  for (const std::string& name : names) {
    SCOPED_TRACE(platform::GbkToUtf8(name));
    ordinary::OrdinarySettings s;
    ASSERT_NO_THROW(s = ordinary::LoadTemplate(dir_.File("template/" + name)));
    ASSERT_FALSE(s.cardImg.empty());
    EXPECT_TRUE(s.cardImg.starts_with(dir_.Path())) << s.cardImg;
    EXPECT_TRUE(s.bkMusic);
    EXPECT_TRUE(platform::files::FileExists(s.music)) << s.music;
    EXPECT_TRUE(platform::files::FileExists(s.cardBox)) << s.cardBox;
    EXPECT_GT(s.boxIndex, 0);
    EXPECT_NE(s.boxWord.find("\r\n"), std::string::npos);

    const std::string out = dir_.File("贺卡成品/" + name.substr(0, name.size() - 7) + ".crd1");
    ASSERT_EQ(packaging::BuildOrdinaryCard(s, out), packaging::OrdinaryBuildResult::Built);
    packaging::CardReader card = packaging::CardReader::Open(out);
    EXPECT_EQ(card.Kind(), packaging::CardKind::Ordinary);
    EXPECT_EQ(card.Form(), packaging::CardForm::PlainFile);
    // Card picture, music and greeting box picture are packed, the picture first.
    ASSERT_EQ(card.Media().size(), 3u);
    EXPECT_EQ(std::string(card.MediaBytes(card.Media()[0])), ReadBytes(s.cardImg));
  }
}

}  // namespace
