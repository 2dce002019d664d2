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
  if (options_.SaveOnExit) {
    try {
      groups_.SaveGroup(options_.DefaultGroup);
    } catch (const PlatformError& error) {
      // The default group keeps its old content; the program still ends.
      groups_.Files().ShowFailure("Error encountered while saving the group:", error);
    }
  }
  TabStrip& tabs = strip_.Tabs();
  if (options_.LeaveOnExit) {
    const PixelRect& area = strip_.WorkArea();
    const int count = tabs.Count();
    for (int i = 1; i <= count; ++i) {
      const WindowHandle window = tabs.HandleAt(i);
      windows_.SetWindowPos(window, 0, area.left, area.top, area.Width(), area.Height(), kSwpFrameChanged);
      strip_.Taskbar().GiveBack(window);
    }
  } else {
    std::vector<WindowHandle> asked;
    for (int i = 1; i <= tabs.Count(); ++i) asked.push_back(tabs.HandleAt(i));
    CloseAllWindows();
    // A browser may hide first and go later: its button is given back once it has done either,
    // so that giving it back does not show it again.
    constexpr std::int32_t kClosingWait = 2000;
    windows_.AwaitHiddenOrGone(asked, kClosingWait);
  }
  // Windows without a tab, and browsers that refused to quit, get their buttons back too.
  strip_.Taskbar().GiveAllBack();
  // From here on nothing may keep the process from ending.
  strip_.SuspendWatcher();
  browsers_.ReleaseCollection();
  try {
    optionsFile_.Write();
  } catch (const PlatformError& error) {
    // The options file keeps its previous content whole; the user learns the new options were
    // not kept, and the program still ends.
    groups_.Files().ShowFailure("Error encountered while writing the options:", error);
  }
  trayIcon_.Delete();
  windows_.EndProcess();
}

void Shutdown::EndSession() { strip_.Taskbar().GiveAllBack(); }

void Shutdown::CloseAllWindows() {
  // Every tab's window, closed the way the Tab page closes its selected ones: one walk of the
  // shell's windows and one sweep of the tabs, however many there are.
  const TabStrip& tabs = strip_.Tabs();
  std::vector<WindowHandle> windows;
  windows.reserve(static_cast<size_t>(tabs.Count()));
  for (int i = 1; i <= tabs.Count(); ++i) windows.push_back(tabs.HandleAt(i));
  groups_.CloseWindows(windows);
}

}  // namespace wendrel
