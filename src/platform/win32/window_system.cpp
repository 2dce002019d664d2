#include "platform/win32/window_system.h"

namespace wendrel::win32 {

unsigned DpiOf(HWND window) {
  // GetDpiForWindow came with Windows 10 (1607); it is looked up so the program still starts
  // on older systems.
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowCall>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  unsigned dpi = 96;
  if (const HDC screen = ::GetDC(nullptr)) {
    const int logPixels = ::GetDeviceCaps(screen, LOGPIXELSY);
    if (logPixels > 0) dpi = static_cast<unsigned>(logPixels);
    ::ReleaseDC(nullptr, screen);
  }
  return dpi;
}

WindowSystem::WindowSystem() { SetDpi(DpiOf(nullptr)); }

void WindowSystem::SetDpi(unsigned dpi) {
  dpi_ = dpi > 0 ? dpi : 96;
  tpp_ = static_cast<std::int32_t>(1440 / dpi_);
}

bool WindowSystem::PreviousInstance() {
  if (instanceMutex_) return false;
  // The mutex lives as long as this process; a second process finds it already there.
  instanceMutex_.reset(::CreateMutexW(nullptr, FALSE, L"Wendrel.Instance.9D2C41"));
  const bool running = instanceMutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
  if (!running && onInstanceClaimed_) onInstanceClaimed_();
  return running;
}

PixelRect WindowSystem::WorkArea() {
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  // On failure the whole screen stands in for the work area.
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right, area.bottom};
}

std::int32_t WindowSystem::ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN) * tpp_; }
std::int32_t WindowSystem::ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN) * tpp_; }

// The results of the calls below are not examined: a window that has gone is passed over.
void WindowSystem::ShowWindow(WindowHandle window, std::int32_t command) {
  ::ShowWindow(ToHwnd(window), command);
}

void WindowSystem::SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) {
  ::SetWindowLongW(ToHwnd(window), index, value);
}

std::int32_t WindowSystem::GetWindowLongA(WindowHandle window, std::int32_t index) {
  // A window that has gone answers 0, which is what the program expects of it.
  return static_cast<std::int32_t>(::GetWindowLongW(ToHwnd(window), index));
}

void WindowSystem::SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, std::uint32_t flags) {
  ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, width, height, flags);
}

void WindowSystem::BringWindowToTop(WindowHandle window) { ::BringWindowToTop(ToHwnd(window)); }

void WindowSystem::SetForegroundWindow(WindowHandle window) { ::SetForegroundWindow(ToHwnd(window)); }

void WindowSystem::EndProcess() { ::ExitProcess(0); }

}  // namespace wendrel::win32
