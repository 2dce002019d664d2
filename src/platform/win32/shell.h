// The shell's window collection and browser automation over COM, with a window-class based
// stand-in for desktops whose collection cannot be enumerated (Wine answers E_NOTIMPL).
#pragma once

#include <exdisp.h>
#include <wrl/client.h>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/shell.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {

// The top-level browser and folder windows in the order they were first seen, so that a
// reconciliation pass meets them in a stable order whatever their z-order.
class WindowCatalogue {
 public:
  WindowCatalogue() = default;
  ~WindowCatalogue();
  WindowCatalogue(const WindowCatalogue&) = delete;
  WindowCatalogue& operator=(const WindowCatalogue&) = delete;

  // From now on notes the order in which browser windows are made: new windows seen in one
  // look join the list in that order, where their z-order (changed by a late activation) would
  // not keep it. Windows made before are placed by z-order, bottom first.
  void Listen();
  // Forgets windows that have gone, adds new ones at the end and returns the list.
  const std::vector<HWND>& Refresh();

  // Holds a browser the program started for as long as its window is open: Wine's own browser
  // closes its window when the last reference to it goes, which Windows' browser does not.
  void KeepAlive(Microsoft::WRL::ComPtr<IWebBrowser2> browser, HWND window);

 private:
  static void CALLBACK OnCreated(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                 DWORD);

  std::vector<HWND> seen_;
  std::vector<std::pair<HWND, Microsoft::WRL::ComPtr<IWebBrowser2>>> started_;
  HWINEVENTHOOK hook_ = nullptr;
  std::unordered_map<HWND, std::uint64_t> made_;  // browser windows made but not yet seen
  std::uint64_t nextMade_ = 1;
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
