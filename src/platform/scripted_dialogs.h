#pragma once
// A test double for the dialogs: records every box and dialog that was shown and answers
// from a script (queued answers per kind; a box with no queued answer gets its default button).
#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace platform {

class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    std::string kind;     // "message", "open", "save", "color", "font", "input"
    std::string text;     // message text, dialog title or input prompt
    std::string caption;  // message caption or input caption
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    FileDialogOptions file;
  };

  // Answers, consumed in order.
  std::deque<MsgResult> messageAnswers;
  std::deque<std::vector<std::string>> openAnswers;           // empty vector = cancel
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<Color>> colorAnswers;
  std::deque<std::optional<FontSpec>> fontAnswers;
  std::deque<std::optional<std::string>> inputAnswers;

  std::vector<Shown> shown;

  // Installs itself for its lifetime.
  ScriptedDialogs() : previous_(SetDialogs(this)) {}
  ~ScriptedDialogs() override { SetDialogs(previous_); }

  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                       MsgButtons buttons) override;
  std::vector<std::string> OpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
  std::optional<Color> ChooseColor(Color initial) override;
  std::optional<FontSpec> ChooseFont(const FontSpec& initial) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;

  // The texts of the message boxes shown so far, in order.
  std::vector<std::string> Messages() const;

 private:
  Dialogs* previous_;
};

}  // namespace platform
