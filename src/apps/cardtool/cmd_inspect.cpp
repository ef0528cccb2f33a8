// cardtool inspect: what a card file holds: its kind, family and form, the settings block, the
// icon patch, the media table with offsets and lengths, and the settings text (as UTF-8).
// --extract DIR writes each media file and the settings text into DIR.
#include <cstdio>
#include <string>

#include "command.h"
#include "maker/packaging/card_reader.h"
#include "maker/packaging/settings_block.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

using packaging::CardReader;

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"inspect", "inspect CARD [--extract DIR]",
                                 "shows the settings and media of a card file (.exe, .crd1, .crd2, .crd3)", &Run};
const cardtool::Registrar reg(kCommand);

std::string Utf8(const std::string& gbk) { return platform::GbkToUtf8(gbk); }

// The extension a media file had, from the key that names its path, else from its first bytes.
std::string MediaExt(const CardReader& card, const packaging::CardMedia& m) {
  if (!m.ext.empty() && m.ext != " ") return m.ext;
  static const std::pair<const char*, const char*> kPathKeys[] = {
      {"BkPic", "BkPicName"}, {"YxPic", "YxPicName"}, {"Music", "MusicName"}, {"PicUrl", "Pic"},
      {"FilenameId", "Filename"}, {"PicID", "Pic"}};
  for (const std::string& use : m.usedBy) {
    size_t close = use.find("] ");
    if (use.empty() || use[0] != '[' || close == std::string::npos) continue;
    std::string section = use.substr(1, close - 1), key = use.substr(close + 2);
    for (const auto& [idKey, pathKey] : kPathKeys) {
      if (!platform::EqualsNoCase(key, idKey)) continue;
      std::string ext = platform::paths::ExtractFileExt(card.Value(section, pathKey));
      if (!ext.empty()) return platform::AsciiLower(ext);
    }
  }
  std::string_view b = card.MediaBytes(m);
  if (b.starts_with("\xFF\xD8")) return ".jpg";
  if (b.starts_with("BM")) return ".bmp";
  if (b.starts_with("GIF8")) return ".gif";
  if (b.starts_with("MThd")) return ".mid";
  if (b.starts_with("RIFF") && b.substr(8, 4) == "WAVE") return ".wav";
  if (b.starts_with("ID3") || b.starts_with("\xFF\xFB")) return ".mp3";
  if (b.starts_with("FWS") || b.starts_with("CWS")) return ".swf";
  return ".bin";
}

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {"extract"});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 1) return cardtool::Usage(kCommand);
  const std::string& hostPath = opt.Positionals()[0];
  const std::string path = platform::paths::FromHost(hostPath);
  if (!platform::files::FileExists(path)) return cardtool::Fail("cannot open " + hostPath);
  // Not a card, or a damaged one: the reader's message reaches cardtool's handler.
  CardReader card = CardReader::Open(path);

  const bool ordinary = card.Kind() == packaging::CardKind::Ordinary;
  std::printf("file: %s (%zu bytes)\n", hostPath.c_str(), card.Bytes().size());
  std::printf("kind: %s\n", ordinary ? "ordinary" : "interactive");
  std::printf("family: %s (%s)\n", packaging::FamilyName(card.Family()),
              std::string(packaging::FamilyStub(card.Family())).c_str());
  std::printf("form: %s\n", card.Form() == packaging::CardForm::Exe ? "EXE card" : "plain card file");
  std::printf("payload offset: %llu\n", static_cast<unsigned long long>(card.PayloadStart()));
  std::printf("settings block: offset %llu, marker %s, text %zu bytes\n",
              static_cast<unsigned long long>(card.BlockOffset()), ordinary ? "FF x3" : "FD x6", card.Text().size());
  if (card.Icon()) {
    std::printf("icon patch: offset %llu (FORM%d.obj), icon image at %llu, %llu bytes\n",
                static_cast<unsigned long long>(card.Icon()->offset), card.Icon()->form,
                static_cast<unsigned long long>(card.Icon()->imageOffset),
                static_cast<unsigned long long>(card.Icon()->imageLength));
  } else {
    std::printf("icon patch: none\n");
  }
  std::printf("media: %zu\n", card.Media().size());
  std::printf("  %-4s %12s %12s  %s\n", "id", "start", "length", "used by");
  for (const packaging::CardMedia& m : card.Media()) {
    std::string users;
    for (const std::string& u : m.usedBy) users += (users.empty() ? "" : ", ") + Utf8(u);
    std::printf("  %-4d %12llu %12llu  %s\n", m.id, static_cast<unsigned long long>(m.start),
                static_cast<unsigned long long>(m.length), users.c_str());
  }
  std::printf("settings text:\n");
  if (ordinary) {
    for (int n = 1; n <= packaging::kOrdinaryFieldCount; ++n) {
      std::printf("  %2d: %s\n", n, Utf8(card.Field(n)).c_str());
    }
  } else {
    std::fwrite(Utf8(card.Text()).data(), 1, Utf8(card.Text()).size(), stdout);
  }

  if (auto dir = opt.Value("extract")) {
    const std::string folder = platform::paths::FromHost(*dir);
    if (!platform::files::FolderExists(folder) && !platform::files::CreateFolder(folder)) {
      return cardtool::Fail("cannot create " + *dir);
    }
    for (const packaging::CardMedia& m : card.Media()) {
      std::string name = (ordinary ? "piece" : "File") + std::to_string(m.id) + MediaExt(card, m);
      if (!platform::files::WriteFileAtomic(platform::paths::Join(folder, name), card.MediaBytes(m))) {
        return cardtool::Fail("cannot write " + *dir + "/" + name);
      }
    }
    if (!platform::files::WriteFileAtomic(platform::paths::Join(folder, "settings.txt"), card.Text())) {
      return cardtool::Fail("cannot write " + *dir + "/settings.txt");
    }
    std::printf("extracted %zu media files and settings.txt to %s\n", card.Media().size(), dir->c_str());
  }
  return 0;
}

}  // namespace
