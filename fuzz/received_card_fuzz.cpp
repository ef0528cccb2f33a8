// A received card as the players read it: any bytes are a card file. The card is refused with
// CardFormatError or read into the model; the click actions of its elements are parsed; its
// icon patch is decoded; and each packed file is unpacked into the run's folder, which no
// file may leave whatever name the design gave it.
#include <filesystem>

#include "fuzz_support.h"
#include "maker/packaging/card_reader.h"
#include "player/card_actions.h"
#include "player/card_media.h"
#include "player/card_model.h"
#include "player/card_source.h"

namespace {

bool Inside(const std::string& folder, const std::string& path) {
  const std::string f = std::filesystem::path(folder).lexically_normal().string();
  const std::string p = std::filesystem::path(path).lexically_normal().string();
  return p.size() > f.size() && p.compare(0, f.size(), f) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzz::Folder() + "media/";
  try {
    packaging::CardReader card{std::string(fuzz::AsText(data, size))};
    player::PatchedIcon(card);
    if (card.Kind() != packaging::CardKind::Interactive) return 0;
    const player::CardModel model = player::ReadCardModel(card);
    std::vector<const player::ClickSetting*> clicks;
    for (const auto& e : model.labels) clicks.push_back(&e.click);
    for (const auto& e : model.buttons) clicks.push_back(&e.click);
    for (const auto& e : model.images) clicks.push_back(&e.click);
    for (const auto& e : model.gifs) clicks.push_back(&e.click);
    struct Clean {  // nothing is carried to the next input
      ~Clean() { std::error_code ec; std::filesystem::remove_all(folder, ec); }
    } clean;
    player::MediaStore media(card, folder);
    for (const player::ClickSetting* c : clicks) {
      player::ParseAction(c->cmd);
      player::PictureNumberIndex(c->value1.path);
      const std::string path = media.PathOf(c->value1);
      if (!path.empty() && !Inside(folder, path)) __builtin_trap();
    }
    for (const auto& m : card.Media()) {
      // The design's name for the file, when an element names it; else only the content.
      std::string hint;
      for (const auto& e : model.images)
        if (e.file.id == m.id) hint = e.file.path;
      for (const auto& w : model.wavs)
        if (w.file.id == m.id) hint = w.file.path;
      const std::string path = media.PathOf(m.id, hint);
      if (!path.empty() && !Inside(folder, path)) __builtin_trap();
    }
  } catch (const packaging::CardFormatError&) {
  }
  return 0;
}
