#include "platform/win32/window_system.h"

#include <algorithm>

#include "platform/win32/text.h"

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

std::uint32_t WindowSystem::SessionId() {
  DWORD session = 0;
  // Without an answer every run counts as session 0: one list for all, as before sessions counted.
  ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
  return session;
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

std::string WindowSystem::WindowClass(WindowHandle window) {
  wchar_t name[257] = {};
  const int length = ::GetClassNameW(ToHwnd(window), name, 257);
  return length > 0 ? Narrow(std::wstring_view(name, static_cast<size_t>(length))) : std::string();
}

std::string WindowSystem::ProcessImage(WindowHandle window) {
  DWORD id = 0;
  if (!::GetWindowThreadProcessId(ToHwnd(window), &id) || id == 0) return {};
  const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  const size_t slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

void WindowSystem::AwaitHiddenOrGone(std::span<const WindowHandle> windows, std::int32_t milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(std::max(milliseconds, 0));
  for (;;) {
    const bool settled = std::all_of(windows.begin(), windows.end(), [](WindowHandle window) {
      return !::IsWindow(ToHwnd(window)) || !::IsWindowVisible(ToHwnd(window));
    });
    if (settled || ::GetTickCount64() >= end) return;
    // The windows belong to other programs, which answer in their own time; nothing of this
    // program may run meanwhile, so its messages wait.
    ::Sleep(10);
  }
}

void WindowSystem::EndProcess() { ::ExitProcess(0); }

}  // namespace wendrel::win32
