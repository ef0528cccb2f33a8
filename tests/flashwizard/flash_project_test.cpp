#include "flashwizard/flash_project.h"

#include <gtest/gtest.h>

#include "platform/bmp_codec.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

using flashwizard::FlashProject;
using testing_support::TempDir;
namespace profile = platform::profile;

namespace {

std::string Picture(const std::string& path, int w, int h) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(platform::Rgb(10, 20, 30));
  platform::files::CreateFolder(platform::paths::ExtractFilePath(path));
  platform::SaveBmp(*b, path);
  return path;
}

struct ProgramFolder {
  explicit ProgramFolder(const std::string& folder) : previous(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(folder);
  }
  ~ProgramFolder() { platform::paths::SetProgramFolder(previous); }
  std::string previous;
};

}  // namespace

TEST(FlashProject, InsertionReusesTheLowestDeletedSlotAndDeletingTheLastLowersTheCount) {
  TempDir dir;
  std::string pic = Picture(dir.File("a.bmp"), 40, 30);
  auto p = std::make_unique<FlashProject>();
  for (int i = 0; i < 4; ++i) ASSERT_EQ(p->AddPicture(pic, 0), i);
  EXPECT_EQ(p->Objects[2].Width, 40);
  EXPECT_EQ(p->Objects[2].Height, 30);
  EXPECT_EQ(p->Objects[2].Name, "a.bmp");
  EXPECT_EQ(p->Objects[2].HideTime, 30000);
  p->DelObj(1);
  p->DelObj(2);
  EXPECT_EQ(p->ObjectCount, 4);
  EXPECT_EQ(p->AddPicture(pic, 0), 1);
  p->DelObj(3);
  EXPECT_EQ(p->ObjectCount, 3);
  p->DelObj(7);  // outside the table: ignored
  EXPECT_EQ(p->ObjectCount, 3);
  EXPECT_EQ(p->AddPicture(dir.File("missing.bmp"), 0), -1);
}

TEST(FlashProject, AFullTableRefusesWithAWarning) {
  TempDir dir;
  std::string pic = Picture(dir.File("a.bmp"), 4, 4);
  auto p = std::make_unique<FlashProject>();
  for (int i = 0; i < FlashProject::kMaxObjects; ++i) ASSERT_EQ(p->AddPicture(pic, 0), i);
  platform::ScriptedDialogs dialogs;
  EXPECT_EQ(p->AddPicture(pic, 0), -1);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "最多只能添加 256 个文本框、图片或动画。");
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Warning);
  p->DelObj(100);
  EXPECT_EQ(p->AddPicture(pic, 0), 100);
}

TEST(FlashTemplate, SavedImagesAreNumberedWithoutGapsAndLoadBack) {
  TempDir dir;
  ProgramFolder prog(dir.Path());
  std::string a = Picture(dir.File("贺卡图片\\a.bmp"), 20, 10);
  std::string b = Picture(dir.File("贺卡图片\\b.bmp"), 30, 10);
  auto p = std::make_unique<FlashProject>();
  p->SceneCount = 2;
  p->Scenes[0].Name = "场景 1";
  p->Scenes[1].Name = "场景 2";
  p->Scenes[1].ShowEff = 26;
  p->Scenes[1].TileBack = true;
  for (int i = 0; i < 5; ++i) p->AddPicture(i % 2 ? b : a, i % 2);
  p->DelObj(1);
  p->DelObj(3);
  p->Objects[4].Left = -15;
  p->Objects[4].AlphaValue = 50;
  p->Objects[4].LayerID = 9;
  p->Settings.Title = "新年快乐";
  std::string file = dir.File("TEMPLATE\\新年.lmflash");  // a GBK file name
  platform::files::CreateFolder(dir.File("TEMPLATE"));
  p->SaveSet(file);

  EXPECT_EQ(profile::GetString(file, "lmFlashCard", "ImageCount", ""), "3");
  EXPECT_EQ(profile::GetString(file, "Image2", "Left", ""), "-15");
  EXPECT_EQ(profile::GetString(file, "Image3", "File", "none"), "none");
  EXPECT_EQ(profile::GetString(file, "Image0", "File", ""), "贺卡图片\\a.bmp");
  EXPECT_EQ(profile::GetString(file, "Scene1", "TlteBack", ""), "1");

  auto q = std::make_unique<FlashProject>();
  q->AddPicture(a, 0);  // replaced by the load
  q->LoadSet(file);
  EXPECT_EQ(q->SceneCount, 2);
  EXPECT_EQ(q->Scenes[1].ShowEff, 26);
  EXPECT_TRUE(q->Scenes[1].TileBack);
  EXPECT_EQ(q->ObjectCount, 3);
  EXPECT_EQ(q->Objects[2].Left, -15);
  EXPECT_EQ(q->Objects[2].AlphaValue, 50);
  EXPECT_EQ(q->Objects[2].LayerID, 9);
  EXPECT_EQ(q->Objects[2].File, a);
  EXPECT_EQ(q->Settings.Title, "新年快乐");
}

TEST(FlashTemplate, PathsInsideTheProgramFolderAreRelativeAndFollowAMove) {
  TempDir dir;
  std::string oldProg = dir.File("old\\"), newProg = dir.File("new\\");
  std::string file;
  {
    ProgramFolder prog(oldProg);
    FlashProject p;
    p.Settings.BackPic = Picture(oldProg + "背景图\\006.bmp", 8, 8);
    p.Settings.BackMusic = "/elsewhere/music.mp3";
    file = dir.File("t.lmflash");
    p.SaveSet(file);
    EXPECT_EQ(profile::GetString(file, "lmFlashCard", "BackPic", ""), "背景图\\006.bmp");
    std::string music = profile::GetString(file, "lmFlashCard", "BackMusic", "");
    EXPECT_EQ(music.rfind("..\\", 0), 0u) << music;
    EXPECT_EQ(music.substr(music.size() - 19), "elsewhere\\music.mp3");
  }
  Picture(newProg + "背景图\\006.bmp", 8, 8);
  ProgramFolder prog(newProg);
  FlashProject q;
  q.LoadSet(file);
  EXPECT_EQ(q.Settings.BackPic, newProg + "背景图\\006.bmp");
  // Another drive: stored as it is.
  EXPECT_EQ(flashwizard::TemplatePath("D:\\pics\\x.jpg", "C:\\prog\\"), "D:\\pics\\x.jpg");
  EXPECT_EQ(flashwizard::TemplatePath("C:\\pics\\x.jpg", "C:\\Prog\\"), "..\\pics\\x.jpg");
  EXPECT_EQ(flashwizard::TemplatePath("c:\\PROG\\a\\x.jpg", "C:\\prog\\"), "a\\x.jpg");
}

TEST(FlashTemplate, LoadingCutsScenesToTwelveAndSkipsWhatIsMissing) {
  TempDir dir;
  ProgramFolder prog(dir.Path());
  std::string pic = Picture(dir.File("p.bmp"), 10, 10);
  std::string file = dir.File("t.lmflash");
  profile::WriteString(file, "lmFlashCard", "SceneCount", "15");
  profile::WriteString(file, "lmFlashCard", "ImageCount", "4");
  profile::WriteString(file, "lmFlashCard", "TitFontName", "NoSuchFont");
  profile::WriteString(file, "lmFlashCard", "TitStyle", "黄字红边加投影");
  for (int i = 0; i < 15; ++i) profile::WriteString(file, "Scene" + std::to_string(i), "Name", "S" + std::to_string(i));
  profile::WriteString(file, "Image0", "File", "gone.bmp");
  profile::WriteString(file, "Image1", "File", "p.bmp");  // relative to the program folder
  profile::WriteString(file, "Image1", "Width", "77");
  // Image2 and Image3 do not exist.
  FlashProject p;
  p.Settings.TitFontName = "隶书";
  flashwizard::LoadHooks hooks;
  hooks.fontListed = [](const std::string& f) { return f == "隶书"; };
  hooks.effectListed = [](const std::string& e) { return e == "黄字红边加投影"; };
  p.LoadSet(file, hooks);
  EXPECT_EQ(p.SceneCount, 12);
  EXPECT_EQ(p.Scenes[11].Name, "S11");
  EXPECT_EQ(p.ObjectCount, 1);
  EXPECT_EQ(p.Objects[0].File, pic);
  EXPECT_EQ(p.Objects[0].Width, 77);
  EXPECT_EQ(p.Settings.TitFontName, "隶书");
  EXPECT_EQ(p.Settings.TitStyle, "黄字红边加投影");
}

TEST(FlashTemplate, TextDecorationsAreKeptBesideTheTemplate) {
  TempDir dir;
  ProgramFolder prog(dir.Path());
  std::string temp = Picture(dir.File("tmp\\~文字0.bmp"), 12, 6);
  std::string picture = Picture(dir.File("p.bmp"), 10, 10);
  std::string file = dir.File("TEMPLATE\\春节.lmflash");
  platform::files::CreateFolder(dir.File("TEMPLATE"));
  auto p = std::make_unique<FlashProject>();
  p->SceneCount = 1;
  p->AddPicture(picture, 0);
  int text = p->AddPicture(temp, 0);
  p->Objects[text].IsText = true;
  testing_support::WriteBytes(dir.File("TEMPLATE\\春节_文字1.bmp"), "left by an earlier save");
  p->SaveSet(file);
  platform::files::DeleteFile(temp);  // the wizard deletes its temporary files on closing

  const std::string copy = flashwizard::TemplateDecorationFile(file, 0);
  EXPECT_EQ(copy, dir.File("TEMPLATE\\春节_文字0.bmp"));
  EXPECT_EQ(profile::GetString(file, "Image1", "File", ""), "TEMPLATE\\春节_文字0.bmp");
  EXPECT_EQ(profile::GetString(file, "Image0", "File", ""), "p.bmp");
  EXPECT_FALSE(platform::files::FileExists(dir.File("TEMPLATE\\春节_文字1.bmp")));
  auto q = std::make_unique<FlashProject>();
  q->LoadSet(file);
  ASSERT_EQ(q->LiveObjectCount(), 2);
  EXPECT_EQ(q->Objects[1].File, copy);
  EXPECT_TRUE(q->Objects[1].IsText);
  EXPECT_EQ(q->Objects[1].PictureWidth, 12);

  // Saving over the same template rewrites the copies it was loaded with.
  q->SaveSet(file);
  auto r = std::make_unique<FlashProject>();
  r->LoadSet(file);
  ASSERT_EQ(r->LiveObjectCount(), 2);
  EXPECT_EQ(r->Objects[1].PictureWidth, 12);

  // A template moved with its decoration finds the copy beside it.
  platform::files::CreateFolder(dir.File("moved"));
  platform::files::CopyFile(file, dir.File("moved\\春节.lmflash"), false);
  platform::files::CopyFile(copy, dir.File("moved\\春节_文字0.bmp"), false);
  platform::files::DeleteFile(copy);
  auto m = std::make_unique<FlashProject>();
  m->LoadSet(dir.File("moved\\春节.lmflash"));
  ASSERT_EQ(m->LiveObjectCount(), 2);
  EXPECT_EQ(m->Objects[1].File, dir.File("moved\\春节_文字0.bmp"));
}
