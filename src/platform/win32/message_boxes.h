#pragma once
// The system's message boxes as the dialogs of the Windows players (which show no file, colour
// or font dialogs: those answer "cancelled"). Boxes are owned by the window set as their owner.
#include "platform/dialogs.h"

#undef MessageBox  // the dialogs interface names its call as the platform does

namespace platform::win32 {

class MessageBoxDialogs : public Dialogs {
 public:
  void SetOwner(void* owner) { owner_ = owner; }  // an HWND
  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                       MsgButtons buttons = MsgButtons::Ok) override;
  std::vector<std::string> OpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> SaveFile(const FileDialogOptions&) override { return std::nullopt; }
  std::optional<Color> ChooseColor(Color) override { return std::nullopt; }
  std::optional<FontSpec> ChooseFont(const FontSpec&) override { return std::nullopt; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }

 private:
  void* owner_ = nullptr;
};

}  // namespace platform::win32
