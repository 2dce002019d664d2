#include "dialog/options_etc.h"

#include <functional>
#include <map>
#include <stdexcept>

#include "dialog/control_names.h"
#include "platform/dialog_view.h"
#include "platform/types.h"
#include "platform/window_system.h"

namespace wendrel {

const std::vector<std::string>& OptionsEtc::ButtonNames() { return controls::Buttons(); }
const std::vector<std::string>& OptionsEtc::FrameNames() { return controls::Frames(); }
const std::vector<std::string>& OptionsEtc::TextBoxNames() { return controls::TextBoxes(); }

OptionsEtc::OptionsEtc(MainForm& mainForm, GroupStore& groups, BrowserOps& browsers, Options& options,
                       OptionsFile& optionsFile, IFileSystem& files, IPrompts& prompts,
                       IWindowSystem& windows)
    : windows_(windows),
      frame_(prompts),
      optionsPage_(frame_, options, optionsFile, groups),
      tabsPage_(frame_, mainForm, groups, browsers, options, files),
      groupList_(frame_, groups, files, options) {}

OptionsEtc::~OptionsEtc() = default;

void OptionsEtc::Load(IDialogHost& host, const std::string& optionsStartPage) {
  frame_.SetView(host.CreateView(*this));
  IDialogView& view = *frame_.View();
  left_ = RoundHalfEven((windows_.ScreenWidth() - view.OuterWidth()) / 2.0);
  top_ = RoundHalfEven((windows_.ScreenHeight() - view.OuterHeight()) / 2.0);
  view.Move(left_, top_);
  frame_.Show(controls::kOptionsFrame, false);
  frame_.Show(controls::kTabsFrame, false);
  frame_.Show(controls::kGroupsFrame, false);
  optionsPage_.ShowStoredOptions();
  tabsPage_.Fill();
  groupList_.Fill();
  ShowPage(optionsStartPage == "T" ? 2 : 3);
  frame_.SetFocus(controls::kPageTabs);
  view.Show();
}

void OptionsEtc::Activate() {
  if (IDialogView* view = frame_.View()) view->Activate();
}

bool OptionsEtc::Visible(const std::string& frame) const { return frame_.Visible(frame); }

bool OptionsEtc::Enabled(const std::string& button) const { return frame_.Enabled(button); }

const std::string& OptionsEtc::Text(const std::string& control) const { return frame_.Text(control); }

OptionChoice OptionsEtc::Option(int question) const { return optionsPage_.Choice(question); }

Grid& OptionsEtc::GridNamed(const std::string& grid) {
  if (grid == controls::kTabsGrid) return tabsPage_.Tabs();
  if (grid == controls::kGroupNamesGrid) return groupList_.Names();
  if (grid == controls::kGroupLinesGrid) return groupList_.LineEditor().Lines();
  throw std::invalid_argument("no grid " + grid);
}

void OptionsEtc::TabStrip1_Click(int page) { ShowPage(page); }

void OptionsEtc::ShowPage(int page) {
  if (page < 1 || page > 3) throw std::invalid_argument("no page " + std::to_string(page));
  page_ = page;
  if (page == 1) optionsPage_.ShowStoredOptions();
  frame_.Show(controls::kOptionsFrame, page == 1);
  frame_.Show(controls::kTabsFrame, page == 2);
  frame_.Show(controls::kGroupsFrame, page == 3);
  frame_.Refresh();
}

bool OptionsEtc::Click(const std::string& button) {
  using Handler = std::function<void(OptionsEtc&)>;
  static const std::map<std::string, Handler> kHandlers = {
      {controls::kSaveOptions, [](OptionsEtc& d) { d.optionsPage_.SaveOptions(); }},
      {controls::kResetOptions, [](OptionsEtc& d) { d.optionsPage_.ShowStoredOptions(); }},
      {controls::kSelectAllTabs, [](OptionsEtc& d) { d.tabsPage_.SelectAll(); }},
      {controls::kDeselectAllTabs, [](OptionsEtc& d) { d.tabsPage_.DeselectAll(); }},
      {controls::kNameSelectedTab, [](OptionsEtc& d) { d.tabsPage_.NameSelectedTab(); }},
      {controls::kAddSelectedToGroup, [](OptionsEtc& d) { d.tabsPage_.AddSelectedToGroup(); }},
      {controls::kSaveSelectedAsGroup, [](OptionsEtc& d) { d.tabsPage_.SaveSelectedAsGroup(); }},
      {controls::kRefreshSelectedBrowsers, [](OptionsEtc& d) { d.tabsPage_.RefreshSelectedBrowsers(); }},
      {controls::kRefreshTabs, [](OptionsEtc& d) { d.tabsPage_.RefreshTabs(); }},
      {controls::kCloseSelectedBrowsers, [](OptionsEtc& d) { d.tabsPage_.CloseSelectedBrowsers(); }},
      {controls::kAddGroup, [](OptionsEtc& d) { d.groupList_.AddGroup(); }},
      {controls::kDeleteGroup, [](OptionsEtc& d) { d.groupList_.DeleteSelectedGroup(); }},
      {controls::kOpenGroup, [](OptionsEtc& d) { d.groupList_.OpenSelectedGroup(); }},
      {controls::kAddLine, [](OptionsEtc& d) { d.groupList_.LineEditor().AddLine(); }},
      {controls::kModifyLine, [](OptionsEtc& d) { d.groupList_.LineEditor().ModifyCurrentLine(); }},
      {controls::kDeleteLine, [](OptionsEtc& d) { d.groupList_.LineEditor().DeleteCurrentLine(); }},
      {controls::kSelectAllLines, [](OptionsEtc& d) { d.groupList_.LineEditor().SelectAll(); }},
      {controls::kDeselectAllLines, [](OptionsEtc& d) { d.groupList_.LineEditor().DeselectAll(); }},
      {controls::kOpenSelectedLines, [](OptionsEtc& d) { d.groupList_.LineEditor().OpenSelectedLines(); }},
      {controls::kSaveLine, [](OptionsEtc& d) { d.groupList_.LineEditor().SaveEdit(); }},
      {controls::kCancelLine, [](OptionsEtc& d) { d.groupList_.LineEditor().CancelEdit(); }},
  };
  const auto found = kHandlers.find(button);
  if (found == kHandlers.end()) throw std::invalid_argument("no button " + button);
  if (!Enabled(button)) return false;
  found->second(*this);
  frame_.Refresh();
  return true;
}

void OptionsEtc::SetText(const std::string& control, const std::string& text) {
  if (!frame_.HasTextBox(control)) throw std::invalid_argument("no text box " + control);
  frame_.SetText(control, text);
}

void OptionsEtc::ChooseOption(int question, bool yes) {
  optionsPage_.Choose(question, yes);
  frame_.Refresh();
}

void OptionsEtc::GridClick(const std::string& grid, int row) {
  Grid& target = GridNamed(grid);
  if (row < 0 || row >= target.Rows()) throw std::out_of_range("no row " + std::to_string(row));
  // A fixed (header) row cannot become the current row.
  if (row >= target.FixedRows()) target.SetRow(row);
  if (&target == &tabsPage_.Tabs()) tabsPage_.ToggleMark();
  if (&target == &groupList_.Names()) groupList_.ShowSelectedGroup();
  if (&target == &groupList_.LineEditor().Lines()) groupList_.LineEditor().ToggleMark();
  frame_.Refresh();
}

void OptionsEtc::SetTabs() { tabsPage_.Fill(); }

void OptionsEtc::GroupWritten(const std::string& name) { groupList_.LineEditor().GroupWritten(name); }

}  // namespace wendrel
