// The shell's window collection and browser automation over COM, with a window-class based
// stand-in for desktops whose collection cannot be enumerated (Wine answers E_NOTIMPL).
#pragma once

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

 private:
  std::vector<HWND> seen_;
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
