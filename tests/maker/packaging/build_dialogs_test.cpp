#include "maker/packaging/build_dialogs.h"

#include <gtest/gtest.h>

#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/packaging/card_reader.h"
#include "maker/packaging/package_builder.h"
#include "maker/packaging/packaging_fixture.h"

using namespace packaging;
using namespace packaging_test;

TEST(BuildDialogs, SaveDialogFollowsTheChosenFormAndTheDesign) {
  document::CardDocument doc;
  auto exe = CardSaveDialog(doc, true);
  EXPECT_EQ(exe.title, "浏览贺卡文件输出位置");
  EXPECT_EQ(exe.filter, "Lumo贺卡 (*.exe)|*.exe");
  EXPECT_EQ(exe.defaultExt, "exe");
  EXPECT_TRUE(exe.overwritePrompt);
  EXPECT_EQ(CardSaveDialog(doc, false).defaultExt, "crd2");
  doc.crd3 = true;  // an action file ending in ".crd3" was entered
  EXPECT_EQ(CardSaveDialog(doc, false).filter, "Lumo贺卡 (*.crd3)|*.crd3");
  // The designer's warning list has no ".reg", the builder's list does.
  EXPECT_TRUE(WarnsAsExecutable("a.BAT"));
  EXPECT_FALSE(WarnsAsExecutable("a.reg"));
  EXPECT_TRUE(IsExecutableExtension("a.REG"));
  EXPECT_FALSE(IsExecutableExtension("a.crd3"));
}

class DesignBuild : public PackagingTest {};

// The road of the build command: a design file read into the document, then built.
TEST_F(DesignBuild, ADesignFileBuildsWithSoundSectionsNamedByTag) {
  Write("ding.wav", std::string(40, 'W'));
  Write("movie.swf", "FWS");
  Write("design.lmcard2",
        "[Application]\r\nLabelCount=1\r\nWavCount=1\r\nFlashCount=1\r\nWidth=300\r\nHeight=200\r\n"
        "CardTitle=卡\r\nMusicName=" + Pf("ding.wav") + "\r\n"
        "[Label1]\r\nCaption=a<%BR%>b\r\nTag=4\r\nCmd=结束贺卡运行\r\n"
        "[PicsBox]\r\nUse=False\r\n"
        "[Wav1]\r\nFilename=" + Pf("ding.wav") + "\r\nTag=5\r\n"
        "[Flash1]\r\nFileName=" + Pf("movie.swf") + "\r\nTag=1\r\nInd=2\r\n");
  document::CardDocument doc;
  document::DelAll(doc);
  document::Loadfileset(doc, Pf("design.lmcard2"));
  ASSERT_TRUE(MakeExe(doc, Pf("out.exe")));
  CardReader card = CardReader::Open(Pf("out.exe"));
  EXPECT_EQ(card.Family(), CardFamily::Flash);
  EXPECT_EQ(card.Value("Label1", "Caption"), "a<%BR%>b");
  EXPECT_EQ(card.Value("Application", "Music"), "0");
  EXPECT_EQ(card.Value("Wav5", "FilenameID"), "0");  // the music file, shared
  EXPECT_EQ(card.Value("Flash1", "FileNameID"), "1");
  EXPECT_EQ(card.Value("Application", "ShowTitbar", "absent"), "absent");  // closable by its label
  ASSERT_EQ(card.Media().size(), 2u);
  EXPECT_EQ(card.MediaBytes(card.Media()[1]), "FWS");
}
