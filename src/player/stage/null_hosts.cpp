#include "player/stage/null_hosts.h"

namespace stage {

void NullSound::PlayMusic(const std::string& path) {
  music = path;
  calls.push_back("music " + path);
}

void NullSound::StopMusic() {
  music.clear();
  calls.push_back("stop music");
}

void NullSound::PlaySound(const std::string& path) { calls.push_back("sound " + path); }

bool NullNavigator::Open(const std::string& target) {
  calls.push_back("open " + target);
  return answer;
}

bool NullNavigator::StartProgram(const std::string& path) {
  calls.push_back("run " + path);
  return answer;
}

bool NullNavigator::StartPlayer(const std::string& stub, const std::string& cardPath) {
  calls.push_back("player " + stub + " " + cardPath);
  return answer;
}

platform::MsgResult NullUi::ShowMessage(const std::string& text, platform::MsgIcon, platform::MsgButtons buttons) {
  messages.push_back(text);
  return buttons == platform::MsgButtons::Ok ? platform::MsgResult::Ok : answer;
}

void NullUi::CloseCard() { closed = true; }

void NullUi::MoveWindow(int left, int top) {
  window.left = left;
  window.top = top;
  ++moves;
}

void NullUi::ResizeWindow(int width, int height) {
  window.width = width;
  window.height = height;
}

bool NullUi::ShowFlashMovie(int tag, const ScreenRect&, const std::string& path) {
  flashes.push_back(std::to_string(tag) + " " + path);
  return true;
}

}  // namespace stage
