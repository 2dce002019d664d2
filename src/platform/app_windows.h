// Top-level windows of other programs (today's browsers) that the shell's collection does not
// list: their facts, their window events, their address field, the requests the program makes of
// them, the user's default https program and starting programs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace wendrel {

// The window classes of today's browsers' frames. Windows of other classes may be reported
// too; the program passes over them.
inline constexpr const char* kChromiumFrameClass = "Chrome_WidgetWin_1";
inline constexpr const char* kFirefoxFrameClass = "MozillaWindowClass";

// What the program needs to know to decide whether a window gets a tab, read in one go.
struct AppWindowFacts {
  WindowHandle window = 0;
  std::string className;
  // The process's image name without its folder ("msedge.exe"), as the system spells it.
  std::string imageName;
  // The window text, UTF-8.
  std::string title;
  bool visible = false;
  bool cloaked = false;  // DWM cloaked for any reason (another desktop, the app, the shell)
  bool owned = false;    // it has an owner window
  std::int32_t exStyle = 0;
};

enum class AppWindowEvent {
  kShown,  // created and shown, or shown again
  kHidden,
  kNameChanged,
  kDestroyed,
  kCloaked,
  kUncloaked,
  kStyleChanged,
};

// The result of one address read.
struct AddressRead {
  WindowHandle window = 0;
  // False when nothing could be read: no address field found, the window refused, went, or did
  // not answer within the time budget.
  bool readable = false;
  // The address field's displayed text, UTF-8, exactly as shown (it may lack its scheme).
  std::string text;
};

using AppWindowEventHandler = std::function<void(WindowHandle window, AppWindowEvent event)>;
using AddressReadHandler = std::function<void(const AddressRead& result)>;

// A live subscription; destroying it stops the events and drops the results of address reads
// still running (their handlers are never called afterwards).
class IAppWindowWatch {
 public:
  IAppWindowWatch() = default;
  IAppWindowWatch(const IAppWindowWatch&) = delete;
  IAppWindowWatch& operator=(const IAppWindowWatch&) = delete;
  virtual ~IAppWindowWatch() = default;

  // Asks for the window's address. The read runs off the window's thread (a browser that hangs
  // never blocks the caller) with a time budget; its result arrives later through the watch's
  // AddressReadHandler, on the program's thread, never from inside this call. A second request
  // for a window whose read still runs may be merged into it (one result).
  virtual void RequestAddress(WindowHandle window) = 0;
};

class IAppWindows {
 public:
  IAppWindows() = default;
  IAppWindows(const IAppWindows&) = delete;
  IAppWindows& operator=(const IAppWindows&) = delete;
  virtual ~IAppWindows() = default;

  // The top-level windows of the frame classes above, in the order they appeared (oldest
  // first) where the system tells, else in any fixed order. Never throws; empty when nothing
  // can be listed.
  virtual std::vector<AppWindowFacts> List() = 0;
  // One window's facts read now; nothing when the window has gone.
  virtual std::optional<AppWindowFacts> Facts(WindowHandle window) = 0;

  // Starts following the windows' events. Both handlers run on the program's thread, after the
  // system's callback has returned: the callback only filters (top-level windows, the events
  // above) and hands on. A kShown for a window may come more than once.
  virtual std::unique_ptr<IAppWindowWatch> Watch(AppWindowEventHandler onEvent,
                                                 AddressReadHandler onAddress) = 0;

  // Requests posted to the window (no focus needed, the caller never waits for the page).
  // False when the request could not be delivered (the window has gone or refused it).
  virtual bool Refresh(WindowHandle window) = 0;  // WM_APPCOMMAND browser refresh
  virtual bool Stop(WindowHandle window) = 0;     // WM_APPCOMMAND browser stop
  // Asks the window to close (WM_CLOSE). The window may hide first and go later, or stay.
  virtual bool Close(WindowHandle window) = 0;
};

// The user's programs.
class IPrograms {
 public:
  IPrograms() = default;
  IPrograms(const IPrograms&) = delete;
  IPrograms& operator=(const IPrograms&) = delete;
  virtual ~IPrograms() = default;

  // The full path of the program registered for https links ("C:\...\msedge.exe"), or empty
  // when none is registered or it cannot be found.
  virtual std::string DefaultHttpsProgram() = 0;
  // Starts the program with these arguments, each passed as one argument whatever it holds.
  // Returns at once. Throws PlatformError when the program cannot be started.
  virtual void Launch(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

}  // namespace wendrel
