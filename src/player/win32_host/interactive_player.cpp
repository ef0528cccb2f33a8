#include "player/win32_host/interactive_player.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/raster.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/win32/mci_backend.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/wide_path.h"
#include "player/win32_host/flash_page.h"
#include "player/win32_host/player_args.h"

namespace win32_host {

namespace {

constexpr int64_t kMusicCheckMs = 500;

}  // namespace

InteractiveWindow::InteractiveWindow(player::OpenedCard& card, player::Launcher& launcher) : card_(card) {
  stage::StageOptions options;
  options.screenWidth = std::max(1, GetSystemMetrics(SM_CXSCREEN));
  options.screenHeight = std::max(1, GetSystemMetrics(SM_CYSCREEN));
  stage_ = std::make_unique<stage::CardStage>(card_, stage::StageHosts{this, &launcher, this}, options);
}

InteractiveWindow::~InteractiveWindow() {
  StopMusic();
  platform::sound::sndPlaySoundA(nullptr, 0);
}

bool InteractiveWindow::Open() {
  if (!Create(stage_->Title(), stage_->Width(), stage_->Height(), stage_->TitleBar())) return false;
  SetShape(stage_->Shape());
  if (auto icon = player::PatchedIcon(*card_.reader)) SetIcon(IconFromPixels(icon->width, icon->height, icon->argb.data()));
  const SIZE outer = OuterSize();
  stage_->Start(NowMs(), {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, outer.cx, outer.cy);
  Show();
  // The first frame is on the screen: the card's OnLoad action.
  loaded_ = true;
  stage_->Loaded();
  WakeAt(stage_->NextChangeAt());
  return true;
}

void InteractiveWindow::Paint(platform::Bitmap& surface) {
  stage_->Draw(surface);
  // Flash movies play in the browser: their place on the card says so.
  for (const auto& [tag, movie] : flashes_) {
    const platform::Rect r = platform::Rect::FromSize(movie.rect.left, movie.rect.top, movie.rect.width, movie.rect.height);
    platform::FillRect(surface, r, 0x302828);
    platform::FontSpec font;
    font.color = 0xEBEBEB;
    platform::fonts::DrawText(surface, font, r.left + 8, r.top + 8,
                              "Flash电影\r\n" + platform::paths::ExtractFileName(movie.path) + "\r\n单击在浏览器中播放", 0, &r);
  }
}

void InteractiveWindow::Tick() {
  const int64_t now = NowMs();
  stage_->Advance(now);
  if (now >= nextMusicCheck_) KeepMusicPlaying();
  Invalidate();
  int64_t next = stage_->NextChangeAt();
  if (music_) next = next < 0 ? nextMusicCheck_ : std::min(next, nextMusicCheck_);
  WakeAt(next);
}

void InteractiveWindow::AfterInput() {
  Invalidate();
  WakeAt(stage_->NextChangeAt());
}

void InteractiveWindow::MouseMove(int x, int y) {
  stage_->MouseMove(NowMs(), x, y);
  AfterInput();
}

void InteractiveWindow::MouseDown(int x, int y) {
  if (FlashAt(x, y)) return;
  stage_->MouseDown(NowMs(), x, y);
  AfterInput();
}

void InteractiveWindow::MouseUp(int x, int y) {
  if (const FlashMovie* movie = FlashAt(x, y)) {
    if (!OpenFlashPage(movie->path)) {
      ShowMessage("无法在浏览器中播放 Flash 电影 " + platform::paths::ExtractFileName(movie->path) + "。",
                  platform::MsgIcon::Warning, platform::MsgButtons::Ok);
    }
    return;
  }
  stage_->MouseUp(NowMs(), x, y);
  if (!Closing()) AfterInput();
}

void InteractiveWindow::DoubleClick(int x, int y) {
  if (FlashAt(x, y)) return;
  stage_->DoubleClick(NowMs(), x, y);
  AfterInput();
}

void InteractiveWindow::MouseLeave() {
  stage_->MouseLeave(NowMs());
  AfterInput();
}

bool InteractiveWindow::SetCursorFor(int x, int y) {
  if (FlashAt(x, y)) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
  }
  switch (stage_->Cursor()) {
    case stage::StageCursor::Hand: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return true;
    case stage::StageCursor::Cross: SetCursor(LoadCursorW(nullptr, IDC_CROSS)); return true;
    case stage::StageCursor::Arrow: break;
  }
  return false;
}

void InteractiveWindow::Closed() {
  stage_->Close();
  StopMusic();
}

const InteractiveWindow::FlashMovie* InteractiveWindow::FlashAt(int x, int y) const {
  for (const auto& [tag, movie] : flashes_) {
    if (!movie.path.empty() && x >= movie.rect.left && y >= movie.rect.top && x < movie.rect.left + movie.rect.width &&
        y < movie.rect.top + movie.rect.height)
      return &movie;
  }
  return nullptr;
}

// --- what the stage asks of the window ----------------------------------------------------

void InteractiveWindow::PlayMusic(const std::string& path) {
  if (path.empty() || music_) return;
  platform::mci::DeviceId id = 0;
  if (platform::mci::Open("", path, &id) != platform::mci::kOk) return;  // unplayable music stays silent
  music_ = id;
  platform::mci::Play(id);
  nextMusicCheck_ = NowMs() + kMusicCheckMs;
}

void InteractiveWindow::KeepMusicPlaying() {
  nextMusicCheck_ = NowMs() + kMusicCheckMs;
  // Background music plays again from the start whenever it has ended.
  platform::mci::Mode mode = platform::mci::Mode::NotReady;
  if (music_ && platform::mci::GetMode(music_, &mode) == platform::mci::kOk && mode == platform::mci::Mode::Stopped) {
    platform::mci::SeekToStart(music_);
    platform::mci::Play(music_);
  }
}

void InteractiveWindow::StopMusic() {
  if (!music_) return;
  platform::mci::Stop(music_);
  platform::mci::Close(music_);
  music_ = 0;
}

void InteractiveWindow::PlaySound(const std::string& path) {
  platform::sound::sndPlaySoundA(path.empty() ? nullptr : path.c_str(),
                                 platform::sound::SND_ASYNC | platform::sound::SND_NODEFAULT);
}

platform::MsgResult InteractiveWindow::ShowMessage(const std::string& text, platform::MsgIcon icon,
                                                   platform::MsgButtons buttons) {
  return platform::ShowMessage(text, icon, buttons);
}

void InteractiveWindow::CloseCard() { Close(); }

void InteractiveWindow::MoveWindow(int left, int top) { MoveTo(left, top); }

void InteractiveWindow::ResizeWindow(int width, int height) { SetContentSize(width, height); }

bool InteractiveWindow::ShowFlashMovie(int tag, const stage::ScreenRect& rect, const std::string& path) {
  flashes_[tag] = {rect, path};
  Invalidate();
  return true;
}

int RunInteractivePlayer() {
  platform::win32::MessageBoxDialogs dialogs;
  platform::SetDialogs(&dialogs);
  platform::media::SetBackend(&platform::win32::MciBackend());
  platform::SetApplicationTitle("互动型贺卡");
  StartQuitTimer();
  player::OpenedCard card;
  try {
    card = player::OpenCard(CommandLineArgs(), player::SelfProgramPath());
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
    return 1;
  }
  platform::SetApplicationTitle(card.model.window.title);
  player::ShellLauncher launcher;
  int rc = 1;
  {
    InteractiveWindow window(card, launcher);
    if (window.Open()) {
      dialogs.SetOwner(window.Handle());
      rc = RunMessageLoop();
    }
    dialogs.SetOwner(nullptr);
  }
  platform::SetDialogs(nullptr);
  return rc;
}

}  // namespace win32_host
