// The text effect list and the style file of an entry: the program's own effects first, then
// the image program's text styles; a name found in both uses the program's file.
#include <gtest/gtest.h>

#include "flashwizard/title_image.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

using namespace flashwizard;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

const char kKey[] = "Software\\Pavo图像处理系统\\Path";

struct Folders {
  Folders() : previous(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(program.Path());
    platform::files::CreateFolder(program.File("文字特效"));
    platform::files::CreateFolder(image.File("LayerStyle"));
  }
  ~Folders() {
    platform::paths::SetProgramFolder(previous);
    platform::registry::DeleteValue(platform::registry::Hive::CurrentUser, kKey, "AppEXE");
  }
  TempDir program, image;
  std::string previous;
};

}  // namespace

TEST(FlashTextEffects, ProgramEffectsComeFirstAndWinOverTheImageProgram) {
  Folders f;
  WriteBytes(f.program.File("文字特效\\金色.style"), "a");
  WriteBytes(f.program.File("文字特效\\共有文字.style"), "a");
  WriteBytes(f.image.File("LayerStyle\\蓝色文字.style"), "b");
  WriteBytes(f.image.File("LayerStyle\\共有文字.style"), "b");
  WriteBytes(f.image.File("LayerStyle\\按钮.style"), "b");  // not a text style
  // Without the image program: only the program's effects.
  std::vector<std::string> own = TextEffectEntries();
  ASSERT_EQ(own.size(), 4u);
  EXPECT_EQ(own.front(), kNoTextEffect);
  EXPECT_EQ(own.back(), kOtherStyleFile);
  EXPECT_TRUE(StyleFileFor("蓝色文字").empty());

  ASSERT_TRUE(platform::registry::WriteString(platform::registry::Hive::CurrentUser, kKey, "AppEXE",
                                              f.image.File("pavo.exe")));
  std::vector<std::string> all = TextEffectEntries();
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[1], "共有文字");
  EXPECT_EQ(all[2], "金色");
  EXPECT_EQ(all[3], "共有文字");
  EXPECT_EQ(all[4], "蓝色文字");
  EXPECT_EQ(StyleFileFor("蓝色文字"), f.image.File("LayerStyle\\蓝色文字.style"));
  EXPECT_EQ(StyleFileFor("共有文字"), f.program.File("文字特效\\共有文字.style"));
  EXPECT_TRUE(StyleFileFor("没有").empty());
  EXPECT_TRUE(StyleFileFor(kOtherStyleFile).empty());
  // Entry 0 is the program folder's null.style, and nothing without it.
  EXPECT_TRUE(StyleFileFor(kNoTextEffect).empty());
  WriteBytes(f.program.File("null.style"), "n");
  EXPECT_EQ(StyleFileFor(kNoTextEffect), f.program.File("null.style"));
}
