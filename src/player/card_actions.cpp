#include "player/card_actions.h"

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace player {

using document::ElementKind;

namespace {

// "<prefix><digits><suffix>" → the digits' value, or -1.
int TaggedAction(std::string_view cmd, std::string_view prefix, std::string_view suffix) {
  if (!cmd.starts_with(prefix) || !cmd.ends_with(suffix) || cmd.size() <= prefix.size() + suffix.size()) return -1;
  const std::string_view digits = cmd.substr(prefix.size(), cmd.size() - prefix.size() - suffix.size());
  if (digits.size() > 9) return -1;
  int v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

template <class T>
const T* FindTag(const std::vector<T>& items, int tag) {
  for (const T& e : items)
    if (e.tag == tag) return &e;
  return nullptr;
}

}  // namespace

Action ParseAction(std::string_view cmd) {
  if (cmd.empty() || cmd == "无操作") return {ActionKind::None, 0};
  if (cmd == "结束贺卡运行") return {ActionKind::EndCard, 0};
  if (cmd == "打开设置值1中的文件") return {ActionKind::OpenFile, 0};
  if (cmd == "提示设置值2中的信息") return {ActionKind::ShowMessage, 0};
  if (cmd == "使图像展示框显示上一幅图像") return {ActionKind::PicsPrevious, 0};
  if (cmd == "使图像展示框显示下一幅图像") return {ActionKind::PicsNext, 0};
  if (cmd == "展示框显示序为设置值1的图像") return {ActionKind::PicsNumber, 0};
  if (int t = TaggedAction(cmd, "文本框", "的内容改为设置值2中的值"); t >= 0) return {ActionKind::LabelText, t};
  if (int t = TaggedAction(cmd, "图片", "改为设置值1中的值"); t >= 0) return {ActionKind::ImagePicture, t};
  if (int t = TaggedAction(cmd, "GIF动画", "改为设置值1中的值"); t >= 0) return {ActionKind::GifPicture, t};
  if (int t = TaggedAction(cmd, "Flash电影", "改为设置1中的值"); t >= 0) return {ActionKind::FlashMovie, t};
  return {ActionKind::Unknown, 0};
}

bool IsExecutablePath(std::string_view path) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(platform::Trim(path)));
  for (const char* e : {".exe", ".scr", ".com", ".vbs", ".cmd", ".reg", ".bat", ".pif", ".lnk"})
    if (ext == e) return true;
  return false;
}

bool IsAddress(std::string_view value) {
  const std::string v = platform::AsciiLower(platform::Trim(value));
  for (const char* p : {"http://", "https://", "ftp://", "mailto:", "www."})
    if (v.starts_with(p)) return true;
  return false;
}

std::string StubForCard(std::string_view path) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  if (ext == ".crd1") return "exe1.exe";
  if (ext == ".crd2") return "exe2.exe";
  if (ext == ".crd3") return "exe3.exe";
  return {};
}

int PictureNumberIndex(std::string_view value1) {
  std::string v = platform::Trim(value1);
  const std::string folder = platform::paths::ProgramFolder();
  if (v.starts_with(folder)) v = v.substr(folder.size());
  int n = 0;
  if (v.empty() || !platform::TryStrToInt(v, n) || n < 1) return -1;
  return n - 1;
}

bool ShellLauncher::Open(const std::string& target) { return platform::shell::Open(target); }

bool ShellLauncher::StartProgram(const std::string& path) { return platform::shell::StartProgram(path, {}); }

bool ShellLauncher::StartPlayer(const std::string& stub, const std::string& cardPath) {
  const std::string program = platform::paths::ProgramFolder() + stub;
  if (!platform::files::FileExists(platform::shell::ResolveProgram(program))) return false;
  return platform::shell::StartProgram(program, {cardPath});
}

CardRuntime::CardRuntime(const CardModel& model, MediaStore& media, CardHost& host, Launcher& launcher)
    : model_(model), media_(media), host_(host), launcher_(launcher) {}

void CardRuntime::WindowShown() { WindowAction(model_.window.onLoad, model_.window.onLoadSet); }

void CardRuntime::WindowClosing() { WindowAction(model_.window.onClose, model_.window.onCloseSet); }

void CardRuntime::WindowAction(int action, const std::string& value) {
  if (action == 1) {
    if (!platform::Trim(value).empty()) OpenTarget(platform::Trim(value));
  } else if (action == 2) {
    host_.ShowMessage(value, platform::MsgIcon::Information);
  }
}

void CardRuntime::Click(ElementKind kind, int tag) {
  const ClickSetting* click = nullptr;
  switch (kind) {
    case ElementKind::Label:
      if (auto* e = FindTag(model_.labels, tag)) click = &e->click;
      break;
    case ElementKind::Button:
      if (auto* e = FindTag(model_.buttons, tag)) click = &e->click;
      break;
    case ElementKind::Image:
      if (auto* e = FindTag(model_.images, tag)) click = &e->click;
      break;
    case ElementKind::Gif:
      if (auto* e = FindTag(model_.gifs, tag)) click = &e->click;
      break;
    default:
      break;
  }
  if (click) RunClick(*click);
}

void CardRuntime::RunClick(const ClickSetting& click) {
  if (click.wav != 0) {
    if (const WavModel* w = FindTag(model_.wavs, click.wav)) {
      const std::string path = FileOf(w->file);
      if (!path.empty()) host_.PlaySound(path);
    }
  }
  const Action a = ParseAction(click.cmd);
  switch (a.kind) {
    case ActionKind::None:
    case ActionKind::Unknown:
      break;
    case ActionKind::EndCard:
      host_.CloseCard();
      break;
    case ActionKind::OpenFile:
      OpenValue(click.value1);
      break;
    case ActionKind::ShowMessage:
      host_.ShowMessage(click.text, platform::MsgIcon::Information);
      break;
    case ActionKind::PicsPrevious:
      if (model_.picsBox.present) host_.PicsPrevious();
      break;
    case ActionKind::PicsNext:
      if (model_.picsBox.present) host_.PicsNext();
      break;
    case ActionKind::PicsNumber:
      if (model_.picsBox.present) {
        const int index = PictureNumberIndex(click.value1.path);
        if (index >= 0) host_.PicsShow(index);
      }
      break;
    case ActionKind::LabelText:
      if (FindTag(model_.labels, a.tag)) host_.SetLabelText(a.tag, click.text);
      break;
    case ActionKind::ImagePicture:
      if (FindTag(model_.images, a.tag)) {
        const std::string path = FileOf(click.value1);
        if (!path.empty()) host_.SetImagePicture(a.tag, path);
      }
      break;
    case ActionKind::GifPicture:
      if (FindTag(model_.gifs, a.tag)) {
        const std::string path = FileOf(click.value1);
        if (!path.empty()) host_.SetGifPicture(a.tag, path);
      }
      break;
    case ActionKind::FlashMovie:
      if (FindTag(model_.flashes, a.tag)) {
        const std::string path = FileOf(click.value1);
        if (!path.empty()) host_.SetFlashMovie(a.tag, path);
      }
      break;
  }
}

std::string CardRuntime::FileOf(const MediaRef& value) {
  if (value.Packed()) return media_.PathOf(value);
  const std::string path = platform::Trim(value.path);
  if (!path.empty() && platform::files::FileExists(path) && !IsExecutablePath(path)) return path;
  return {};
}

void CardRuntime::OpenValue(const MediaRef& value) {
  if (value.Packed()) {
    const std::string path = media_.PathOf(value);
    if (path.empty()) {
      host_.ShowMessage("无法从贺卡中取出文件 " + platform::paths::ExtractFileName(value.path) + "。",
                            platform::MsgIcon::Warning);
      return;
    }
    const std::string stub = StubForCard(path);
    if (!stub.empty() && launcher_.StartPlayer(stub, path)) return;
    if (IsExecutablePath(path)) {  // never packed by the builders: a hand-made card
      OpenTarget(path);
      return;
    }
    if (!launcher_.Open(path)) host_.ShowMessage("无法打开文件 " + path + "。", platform::MsgIcon::Warning);
    return;
  }
  const std::string target = platform::Trim(value.path);
  if (!target.empty()) OpenTarget(target);
}

void CardRuntime::OpenTarget(const std::string& target) {
  if (IsAddress(target)) {
    if (!launcher_.Open(target)) host_.ShowMessage("无法打开地址 " + target + "。", platform::MsgIcon::Warning);
    return;
  }
  if (!platform::files::Exists(target) && !platform::files::Exists(platform::shell::ResolveProgram(target))) {
    host_.ShowMessage("文件 " + target + " 不存在，无法打开。", platform::MsgIcon::Warning);
    return;
  }
  if (IsExecutablePath(target)) {
    const std::string question = "贺卡要运行下面的程序：\r\n\r\n" + target +
                                 "\r\n\r\n贺卡中的程序可能带有病毒。只有在您信任贺卡的发送者、并且知道这个程序的用途时，"
                                 "才应运行它。\r\n\r\n要运行这个程序吗？";
    if (host_.ShowMessage(question, platform::MsgIcon::Warning, platform::MsgButtons::YesNo) !=
        platform::MsgResult::Yes)
      return;
    if (!launcher_.StartProgram(target)) host_.ShowMessage("无法运行程序 " + target + "。", platform::MsgIcon::Warning);
    return;
  }
  const std::string stub = StubForCard(target);
  if (!stub.empty() && launcher_.StartPlayer(stub, target)) return;
  if (!launcher_.Open(target)) host_.ShowMessage("无法打开文件 " + target + "。", platform::MsgIcon::Warning);
}

}  // namespace player
