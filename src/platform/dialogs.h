#pragma once
// Message boxes and common dialogs as an interface the windows and builders call. The window
// programs install the Qt implementation, cardtool a console one, tests the scripted double.
// Every text is GBK.
#include <optional>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/font_spec.h"

namespace platform {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
// Values as the platform's message box returns them.
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// A file dialog's settings. filter is in the framework's form:
// "图片文件 (*.jpg;*.bmp)|*.jpg;*.bmp|所有文件 (*.*)|*.*".
struct FileDialogOptions {
  std::string title;
  std::string filter;
  int filterIndex = 1;       // 1-based, as the framework counts
  std::string initialDir;
  std::string fileName;      // proposed name
  std::string defaultExt;    // without the dot
  bool multiSelect = false;
  bool overwritePrompt = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                               MsgButtons buttons = MsgButtons::Ok) = 0;
  // Chosen paths (several with multiSelect); empty when cancelled.
  virtual std::vector<std::string> OpenFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
  virtual std::optional<Color> ChooseColor(Color initial) = 0;
  virtual std::optional<FontSpec> ChooseFont(const FontSpec& initial) = 0;
  // The platform's InputQuery: the edited text, or nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
};

// The dialogs of this process. Without an installed implementation, a console one that
// prints to stderr and answers every question with its default button is used.
Dialogs& CurrentDialogs();
// Installs an implementation (not owned; nullptr restores the default); returns the previous.
Dialogs* SetDialogs(Dialogs* dialogs);

// The application title that message boxes carry as caption.
const std::string& ApplicationTitle();
void SetApplicationTitle(std::string title);

// Shorthand for a box captioned with the application title.
MsgResult ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok);

}  // namespace platform
