#pragma once
// What a card stage asks of the host it plays in. Every host (Qt window, Win32 window, browser
// canvas) implements these few calls; the stage decides everything else. The time is always
// handed to the stage by the host: the stage reads no clock of its own.
//
//   sound      background music (looping until stopped) and click sounds
//   navigator  opening addresses and files, starting programs and nested cards
//              (player::Launcher; the stage has asked the user before it starts a program)
//   ui         message boxes and questions, closing the card, moving and resizing the window,
//              showing a Flash movie over its rectangle
#include <string>

#include "platform/dialogs.h"
#include "player/card_actions.h"

namespace stage {

class StageSound {
 public:
  virtual ~StageSound() = default;
  // Plays a music file from its start, again and again until StopMusic.
  virtual void PlayMusic(const std::string& path) = 0;
  virtual void StopMusic() = 0;
  // A short sound (a click sound, a voice); a new one cuts the one playing. "" stops it.
  virtual void PlaySound(const std::string& path) = 0;
};

using StageNavigator = player::Launcher;

struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

class StageUi {
 public:
  virtual ~StageUi() = default;
  // A message box (or a question with Yes/No buttons) over the card; answers the button.
  virtual platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                          platform::MsgButtons buttons) = 0;
  // The card has ended: the host closes its window (and then calls the stage's Close).
  virtual void CloseCard() = 0;
  // The window's top-left corner on the screen (screen coordinates from the screen's origin).
  virtual void MoveWindow(int left, int top) = 0;
  // The window's size changed (the ordinary card's greeting box).
  virtual void ResizeWindow(int width, int height) = 0;
  // A Flash movie is to play over this rectangle of the card (an empty path removes it).
  // False when the host cannot show Flash movies.
  virtual bool ShowFlashMovie(int tag, const ScreenRect& rect, const std::string& path) = 0;
};

// The hosts a stage talks to; all three must outlive the stage.
struct StageHosts {
  StageSound* sound = nullptr;
  StageNavigator* navigator = nullptr;
  StageUi* ui = nullptr;
};

}  // namespace stage
