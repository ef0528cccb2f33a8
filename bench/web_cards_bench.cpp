// Web cards: page size against the card's media, time from opening the page on disk to its
// first drawn frame, and the page's main-thread time while the card plays, each as a ratio of
// its limit (<= 1 passes), measured in one run on a card of the program folder's templates.
//
//   size   page bytes / (1.4 x the card's media bytes + 400 KB of player)
//   start  ms from opening the page to the first frame drawn on its canvas / 500 ms
//   play   ms of script and drawing on the page's main thread per ms played / 10%
//
// usage: web_cards_bench [DESIGN.lmcard2 | TEMPLATE.lmcard]   (an interactive design or an ordinary
// card's template; run from the build folder; writes nothing else)
#include <cstdio>
#include <filesystem>
#include <string>

#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/packaging/package_builder.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/card_source.h"
#include "maker/ordinary/ordinary_template.h"
#include "player/web/interactive_web_card.h"
#include "player/web/ordinary_web_card.h"
#include "player/web/web_page.h"
#include "support/temp_dir.h"
#include "web_page_timing.h"
#include "webmedia/page_converter.h"

using namespace testing_support;

int main(int argc, char** argv) {
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  const std::string design = argc > 1 ? platform::paths::FromHost(argv[1])
                                      : std::string(CARD_SOURCE_DIR) + "/data/template/新年烟花.lmcard2";
  TempDir dir;
  std::filesystem::create_directory(dir.HostPath() + "alone");
  size_t media = 0;  // the bytes of the media files the card plays
  // MIDI music and movies go into the page converted: the size is measured against the media as
  // the page carries them.
  long long converted = 0;
  const web::MediaConverter toPage = webmedia::PageMediaConverter();
  const web::MediaConverter counting = [&](const std::string& name, std::string_view bytes) {
    auto out = toPage(name, bytes);
    if (out) converted += static_cast<long long>(out->bytes.size()) - static_cast<long long>(bytes.size());
    return out;
  };
  if (platform::AsciiLower(platform::paths::ExtractFileExt(design)) == ".lmcard") {
    const ordinary::OrdinarySettings s = ordinary::LoadTemplate(design);
    for (const std::string* f : {&s.cardImg, &s.cardBox, &s.music, &s.wav})
      if (!f->empty()) media += platform::files::ReadFile(*f).value_or(std::string()).size();
    web::WriteOrdinaryWebCard(s, dir.File("alone/card.html"), counting);
  } else {
    document::CardDocument doc;
    document::DelAll(doc);
    document::Loadfileset(doc, design);
    if (!packaging::MakeExe(doc, dir.File("card.crd2"))) return 1;
    player::OpenedCard card = player::OpenCardFile(dir.File("card.crd2"));
    for (const auto& m : card.reader->Media()) media += card.reader->MediaBytes(m).size();
    web::WriteInteractiveWebCard(card, dir.File("alone/card.html"), counting);
  }
  const size_t page = platform::files::ReadFile(dir.File("alone/card.html"))->size();
  const size_t player = platform::files::ReadFile(web::WebPlayerFolder() + "card_rules.js")->size() +
                        platform::files::ReadFile(web::WebPlayerFolder() + "card_host.js")->size();

  const std::optional<WebPageTiming> timing = TimeWebCardPage(dir.HostPath() + "alone/card.html", dir.HostPath());
  if (!timing) return 1;
  const size_t carried = static_cast<size_t>(static_cast<long long>(media) + converted);
  const double limit = 1.4 * static_cast<double>(carried) + 400.0 * 1024;
  std::printf("card: %s\n", platform::GbkToUtf8(platform::paths::ExtractFileName(design)).c_str());
  std::printf("media %zu bytes (%zu as the page carries them, converted), player %zu bytes, page %zu bytes\n", media,
              carried, player, page);
  std::printf("size   %.3f  (page / (1.4 x the media as carried + 400 KB))\n", static_cast<double>(page) / limit);
  PrintStartAndPlay(*timing);
  return 0;
}
