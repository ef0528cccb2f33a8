#include "player/card_source.h"

#include <climits>

#include "maker/packaging/icon_patch.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace player {

std::string SelfProgramPath() { return platform::paths::ProgramFile(); }

OpenedCard OpenCardFile(std::string_view path, bool ownProgram) {
  const std::string p(path);
  if (!ownProgram && !platform::files::FileExists(p)) {
    throw CardOpenError("找不到贺卡文件：" + p);
  }
  OpenedCard card;
  card.path = p;
  card.ownProgram = ownProgram;
  std::optional<std::string> bytes = platform::files::ReadFile(p);
  if (!bytes) throw CardOpenError("无法读取贺卡文件：" + p);
  try {
    card.reader = std::make_unique<packaging::CardReader>(std::move(*bytes));
    card.model = ReadCardModel(*card.reader);
  } catch (const packaging::CardFormatError& e) {
    if (ownProgram) {
      throw CardOpenError("本程序中没有可以播放的贺卡。\r\n\r\n" + std::string(e.what()) +
                          "\r\n\r\n请在命令行上给出要打开的贺卡文件（.crd2 或 .crd3）。");
    }
    throw CardOpenError("无法打开贺卡文件：" + p + "\r\n\r\n" + e.what());
  }
  card.media = std::make_unique<MediaStore>(*card.reader);
  return card;
}

OpenedCard OpenCard(const std::vector<std::string>& args, std::string_view selfPath) {
  if (!args.empty() && !args.front().empty()) return OpenCardFile(args.front(), false);
  if (selfPath.empty()) throw CardOpenError("无法确定本程序的位置，请在命令行上给出要打开的贺卡文件。");
  return OpenCardFile(selfPath, true);
}

std::optional<CardIcon> PatchedIcon(const packaging::CardReader& card) {
  const auto& patch = card.Icon();
  if (!patch) return std::nullopt;
  const std::string& bytes = card.Bytes();
  if (patch->imageOffset > bytes.size() || patch->imageLength > bytes.size() - patch->imageOffset) return std::nullopt;
  const auto pixels = packaging::DecodeIconDib(std::string_view(bytes).substr(patch->imageOffset, patch->imageLength));
  if (!pixels || pixels->width <= 0 || pixels->height <= 0) return std::nullopt;
  return CardIcon{pixels->width, pixels->height, pixels->argb};
}

}  // namespace player
