#include "audio/ui/voice_recorder_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "audio/audio_fixtures.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/scripted_dialogs.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

using namespace platform;
using audio_fixtures::BackendScope;
using audio_fixtures::FakeInputBackend;
using audio_fixtures::ReadLe32;
using audio_ui::TForm4;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

void EnsureApp() { testing_support::QtApp("voice_recorder_form_test"); }

struct Recording {
  FakeInputBackend backend;
  BackendScope scope{&backend};
  ScriptedDialogs dialogs;
  TempDir dir;
  std::vector<std::string> handedOver;
  std::unique_ptr<TForm4> form;

  Recording() {
    EnsureApp();
    form = std::make_unique<TForm4>();
    form->SetSavedCallback([this](const std::string& name) { handedOver.push_back(name); });
  }
  bool Idle() const { return form->StartButton()->isEnabled() && !form->StopButton()->isEnabled(); }
  bool Busy() const { return !form->StartButton()->isEnabled() && form->StopButton()->isEnabled(); }
};

}  // namespace

TEST(VoiceRecorderForm, ReplacingAnExistingReadOnlyFileAsksFirstAndStopHandsTheFileOver) {
  Recording r;
  const std::string name = r.dir.File("问候.wav");
  ASSERT_TRUE(WriteBytes(name, "old sound"));
  ASSERT_TRUE(files::SetReadOnly(name, true));
  r.form->show();
  ASSERT_TRUE(r.Idle());
  r.form->FileNameEdit()->setText(ToQString(name));

  // Declined: the old file stays as it was.
  r.dialogs.messageAnswers.push_back(MsgResult::No);
  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  ASSERT_EQ(r.dialogs.shown.size(), 1u);
  EXPECT_EQ(r.dialogs.shown[0].text, name + " 已存在，要替换吗？");
  EXPECT_EQ(r.dialogs.shown[0].icon, MsgIcon::Question);
  EXPECT_EQ(r.dialogs.shown[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(ReadBytes(name), "old sound");
  EXPECT_TRUE(r.Idle());

  // Accepted: the header is written and the stop button takes over.
  r.dialogs.messageAnswers.push_back(MsgResult::Yes);
  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  EXPECT_EQ(r.dialogs.shown.size(), 2u);
  EXPECT_TRUE(r.Busy());
  EXPECT_EQ(ReadBytes(name), audio::RecordingHeader());

  QSignalSpy saved(r.form.get(), &TForm4::RecordingSaved);
  r.backend.pending = std::string(11025 / 2, '\x80');  // half a second of silence
  QTest::mouseClick(r.form->StopButton(), Qt::LeftButton);
  EXPECT_EQ(r.handedOver, std::vector<std::string>{name});
  ASSERT_EQ(saved.count(), 1);
  EXPECT_EQ(FromQString(saved.at(0).at(0).toString()), name);
  EXPECT_FALSE(r.form->isVisible());
  EXPECT_EQ(r.form->result(), QDialog::Accepted);
  EXPECT_TRUE(r.Idle());
  const std::string wav = ReadBytes(name);
  ASSERT_GE(wav.size(), audio::kRecordingHeaderSize);
  EXPECT_EQ(wav.substr(20, 16), audio::RecordingHeader().substr(20, 16));  // 8-bit mono 11025 Hz
  EXPECT_EQ(ReadLe32(wav, 54), 11025u / 2);
  EXPECT_EQ(r.dialogs.shown.size(), 2u);  // nothing more was said
}

TEST(VoiceRecorderForm, AnEmptyNameWarnsAndAStartThatFailsReturnsToIdleSilently) {
  Recording r;
  r.form->show();
  r.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(r.form.get()));
  QTest::keyClicks(r.form->FileNameEdit(), "   ");
  r.form->StartButton()->setFocus();
  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  ASSERT_EQ(r.dialogs.Messages(), std::vector<std::string>{"请输入文件名"});
  EXPECT_EQ(r.dialogs.shown[0].icon, MsgIcon::Warning);
  EXPECT_TRUE(r.form->FileNameEdit()->hasFocus());
  EXPECT_TRUE(r.Idle());

  // No input device: no message, no file, the buttons as before.
  r.backend.startWorks = false;
  const std::string name = r.dir.File("voice.wav");
  r.form->SetFileName(name);
  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  EXPECT_EQ(r.dialogs.shown.size(), 1u);
  EXPECT_FALSE(files::Exists(name));
  EXPECT_TRUE(r.Idle());
  EXPECT_TRUE(r.handedOver.empty());
}

TEST(VoiceRecorderForm, AStopThatCannotSaveSaysSoInChineseAndHandsNothingOver) {
  Recording r;
  ASSERT_TRUE(files::CreateFolder(r.dir.File("录音")));
  const std::string name = r.dir.File("录音\\问候.wav");
  r.form->SetFileName(name);
  r.form->show();
  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  ASSERT_TRUE(r.Busy());
  std::filesystem::remove_all(paths::ToHost(r.dir.File("录音")));  // gone when the sound is saved
  QTest::mouseClick(r.form->StopButton(), Qt::LeftButton);
  EXPECT_EQ(r.dialogs.Messages(),
            std::vector<std::string>{"录音文件保存失败！请检查磁盘空间是否足够，以及文件位置是否可以写入。"});
  EXPECT_EQ(r.dialogs.shown.at(0).icon, MsgIcon::Error);
  EXPECT_TRUE(r.handedOver.empty());
  EXPECT_TRUE(r.form->isVisible());
  EXPECT_TRUE(r.Idle());
}

TEST(VoiceRecorderForm, BrowseUsesTheSaveDialogAndCancelDropsTheUnfinishedRecording) {
  Recording r;
  const std::string name = r.dir.File("录音.wav");
  r.dialogs.saveAnswers.push_back(std::nullopt);
  r.dialogs.saveAnswers.push_back(name);
  r.form->SetFileName("earlier.wav");
  r.form->show();
  QTest::mouseClick(r.form->BrowseButton(), Qt::LeftButton);
  EXPECT_EQ(r.form->FileName(), "earlier.wav");  // cancelled: the box keeps its text
  QTest::mouseClick(r.form->BrowseButton(), Qt::LeftButton);
  ASSERT_EQ(r.dialogs.shown.size(), 2u);
  EXPECT_EQ(r.dialogs.shown[1].kind, "save");
  EXPECT_EQ(r.dialogs.shown[1].file.title, "浏览声音输出位置");
  EXPECT_EQ(r.dialogs.shown[1].file.filter, "声音文件 (*.wav)|*.wav");
  EXPECT_EQ(r.dialogs.shown[1].file.defaultExt, "wav");
  EXPECT_EQ(r.form->FileName(), name);

  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  ASSERT_TRUE(r.Busy());
  ASSERT_TRUE(files::Exists(name));
  QTest::mouseClick(r.form->CancelButton(), Qt::LeftButton);
  EXPECT_FALSE(r.form->isVisible());
  EXPECT_EQ(r.form->result(), QDialog::Rejected);
  EXPECT_FALSE(r.form->Recorder().Recording());
  EXPECT_FALSE(files::Exists(name));
  EXPECT_TRUE(r.handedOver.empty());
  EXPECT_TRUE(r.Idle());  // ready for the next showing

  // Esc while recording cancels as well.
  r.form->show();
  QTest::mouseClick(r.form->StartButton(), Qt::LeftButton);
  ASSERT_TRUE(r.Busy());
  QTest::keyClick(r.form.get(), Qt::Key_Escape);
  EXPECT_FALSE(r.form->Recorder().Recording());
  EXPECT_FALSE(files::Exists(name));
}

TEST(VoiceRecorderForm, OpensWithItsBottomRightCornerOnTheOwners) {
  Recording r;
  QWidget owner;
  owner.setGeometry(150, 120, 640, 480);
  owner.show();
  int calls = 0;
  QRect seen;
  auto previous = audio_ui::SetRecorderScript([&](TForm4& form) {
    ++calls;
    seen = form.frameGeometry();
    return 7;
  });
  EXPECT_EQ(r.form->ExecAlignedTo(&owner), 7);
  audio_ui::SetRecorderScript(previous);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen.bottomRight(), owner.frameGeometry().bottomRight());
  EXPECT_EQ(seen.size(), r.form->frameGeometry().size());
}

TEST(VoiceRecorderForm, CaptionsAndTheIdleState) {
  Recording r;
  EXPECT_EQ(FromQString(r.form->windowTitle()), "新建录音文件");
  EXPECT_EQ(r.form->minimumSize(), r.form->maximumSize());  // fixed size
  EXPECT_EQ(FromQString(r.form->BrowseButton()->text()), "浏览");
  EXPECT_EQ(FromQString(r.form->StartButton()->text()), "开始录音(&S)");
  EXPECT_EQ(FromQString(r.form->StopButton()->text()), "停止录音(&S)");
  EXPECT_EQ(FromQString(r.form->CancelButton()->text()), "取消(&C)");
  EXPECT_TRUE(r.Idle());
  r.form->SetFileName("C:\\我的贺卡\\问候.wav");
  r.form->show();
  for (QWidget* w : std::initializer_list<QWidget*>{r.form->FileNameEdit(), r.form->BrowseButton(),
                                                    r.form->StartButton(), r.form->StopButton(),
                                                    r.form->CancelButton()}) {
    EXPECT_TRUE(r.form->rect().contains(w->geometry()));
  }
  // Screenshots: LMCARD_SHOT_DIR names a folder for a picture of the recorder.
  if (const char* dir = std::getenv("LMCARD_SHOT_DIR")) r.form->grab().save(QString(dir) + "/recorder.png");
}
