#include "audio/voice_recording.h"

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/text.h"

namespace audio {
namespace {

namespace files = platform::files;
namespace mci = platform::mci;

void PutLe32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutLe16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}

// An unused sibling name to keep a file that is being replaced until the new one is under way.
std::string BackupName(const std::string& fileName) {
  for (int i = 0;; ++i) {
    std::string candidate = fileName + ".~old" + std::to_string(i);
    if (!files::Exists(candidate)) return candidate;
  }
}

}  // namespace

std::string RecordingHeader() {
  std::string h = "RIFF";
  PutLe32(h, 50);
  h += "WAVEfmt ";
  PutLe32(h, 18);
  PutLe16(h, 1);      // PCM
  PutLe16(h, 1);      // mono
  PutLe32(h, 11025);  // samples per second
  PutLe32(h, 11025);  // bytes per second
  PutLe16(h, 1);      // block alignment
  PutLe16(h, 8);      // bits per sample
  PutLe16(h, 0);      // extra format bytes
  h += "fact";
  PutLe32(h, 4);
  PutLe32(h, 0);
  h += "data";
  PutLe32(h, 0);
  return h;
}

VoiceRecorder::~VoiceRecorder() {
  try {
    Cancel();
  } catch (...) {
  }
}

RecordStart VoiceRecorder::Start(const std::string& fileName) {
  if (platform::Trim(fileName).empty()) {
    platform::ShowMessage("请输入文件名", platform::MsgIcon::Warning);
    return RecordStart::NoFileName;
  }
  if (Recording()) Cancel();
  std::string backup;
  if (files::Exists(fileName)) {
    if (platform::ShowMessage(fileName + " 已存在，要替换吗？", platform::MsgIcon::Question,
                              platform::MsgButtons::YesNo) != platform::MsgResult::Yes)
      return RecordStart::Declined;
    files::SetReadOnly(fileName, false);
    backup = BackupName(fileName);
    if (!files::RenameFile(fileName, backup)) return RecordStart::Failed;
  }
  // Puts things back as they were before this start.
  auto undo = [&](mci::DeviceId id) {
    if (id) mci::Close(id);
    files::DeleteFile(fileName);
    if (!backup.empty()) files::RenameFile(backup, fileName);
    return RecordStart::Failed;
  };
  if (!files::WriteFileAtomic(fileName, RecordingHeader())) return undo(0);
  mci::DeviceId id = 0;
  if (mci::Open("WaveAudio", fileName, &id) != mci::kOk) return undo(0);
  if (mci::Record(id) != mci::kOk) return undo(id);
  if (!backup.empty()) files::DeleteFile(backup);
  device_ = id;
  fileName_ = fileName;
  return RecordStart::Started;
}

bool VoiceRecorder::Stop() {
  if (!Recording()) return false;
  mci::Stop(device_);
  bool saved = mci::Save(device_, fileName_) == mci::kOk;
  mci::Close(device_);
  device_ = 0;
  return saved;
}

void VoiceRecorder::Cancel() {
  if (!Recording()) return;
  mci::Close(device_);
  device_ = 0;
  files::DeleteFile(fileName_);
}

}  // namespace audio
