// Page 2 "设置背景声音": the background music with its test through the media control (the music
// probe measures what the media control cannot open), the recorded voice with its recorder and
// test, and the play order.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "audio/pv_player.h"
#include "audio/ui/voice_recorder_form.h"
#include "maker/ordinary/ordinary_settings.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/ordinary/ui/wizard_parts.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/qt/qt_text.h"
#include "platform/sound.h"

namespace ordinary_ui {

using platform::FromQString;
using platform::ToQString;
namespace mci = platform::mci;

QWidget* TForm3::BuildSoundPage() {
  auto* page = new QWidget;
  ui_.bkMusic = new QCheckBox(ToQString("使用背景音乐"), page);
  ui_.bkMusic->setGeometry(8, 22, 200, 20);
  ui_.musicGroup = new QGroupBox(page);
  ui_.musicGroup->setGeometry(8, 40, 428, 68);
  ui_.musicLabel = Caption(ui_.musicGroup, "音乐文件位置:", 8, 12, 80);
  ui_.music = new QLineEdit(ui_.musicGroup);
  ui_.music->setGeometry(88, 12, 270, 20);
  ui_.musicBrowse = new QPushButton(ToQString("浏览"), ui_.musicGroup);
  ui_.musicBrowse->setGeometry(362, 11, 58, 22);
  ui_.playCount = new QRadioButton(ToQString("播放次数:"), ui_.musicGroup);
  ui_.playCount->setGeometry(8, 40, 78, 20);
  ui_.musicCount = MakeNumberField(ui_.musicGroup, this, 88, 40, 40, "1");
  Caption(ui_.musicGroup, "次", 132, 40, 16);
  ui_.endless = new QRadioButton(ToQString("无限次循环播放"), ui_.musicGroup);
  ui_.endless->setGeometry(170, 40, 130, 20);
  ui_.endless->setChecked(true);
  ui_.musicTest = new QPushButton(ToQString("试听背景音乐"), page);
  ui_.musicTest->setGeometry(8, 112, 100, 22);
  ui_.musicStop = new QPushButton(ToQString("停止试听音乐"), page);
  ui_.musicStop->setGeometry(112, 112, 100, 22);

  ui_.useWav = new QCheckBox(ToQString("播放录音文件"), page);
  ui_.useWav->setGeometry(8, 138, 200, 20);
  ui_.voiceGroup = new QGroupBox(page);
  ui_.voiceGroup->setGeometry(8, 156, 428, 42);
  ui_.voiceLabel = Caption(ui_.voiceGroup, "录音文件位置:", 8, 12, 80);
  ui_.voice = new QLineEdit(ui_.voiceGroup);
  ui_.voice->setGeometry(88, 12, 200, 20);
  ui_.voiceBrowse = new QPushButton(ToQString("浏览"), ui_.voiceGroup);
  ui_.voiceBrowse->setGeometry(292, 11, 58, 22);
  ui_.voiceRecord = new QPushButton(ToQString("新建录音"), ui_.voiceGroup);
  ui_.voiceRecord->setGeometry(354, 11, 66, 22);
  ui_.voiceTest = new QPushButton(ToQString("试听录音"), page);
  ui_.voiceTest->setGeometry(8, 202, 100, 22);
  ui_.voiceStop = new QPushButton(ToQString("停止试听录音"), page);
  ui_.voiceStop->setGeometry(112, 202, 100, 22);

  auto* order = new QGroupBox(ToQString("播放次序设置"), page);
  order->setGeometry(8, 228, 428, 72);
  Caption(order, "背景音乐与录音的播放次序:", 8, 18, 156);
  ui_.playSet = new QComboBox(order);
  ui_.playSet->setGeometry(164, 17, 256, 22);
  for (std::string_view text : ordinary::kPlayOrders) ui_.playSet->addItem(ToQString(text));
  ui_.playSet->setCurrentIndex(0);
  Caption(order, "背景音乐指定位置:", 8, 44, 110);
  ui_.playPosition = new QSlider(Qt::Horizontal, order);
  ui_.playPosition->setGeometry(118, 44, 302, 22);
  ui_.playPosition->setRange(0, 10);

  ui_.musicGroup->setEnabled(false);
  ui_.voiceGroup->setEnabled(false);
  connect(ui_.bkMusic, &QCheckBox::toggled, ui_.musicGroup, &QWidget::setEnabled);
  connect(ui_.useWav, &QCheckBox::toggled, ui_.voiceGroup, &QWidget::setEnabled);
  connect(ui_.musicBrowse, &QPushButton::clicked, this, &TForm3::BrowseMusic);
  connect(ui_.musicTest, &QPushButton::clicked, this, &TForm3::TestMusic);
  connect(ui_.musicStop, &QPushButton::clicked, this, &TForm3::StopMusic);
  connect(ui_.playPosition, &QSlider::valueChanged, this, &TForm3::SliderMoved);
  connect(ui_.voiceBrowse, &QPushButton::clicked, this, &TForm3::BrowseVoice);
  connect(ui_.voiceRecord, &QPushButton::clicked, this, &TForm3::RecordVoice);
  connect(ui_.voiceTest, &QPushButton::clicked, this, &TForm3::TestVoice);
  connect(ui_.voiceStop, &QPushButton::clicked, this, [] { platform::sound::sndPlaySoundA(nullptr, 0); });
  return page;
}

void TForm3::BrowseMusic() {
  RememberedFolders& folders = WizardFolders();
  std::vector<std::string> picked = platform::CurrentDialogs().OpenFile(
      OpenDialogOptions("浏览背景音乐", kMusicFilter, folders.Get(FolderFamily::Music), FromQString(ui_.music->text())));
  if (picked.empty()) return;
  const std::string& path = picked[0];
  folders.Remember(FolderFamily::Music, path);
  ui_.music->setText(ToQString(path));
  CloseMedia();
  mci::DeviceId id = 0;
  int64_t length = 0;
  if (mci::Open("", path, &id) == mci::kOk) {
    mediaDevice_ = id;
    mediaFile_ = path;
    mci::SetTimeFormat(id, mci::TimeFormat::Milliseconds);
    mci::Length(id, &length);
    ui_.playPosition->setMaximum(static_cast<int>(length));
    return;
  }
  if (id) mci::Close(id);
  if (probe_->Open(path)) {
    probe_->SetTimeFormatMs();
    ui_.playPosition->setMaximum(probe_->GetLength());
    return;
  }
  platform::ShowMessage("打开音乐文件失败！可能是文件格式不正确，请换其它音乐文件再试。", platform::MsgIcon::Error);
}

void TForm3::TestMusic() {
  std::string path = FromQString(ui_.music->text());
  if (!platform::files::FileExists(path) || !ui_.bkMusic->isChecked()) {
    platform::ShowMessage("您没有正确设置背景音乐！", platform::MsgIcon::Error);
    Flash(ui_.bkMusic);
    return;
  }
  CloseMedia();
  mci::DeviceId id = 0;
  mci::Result r = mci::Open("", path, &id);
  if (r != mci::kOk) {
    // Only the music probe could open this file: the media control cannot play it.
    if (id) mci::Close(id);
    platform::ShowMessage(mci::ErrorText(r), platform::MsgIcon::Error);
    return;
  }
  mediaDevice_ = id;
  mediaFile_ = path;
  mci::SetTimeFormat(id, mci::TimeFormat::Milliseconds);
  int64_t length = 0;
  mci::Length(id, &length);
  if (length == ui_.playPosition->maximum()) mci::Seek(id, ui_.playPosition->value());
  mci::Play(id);
  ui_.playPosition->setMaximum(static_cast<int>(length));
  musicFollow_.start();
}

void TForm3::StopMusic() {
  musicFollow_.stop();
  CloseMedia();
}

void TForm3::MusicFollowTick() {
  int64_t position = 0;
  if (!mediaDevice_ || mci::Position(mediaDevice_, &position) != mci::kOk) {
    musicFollow_.stop();
    return;
  }
  ui_.playPosition->setValue(static_cast<int>(position));
}

void TForm3::SliderMoved(int value) {
  if (!musicFollow_.isActive() || !mediaDevice_) return;
  int64_t position = 0;
  if (mci::Position(mediaDevice_, &position) != mci::kOk) return;
  // The timer's own updates lie within the last 200 ms of the music's position.
  if (value >= position - 200 && value <= position) return;
  mci::Seek(mediaDevice_, value);
  mci::Play(mediaDevice_);
}

void TForm3::BrowseVoice() {
  RememberedFolders& folders = WizardFolders();
  std::vector<std::string> picked = platform::CurrentDialogs().OpenFile(OpenDialogOptions(
      "浏览录音文件位置", kVoiceFilter, folders.Get(FolderFamily::Voices), FromQString(ui_.voice->text())));
  if (picked.empty()) return;
  folders.Remember(FolderFamily::Voices, picked[0]);
  ui_.voice->setText(ToQString(picked[0]));
}

void TForm3::RecordVoice() {
  // One recorder for the wizard's life: it keeps its file name from one recording to the next.
  if (!recorder_) {
    recorder_ = new audio_ui::TForm4(this);
    recorder_->SetSavedCallback([this](const std::string& fileName) { ui_.voice->setText(ToQString(fileName)); });
  }
  recorder_->ExecAlignedTo(this);
}

void TForm3::TestVoice() {
  std::string path = FromQString(ui_.voice->text());
  if (!platform::files::FileExists(path) || !ui_.useWav->isChecked()) {
    platform::ShowMessage("您没有正确设置录音！", platform::MsgIcon::Error);
    Flash(ui_.useWav);
    return;
  }
  platform::sound::sndPlaySoundA(path.c_str(), platform::sound::SND_ASYNC | platform::sound::SND_NODEFAULT);
}

}  // namespace ordinary_ui
