#include "platform/win32/strip_window.h"

#include <windowsx.h>

#include "platform/types.h"

namespace wendrel::win32 {
namespace {

constexpr COLORREF kStripColour = RGB(225, 225, 0);
constexpr COLORREF kFrameColour = RGB(208, 230, 19);
constexpr int kProgramIcon = 1;
constexpr UINT kTrayIconId = 1;

// The tab control leaves the room beside its tabs to its background: there the tab frame's colour
// shows through, as the frame holding the control.
LRESULT CALLBACK TabBackground(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR brush) {
  if (message == WM_ERASEBKGND) return EraseWith(window, wParam, reinterpret_cast<HBRUSH>(brush));
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

FrameWindow::FrameWindow(HWND parent, COLORREF colour, NotifyHandler onNotify)
    : brush_(::CreateSolidBrush(colour)), onNotify_(std::move(onNotify)) {
  Create(WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, L"", 0, 0, 0, 0, parent);
}

LRESULT FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseWith(Hwnd(), wParam, AsBrush(brush_));
    case WM_NOTIFY:
      if (onNotify_) onNotify_(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

StripWindow::StripWindow(WindowSystem& windows)
    : windows_(windows),
      icon_(static_cast<HICON>(
          ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, 32, 32, 0))),
      background_(::CreateSolidBrush(kStripColour)),
      taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {
  Create(WS_EX_TOOLWINDOW, WS_POPUP | WS_CLIPCHILDREN, L"Wendrel", 0, 0, 0, 0, nullptr, nullptr, icon_.get());
  ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
  image_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, 0, 0, 32, 32,
                             Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!image_) throw LastError();
  frame_ = std::make_unique<FrameWindow>(Hwnd(), kFrameColour,
                                         [this](const NMHDR& header) { OnTabNotify(header); });
  tabControl_ =
      ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
                        0, frame_->Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!tabControl_) throw LastError();
  tabClicks_.emplace(tabControl_);
  // Without the subclass the control only looks plainer.
  ::SetWindowSubclass(tabControl_, &TabBackground, 1, reinterpret_cast<DWORD_PTR>(frame_->Brush()));
  windows_.SetDpi(DpiOf(Hwnd()));
  SizeForDpi();
}

void StripWindow::SizeForDpi() {
  const unsigned dpi = windows_.Dpi();
  // The image is 32 pixels square at 96 DPI, as the strip's design has it (480 twips).
  const int side = Scaled(32, dpi);
  imageIcon_.reset(static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, side, side, 0)));
  ::SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(imageIcon_ ? imageIcon_.get() : icon_.get()),
                 0);
  // 8.25 points, 11 pixels high at 96 DPI.
  UniqueGdiObject font(::CreateFontW(-Scaled(11, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
  ::SendMessageW(tabControl_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the control lets go of the old font above
}

StripWindow::~StripWindow() = default;

RECT StripWindow::ToPixels(const TwipBounds& bounds) const {
  const double x = windows_.TwipsPerPixelX();
  const double y = windows_.TwipsPerPixelY();
  const LONG left = RoundHalfEven(bounds.left / x);
  const LONG top = RoundHalfEven(bounds.top / y);
  return {left, top, left + RoundHalfEven(bounds.width / x), top + RoundHalfEven(bounds.height / y)};
}

void StripWindow::SetBounds(const TwipBounds& bounds) {
  const RECT r = ToPixels(bounds);
  ::SetWindowPos(Hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void StripWindow::SetImagePosition(std::int32_t left, std::int32_t top) {
  const RECT r = ToPixels({left, top, 0, 0});
  ::SetWindowPos(image_, nullptr, r.left, r.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void StripWindow::SetFrameBounds(const TwipBounds& bounds) {
  const RECT r = ToPixels(bounds);
  ::SetWindowPos(frame_->Hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void StripWindow::SetTabStripBounds(const TwipBounds& bounds) {
  const RECT r = ToPixels(bounds);
  ::SetWindowPos(tabControl_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (onTabStripResized_) onTabStripResized_();
}

void StripWindow::Show() { ::ShowWindow(Hwnd(), SW_SHOW); }

void StripWindow::SetFocus() { ::SetFocus(Hwnd()); }

void StripWindow::Restore() {
  if (::IsIconic(Hwnd()) || ::IsZoomed(Hwnd())) ::ShowWindow(Hwnd(), SW_RESTORE);
}

void StripWindow::OnTabNotify(const NMHDR& header) {
  if (header.hwndFrom != tabControl_ || !events_) return;
  if (const auto clicked = tabClicks_->OnNotify(header.code)) {
    events_->TabClicked(*clicked + 1);
  } else if (header.code == NM_RCLICK) {
    POINT at{};
    ::GetCursorPos(&at);
    ::ScreenToClient(tabControl_, &at);
    events_->TabStripRightClick(static_cast<float>(at.x * windows_.TwipsPerPixelX()),
                                static_cast<float>(at.y * windows_.TwipsPerPixelY()));
  }
}

LRESULT StripWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    if (events_) events_->TaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      return EraseWith(Hwnd(), wParam, AsBrush(background_));
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == image_) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), kStripColour);
        return reinterpret_cast<LRESULT>(background_.get());
      }
      break;
    case WM_CLOSE:
      // The window is never destroyed here: closing ends the process or is refused.
      if (events_) events_->Close();
      return 0;
    case WM_MOUSEMOVE:
      // The tray's callback comes as a mouse move carrying the icon's identifier and the
      // mouse message; real moves over the strip's surface mean nothing to the program.
      if (wParam == kTrayIconId && lParam >= WM_MOUSEFIRST && lParam <= WM_MOUSELAST && events_) {
        events_->TrayNotification(static_cast<std::uint32_t>(lParam));
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (events_) {
        const std::int16_t button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
        events_->SurfaceMouseUp(button, static_cast<float>(GET_X_LPARAM(lParam) * windows_.TwipsPerPixelX()),
                                static_cast<float>(GET_Y_LPARAM(lParam) * windows_.TwipsPerPixelY()));
      }
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == image_ && HIWORD(wParam) == STN_CLICKED && events_) {
        events_->ImageClick();
        return 0;
      }
      break;
    case kDialogClosed:
      if (events_) events_->DialogClosed();
      return 0;
    case WM_QUERYENDSESSION:
      // The program never holds up the end of a session, and asks nothing. The windows are
      // stored now: by the time the session ends the browsers may have closed.
      if (events_) events_->SessionEndAnnounced();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam && events_) events_->SessionEnding();
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA && events_) events_->DesktopChanged();
      break;
    case WM_DISPLAYCHANGE:
      if (events_) events_->DesktopChanged();
      break;
    case WM_DPICHANGED:
      // The suggested rectangle is not used: the strip is laid out on the work area again.
      windows_.SetDpi(HIWORD(wParam));
      SizeForDpi();
      if (events_) events_->DesktopChanged();
      return 0;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

}  // namespace wendrel::win32
