// Window management on the desktop, for the strip and for the browser windows it tracks.
#pragma once

#include <functional>

#include "platform/win32/handles.h"
#include "platform/window_system.h"

namespace wendrel::win32 {

class WindowSystem final : public IWindowSystem {
 public:
  WindowSystem();

  // Runs once this process has become the one running instance of the program.
  void SetOnInstanceClaimed(std::function<void()> handler) { onInstanceClaimed_ = std::move(handler); }

  // The DPI of the monitor the strip is on: twips per pixel follow it (15 at 96, 10 at 144).
  void SetDpi(unsigned dpi);
  unsigned Dpi() const { return dpi_; }

  bool PreviousInstance() override;
  std::uint32_t SessionId() override;
  std::uint32_t ProcessId() override { return ::GetCurrentProcessId(); }
  PixelRect WorkArea() override;
  std::int32_t TwipsPerPixelX() override { return tpp_; }
  std::int32_t TwipsPerPixelY() override { return tpp_; }
  std::int32_t ScreenWidth() override;
  std::int32_t ScreenHeight() override;

  void ShowWindow(WindowHandle window, std::int32_t command) override;
  void SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) override;
  std::int32_t GetWindowLongA(WindowHandle window, std::int32_t index) override;
  void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                    std::int32_t width, std::int32_t height, std::uint32_t flags) override;
  void BringWindowToTop(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  std::string WindowClass(WindowHandle window) override;
  std::string ProcessImage(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override { return ::IsWindowVisible(ToHwnd(window)) != 0; }
  void AwaitHiddenOrGone(std::span<const WindowHandle> windows, std::int32_t milliseconds) override;
  [[noreturn]] void EndProcess() override;

 private:
  unsigned dpi_ = 96;
  std::int32_t tpp_ = 15;
  UniqueKernelHandle instanceMutex_;
  std::function<void()> onInstanceClaimed_;
};

// The DPI of the monitor a window is on; the system's DPI on systems that know no other.
unsigned DpiOf(HWND window);
// A length given in pixels at 96 DPI, at another DPI.
inline int Scaled(int pixelsAt96, unsigned dpi) { return ::MulDiv(pixelsAt96, static_cast<int>(dpi), 96); }

}  // namespace wendrel::win32
