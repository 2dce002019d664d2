// The dialog "Options & More" as a model: the Options page, the Tab Management page, and the group
// list with its line editor, over the control state they share. The backend draws that state and
// passes the user's actions in, by control name; this class hands each to its page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/dialog_frame.h"
#include "dialog/grid.h"
#include "dialog/group_list_page.h"
#include "dialog/options_page.h"
#include "dialog/tabs_page.h"

namespace wendrel {

class Browsers;
class GroupSession;
class IDialogHost;
class IFileSystem;
class IPrompts;
class ISignIn;
class IWindowSystem;
class StripController;
class OptionsFile;
class SettingsFile;
struct Options;

class OptionsDialog {
 public:
  static constexpr std::int32_t kClientWidth = 8175;
  static constexpr std::int32_t kClientHeight = 5880;
  static constexpr std::int32_t kTabsGridWidth = TabsPage::kGridWidth;
  static constexpr std::int32_t kNamesGridWidth = GroupListPage::kGridWidth;
  static constexpr std::int32_t kLinesGridWidth = LineEditorPage::kGridWidth;

  // The names the model uses for its controls, in the order views list them.
  static const std::vector<std::string>& ButtonNames();
  static const std::vector<std::string>& FrameNames();
  static const std::vector<std::string>& TextBoxNames();

  OptionsDialog(StripController& strip, GroupSession& groups, Browsers& browsers, Options& options,
                OptionsFile& optionsFile, SettingsFile& settingsFile, IFileSystem& files, IPrompts& prompts,
                IWindowSystem& windows, ISignIn& signIn);
  ~OptionsDialog();
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  // The load step: creates the window, fills the pages, picks the start page, shows it.
  void Load(IDialogHost& host, const std::string& startPage);
  void Activate();

  // The user's actions.
  // Shows page 1 (Options), 2 (Tab Management) or 3 (Group Management).
  void ShowPage(int page);
  // Clicks a button by name; a disabled button does nothing. False for a disabled button.
  bool Click(const std::string& button);
  void SetText(const std::string& control, const std::string& text);
  void ChooseOption(int question, bool yes);
  // The Options page's control for a Wendrel.ini setting; false for a key that is not one.
  bool SetSettingText(const std::string& key, const std::string& value);
  // A click on a grid row makes it the current row and runs the grid's click handler.
  void GridClick(const std::string& grid, int row);

  // Refills the Tab Management grid and the group name list.
  void RefillTabs();
  // The program has written a group's file: the line editor reads it again when it shows it.
  void GroupWritten(const std::string& name);

  // State for the views.
  int Page() const { return page_; }
  std::int32_t Left() const { return left_; }
  std::int32_t Top() const { return top_; }
  const std::string& Focus() const { return frame_.Focus(); }
  bool Visible(const std::string& frame) const;
  bool Enabled(const std::string& button) const;
  const std::string& Text(const std::string& control) const;
  OptionChoice Option(int question) const;
  // The value a setting's control shows, as the file spells it.
  std::string SettingText(const std::string& key) const;
  const std::string& GroupLabel() const { return groupList_.LineEditor().GroupLabel(); }
  const std::vector<std::string>& GroupNameList() const { return tabsPage_.GroupNames(); }
  Grid& GridNamed(const std::string& grid);
  Grid& TabsGrid() { return tabsPage_.Tabs(); }
  Grid& GroupNamesGrid() { return groupList_.Names(); }
  Grid& GroupLinesGrid() { return groupList_.LineEditor().Lines(); }

 private:
  IWindowSystem& windows_;
  DialogFrame frame_;
  OptionsPage optionsPage_;
  TabsPage tabsPage_;
  GroupListPage groupList_;
  int page_ = 0;
  std::int32_t left_ = 0;
  std::int32_t top_ = 0;
};

}  // namespace wendrel
