#include "tray/shutdown.h"

#include <vector>

#include "platform/prompts.h"
#include "platform/window_system.h"
#include "session/group_session.h"
#include "store/browsers.h"
#include "store/options.h"
#include "strip/strip_controller.h"
#include "tray/tray_icon.h"

namespace wendrel {
Shutdown::Shutdown(StripController& strip, GroupSession& groups, Browsers& browsers, OptionsFile& optionsFile,
                   TrayIcon& trayIcon, const Options& options, IWindowSystem& windows, IPrompts& prompts)
    : strip_(strip),
      groups_(groups),
      browsers_(browsers),
      optionsFile_(optionsFile),
      trayIcon_(trayIcon),
      options_(options),
      windows_(windows),
      prompts_(prompts) {}

bool Shutdown::Close() {
  if (UserCancelsClose()) return false;
  Unload();
  return true;
}

bool Shutdown::UserCancelsClose() {
  return options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to close Wendrel?",
                                                      Buttons::kYesNo, "Wendrel") == Answer::kNo;
}

void Shutdown::Unload() {
  // Once begun the unload always ends the process; the windows stay as it leaves them.
  strip_.StopPasses();
  if (options_.SaveOnExit) {
    IgnoringErrors([&] {
      try {
        groups_.SaveGroup(options_.DefaultGroup);
      } catch (const PlatformError& error) {
        // The default group keeps its old content; the program still ends.
        groups_.Files().ShowFailure("Error encountered while saving the group:", error);
      }
    });
  }
  IgnoringErrors([&] {
    if (options_.LeaveOnExit) {
      LeaveWindows(TabWindows());
    } else {
      const std::vector<WindowHandle> asked = TabWindows();
      groups_.CloseWindows(asked);
      // A browser may hide first and go later: its button is given back once it has done
      // either, so that giving it back does not show it again.
      constexpr std::int32_t kClosingWait = 2000;
      windows_.AwaitHiddenOrGone(asked, kClosingWait);
    }
  });
  // Windows without a tab, and browsers that refused to quit, get their buttons back too.
  IgnoringErrors([&] { strip_.Taskbar().GiveAllBack(); });
  // From here on nothing may keep the process from ending.
  IgnoringErrors([&] { strip_.SuspendWatcher(); });
  IgnoringErrors([&] { browsers_.ReleaseCollection(); });
  try {
    optionsFile_.Write();
  } catch (const PlatformError& error) {
    // The options file keeps its previous content whole; the user learns the new options were
    // not kept, and the program still ends.
    groups_.Files().ShowFailure("Error encountered while writing the options:", error);
  } catch (const std::exception&) {
    // Nothing keeps the process from ending.
  }
  IgnoringErrors([&] { trayIcon_.Delete(); });
  windows_.EndProcess();
}

void Shutdown::SessionEndAnnounced() {
  if (!options_.SaveOnExit) return;
  try {
    groups_.StoreGroupQuietly(options_.DefaultGroup);
  } catch (const PlatformError& error) {
    groups_.Files().ShowFailure("Error encountered while saving the group:", error);
  }
}

void Shutdown::EndSession() {
  strip_.StopPasses();
  if (options_.LeaveOnExit) IgnoringErrors([&] { LeaveWindows(TabWindows()); });
  strip_.Taskbar().GiveAllBack();
}

void Shutdown::CloseAllWindows() {
  // Every tab's window, closed the way the Tab page closes its selected ones: one walk of the
  // shell's windows and one sweep of the tabs, however many there are.
  groups_.CloseWindows(TabWindows());
}

std::vector<WindowHandle> Shutdown::TabWindows() {
  const TabStrip& tabs = strip_.Tabs();
  std::vector<WindowHandle> windows;
  windows.reserve(static_cast<size_t>(tabs.Count()));
  for (int i = 1; i <= tabs.Count(); ++i) windows.push_back(tabs.HandleAt(i));
  return windows;
}

void Shutdown::LeaveWindows(const std::vector<WindowHandle>& windows) {
  const PixelRect& area = strip_.WorkArea();
  for (const WindowHandle window : windows) {
    windows_.SetWindowPos(window, 0, area.left, area.top, area.Width(), area.Height(), kSwpFrameChanged);
    strip_.Taskbar().GiveBack(window);
  }
}

}  // namespace wendrel
