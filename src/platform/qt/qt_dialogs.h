#pragma once
// The dialogs interface on Qt: message boxes, file, colour, font and input dialogs.
#include <QWidget>

#include "platform/dialogs.h"

namespace platform {

class QtDialogs : public Dialogs {
 public:
  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                       MsgButtons buttons) override;
  std::vector<std::string> OpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
  std::optional<Color> ChooseColor(Color initial) override;
  std::optional<FontSpec> ChooseFont(const FontSpec& initial) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
};

// The framework's "Text (*.txt)|*.txt|All (*.*)|*.*" filter as Qt's ";;"-separated list,
// and the 1-based index's entry as the selected filter.
QString ToQtFilter(const std::string& filter, int filterIndex, QString* selected);

}  // namespace platform
