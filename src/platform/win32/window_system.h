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

  bool PreviousInstance() override;
  PixelRect WorkArea() override;
  std::int32_t TwipsPerPixelX() override { return tppX_; }
  std::int32_t TwipsPerPixelY() override { return tppY_; }
  std::int32_t ScreenWidth() override;
  std::int32_t ScreenHeight() override;

  void ShowWindow(WindowHandle window, std::int32_t command) override;
  void SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) override;
  std::int32_t GetWindowLongA(WindowHandle window, std::int32_t index) override;
  void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                    std::int32_t width, std::int32_t height, std::uint32_t flags) override;
  void BringWindowToTop(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  [[noreturn]] void EndProcess() override;

 private:
  std::int32_t tppX_ = 15;
  std::int32_t tppY_ = 15;
  UniqueKernelHandle instanceMutex_;
  std::function<void()> onInstanceClaimed_;
};

}  // namespace wendrel::win32
