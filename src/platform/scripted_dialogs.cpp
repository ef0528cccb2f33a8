#include "platform/scripted_dialogs.h"

namespace platform {
namespace {
template <typename T>
T Take(std::deque<T>& q, T fallback) {
  if (q.empty()) return fallback;
  T v = std::move(q.front());
  q.pop_front();
  return v;
}

MsgResult DefaultButton(MsgButtons b) {
  switch (b) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgResult::Yes;
    case MsgButtons::RetryCancel: return MsgResult::Retry;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
  }
  return MsgResult::Ok;
}
}  // namespace

MsgResult ScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                      MsgButtons buttons) {
  Shown s;
  s.kind = "message";
  s.text = text;
  s.caption = caption;
  s.icon = icon;
  s.buttons = buttons;
  shown.push_back(s);
  return Take(messageAnswers, DefaultButton(buttons));
}

std::vector<std::string> ScriptedDialogs::OpenFile(const FileDialogOptions& options) {
  Shown s;
  s.kind = "open";
  s.text = options.title;
  s.file = options;
  shown.push_back(s);
  return Take(openAnswers, std::vector<std::string>{});
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogOptions& options) {
  Shown s;
  s.kind = "save";
  s.text = options.title;
  s.file = options;
  shown.push_back(s);
  return Take(saveAnswers, std::optional<std::string>{});
}

std::optional<Color> ScriptedDialogs::ChooseColor(Color) {
  shown.push_back(Shown{"color", "", "", MsgIcon::None, MsgButtons::Ok, {}});
  return Take(colorAnswers, std::optional<Color>{});
}

std::optional<FontSpec> ScriptedDialogs::ChooseFont(const FontSpec&) {
  shown.push_back(Shown{"font", "", "", MsgIcon::None, MsgButtons::Ok, {}});
  return Take(fontAnswers, std::optional<FontSpec>{});
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                                     const std::string&) {
  shown.push_back(Shown{"input", prompt, caption, MsgIcon::None, MsgButtons::Ok, {}});
  return Take(inputAnswers, std::optional<std::string>{});
}

std::vector<std::string> ScriptedDialogs::Messages() const {
  std::vector<std::string> out;
  for (const Shown& s : shown) {
    if (s.kind == "message") out.push_back(s.text);
  }
  return out;
}

}  // namespace platform
