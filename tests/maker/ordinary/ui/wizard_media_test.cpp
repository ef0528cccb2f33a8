// The media control shared by the card movie (page 1) and the music test (page 2).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <cstdlib>

#include "audio/audio_fixtures.h"
#include "audio/ui/voice_recorder_form.h"
#include "maker/mail/ui/mail_dialog.h"
#include "maker/ordinary/ui/picture_part.h"
#include "platform/files.h"
#include "player/ordinary_ui/ordinary_player_window.h"
#include <QTimer>
#include "maker/ordinary/ui/wizard_fixture.h"
#include "platform/qt/qt_text.h"
#include "support/temp_dir.h"

using namespace ordinary_ui;
using platform::ToQString;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST_F(WizardFixture, MovieCardPlaysAgainAfterTheMusicTest) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) FAIL() << "ffmpeg is needed to make a movie (scripts/install-deps.sh installs it)";
  TempDir dir;
  std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=25 -t 2 -c:v mjpeg '" +
                        dir.HostPath() + "/movie.avi'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::string movie = dir.File("movie.avi");

  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  wizard.Setcardimg(movie);
  ASSERT_TRUE(dialogs.Messages().empty());
  EXPECT_EQ(wizard.CardKind(), PictureKind::Movie);
  EXPECT_TRUE(ui.cardMovie->isVisibleTo(&wizard));
  EXPECT_FALSE(ui.cardPicture->isVisibleTo(&wizard));
  EXPECT_EQ(ui.cardWidth->text(), "160");
  EXPECT_EQ(ui.cardHeight->text(), "120");
  EXPECT_TRUE(wizard.MovieLoopTimer().isActive());
  EXPECT_EQ(wizard.MediaFile(), movie);
  if (QByteArray shots = qgetenv("LMCARD_WIZARD_SHOTS"); !shots.isEmpty()) {
    wizard.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.cardMovie->HasPicture(); }, 3000));
    QTest::qWait(300);
    wizard.grab().save(QString::fromUtf8(shots) + "/wizard-movie.png");
  }

  // The music test takes the media control.
  ui.pages->setCurrentIndex(1);
  ui.bkMusic->setChecked(true);
  ui.music->setText(ToQString(ProgramFile("背景音乐\\温馨小曲.mid")));
  QTest::mouseClick(ui.musicTest, Qt::LeftButton);
  ASSERT_TRUE(dialogs.Messages().empty());
  EXPECT_EQ(wizard.MediaFile(), ProgramFile("背景音乐\\温馨小曲.mid"));
  EXPECT_TRUE(wizard.MusicFollowTimer().isActive());
  EXPECT_GT(ui.playPosition->maximum(), 0);

  // Back on page 1 the movie is opened again from the card picture path.
  ui.pages->setCurrentIndex(0);
  EXPECT_EQ(wizard.MediaFile(), movie);
  EXPECT_FALSE(wizard.MusicFollowTimer().isActive());
  EXPECT_TRUE(wizard.MovieLoopTimer().isActive());

  // A still picture takes the movie's place and closes the media control.
  wizard.Setcardimg(ProgramFile(kCard));
  EXPECT_EQ(wizard.MediaFile(), "");
  EXPECT_FALSE(wizard.MovieLoopTimer().isActive());
  EXPECT_FALSE(ui.cardMovie->isVisibleTo(&wizard));
}

TEST_F(WizardFixture, MusicThatNothingOpensIsReported) {
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("song.mp3"), "this is no music at all"));
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ui.bkMusic->setChecked(true);
  dialogs.openAnswers = {{dir.File("song.mp3")}};
  QTest::mouseClick(ui.musicBrowse, Qt::LeftButton);
  EXPECT_EQ(ui.music->text(), ToQString(dir.File("song.mp3")));
  ASSERT_EQ(dialogs.Messages(),
            std::vector<std::string>{"打开音乐文件失败！可能是文件格式不正确，请换其它音乐文件再试。"});

  // The music test wants the box ticked and the file present.
  ui.bkMusic->setChecked(false);
  QTest::mouseClick(ui.musicTest, Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages().back(), "您没有正确设置背景音乐！");
  QTest::mouseClick(ui.voiceTest, Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages().back(), "您没有正确设置录音！");
}

TEST_F(WizardFixture, RecorderAndMailDialogOpenOnTheWizardCorner) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  wizard.show();
  ui.useWav->setChecked(true);
  QRect recorderFrame;
  auto previousRecorder = audio_ui::SetRecorderScript([&](audio_ui::TForm4& recorder) {
    recorderFrame = recorder.frameGeometry();
    return 0;
  });
  QTest::mouseClick(ui.voiceRecord, Qt::LeftButton);
  audio_ui::SetRecorderScript(std::move(previousRecorder));
  EXPECT_EQ(recorderFrame.bottomRight(), wizard.frameGeometry().bottomRight());

  ui.output->setText(ToQString("/tmp/cards/my card.exe"));
  std::string cardFile;
  auto previousMail = mail_ui::SetMailDialogScript([&](mail_ui::TForm7& dialog) {
    cardFile = dialog.CardFile();
    return 0;
  });
  QTest::mouseClick(ui.send, Qt::LeftButton);
  mail_ui::SetMailDialogScript(std::move(previousMail));
  EXPECT_EQ(cardFile, "/tmp/cards/my card.exe");
}

// A recording stopped in the recorder lands in the wizard's voice box, ready for the voice test.
TEST_F(WizardFixture, AFinishedRecordingFillsTheVoiceBox) {
  audio_fixtures::FakeInputBackend backend;
  audio_fixtures::BackendScope scope(&backend);
  TempDir dir;
  const std::string voice = dir.File("我的问候.wav");
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  ui.useWav->setChecked(true);
  auto previousRecorder = audio_ui::SetRecorderScript([&](audio_ui::TForm4& recorder) {
    recorder.SetFileName(voice);
    recorder.StartClick();
    backend.pending = std::string(11025, '\x80');  // a second of silence
    recorder.StopClick();
    return recorder.result();
  });
  QTest::mouseClick(ui.voiceRecord, Qt::LeftButton);
  audio_ui::SetRecorderScript(std::move(previousRecorder));
  EXPECT_EQ(ui.voice->text(), ToQString(voice));
  EXPECT_TRUE(platform::files::FileExists(voice));
  EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(WizardFixture, SaveTemplateWantsAName) {
  TForm3 wizard;
  const WizardUi& ui = wizard.Ui();
  QTest::mouseClick(ui.saveTemplate, Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"请首先输入模板文件名。"});
  EXPECT_TRUE(ui.asTemplate->isChecked());
  EXPECT_TRUE(ui.templateName->isEnabled());
  EXPECT_FALSE(wizard.TemplateSaved());

  // Saved into a program folder of its own, so other tests never list this template.
  std::string card = ProgramFile(kCard);
  TempDir folder;
  platform::paths::SetProgramFolder(folder.Path());
  ui.templateName->setText(ToQString("向导测试模板"));
  wizard.Setcardimg(card);
  QTest::mouseClick(ui.saveTemplate, Qt::LeftButton);
  EXPECT_EQ(dialogs.Messages().back(), "模板已保存。");
  EXPECT_TRUE(wizard.TemplateSaved());
  TForm3 reopened;
  reopened.LoadTemplate(folder.File("template\\向导测试模板.lmcard"));
  EXPECT_EQ(reopened.Settings(), wizard.Settings());
  platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
}

TEST_F(WizardFixture, PreviewShowsThePlayerForTheWizardsCard) {
  TForm3 wizard;
  wizard.LoadTemplate(ProgramFile("template\\新年快乐.lmcard"));
  ASSERT_TRUE(dialogs.Messages().empty());
  wizard.Ui().bkMusic->setChecked(false);  // keeps the test quiet
  std::optional<QSize> shownSize;
  QTimer::singleShot(300, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* player = qobject_cast<ordinary_player_ui::TForm5*>(w); player && player->isVisible()) {
        shownSize = QSize(player->Config().width, player->Config().height);
        player->close();
      }
  });
  wizard.Preview();
  ASSERT_TRUE(shownSize.has_value());
  EXPECT_EQ(*shownSize, QSize(wizard.Ui().cardWidth->text().toInt(), wizard.Ui().cardHeight->text().toInt()));
  EXPECT_EQ(wizard.MediaFile(), "");  // the wizard closed its media control first
}
