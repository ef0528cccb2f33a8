#include "player/win32_host/host_window.h"

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/text.h"
#include "platform/win32/wide_path.h"

namespace win32_host {
namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr wchar_t kClassName[] = L"LumoCardWindow";

void Print(const std::string& gbk) {
  std::fputs((platform::GbkToUtf8(gbk) + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string WindowText(HWND hwnd) {
  wchar_t buf[2048] = {};
  GetWindowTextW(hwnd, buf, 2048);
  return platform::win32::GbkFromWide(buf);
}

BOOL CALLBACK ReportChild(HWND child, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(child, cls, 64);
  if (wcscmp(cls, L"Static") == 0 && IsWindowVisible(child)) {
    const std::string text = WindowText(child);
    if (!text.empty()) Print("text: " + text);
  }
  return TRUE;
}

BOOL CALLBACK ReportWindow(HWND hwnd, LPARAM) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  Print("window: " + WindowText(hwnd));
  EnumChildWindows(hwnd, ReportChild, 0);
  return TRUE;
}

BOOL CALLBACK CloseWindow(HWND hwnd, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (wcscmp(cls, L"#32770") == 0) {
    EndDialog(hwnd, IDCANCEL);  // a message box answers as if dismissed
  } else {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

void CALLBACK QuitNow(HWND, UINT, UINT_PTR, DWORD) {
  static bool done = false;
  if (done) return;
  done = true;
  EnumThreadWindows(GetCurrentThreadId(), ReportWindow, 0);
  EnumThreadWindows(GetCurrentThreadId(), CloseWindow, 0);
  // Whatever still runs ends shortly after, as the smoke runs of the other players do.
  SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) { ExitProcess(0); });
}

}  // namespace

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void StartQuitTimer() {
  const wchar_t* v = _wgetenv(L"LMCARD_QUIT_AFTER_MS");
  if (!v || !*v) return;
  SetTimer(nullptr, 0, static_cast<UINT>(std::max(1, _wtoi(v))), QuitNow);
}

void Blit(HDC dc, const platform::Bitmap& bmp, int x, int y) {
  if (bmp.Empty() || bmp.Format() == platform::PixelFormat::Indexed8) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bmp.Width();
  bi.bmiHeader.biHeight = -bmp.Height();  // rows top-down, as ours are
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(platform::BytesPerPixel(bmp.Format()) * 8);
  bi.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, x, y, bmp.Width(), bmp.Height(), 0, 0, bmp.Width(), bmp.Height(), bmp.Data(), &bi,
                DIB_RGB_COLORS, SRCCOPY);
}

HICON IconFromPixels(int width, int height, const uint32_t* argb) {
  if (width <= 0 || height <= 0 || !argb) return nullptr;
  BITMAPV5HEADER h{};
  h.bV5Size = sizeof h;
  h.bV5Width = width;
  h.bV5Height = -height;
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC dc = GetDC(nullptr);
  HBITMAP color = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, dc);
  if (!color) return nullptr;
  std::copy_n(argb, static_cast<size_t>(width) * height, static_cast<uint32_t*>(bits));
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  ICONINFO ii{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

HostWindow::~HostWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (icon_) DestroyIcon(icon_);
}

bool HostWindow::Create(const std::string& title, int width, int height, bool titleBar) {
  static bool registered = false;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    registered = RegisterClassExW(&wc) != 0;
  }
  const DWORD style = titleBar ? (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX) : WS_POPUP;
  RECT r{0, 0, std::max(width, 1), std::max(height, 1)};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOPMOST);
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, platform::win32::WidePath(title).c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr, inst, this);
  return hwnd_ != nullptr;
}

void HostWindow::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
}

void HostWindow::Close() {
  if (hwnd_ && !closing_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void HostWindow::SetContentSize(int width, int height) {
  RECT r{0, 0, std::max(width, 1), std::max(height, 1)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void HostWindow::MoveTo(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE HostWindow::OuterSize() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void HostWindow::SetShape(const platform::Region& shape) {
  if (shape.Empty()) {
    SetWindowRgn(hwnd_, nullptr, TRUE);
    return;
  }
  // The region in window coordinates: the content starts after the frame (none when borderless).
  POINT origin{0, 0};
  ClientToScreen(hwnd_, &origin);
  RECT wr{};
  GetWindowRect(hwnd_, &wr);
  const int dx = origin.x - wr.left, dy = origin.y - wr.top;
  std::vector<RECT> rects;
  for (const platform::Span& s : shape.Spans()) rects.push_back({s.left + dx, s.y + dy, s.right + dx, s.y + dy + 1});
  std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = static_cast<DWORD>(rects.size());
  rd->rdh.rcBound = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
  std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(rd->Buffer));
  HRGN rgn = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
  if (rgn) SetWindowRgn(hwnd_, rgn, TRUE);  // the window owns the region now
}

void HostWindow::SetIcon(HICON icon) {
  if (icon_) DestroyIcon(icon_);
  icon_ = icon;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void HostWindow::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void HostWindow::WakeAt(int64_t atMs) {
  if (!hwnd_) return;
  if (atMs < 0 || closing_) {
    KillTimer(hwnd_, kFrameTimer);
    return;
  }
  const int64_t wait = std::clamp<int64_t>(atMs - NowMs(), USER_TIMER_MINIMUM, 1000);
  SetTimer(hwnd_, kFrameTimer, static_cast<UINT>(wait), nullptr);
}

void HostWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
  if (!surface_ || surface_->Width() != w || surface_->Height() != h)
    surface_ = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  if (surface_) {
    Paint(*surface_);
    Blit(dc, *surface_, 0, 0);
  }
  EndPaint(hwnd_, &ps);
  static bool reported = false;
  if (!reported && _wgetenv(L"LMCARD_REPORT_FIRST_FRAME")) {
    // For the start-up benchmark: when the first frame was on the screen (Unix time in ms).
    reported = true;
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const uint64_t t = (static_cast<uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000 - 11644473600000ull;
    Print("first frame: " + std::to_string(t));
  }
}

LRESULT CALLBACK HostWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT HostWindow::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the bitmap covers everything
    case WM_TIMER:
      if (wp == kFrameTimer) {
        KillTimer(hwnd_, kFrameTimer);
        if (!closing_) Tick();
      }
      return 0;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&t);
      }
      MouseMove(x, y);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      MouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd_);
      MouseDown(x, y);
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      MouseUp(x, y);
      return 0;
    case WM_LBUTTONDBLCLK:
      DoubleClick(x, y);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        if (SetCursorFor(p.x, p.y)) return TRUE;
      }
      break;
    case WM_CLOSE:
      if (!closing_) {
        closing_ = true;
        KillTimer(hwnd_, kFrameTimer);
        Closed();
      }
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace win32_host
