#include "player/ordinary_ui/player_program.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include <QImage>
#include <QPixmap>
#include <climits>

#include "maker/packaging/side_files.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "player/ordinary_ui/movie_player.h"

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

namespace {
constexpr std::string_view kMediaFolderPrefix = "lmcard-exe1-";
}  // namespace

std::string RunMediaFolder() {
  return platform::files::TempFolder() + std::string(kMediaFolderPrefix) + std::to_string(::getpid()) + "\\";
}

void RemoveStaleMediaFolders() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path temp = platform::paths::ToHost(platform::files::TempFolder());
  for (fs::directory_iterator it(temp, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(kMediaFolderPrefix) || !it->is_directory(ec)) continue;
    const std::string digits = name.substr(kMediaFolderPrefix.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    // Only a run that is gone for certain: a living process, or one we may not see, keeps it.
    if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code removeError;
    fs::remove_all(it->path(), removeError);
  }
}

}  // namespace ordinary_player_ui
