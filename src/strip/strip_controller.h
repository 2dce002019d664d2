// The strip window: start-up, fitting the strip, the reconciliation pass, tab selection,
// and the shell-window watcher with its refresh timer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/strip_window.h"
#include "platform/types.h"
#include "strip/tab_strip.h"
#include "strip/taskbar_buttons.h"

namespace wendrel {

class Browsers;
class IShellEvents;
class OptionsFile;
struct Options;
struct Platform;

// What the strip window asks of the subsystems built around it.
class StripHooks {
 public:
  StripHooks() = default;
  StripHooks(const StripHooks&) = delete;
  StripHooks& operator=(const StripHooks&) = delete;
  virtual ~StripHooks() = default;

  // Makes the folder of the program's files ready, before anything is read from it.
  virtual void PrepareFilesFolder() = 0;
  // Reads Wendrel.ini, after the options file.
  virtual void ReadSettings() = 0;
  virtual void PrepareTrayIcon() = 0;
  virtual void AddTrayIcon() = 0;
  virtual void ShowTrayMenu() = 0;
  // Shows the dialog on its Group Management page, as at start-up.
  virtual void ShowDialogAtStart() = 0;
  virtual void OpenGroup(const std::string& name) = 0;
  // Refills the dialog's tab grid when the dialog is loaded.
  virtual void RefreshTabDialog() = 0;
};

// Rounds a twip value up to whole pixels.
std::int32_t RoundUpToPixels(std::int32_t value, std::int32_t twipsPerPixel);

class StripController {
 public:
  static constexpr std::int32_t kDesignedHeight = 345;
  static constexpr std::int32_t kImageSize = 480;

  // `filesFolder` is where the program keeps its files (FilesFolder).
  StripController(const Platform& platform, Options& options, OptionsFile& optionsFile, Browsers& browsers,
                  StripHooks& hooks, std::string filesFolder);
  ~StripController();
  StripController(const StripController&) = delete;
  StripController& operator=(const StripController&) = delete;

  // The start-up sequence. False when another instance runs: the process has been ended.
  bool Start();
  void FitToTabRows();
  // The desktop changed (the work area, the display or its DPI): reads the work area again,
  // fits the strip to its bottom edge and width with its rows of tabs, and lays every tracked
  // window above the strip again, keeping their order on the screen.
  void FollowWorkArea();

  void Reconcile();
  void UpdateCaption(int index);
  void UpdateAllCaptions();
  void RefreshFirstTab();
  void HideFromTaskbar(WindowHandle window);

  // Selecting a tab from code runs the click handling, as a click does.
  void SelectTab(int index);
  void ActivateSelectedTab();
  void OnTabStripMouseUp(std::int16_t button, std::int16_t shift, float x, float y);

  void OnRefreshTimer();
  void ScheduleReconcile(std::int32_t interval);
  // The watcher: switched off around routines that open or close many windows themselves.
  void SuspendWatcher();
  void ResumeWatcher();
  // The program is ending: from now on no pass runs, so none changes the tabs or takes a
  // window's button under the routines that give the windows back.
  void StopPasses();
  // The shell started again (Explorer restarted): the old shell's collection and events are
  // gone with it. While the watcher runs, takes new ones and looks at the windows at once.
  void ShellRestarted();

  TabStrip& Tabs() { return tabs_; }
  // The windows the program took off the taskbar.
  TaskbarButtons& Taskbar() { return taskbar_; }
  const PixelRect& WorkArea() const { return workArea_; }
  std::int32_t OneRowHeight() const { return oneRowHeight_; }
  const TwipBounds& Bounds() const { return bounds_; }
  bool Reconciling() const { return reconciling_; }
  bool Watching() const { return shellEvents_ != nullptr; }
  // Lays a browser window over the work area above the strip.
  void PlaceAboveStrip(WindowHandle window, std::uint32_t flags);

 private:
  void OnShellWindowEvent();
  // A browser window's address has been read (or could not be): its tab follows.
  void OnAddressRead(WindowHandle window);
  bool StaysTabbedUnmet(WindowHandle window);
  void TakeAwayAgainIfReset(WindowHandle window);
  void GiveBackLeftBehind();
  void SettleUntabbedWindows();
  void ApplyBounds();
  // Fits the strip's height to its rows of tabs on the work area's bottom edge.
  void FitToRows();

  const Platform& platform_;
  Options& options_;
  OptionsFile& optionsFile_;
  Browsers& browsers_;
  StripHooks& hooks_;
  TabStrip tabs_;
  TaskbarButtons taskbar_;

  PixelRect workArea_;
  std::int32_t oneRowHeight_ = kDesignedHeight;
  bool reconciling_ = false;
  bool stopped_ = false;
  std::unique_ptr<IShellEvents> shellEvents_;
  TwipBounds bounds_;
};

}  // namespace wendrel
