// The strip's tabs: the program's only registry of browser windows. The backend's tab
// control only draws this model and reports clicks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace wendrel {

class ITabStripView;

struct Tab {
  std::string Key;  // "H" and the window handle in decimal
  std::string Tag;  // the short name, empty when none
  std::string Caption;
  std::string ToolTipText;
};

// The tab key of a window handle, and the handle a tab key holds (nothing when malformed).
std::string KeyOf(WindowHandle window);
std::optional<WindowHandle> HandleOfKey(const std::string& key);

class TabStrip {
 public:
  explicit TabStrip(ITabStripView& view);

  int Count() const { return static_cast<int>(tabs_.size()); }
  // Indices run from 1 to Count(); a bad index throws std::out_of_range.
  const Tab& At(int index) const;
  // Appends a tab with no key, caption or tip and returns its index. The first tab added to an
  // empty strip becomes the selected tab.
  int Add();
  // Removing a tab before the selected one keeps the selection on the same tab; removing the
  // selected tab selects the tab that takes its index, or the new last tab.
  void Remove(int index);
  // Removes the tabs whose flag is set (one flag per tab, in index order) in one sweep. The
  // selection ends where removing them one at a time would leave it: on the selected tab if it
  // stays, else on the first remaining tab after it, else on the last remaining tab.
  void RemoveMarked(const std::vector<bool>& marked);
  void SetKey(int index, const std::string& key);
  void SetTag(int index, const std::string& tag);
  void SetCaption(int index, const std::string& caption);
  void SetToolTipText(int index, const std::string& tip);
  // The window handle held by the tab's key; throws std::invalid_argument when malformed.
  WindowHandle HandleAt(int index) const;
  // The first tab with exactly this key, or 0.
  int Find(const std::string& key) const;

  // 0 when there is no tab.
  int SelectedIndex() const { return selected_; }
  // Marks the tab selected; the strip window runs its click handling after it.
  void Select(int index);

  TabRect Rectangle(int index);
  void SetMultiRow(bool multiRow);

 private:
  Tab& Mutable(int index);

  ITabStripView& view_;
  std::vector<Tab> tabs_;
  int selected_ = 0;
};

}  // namespace wendrel
