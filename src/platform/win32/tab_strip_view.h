// The strip's tabs drawn by a multi-row tab control, with a tooltip tool over every tab.
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
  // The tab (0-based) whose click this notice completes, if any.
  std::optional<int> OnNotify(HWND tabControl, UINT code);

 private:
  bool pressSelected_ = false;  // the press of the click under way already selected a tab
};

class TabStripView final : public ITabStripView {
 public:
  // The tab control belongs to the strip window; the view owns only its tooltip.
  TabStripView(HWND tabControl, IWindowSystem& windows);

  void InsertTab(int index) override;
  void RemoveTab(int index) override;
  void SetCaption(int index, const std::string& caption) override;
  void SetToolTip(int index, const std::string& tip) override;
  void SetSelected(int index) override;
  void SetMultiRow(bool multiRow) override;
  TabRect TabRectangle(int index) override;

  // Tab rectangles move whenever the tabs, the selection or the control's size change; the
  // tooltip's tools follow them.
  void RefreshTools();

 private:
  HWND tabControl_;
  IWindowSystem& windows_;
  UniqueWindow tooltip_;
  std::vector<std::wstring> tips_;
  size_t tools_ = 0;
};

}  // namespace wendrel::win32
