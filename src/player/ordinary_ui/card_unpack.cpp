#include "player/ordinary_ui/card_unpack.h"

#include <unistd.h>

#include <cstdint>
#include <span>

#include "maker/packaging/ordinary_card.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace ordinary_player_ui {

namespace {

[[noreturn]] void Damaged(const std::string& what) { throw packaging::CardFormatError("贺卡文件已损坏：" + what); }

// An extension as a file name part: a dot and up to five letters or digits; anything else
// (a separator, a blank) would let a card choose where its files go.
bool SafeExt(std::string_view ext) {
  if (ext.size() < 2 || ext.size() > 6 || ext[0] != '.') return false;
  for (char c : ext.substr(1)) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!ok) return false;
  }
  return true;
}

int SizeField(const packaging::CardReader& card, int n, const char* name, int minimum) {
  int v = 0;
  if (!platform::TryStrToInt(platform::Trim(card.Field(n)), v)) {
    Damaged(std::string(name) + "（第 " + std::to_string(n) + " 项）不是数字。");
  }
  if (v < minimum || v > platform::kMaxPictureSide) {
    Damaged(std::string(name) + "（第 " + std::to_string(n) + " 项）是 " + std::to_string(v) + "，不能用来显示贺卡。");
  }
  return v;
}

void CheckPicture(std::string_view bytes, std::string_view ext, const char* name) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  std::span<const uint8_t> span(data, bytes.size());
  try {
    switch (PictureKindOf(ext)) {
      case PictureKind::Still:
        platform::DecodePicture(span, platform::AsciiLower(ext));
        break;
      case PictureKind::Animation:
        platform::DecodeGif(span);
        break;
      case PictureKind::Movie:
        if (bytes.empty()) Damaged(std::string(name) + "是空的。");
        break;
      case PictureKind::Unknown:
        Damaged(std::string(name) + "的类型“" + std::string(ext) + "”无法显示。");
    }
  } catch (const packaging::CardFormatError&) {
    throw;
  } catch (const platform::Error& e) {
    Damaged(std::string(name) + "无法显示：" + e.what());
  }
}

const packaging::CardMedia* Piece(const packaging::CardReader& card, int id) {
  for (const packaging::CardMedia& m : card.Media()) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

}  // namespace

PictureKind PictureKindOf(std::string_view ext) {
  const std::string e = platform::AsciiLower(ext);
  if (e == ".bmp" || e == ".jpg" || e == ".jpeg" || e == ".wmf" || e == ".emf") return PictureKind::Still;
  if (e == ".gif") return PictureKind::Animation;
  if (e == ".avi" || e == ".mpg" || e == ".mpeg") return PictureKind::Movie;
  return PictureKind::Unknown;
}

UnpackedCard UnpackOrdinaryCard(const packaging::CardReader& card, std::string_view folder) {
  UnpackedCard out;
  out.settings = packaging::OrdinarySettingsFromCard(card);  // raises for other cards and bad numbers
  SizeField(card, 3, "贺卡宽度", 1);
  SizeField(card, 4, "贺卡高度", 1);

  const packaging::CardMedia* picture = Piece(card, 0);
  if (!picture) Damaged("贺卡图片不见了。");
  CheckPicture(card.MediaBytes(*picture), picture->ext, "贺卡图片");
  const packaging::CardMedia* box = out.settings.HasGreetingBox() ? Piece(card, 3) : nullptr;
  if (box) {
    if (PictureKindOf(box->ext) == PictureKind::Movie) {
      Damaged("贺词框图片的类型“" + box->ext + "”无法显示。");
    }
    CheckPicture(card.MediaBytes(*box), box->ext, "贺词框图片");
    SizeField(card, 18, "贺词框宽度", 0);
    SizeField(card, 19, "贺词框高度", 0);
  }

  if (!platform::files::FolderExists(folder) && !platform::files::CreateFolder(folder)) {
    throw platform::FileError("Cannot create folder \"" + std::string(folder) + "\"");
  }
  auto write = [&](const packaging::CardMedia& m, const std::string& stem, std::string ext) {
    if (!SafeExt(ext)) ext = ".dat";
    std::string path = platform::paths::Join(folder, stem + ext);
    if (!platform::files::WriteFileAtomic(path, card.MediaBytes(m))) {
      throw platform::FileError("Cannot create file \"" + path + "\"");
    }
    out.files.push_back(path);
    return path;
  };
  out.settings.cardImg = write(*picture, "card", picture->ext);
  if (const packaging::CardMedia* music = Piece(card, 1)) out.settings.music = write(*music, "music", music->ext);
  if (const packaging::CardMedia* voice = Piece(card, 2)) out.settings.wav = write(*voice, "voice", ".wav");
  if (box) out.settings.cardBox = write(*box, "box", box->ext);

  if (card.Icon()) {
    const packaging::IconPatch& patch = *card.Icon();
    std::string_view bytes = card.Bytes();
    if (patch.imageOffset <= bytes.size() && patch.imageLength <= bytes.size() - patch.imageOffset) {
      out.icon = packaging::DecodeIconDib(bytes.substr(patch.imageOffset, patch.imageLength));
    }
  }
  return out;
}

void RemoveUnpackedFiles(const UnpackedCard& card, std::string_view folder) {
  for (const std::string& f : card.files) platform::files::DeleteFile(f);
  if (platform::files::ListFiles(folder).empty()) {
    ::rmdir(platform::paths::ToHost(folder).c_str());
  }
}

std::string CardErrorMessage(std::string_view cardPath, std::string_view reason) {
  return "无法播放贺卡 " + std::string(cardPath) + "\n\n" + std::string(reason);
}

std::string NoCardMessage() {
  return "本程序里没有贺卡。\n\n请把普通型贺卡文件（.crd1）交给它打开，例如：exe1.exe 贺卡.crd1";
}

}  // namespace ordinary_player_ui
