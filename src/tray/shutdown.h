// Closing the program, and closing every tracked browser window at once.
#pragma once

#include "platform/types.h"

namespace wendrel {

class BrowserOps;
class GroupStore;
class IPrompts;
class IWindowSystem;
class MainForm;
class OptionsFile;
class TrayIcon;
struct Options;

class Shutdown {
 public:
  Shutdown(MainForm& mainForm, GroupStore& groups, BrowserOps& browsers, OptionsFile& optionsFile,
           TrayIcon& trayIcon, const Options& options, IWindowSystem& windows, IPrompts& prompts);

  // Any close of the strip window: asks first, then unloads. False when the user said No.
  bool Close();
  // True when the unload is to be abandoned.
  bool Form_QueryUnload();
  // Always ends the process.
  void Form_Unload();
  void CloseAllIE();
  // The user's session is ending: every window gets its taskbar button back now, as the
  // session may end the process at any moment after.
  void EndSession();

 private:
  MainForm& mainForm_;
  GroupStore& groups_;
  BrowserOps& browsers_;
  OptionsFile& optionsFile_;
  TrayIcon& trayIcon_;
  const Options& options_;
  IWindowSystem& windows_;
  IPrompts& prompts_;
};

}  // namespace wendrel
