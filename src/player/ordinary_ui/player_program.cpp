#include "player/ordinary_ui/player_program.h"

#include <unistd.h>

#include <QImage>
#include <QPixmap>
#include <climits>

#include "maker/packaging/side_files.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "player/ordinary_ui/card_picture.h"

namespace ordinary_player_ui {

std::string OwnProgramFile() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return platform::paths::FromHost(std::string(buf, static_cast<size_t>(n)));
}

std::optional<UnpackedCard> OpenCardForPlaying(const std::vector<std::string>& args, const std::string& selfPath,
                                               const std::string& folder) {
  const bool own = args.empty() || args.front().empty();
  const std::string path = own ? selfPath : args.front();
  auto fail = [](const std::string& text) {
    platform::ShowMessage(text, platform::MsgIcon::Error);
    return std::nullopt;
  };
  std::optional<std::string> bytes = platform::files::ReadFile(path);
  if (!bytes) {
    std::string why = platform::files::Exists(path) ? "文件无法读取。" : "文件不存在。";
    return fail(CardErrorMessage(path, why));
  }
  // The program itself without anything appended carries no card.
  if (own) {
    std::optional<uint64_t> end = packaging::ElfImageEnd(*bytes);
    if (end && *end >= bytes->size()) return fail(NoCardMessage());
  }
  try {
    packaging::CardReader card(std::move(*bytes));
    return UnpackOrdinaryCard(card, folder);
  } catch (const platform::Error& e) {
    return fail(CardErrorMessage(path, e.what()));
  }
}

QIcon CardWindowIcon(const UnpackedCard& card) {
  if (card.icon && card.icon->width > 0 && card.icon->height > 0 &&
      card.icon->argb.size() >= static_cast<size_t>(card.icon->width) * static_cast<size_t>(card.icon->height)) {
    QImage img(reinterpret_cast<const uchar*>(card.icon->argb.data()), card.icon->width, card.icon->height,
               card.icon->width * 4, QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(img.copy()));
  }
  const std::string stock = platform::paths::ProgramFolder() + "图标\\ICON26.ICO";
  if (platform::files::FileExists(stock)) {
    try {
      std::unique_ptr<platform::Bitmap> bmp = platform::LoadPicture(stock);
      if (bmp) return QIcon(QPixmap::fromImage(ToQImage(*bmp)));
    } catch (const platform::Error&) {
    }
  }
  return {};
}

std::string RunMediaFolder() {
  return platform::files::TempFolder() + "lmcard-exe1-" + std::to_string(::getpid()) + "\\";
}

}  // namespace ordinary_player_ui
