#pragma once
// The window a Windows player shows a card in: borderless (or with a title bar when the card
// asks for one), topmost, shaped by a region, painted from a bitmap the stage drew, woken by one
// timer at the stage's next change. Players derive from it and answer its few virtual calls.
//
// For smoke runs and tests, LMCARD_QUIT_AFTER_MS=n makes the program print the titles of its
// visible windows (and the text of a message box) on stdout after n ms and end;
// LMCARD_REPORT_FIRST_FRAME=1 prints "first frame: <Unix time in ms>" once the first frame is shown.
#include <windows.h>
#undef MessageBox  // platform::Dialogs names its call as the platform does
#undef DrawText    // and platform::fonts its text drawing

#include <cstdint>
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/region.h"

namespace win32_host {

class HostWindow {
 public:
  HostWindow() = default;
  virtual ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // Makes the (hidden) window: content size width x height, GBK title.
  bool Create(const std::string& title, int width, int height, bool titleBar);
  HWND Handle() const { return hwnd_; }
  void Show();
  void Close();
  bool Closing() const { return closing_; }

  // The window's content size, and its top-left corner on the screen.
  void SetContentSize(int width, int height);
  void MoveTo(int left, int top);
  SIZE OuterSize() const;
  // The window takes this shape (content coordinates); an empty region makes it rectangular.
  void SetShape(const platform::Region& shape);
  void SetIcon(HICON icon);

  // Repaints now; the next Tick comes at atMs (steady clock), never when atMs < 0.
  void Invalidate();
  void WakeAt(int64_t atMs);

 protected:
  virtual void Paint(platform::Bitmap& surface) = 0;  // fills the content-sized surface
  virtual void Tick() {}
  virtual void MouseMove(int, int) {}
  virtual void MouseDown(int, int) {}
  virtual void MouseUp(int, int) {}
  virtual void DoubleClick(int, int) {}
  virtual void MouseLeave() {}
  virtual bool SetCursorFor(int, int) { return false; }
  virtual void Closed() {}  // the window is going away (WM_CLOSE)

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnPaint();

  HWND hwnd_ = nullptr;
  HICON icon_ = nullptr;
  std::unique_ptr<platform::Bitmap> surface_;
  bool closing_ = false, tracking_ = false;
};

// The steady clock the players hand to their stages (milliseconds).
int64_t NowMs();

// The message loop; returns the exit code posted with PostQuitMessage.
int RunMessageLoop();

// Starts the LMCARD_QUIT_AFTER_MS timer when the variable is set (before any window shows, so a
// message box about a damaged card is reported as well).
void StartQuitTimer();

// A platform bitmap shown on a device context at (x, y) (24- or 32-bit).
void Blit(HDC dc, const platform::Bitmap& bitmap, int x, int y);

// An icon made of 32-bit 0xAARRGGBB pixels; nullptr when it cannot be made.
HICON IconFromPixels(int width, int height, const uint32_t* argb);

}  // namespace win32_host
