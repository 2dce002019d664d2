// The shell's window collection and browser automation over COM, with a window-class based
// stand-in for desktops whose collection cannot be enumerated (Wine answers E_NOTIMPL).
#pragma once

#include <exdisp.h>
#include <wrl/client.h>

#include <utility>
#include <vector>

#include "platform/shell.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {

// The top-level browser and folder windows in the order they were first seen, so that a
// reconciliation pass meets them in a stable order whatever their z-order.
class WindowCatalogue {
 public:
  // Forgets windows that have gone, adds new ones at the end and returns the list.
  const std::vector<HWND>& Refresh();

  // Holds a browser the program started for as long as its window is open. Wine's browser
  // closes its window when the last reference to it goes, which Windows' browser does not;
  // the program drops its reference right after opening one.
  void KeepAlive(Microsoft::WRL::ComPtr<IWebBrowser2> browser, HWND window);

 private:
  std::vector<HWND> seen_;
  std::vector<std::pair<HWND, Microsoft::WRL::ComPtr<IWebBrowser2>>> started_;
};

class Shell final : public IShell {
 public:
  Shell() = default;

  std::unique_ptr<IShellWindows> CreateShellWindows() override;
  std::unique_ptr<IShellEvents> Subscribe(ShellEventHandler registered, ShellEventHandler revoked) override;
  std::unique_ptr<IBrowser> CreateBrowser() override;

 private:
  WindowCatalogue catalogue_;
};

}  // namespace wendrel::win32
