#include "maker/ordinary/ui/wizard_rules.h"

#include <algorithm>

#include "maker/ordinary/ordinary_settings.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace ordinary_ui {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
namespace files = platform::files;
namespace paths = platform::paths;

const std::string kCardPictureFilter =
    std::string("所有支持的格式|*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf;*.avi;*.swf;*.spl;*.mpg;*.mpeg") +
    "|图片文件 (*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf)|*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf" +
    "|影片文件 (*.avi;*.swf;*.spl;*.mpg;*.mpeg)|*.avi;*.swf;*.spl;*.mpg;*.mpeg|位图文件 (*.bmp)|*.bmp" +
    "|GIF 图像 (*.gif)|*.gif|JPEG 图像 (*.jpg;*.jpeg)|*.jpg;*.jpeg|图元文件 (*.wmf;*.emf)|*.wmf;*.emf"
    "|视频剪辑 (*.avi)|*.avi|Flash 电影 (*.swf;*.spl)|*.swf;*.spl|电影剪辑 (*.mpg;*.mpeg)|*.mpg;*.mpeg";

PageButtons ButtonsForPage(int page) {
  if (page <= 1) return {.browse = true, .previous = false, .next = true, .finish = false};
  if (page >= kPageCount) return {.browse = false, .previous = true, .next = false, .finish = true};
  return {.browse = false, .previous = true, .next = true, .finish = false};
}

std::string HelpTopic(int page) { return "pn" + std::to_string(page) + ".htm"; }

namespace {
std::string LowerExt(std::string_view path) { return platform::AsciiLower(paths::ExtractFileExt(path)); }
bool IsStill(const std::string& ext) {
  return ext == ".bmp" || ext == ".jpg" || ext == ".jpeg" || ext == ".wmf" || ext == ".emf";
}
}  // namespace

PictureKind CardPictureKind(std::string_view path) {
  std::string ext = LowerExt(path);
  if (IsStill(ext)) return PictureKind::Still;
  if (ext == ".gif") return PictureKind::Gif;
  if (ext == ".avi" || ext == ".mpg" || ext == ".mpeg") return PictureKind::Movie;
  if (ext == ".swf" || ext == ".spl") return PictureKind::Flash;
  return PictureKind::None;
}

PictureKind GreetingBoxKind(std::string_view path) {
  std::string ext = LowerExt(path);
  if (IsStill(ext)) return PictureKind::Still;
  if (ext == ".gif") return PictureKind::Gif;
  return PictureKind::None;
}

bool NumberFieldAccepts(char32_t ch) { return (ch >= U'0' && ch <= U'9') || ch == U'\b'; }

SizeCheck CheckSize(SizeField field, std::string_view text) {
  bool box = field == SizeField::BoxWidth || field == SizeField::BoxHeight;
  bool width = field == SizeField::CardWidth || field == SizeField::BoxWidth;
  SizeCheck check;
  std::string trimmed = platform::Trim(text);
  bool digits = !trimmed.empty() && trimmed.size() <= 9 &&
                std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) {
    // A blank field, and (pasted) text that is no number, are asked for again.
    check.message = box ? (width ? "请输入正确的贺词框宽度！" : "请输入正确的贺词框高度！")
                        : (width ? "请输入正确的贺卡宽度。" : "请输入正确的贺卡高度。");
    return check;
  }
  check.value = std::stoi(trimmed);
  if (box && check.value < 16) {
    check.message = width ? "贺词框宽度不能小于16像素！" : "贺词框高度不能小于16像素！";
    return check;
  }
  check.ok = true;
  return check;
}

void MoveLock::SetCentre(bool on) {
  if (on == centre_) return;
  centre_ = on;
  if (on) {
    SetLoop(false);
    startEnabled_ = false;
    finalEnabled_ = false;
  } else {
    startEnabled_ = true;
    finalEnabled_ = true;
  }
}

void MoveLock::SetLoop(bool on) {
  if (on == loop_) return;
  loop_ = on;
  if (on) {
    SetCentre(false);
    finalEnabled_ = false;
  } else {
    finalEnabled_ = true;
  }
}

std::optional<CheckFailure> FirstCheckFailure(const CheckInput& in) {
  auto fail = [](CheckItem item, std::string message, int page) {
    return std::optional<CheckFailure>(CheckFailure{item, std::move(message), page});
  };
  if (!in.cardShown) return fail(CheckItem::NoCard, "您还没有设置贺卡文件！", 1);
  if (!files::FileExists(in.cardPath))
    return fail(CheckItem::CardMissing, "文件 " + in.cardPath + " 不存在，请重新定义贺卡文件位置！", 1);
  if (in.musicUsed && !files::FileExists(in.musicPath))
    return fail(CheckItem::Music, "文件 " + in.musicPath + " 不存在，请重新定义音乐文件位置！", 2);
  if (in.voiceUsed && !files::FileExists(in.voicePath))
    return fail(CheckItem::Voice, "文件 " + in.voicePath + " 不存在，请重新定义声音文件位置！", 2);
  if (in.boxIndex != 0 && !in.boxShown) return fail(CheckItem::NoGreetingBox, "您还没有设置贺词框！", 3);
  if (in.boxIndex != 0 && !files::FileExists(in.boxPath))
    return fail(CheckItem::GreetingBoxMissing, "文件 " + in.boxPath + " 不存在，请重新定义贺词框文件位置！", 3);
  if (in.mailOption && in.mailBox.empty()) return fail(CheckItem::MailBox, "请输入您的邮址！", 5);
  if (in.notifyOption && in.notifyBox.empty()) return fail(CheckItem::NotifyBox, "请输入您的邮址！", 5);
  return std::nullopt;
}

bool ConfirmFinish(bool built, bool templateOption, bool templateSaved) {
  if (!built && platform::ShowMessage("您还没有生成贺卡文件，真的要退出吗？", MsgIcon::Question,
                                      MsgButtons::YesNo) != MsgResult::Yes)
    return false;
  if (templateOption && !templateSaved &&
      platform::ShowMessage("您还没有保存模板文件，真的要退出吗？", MsgIcon::Question, MsgButtons::YesNo) !=
          MsgResult::Yes)
    return false;
  return true;
}

platform::FileDialogOptions OutputDialogOptions(CardFormat format, const std::string& currentOutput,
                                                const std::string& folder) {
  platform::FileDialogOptions o;
  o.title = "选择贺卡输出位置";
  o.filter = std::string(kOutputFilter);
  o.initialDir = folder;
  if (!currentOutput.empty() && files::FileExists(currentOutput)) o.fileName = currentOutput;
  o.overwritePrompt = false;
  if (format == CardFormat::Web) {
    o.filter = "网页贺卡 (*.html)|*.html";
    o.defaultExt = "html";
    o.filterIndex = 1;
    return o;
  }
  bool plain = format == CardFormat::Plain;
  o.defaultExt = plain ? "crd1" : "exe";
  o.filterIndex = plain ? 2 : 1;
  o.overwritePrompt = false;
  return o;
}

std::string OutputPathFor(const std::string& chosen, CardFormat format) {
  std::string ext = LowerExt(chosen);
  if (format == CardFormat::Web) return ext == ".html" || ext == ".htm" ? chosen : paths::ChangeFileExt(chosen, ".html");
  bool plain = ext == ".crd1" ? true : ext == ".exe" ? false : format == CardFormat::Plain;
  return paths::ChangeFileExt(chosen, plain ? ".crd1" : ".exe");
}

platform::FileDialogOptions OpenDialogOptions(std::string title, std::string_view filter,
                                              const std::string& folder, const std::string& current) {
  platform::FileDialogOptions o;
  o.title = std::move(title);
  o.filter = std::string(filter);
  o.initialDir = folder;
  if (!current.empty() && files::FileExists(current)) o.fileName = current;
  return o;
}

namespace {
const std::vector<std::string> kGreetingBoxExts = {".gif", ".jpg", ".jpeg", ".bmp", ".swf", ".emf"};
}  // namespace

std::vector<std::string> GreetingBoxFiles(const std::string& folder) { return files::ListFiles(folder, kGreetingBoxExts); }

std::vector<std::string> GreetingBoxFiles() {
  return platform::user_folders::ListFiles(ordinary::kGreetingBoxFolder, kGreetingBoxExts);
}

RememberedFolders::RememberedFolders() {
  const std::string_view subfolders[7] = {ordinary::kCardPictureFolder, ordinary::kMusicFolder,
                                          ordinary::kVoiceFolder,       ordinary::kGreetingBoxFolder,
                                          ordinary::kGreetingTextFolder, ordinary::kIconFolder,
                                          ordinary::kBuiltCardFolder};
  // Where the user makes files (recordings, greeting texts, cards) the dialogs start in the
  // user's own folder; the shipped media are found in the program folder.
  const bool made[7] = {false, false, true, false, true, false, true};
  for (int i = 0; i < 7; ++i) {
    folders_[i] = made[i] ? platform::user_folders::SavePath(subfolders[i])
                          : paths::ProgramFolder() + std::string(subfolders[i]);
  }
}

const std::string& RememberedFolders::Get(FolderFamily family) const { return folders_[static_cast<int>(family)]; }

void RememberedFolders::Remember(FolderFamily family, const std::string& pickedFile) {
  std::string folder = paths::ExtractFilePath(pickedFile);
  if (!folder.empty()) folders_[static_cast<int>(family)] = folder;
}

RememberedFolders& WizardFolders() {
  static RememberedFolders folders;
  return folders;
}

}  // namespace ordinary_ui
