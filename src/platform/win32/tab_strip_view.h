// The strip's tabs drawn by a multi-row tab control, with the tab's tip under the pointer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/tab_strip_view.h"
#include "platform/win32/handles.h"
#include "platform/win32/win.h"
#include "platform/window_system.h"

namespace wendrel::win32 {

// Turns a tab control's notices into one click for every click on a tab. A press on another tab
// selects it and says so (TCN_SELCHANGE); a press on the selected tab changes nothing, so only
// the release (NM_CLICK) tells of it. A selection made with the keyboard counts as a click too.
class TabClicks {
 public:
  // Watches the control's presses: a press released beside the control sends no NM_CLICK, so
  // every press starts afresh.
  explicit TabClicks(HWND tabControl);
  ~TabClicks();
  TabClicks(const TabClicks&) = delete;
  TabClicks& operator=(const TabClicks&) = delete;

  // The tab (0-based) whose click this notice completes, if any.
  std::optional<int> OnNotify(UINT code);

 private:
  static LRESULT CALLBACK WatchPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self);

  HWND tabControl_;
  bool pressSelected_ = false;  // the press of the click under way already selected a tab
};

class TabStripView final : public ITabStripView {
 public:
  // The tab control belongs to the strip window; the view owns only its tooltip.
  TabStripView(HWND tabControl, IWindowSystem& windows);
  ~TabStripView() override;
  TabStripView(const TabStripView&) = delete;
  TabStripView& operator=(const TabStripView&) = delete;

  void InsertTab(int index) override;
  void RemoveTab(int index) override;
  void SetCaption(int index, const std::string& caption) override;
  void SetToolTip(int index, const std::string& tip) override;
  void SetSelected(int index) override;
  void SetMultiRow(bool multiRow) override;
  TabRect TabRectangle(int index) override;

  // The tabs moved (the control was resized): a tip on show may no longer be the pointer's tab.
  void TabsMoved();

 private:
  // One tool covers the whole control and asks for its text when it shows: the tip of the tab
  // under the pointer. Changing the tabs then costs the tooltip nothing.
  static LRESULT CALLBACK TipSource(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self);
  int TabAt(POINT clientPoint) const;

  HWND tabControl_;
  IWindowSystem& windows_;
  UniqueWindow tooltip_;
  std::vector<std::wstring> tips_;
  int hovered_ = -1;  // the tab (0-based) under the pointer when it last moved over the control
};

}  // namespace wendrel::win32
