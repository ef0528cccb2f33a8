#include "player/win32_host/ordinary_player.h"

#include <algorithm>
#include <ctime>

#include "maker/packaging/card_reader.h"
#include "maker/packaging/pe_icon.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/win32/mci_backend.h"
#include "platform/win32/message_boxes.h"
#include "player/card_source.h"
#include "player/ordinary_ui/card_unpack.h"
#include "player/ordinary_ui/safe_open.h"
#include "player/win32_host/player_args.h"

namespace win32_host {

namespace {

constexpr int64_t kPollMs = 10;  // the card's shortest timer (its audio timer)

std::tm LocalNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_s(&tm, &t);
  return tm;
}

// The screen as it is before the card comes up: what a transparent card shows behind it.
std::unique_ptr<platform::Bitmap> CaptureScreen() {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  auto shot = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  if (!shot) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib) {
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint8_t*>(bits), shot->ByteSize(), shot->Data());
    SelectObject(mem, old);
    DeleteObject(dib);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return shot;
}

// A relative media path is taken from the program folder, as the wizard's lists give them.
std::string FromProgramFolder(const std::string& path) {
  if (path.empty() || platform::paths::IsAbsolute(path)) return path;
  return platform::paths::ProgramFolder() + path;
}

}  // namespace

OrdinaryWindow::OrdinaryWindow(const ordinary::OrdinarySettings& settings) : settings_(settings) {
  settings_.cardImg = FromProgramFolder(settings_.cardImg);
  settings_.music = FromProgramFolder(settings_.music);
  settings_.wav = FromProgramFolder(settings_.wav);
  settings_.cardBox = FromProgramFolder(settings_.cardBox);
  config_ = ordinary::MakeCardPlayerConfig(settings_, LocalNow());
  media_ = ordinary::MakePlatformCardMedia();
}

OrdinaryWindow::~OrdinaryWindow() { stage_.reset(); }

bool OrdinaryWindow::Open(HICON icon) {
  screenUnder_ = CaptureScreen();
  if (!Create("Lumo贺卡", 1, 1, false)) return false;
  if (icon) SetIcon(icon);
  stage::OrdinaryStageHosts hosts;
  hosts.media = media_.get();
  hosts.random = &random_;
  hosts.ui = this;
  hosts.open = ordinary_player_ui::OpenCloseTargetWithShell;
  hosts.processMessages = [] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  };
  stage_ = std::make_unique<stage::OrdinaryStage>(
      settings_, config_, std::move(hosts),
      ordinary::ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  stage_->Start(NowMs());
  if (Closing() || !Handle()) return true;
  Show();
  WakeAt(NowMs() + kPollMs);
  return true;
}

void OrdinaryWindow::Paint(platform::Bitmap& surface) {
  if (stage_) {
    stage_->Draw(surface, NowMs(), screenUnder_.get());
  } else {
    surface.Fill(config_.windowColor);
  }
}

void OrdinaryWindow::Tick() {
  if (!stage_) return;
  const int64_t now = NowMs();
  stage_->Advance(now);
  if (Closing()) return;
  const uint64_t key = stage_->LookKey(now);
  if (key != lookKey_) {
    lookKey_ = key;
    Invalidate();
  }
  // Keeps the card above every other window, as it always stays on top.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  WakeAt(now + kPollMs);
}

void OrdinaryWindow::MouseDown(int, int) { pressed_ = true; }

void OrdinaryWindow::MouseUp(int, int) {
  // A click is a press and a release; the release that ends a double click is none.
  if (!pressed_ || !stage_) return;
  pressed_ = false;
  stage_->Click(NowMs());
  Invalidate();
}

void OrdinaryWindow::DoubleClick(int, int) {
  pressed_ = false;
  if (!stage_) return;
  stage_->DoubleClick(NowMs());
  Invalidate();
}

void OrdinaryWindow::Closed() {
  // Closing the window closes the card: the sound stops and the closing links open.
  if (stage_) stage_->Close(NowMs());
}

platform::MsgResult OrdinaryWindow::ShowMessage(const std::string& text, platform::MsgIcon icon,
                                                platform::MsgButtons buttons) {
  return platform::ShowMessage(text, icon, buttons);
}

void OrdinaryWindow::CloseCard() { Close(); }

void OrdinaryWindow::MoveWindow(int left, int top) {
  MoveTo(left, top);
  Invalidate();  // the screen under the new place shows through a transparent card
}

void OrdinaryWindow::ResizeWindow(int width, int height) {
  SetContentSize(width, height);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int RunOrdinaryPlayer() {
  namespace opu = ordinary_player_ui;
  platform::win32::MessageBoxDialogs dialogs;
  platform::SetDialogs(&dialogs);
  platform::media::SetBackend(&platform::win32::MciBackend());
  platform::SetApplicationTitle("Lumo贺卡");
  StartQuitTimer();
  const std::vector<std::string> args = CommandLineArgs();
  const bool own = args.empty() || args.front().empty();
  const std::string path = own ? player::SelfProgramPath() : args.front();
  const std::string folder =
      platform::files::TempFolder() + "lmcard-exe1-" + std::to_string(GetCurrentProcessId()) + "\\";

  std::optional<opu::UnpackedCard> card;
  std::optional<std::string> bytes = platform::files::ReadFile(path);
  std::string problem;
  if (!bytes) {
    problem = opu::CardErrorMessage(path, platform::files::Exists(path) ? "文件无法读取。" : "文件不存在。");
  } else if (own && packaging::PeImageEnd(*bytes).value_or(0) >= bytes->size()) {
    problem = opu::NoCardMessage();  // the program itself, nothing appended
  } else {
    try {
      packaging::CardReader reader(std::move(*bytes));
      card = opu::UnpackOrdinaryCard(reader, folder);
    } catch (const platform::Error& e) {
      problem = opu::CardErrorMessage(path, e.what());
    }
  }
  int rc = 1;
  if (card) {
    HICON icon = nullptr;
    if (card->icon) icon = IconFromPixels(card->icon->width, card->icon->height, card->icon->argb.data());
    OrdinaryWindow window(card->settings);
    if (window.Open(icon)) {
      dialogs.SetOwner(window.Handle());
      rc = window.Handle() ? RunMessageLoop() : 0;
    }
    dialogs.SetOwner(nullptr);
  } else {
    platform::ShowMessage(problem, platform::MsgIcon::Error);
  }
  if (card) opu::RemoveUnpackedFiles(*card, folder);
  platform::SetDialogs(nullptr);
  return rc;
}

}  // namespace win32_host
