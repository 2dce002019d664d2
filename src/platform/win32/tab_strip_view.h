// TabStrip1 drawn by a multi-row tab control, with a tooltip tool over every tab.
#pragma once

#include <string>
#include <vector>

#include "platform/tab_strip_view.h"
#include "platform/win32/handles.h"
#include "platform/win32/win.h"
#include "platform/window_system.h"

namespace wendrel::win32 {

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
