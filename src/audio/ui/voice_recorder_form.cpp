#include "audio/ui/voice_recorder_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"
#include "platform/user_folders.h"

namespace audio_ui {
namespace {

using platform::FromQString;
using platform::ToQString;

RecorderScript& Script() {
  static RecorderScript script;
  return script;
}

}  // namespace

RecorderScript SetRecorderScript(RecorderScript script) {
  RecorderScript old = std::move(Script());
  Script() = std::move(script);
  return old;
}

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString("新建录音文件"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  label_ = new QLabel(ToQString("声音输出文件:"), this);
  edit_ = new QLineEdit(this);
  browse_ = new QPushButton(ToQString("浏览"), this);
  start_ = new QPushButton(ToQString("开始录音(&S)"), this);
  stop_ = new QPushButton(ToQString("停止录音(&S)"), this);
  cancel_ = new QPushButton(ToQString("取消(&C)"), this);
  label_->setBuddy(edit_);
  // Enter in the name box must not start or stop anything by itself.
  for (QPushButton* b : {browse_, start_, stop_, cancel_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(edit_, 1);
  nameRow->addWidget(browse_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(start_);
  buttons->addWidget(stop_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(nameRow);
  layout->addSpacing(6);
  layout->addLayout(buttons);

  connect(browse_, &QPushButton::clicked, this, [this] { BrowseClick(); });
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { StopClick(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { CancelClick(); });

  SetIdle(true);
  resize(420, sizeHint().height());
  setFixedSize(size());
}

TForm4::~TForm4() = default;

void TForm4::SetIdle(bool idle) {
  start_->setEnabled(idle);
  stop_->setEnabled(!idle);
}

void TForm4::AlignTo(const QWidget* owner) {
  if (!owner) return;
  const QRect frame = owner->frameGeometry();
  const QSize mine = frameGeometry().size();
  move(frame.right() + 1 - mine.width(), frame.bottom() + 1 - mine.height());
}

int TForm4::ExecAlignedTo(QWidget* owner) {
  AlignTo(owner);
  if (Script()) return Script()(*this);
  return exec();
}

std::string TForm4::FileName() const { return FromQString(edit_->text()); }

void TForm4::SetFileName(const std::string& fileName) { edit_->setText(ToQString(fileName)); }

void TForm4::BrowseClick() {
  platform::FileDialogOptions options;
  options.title = "浏览声音输出位置";
  options.filter = "声音文件 (*.wav)|*.wav";
  options.defaultExt = "wav";
  options.fileName = FileName();
  if (options.fileName.empty()) options.initialDir = platform::user_folders::SavePath("录音\\");
  if (auto chosen = platform::CurrentDialogs().SaveFile(options)) SetFileName(*chosen);
}

void TForm4::StartClick() {
  switch (recorder_.Start(FileName())) {
    case audio::RecordStart::Started:
      SetIdle(false);
      stop_->setFocus();
      break;
    case audio::RecordStart::NoFileName:
      SetIdle(true);
      edit_->setFocus();
      break;
    case audio::RecordStart::Declined:
    case audio::RecordStart::Failed:
      SetIdle(true);
      break;
  }
}

void TForm4::StopClick() {
  if (!recorder_.Recording()) {
    SetIdle(true);
    return;
  }
  const std::string fileName = recorder_.FileName();
  const bool saved = recorder_.Stop();
  SetIdle(true);
  if (!saved) {
    // Handing over a file that holds no recording would pass the failure off as success.
    platform::ShowMessage(kRecordingNotSaved, platform::MsgIcon::Error);
    return;
  }
  if (onSaved_) onSaved_(fileName);
  emit RecordingSaved(ToQString(fileName));
  accept();
}

void TForm4::CancelClick() {
  recorder_.Cancel();
  SetIdle(true);
  QDialog::reject();
}

void TForm4::reject() { CancelClick(); }

}  // namespace audio_ui
