// Closing the program, and closing every tracked browser window at once.
#pragma once

#include <vector>

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
  // The end of the user's session is announced, while every window is still open: with
  // SaveOnExit they are stored in the default group, without a question.
  void SessionEndAnnounced();
  // The user's session is ending: every window gets its taskbar button back now, as the
  // session may end the process at any moment after; with LeaveOnExit they are laid out as
  // at exit. The session closes them itself.
  void EndSession();

 private:
  // The windows of the tabs, taken once: passes that run where the windows are laid out or
  // given back change no list the sequence walks.
  std::vector<WindowHandle> TabWindows();
  // LeaveOnExit: each window covers the whole work area and gets its button back.
  void LeaveWindows(const std::vector<WindowHandle>& windows);

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
