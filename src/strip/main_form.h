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

class BrowserOps;
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

  virtual void PrepareTrayIcon() = 0;
  virtual void AddTrayIcon() = 0;
  virtual void ShowTrayMenu() = 0;
  // Shows the dialog on its Group Management page, as at start-up.
  virtual void ShowDialogAtStart() = 0;
  virtual void StartGroup(const std::string& sGrName) = 0;
  // Refills the dialog's tab grid when the dialog is loaded.
  virtual void RefreshTabDialog() = 0;
};

// Rounds a twip value up to whole pixels.
std::int32_t RoundUpToPixels(std::int32_t value, std::int32_t twipsPerPixel);

class MainForm {
 public:
  static constexpr std::int32_t kDesignedHeight = 345;
  static constexpr std::int32_t kImageSize = 480;

  MainForm(const Platform& platform, Options& options, OptionsFile& optionsFile, BrowserOps& browsers,
           StripHooks& hooks);
  ~MainForm();
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // The start-up sequence. False when another instance runs: the process has been ended.
  bool Load();
  void AdjustHeight();
  // The desktop changed (the work area, the display or its DPI): reads the work area again,
  // fits the strip to its bottom edge and width with its rows of tabs, and lays every tracked
  // window above the strip again, keeping their order on the screen.
  void FollowWorkArea();

  void HandleIE();
  void UpdateTabCaption(int index);
  void RefreshAllCaptions();
  void RefreshFirstTab();
  void HideFromTaskbar(WindowHandle window);

  // Selecting a tab from code runs the click handling, as a click does.
  void SelectTab(int index);
  void TabStrip1_Click();
  void TabStrip1_MouseUp(std::int16_t button, std::int16_t shift, float x, float y);

  void Timer1_Timer();
  void ActivateTimer(std::int32_t lInterval);
  // The watcher: switched off around routines that open or close many windows themselves.
  void SuspendWatcher();
  void ResumeWatcher();

  TabStrip& Tabs() { return tabs_; }
  // The windows the program took off the taskbar.
  TaskbarButtons& Taskbar() { return taskbar_; }
  const PixelRect& WorkArea() const { return rcWorkArea_; }
  std::int32_t BaseHeight() const { return lBaseHeight_; }
  const TwipBounds& Bounds() const { return bounds_; }
  bool InHandleIE() const { return bInHandleIE_; }
  bool Watching() const { return ShellClassObj_ != nullptr; }
  // Lays a browser window over the work area above the strip.
  void PlaceAboveStrip(WindowHandle window, std::uint32_t flags);

 private:
  void ArmRefreshTimer();
  void GiveBackLeftBehind();
  void SettleUntabbedWindows();
  void ApplyBounds();
  // Fits the strip's height to its rows of tabs on the work area's bottom edge.
  void FitToRows();

  const Platform& platform_;
  Options& options_;
  OptionsFile& optionsFile_;
  BrowserOps& browsers_;
  StripHooks& hooks_;
  TabStrip tabs_;
  TaskbarButtons taskbar_;

  PixelRect rcWorkArea_;
  std::int32_t lBaseHeight_ = kDesignedHeight;
  bool bInHandleIE_ = false;
  std::unique_ptr<IShellEvents> ShellClassObj_;
  TwipBounds bounds_;
};

}  // namespace wendrel
