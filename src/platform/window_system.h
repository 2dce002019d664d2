// The window-management calls the program makes on its own and on browser windows.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/types.h"

namespace wendrel {

inline constexpr std::int32_t kSwHide = 0;
inline constexpr std::int32_t kSwShow = 5;
inline constexpr std::int32_t kSwRestore = 9;
inline constexpr std::int32_t kGwlExStyle = -20;
inline constexpr std::int32_t kWsExToolWindow = 0x80;
inline constexpr std::int32_t kWsExAppWindow = 0x40000;
inline constexpr std::uint32_t kSwpFrameChanged = 0x20;

class IWindowSystem {
 public:
  IWindowSystem() = default;
  IWindowSystem(const IWindowSystem&) = delete;
  IWindowSystem& operator=(const IWindowSystem&) = delete;
  virtual ~IWindowSystem() = default;

  // Another instance of this program is already running in this session.
  virtual bool PreviousInstance() = 0;
  // The log-on session the program runs in, and this process's id.
  virtual std::uint32_t SessionId() = 0;
  virtual std::uint32_t ProcessId() = 0;
  // SystemParametersInfoA (SPI_GETWORKAREA): the desktop work area in pixels.
  virtual PixelRect WorkArea() = 0;
  virtual std::int32_t TwipsPerPixelX() = 0;
  virtual std::int32_t TwipsPerPixelY() = 0;
  // The screen's size in twips.
  virtual std::int32_t ScreenWidth() = 0;
  virtual std::int32_t ScreenHeight() = 0;

  // The calls below act on any top-level window; their results are not examined.
  virtual void ShowWindow(WindowHandle window, std::int32_t command) = 0;
  virtual void SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) = 0;
  // The window's value at the index (kGwlExStyle: its extended style); 0 for a window that has gone.
  virtual std::int32_t GetWindowLongA(WindowHandle window, std::int32_t index) = 0;
  virtual void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                            std::int32_t width, std::int32_t height, std::uint32_t flags) = 0;
  virtual void BringWindowToTop(WindowHandle window) = 0;
  // What tells one window from a later one that gets the same handle: its window class, and
  // the image name of the program it belongs to ("msedge.exe"). Empty for a window that has
  // gone; the image is empty too when it cannot be read.
  virtual std::string WindowClass(WindowHandle window) = 0;
  virtual std::string ProcessImage(WindowHandle window) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  // Returns once each window has gone or is hidden, or when the time is up: a browser asked to
  // close answers in its own time.
  virtual void AwaitHiddenOrGone(std::span<const WindowHandle> windows, std::int32_t milliseconds) = 0;
  virtual void SetForegroundWindow(WindowHandle window) = 0;

  // Ends the process at once; nothing of the program runs after it.
  virtual void EndProcess() = 0;
};

}  // namespace wendrel
