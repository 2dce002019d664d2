#include "tray/shutdown.h"

#include "platform/prompts.h"
#include "platform/window_system.h"
#include "store/browser_ops.h"
#include "store/groups.h"
#include "store/options.h"
#include "strip/main_form.h"
#include "tray/tray_icon.h"

namespace wendrel {

Shutdown::Shutdown(MainForm& mainForm, GroupStore& groups, BrowserOps& browsers, OptionsFile& optionsFile,
                   TrayIcon& trayIcon, const Options& options, IWindowSystem& windows, IPrompts& prompts)
    : mainForm_(mainForm),
      groups_(groups),
      browsers_(browsers),
      optionsFile_(optionsFile),
      trayIcon_(trayIcon),
      options_(options),
      windows_(windows),
      prompts_(prompts) {}

bool Shutdown::Close() {
  if (Form_QueryUnload()) return false;
  Form_Unload();
  return true;
}

bool Shutdown::Form_QueryUnload() {
  return options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to close Wendrel?",
                                                      Buttons::kYesNo, "Wendrel") == Answer::kNo;
}

void Shutdown::Form_Unload() {
  if (options_.SaveOnExit) {
    try {
      groups_.SaveGroup(options_.DefaultGroup);
    } catch (const PlatformError& error) {
      // The default group keeps its old content; the program still ends.
      groups_.ShowFailure("Error encountered while saving the group:", error);
    }
  }
  TabStrip& tabs = mainForm_.Tabs();
  if (options_.LeaveOnExit) {
    const PixelRect& area = mainForm_.WorkArea();
    const int count = tabs.Count();
    for (int i = 1; i <= count; ++i) {
      const WindowHandle window = tabs.HandleAt(i);
      windows_.SetWindowPos(window, 0, area.left, area.top, area.Width(), area.Height(), kSwpFrameChanged);
      mainForm_.Taskbar().GiveBack(window);
    }
  } else {
    CloseAllIE();
  }
  // Windows without a tab, and browsers that refused to quit, get their buttons back too.
  mainForm_.Taskbar().GiveAllBack();
  // From here on nothing may keep the process from ending.
  mainForm_.SuspendWatcher();
  browsers_.ReleaseCollection();
  try {
    optionsFile_.DumpOptions();
  } catch (const PlatformError& error) {
    // The options file keeps its previous content whole; the user learns the new options were
    // not kept, and the program still ends.
    groups_.ShowFailure("Error encountered while writing the options:", error);
  }
  trayIcon_.Delete();
  windows_.EndProcess();
}

void Shutdown::EndSession() { mainForm_.Taskbar().GiveAllBack(); }

void Shutdown::CloseAllIE() {
  mainForm_.SuspendWatcher();
  TabStrip& tabs = mainForm_.Tabs();
  while (tabs.Count() >= 1) {
    browsers_.CloseIEByHandle(tabs.HandleAt(1));
    tabs.Remove(1);
  }
  mainForm_.ResumeWatcher();
  mainForm_.ActivateTimer(100);
}

}  // namespace wendrel
