// Closing the program, and closing every tracked browser window at once.
#pragma once

#include "platform/types.h"

namespace wendrel {

class Browsers;
class GroupSession;
class IPrompts;
class IWindowSystem;
class StripController;
class OptionsFile;
class TrayIcon;
struct Options;

class Shutdown {
 public:
  Shutdown(StripController& strip, GroupSession& groups, Browsers& browsers, OptionsFile& optionsFile,
           TrayIcon& trayIcon, const Options& options, IWindowSystem& windows, IPrompts& prompts);

  // Any close of the strip window: asks first, then unloads. False when the user said No.
  bool Close();
  // True when the unload is to be abandoned.
  bool UserCancelsClose();
  // Always ends the process.
  void Unload();
  void CloseAllWindows();
  // The user's session is ending: every window gets its taskbar button back now, as the
  // session may end the process at any moment after.
  void EndSession();

 private:
  StripController& strip_;
  GroupSession& groups_;
  Browsers& browsers_;
  OptionsFile& optionsFile_;
  TrayIcon& trayIcon_;
  const Options& options_;
  IWindowSystem& windows_;
  IPrompts& prompts_;
};

}  // namespace wendrel
