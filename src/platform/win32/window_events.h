// Other programs' top-level windows followed through the system's window events, out of
// context: the callback only filters and hands on, nothing is polled.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32/win.h"

namespace wendrel::win32 {

enum class WindowEvent { Created, Shown, Hidden, Renamed, Destroyed, Cloaked, Uncloaked, Moved };

// One subscription per thread; the events arrive on the thread that made it, from its message
// loop. Throws PlatformError when the system refuses the hooks.
class WindowEventHook {
 public:
  using Handler = std::function<void(HWND, WindowEvent)>;

  explicit WindowEventHook(Handler handler);
  ~WindowEventHook();
  WindowEventHook(const WindowEventHook&) = delete;
  WindowEventHook& operator=(const WindowEventHook&) = delete;

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                               DWORD thread, DWORD time);

  Handler handler_;
  std::vector<HWINEVENTHOOK> hooks_;
};

}  // namespace wendrel::win32
