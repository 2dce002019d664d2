// The dialog's Tab Management page: a snapshot of the strip's tabs in a grid, where the user
// marks rows and acts on the marked ones: names a tab, closes or reloads browsers, and saves or
// adds them to a group.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dialog/grid.h"

namespace wendrel {

class Browsers;
class DialogFrame;
class GroupSession;
class IFileSystem;
class StripController;
struct Options;

class TabsPage {
 public:
  static constexpr std::int32_t kGridWidth = 6390;

  TabsPage(DialogFrame& frame, StripController& strip, GroupSession& groups, Browsers& browsers,
           const Options& options, IFileSystem& files);
  TabsPage(const TabsPage&) = delete;
  TabsPage& operator=(const TabsPage&) = delete;

  // Fills the grid from the strip's tabs and the target group's list from the group files;
  // every mark is cleared.
  void Fill();

  Grid& Tabs() { return tabs_; }
  const std::vector<std::string>& GroupNames() const { return groupNames_; }

  // A click on a row toggles its mark.
  void ToggleMark();
  void SelectAll() { MarkAll("X"); }
  void DeselectAll() { MarkAll(""); }
  // Asks for a short name for the first marked tab that gets an acceptable one.
  void NameSelectedTab();
  void CloseSelectedBrowsers();
  void RefreshSelectedBrowsers();
  void RefreshTabs();
  void SaveSelectedAsGroup() { SaveSelected(false); }
  void AddSelectedToGroup() { SaveSelected(true); }

 private:
  void AddRow(const std::array<std::string, 6>& texts);
  void MarkAll(const std::string& mark);
  void WarnIfNoTabs();
  void SaveSelected(bool append);

  DialogFrame& frame_;
  StripController& strip_;
  GroupSession& groups_;
  Browsers& browsers_;
  const Options& options_;
  IFileSystem& files_;
  Grid tabs_{kGridWidth};
  std::vector<std::string> groupNames_;
};

}  // namespace wendrel
