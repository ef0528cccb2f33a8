#pragma once
// Dialogs for programs without windows (cardtool, the default): boxes are printed on stderr
// as UTF-8, questions take their answer from the configured choice, file and other dialogs
// are cancelled.
#include "platform/dialogs.h"

namespace platform {

class ConsoleDialogs : public Dialogs {
 public:
  // assumeYes answers Yes/OK/Retry to questions; otherwise No/Cancel.
  explicit ConsoleDialogs(bool assumeYes = false) : assumeYes_(assumeYes) {}
  void SetAssumeYes(bool yes) { assumeYes_ = yes; }

  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                       MsgButtons buttons) override;
  std::vector<std::string> OpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> SaveFile(const FileDialogOptions&) override { return std::nullopt; }
  std::optional<Color> ChooseColor(Color) override { return std::nullopt; }
  std::optional<FontSpec> ChooseFont(const FontSpec&) override { return std::nullopt; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }

 private:
  bool assumeYes_;
};

}  // namespace platform
