#include "player/card_media.h"

#include <unistd.h>

#include <atomic>
#include <system_error>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace player {

namespace {

// A name safe to write: the file name part only, without characters that would leave the folder.
std::string SafeName(std::string_view hint) {
  std::string name = platform::paths::ExtractFileName(hint);
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (platform::IsLeadByte(c) && i + 1 < name.size()) {
      out += name.substr(i, 2);
      ++i;
      continue;
    }
    if (c < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|')
      continue;
    out.push_back(static_cast<char>(c));
  }
  if (out == "." || out == "..") out.clear();
  return out;
}

}  // namespace

std::string SniffExtension(std::string_view b) {
  auto starts = [&](std::string_view magic) { return b.substr(0, magic.size()) == magic; };
  if (starts("\xFF\xD8")) return ".jpg";
  if (starts("BM")) return ".bmp";
  if (starts("GIF8")) return ".gif";
  if (starts(std::string_view("\xD7\xCD\xC6\x9A", 4)) || starts(std::string_view("\x01\x00\x09\x00", 4))) return ".wmf";
  if (b.size() > 44 && b.substr(40, 4) == " EMF") return ".emf";
  if (starts("FWS") || starts("CWS") || starts("ZWS")) return ".swf";
  if (starts("RIFF") && b.size() >= 12 && b.substr(8, 4) == "WAVE") return ".wav";
  if (starts("MThd") || (starts("RIFF") && b.size() >= 12 && b.substr(8, 4) == "RMID")) return ".mid";
  if (starts("ID3") || (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFF &&
                        (static_cast<unsigned char>(b[1]) & 0xE0) == 0xE0))
    return ".mp3";
  return ".dat";
}

MediaStore::MediaStore(const packaging::CardReader& card, std::string folder) : card_(card), folder_(std::move(folder)) {
  if (folder_.empty()) {
    static std::atomic<int> serial{0};
    folder_ = platform::files::TempFolder() + "lmcard-" + platform::IntToStr(getpid()) + "-" +
              platform::IntToStr(serial++) + "/";
    ownFolder_ = true;
  }
}

MediaStore::~MediaStore() {
  for (const auto& [id, path] : written_) platform::files::DeleteFile(path);
  if (ownFolder_ && created_) {
    platform::files::RemoveFolder(folder_);
  }
}

std::string_view MediaStore::Bytes(int id) const {
  for (const auto& m : card_.Media())
    if (m.id == id) return card_.MediaBytes(m);
  return {};
}

std::string MediaStore::PathOf(int id, std::string_view nameHint) {
  if (auto it = written_.find(id); it != written_.end()) return it->second;
  const packaging::CardMedia* media = nullptr;
  for (const auto& m : card_.Media())
    if (m.id == id) media = &m;
  if (!media) return {};
  const std::string_view bytes = card_.MediaBytes(*media);
  std::string name = SafeName(nameHint);
  if (platform::paths::ExtractFileExt(name).empty()) name += SniffExtension(bytes);
  // Each file in a folder named by its id, so that files of the same name never meet.
  const std::string sub = folder_ + platform::IntToStr(id) + "/";
  const std::string path = sub + name;
  if (!platform::files::CreateFolder(sub)) return {};
  created_ = true;
  if (!platform::files::WriteFileAtomic(path, bytes)) return {};
  written_[id] = path;
  return path;
}

}  // namespace player
