// The dialog "Options & More" as a model: its three pages, their controls' state and every
// handler. The backend draws the state and passes the user's actions in.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialog/grid.h"

namespace wendrel {

class BrowserOps;
class GroupStore;
class IDialogHost;
class IDialogView;
class IFileSystem;
class IPrompts;
class IWindowSystem;
class MainForm;
class OptionsFile;
struct Options;

enum class OptionChoice { kNone, kYes, kNo };

class OptionsEtc {
 public:
  static constexpr std::int32_t kClientWidth = 8175;
  static constexpr std::int32_t kClientHeight = 5880;
  static constexpr std::int32_t kTabsGridWidth = 6390;
  static constexpr std::int32_t kNamesGridWidth = 2430;
  static constexpr std::int32_t kLinesGridWidth = 4245;

  // The names the model uses for its controls, in the order views list them.
  static const std::vector<std::string>& ButtonNames();
  static const std::vector<std::string>& FrameNames();
  static const std::vector<std::string>& TextBoxNames();

  OptionsEtc(MainForm& mainForm, GroupStore& groups, BrowserOps& browsers, Options& options,
             OptionsFile& optionsFile, IFileSystem& files, IPrompts& prompts, IWindowSystem& windows);
  ~OptionsEtc();
  OptionsEtc(const OptionsEtc&) = delete;
  OptionsEtc& operator=(const OptionsEtc&) = delete;

  // The load step: creates the window, fills the pages, picks the start page, shows it.
  void Load(IDialogHost& host, const std::string& optionsStartPage);
  void Activate();

  // The user's actions.
  void TabStrip1_Click(int page);
  // Clicks a button by name; a disabled button does nothing. False for a disabled button.
  bool Click(const std::string& button);
  void SetText(const std::string& control, const std::string& text);
  void ChooseOption(int question, bool yes);
  // A click on a grid row makes it the current row and runs the grid's click handler.
  void GridClick(const std::string& grid, int row);

  // Refills the Tab Management grid and the group name list.
  void SetTabs();
  // The program has written a group's file: the line editor reads it again when it shows it.
  void GroupWritten(const std::string& name);

  // State for the views.
  int Page() const { return page_; }
  std::int32_t Left() const { return left_; }
  std::int32_t Top() const { return top_; }
  const std::string& Focus() const { return focus_; }
  bool Visible(const std::string& frame) const;
  bool Enabled(const std::string& button) const;
  const std::string& Text(const std::string& control) const;
  OptionChoice Option(int question) const;
  const std::string& GroupLabel() const { return Lab_GrName_; }
  const std::vector<std::string>& GroupNameList() const { return CM_GroupName_list_; }
  Grid& GridNamed(const std::string& grid);
  Grid& Gr_Tabs() { return Gr_Tabs_; }
  Grid& GR_GNames() { return GR_GNames_; }
  Grid& GR_GLines() { return GR_GLines_; }

 private:
  void Changed();
  void Show(const std::string& frame, bool visible);

  // Options page.
  void ShowOptions();
  void cb_Reset_Click();
  void cb_Update_Click();

  // Tab Management page.
  void AddTabRow(const std::array<std::string, 6>& texts);
  void Gr_Tabs_Click();
  void MarkAllTabs(const std::string& mark);
  void cb_TShort_Click();
  void cb_TCloseIE_Click();
  void cb_TRefreshIE_Click();
  void cb_TRefreshTab_Click();
  void WarnIfNoTabs();
  void SaveSelectedTabs(const std::string& action);

  // Group Management page.
  void FillGroupList();
  void ClearGroupLines();
  void GR_GNames_Click();
  void cb_GAddG_Click();
  void CB_GDelG_Click();
  void cb_GOpenG_Click();
  std::string SelectedGroup() const;
  bool LoadGroupLines(const std::string& name);
  // Line operations belong to a group; without one selected the user is told so.
  bool NeedSelectedGroup();
  void SetLineButtons(bool enabled);
  void GR_GLines_Click();
  void MarkAllLines(const std::string& mark);
  void cb_GOpenSel_Click();
  void cb_GAdd_Click();
  void cb_GModify_Click();
  void cb_GDel_Click();
  void cb_GUpdate_Click();
  void cb_GCancel_Click();
  void RewriteGroupFile(std::int32_t skipRow);
  void Message(const std::string& text);

  MainForm& mainForm_;
  GroupStore& groups_;
  BrowserOps& browsers_;
  Options& options_;
  OptionsFile& optionsFile_;
  IFileSystem& files_;
  IPrompts& prompts_;
  IWindowSystem& windows_;
  std::unique_ptr<IDialogView> view_;

  int page_ = 0;
  std::int32_t left_ = 0;
  std::int32_t top_ = 0;
  std::string focus_;
  std::map<std::string, bool> visible_;
  std::map<std::string, bool> enabled_;
  std::map<std::string, std::string> texts_;
  std::array<OptionChoice, 6> options_chosen_{};
  std::string Lab_GrName_;
  std::vector<std::string> CM_GroupName_list_;
  Grid Gr_Tabs_{kTabsGridWidth};
  Grid GR_GNames_{kNamesGridWidth};
  Grid GR_GLines_{kLinesGridWidth};
  bool bAddMode_ = false;
  // The line Modify took, so Update writes the edit there whatever row is current then.
  int editRow_ = 0;
  std::pair<std::string, std::string> editLine_;
  // The group whose lines the editor shows and the file's text they were read from.
  std::string loadedGroup_;
  std::string loadedText_;
  // The line editor writes; it reads the group again itself.
  bool writingLines_ = false;
};

}  // namespace wendrel
