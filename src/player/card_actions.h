#pragma once
// What a finished interactive card does: the window's OnLoad and OnClose actions, and the
// click action of labels, buttons, images and GIFs with their click sound. The runtime decides;
// the window (CardHost) and the desktop (Launcher) carry it out, so tests can watch both.
//
// Safety: a card can name a program in an action (the builders never pack executables, so
// the design's path stays). Such a program runs only after the user said yes to a question
// naming it; a "no", or a dialog closed otherwise, runs nothing.
#include <string>
#include <string_view>

#include "maker/document/element_kinds.h"
#include "platform/dialogs.h"
#include "player/card_media.h"
#include "player/card_model.h"

namespace player {

enum class ActionKind {
  None, EndCard, OpenFile, ShowMessage, PicsPrevious, PicsNext, PicsNumber,
  LabelText, ImagePicture, GifPicture, FlashMovie, Unknown
};
struct Action {
  ActionKind kind = ActionKind::None;
  int tag = 0;  // the element an action names (label, image, GIF, Flash movie)
  bool operator==(const Action&) const = default;
};
// The action an element's Cmd text stands for; "" and "无操作" are None, a text that is no
// action of the list is Unknown (it does nothing).
Action ParseAction(std::string_view cmd);

// The extensions the builders never pack; opening such a file runs a program.
bool IsExecutablePath(std::string_view path);
// "http://…", "https://…", "ftp://…", "mailto:…", "www.…": opened as addresses, never run.
bool IsAddress(std::string_view value);
// The player stub for a nested card file (".crd1" exe1.exe, ".crd2" exe2.exe, ".crd3"
// exe3.exe), or "" for other files.
std::string StubForCard(std::string_view path);
// The 0-based picture index of "展示框显示序为设置值1的图像": setting value 1 holds the
// picture's number counted from 1 (a program folder put in front by a reader is ignored);
// -1 when it holds no number.
int PictureNumberIndex(std::string_view value1);

// The window side of the card.
class CardHost {
 public:
  virtual ~CardHost() = default;
  virtual void CloseCard() = 0;
  virtual void SetLabelText(int tag, const std::string& text) = 0;
  // False when the file cannot be shown (the element keeps its picture).
  virtual bool SetImagePicture(int tag, const std::string& path) = 0;
  virtual bool SetGifPicture(int tag, const std::string& path) = 0;
  virtual bool SetFlashMovie(int tag, const std::string& path) = 0;
  virtual void PicsPrevious() = 0;
  virtual void PicsNext() = 0;
  virtual bool PicsShow(int index) = 0;
  virtual void PlaySound(const std::string& path) = 0;
  // Messages and questions of the card's actions; the platform's message box unless the host
  // shows its own.
  virtual platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                          platform::MsgButtons buttons = platform::MsgButtons::Ok) {
    return platform::ShowMessage(text, icon, buttons);
  }
};

// The desktop side: opening files and addresses, starting programs.
class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual bool Open(const std::string& target) = 0;
  virtual bool StartProgram(const std::string& path) = 0;
  // Starts the player stub of the program folder on a nested card file.
  virtual bool StartPlayer(const std::string& stub, const std::string& cardPath) = 0;
};

// Launcher over platform::shell.
class ShellLauncher : public Launcher {
 public:
  bool Open(const std::string& target) override;
  bool StartProgram(const std::string& path) override;
  bool StartPlayer(const std::string& stub, const std::string& cardPath) override;
};

class CardRuntime {
 public:
  CardRuntime(const CardModel& model, MediaStore& media, CardHost& host, Launcher& launcher);

  // The window has been shown / is closing: OnLoad / OnClose (0 nothing, 1 open the setting
  // value, 2 show it as a message).
  void WindowShown();
  void WindowClosing();

  // A click on the element of that kind and Tag: its sound, then its action. Kinds without
  // click actions and unknown Tags do nothing.
  void Click(document::ElementKind kind, int tag);
  void RunClick(const ClickSetting& click);

  // Opens setting value 1 of an action: a packed file from the card, else the design's path
  // or address. Executables only after the user agreed; a missing file is reported.
  void OpenValue(const MediaRef& value);
  // A file to show for a "change picture / movie" action: the packed file, else the design's
  // path when it exists; "" when neither.
  std::string FileOf(const MediaRef& value);

 private:
  void WindowAction(int action, const std::string& value);
  void OpenTarget(const std::string& target);

  const CardModel& model_;
  MediaStore& media_;
  CardHost& host_;
  Launcher& launcher_;
};

}  // namespace player
