// The shell's window collection, its two events, and browser automation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace wendrel {

// One browser or folder window reached through its automation interface.
// Every call may throw PlatformError (the window has gone, the call is not supported, ...).
class IBrowser {
 public:
  IBrowser() = default;
  IBrowser(const IBrowser&) = delete;
  IBrowser& operator=(const IBrowser&) = delete;
  virtual ~IBrowser() = default;

  virtual WindowHandle Hwnd() = 0;
  virtual std::string LocationName() = 0;
  virtual std::string LocationURL() = 0;
  virtual void Navigate(const std::string& url) = 0;
  virtual void Refresh() = 0;
  virtual void Stop() = 0;
  virtual void Quit() = 0;
  virtual void SetVisible(bool visible) = 0;
};

// The shell's collection of open browser and folder windows.
class IShellWindows {
 public:
  IShellWindows() = default;
  IShellWindows(const IShellWindows&) = delete;
  IShellWindows& operator=(const IShellWindows&) = delete;
  virtual ~IShellWindows() = default;

  // The current items in the collection's order; an item that cannot be taken as a browser is
  // null. Throws PlatformError when the collection cannot be enumerated at all.
  virtual std::vector<std::unique_ptr<IBrowser>> Items() = 0;
};

// A live subscription to the collection's WindowRegistered and WindowRevoked events;
// destroying it stops the events.
class IShellEvents {
 public:
  IShellEvents() = default;
  IShellEvents(const IShellEvents&) = delete;
  IShellEvents& operator=(const IShellEvents&) = delete;
  virtual ~IShellEvents() = default;
};

using ShellEventHandler = std::function<void(std::int32_t cookie)>;

class IShell {
 public:
  IShell() = default;
  IShell(const IShell&) = delete;
  IShell& operator=(const IShell&) = delete;
  virtual ~IShell() = default;

  virtual std::unique_ptr<IShellWindows> CreateShellWindows() = 0;
  virtual std::unique_ptr<IShellEvents> Subscribe(ShellEventHandler registered,
                                                  ShellEventHandler revoked) = 0;
  // A new, still invisible "InternetExplorer.Application" instance. Throws PlatformError.
  virtual std::unique_ptr<IBrowser> CreateBrowser() = 0;
};

}  // namespace wendrel
