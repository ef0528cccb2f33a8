#pragma once
// The voice recorder "新建录音文件": a fixed-size dialog that records the user's voice into a
// WAV file through the recording core. The wizard creates it once and reuses it: it opens it
// with ExecAlignedTo (bottom-right corner on its own), and on a stopped recording the saved
// file name goes to the wizard's voice box through the saved callback (and the signal).
#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "audio/voice_recording.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace audio_ui {

// Said when a stopped recording could not be written to its file.
inline constexpr const char* kRecordingNotSaved = "录音文件保存失败！请检查磁盘空间是否足够，以及文件位置是否可以写入。";

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  // Called with the saved file's name (a system path, GBK) when "停止录音(&S)" has saved it.
  using SavedCallback = std::function<void(const std::string& fileName)>;
  void SetSavedCallback(SavedCallback callback) { onSaved_ = std::move(callback); }

  // Moves the dialog so that its bottom-right corner lies on owner's bottom-right corner.
  void AlignTo(const QWidget* owner);
  // Aligns, then shows the recorder modally; the dialog's result code. While a script is
  // installed (SetRecorderScript), the script runs instead of the modal showing.
  int ExecAlignedTo(QWidget* owner);

  // The file name box's text (GBK) and setting it.
  std::string FileName() const;
  void SetFileName(const std::string& fileName);

  // The buttons' actions ("浏览", "开始录音(&S)", "停止录音(&S)", "取消(&C)").
  void BrowseClick();
  void StartClick();
  void StopClick();
  void CancelClick();

  QLineEdit* FileNameEdit() const { return edit_; }
  QPushButton* BrowseButton() const { return browse_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* CancelButton() const { return cancel_; }
  const audio::VoiceRecorder& Recorder() const { return recorder_; }

 signals:
  // The saved file's name as Qt text, together with the callback.
  void RecordingSaved(const QString& fileName);

 protected:
  void reject() override;  // Esc and the close box cancel as "取消(&C)" does

 private:
  void SetIdle(bool idle);

  audio::VoiceRecorder recorder_;
  SavedCallback onSaved_;
  QLabel* label_;
  QLineEdit* edit_;
  QPushButton* browse_;
  QPushButton* start_;
  QPushButton* stop_;
  QPushButton* cancel_;
};

// Tests of the windows that open the recorder answer it without a modal showing: while a
// script is installed, ExecAlignedTo calls it with the (aligned, not shown) dialog and returns
// its result. Returns the previous script.
using RecorderScript = std::function<int(TForm4& recorder)>;
RecorderScript SetRecorderScript(RecorderScript script);

}  // namespace audio_ui
