#include "dialog/options_dialog.h"

#include <functional>
#include <map>
#include <stdexcept>

#include "dialog/control_names.h"
#include "platform/dialog_view.h"
#include "platform/types.h"
#include "platform/window_system.h"
#include "session/group_session.h"
#include "strip/strip_controller.h"

namespace wendrel {

const std::vector<std::string>& OptionsDialog::ButtonNames() { return controls::Buttons(); }
const std::vector<std::string>& OptionsDialog::FrameNames() { return controls::Frames(); }
const std::vector<std::string>& OptionsDialog::TextBoxNames() { return controls::TextBoxes(); }

OptionsDialog::OptionsDialog(StripController& strip, GroupSession& groups, Browsers& browsers,
                             Options& options, OptionsFile& optionsFile, SettingsFile& settingsFile,
                             IFileSystem& files, IPrompts& prompts, IWindowSystem& windows, ISignIn& signIn)
    : windows_(windows),
      frame_(prompts),
      // Windows that now count, or no longer count, get or lose their tabs at once.
      optionsPage_(frame_, options, optionsFile, settingsFile, groups.Files(), signIn,
                   [&strip] { strip.ScheduleReconcile(100); }),
      tabsPage_(frame_, strip, groups, browsers, options, files),
      groupList_(frame_, groups, files, options) {}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::Load(IDialogHost& host, const std::string& startPage) {
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
  ShowPage(startPage == "T" ? 2 : 3);
  frame_.SetFocus(controls::kPageTabs);
  view.Show();
}

void OptionsDialog::Activate() {
  if (IDialogView* view = frame_.View()) view->Activate();
}

bool OptionsDialog::Visible(const std::string& frame) const { return frame_.Visible(frame); }

bool OptionsDialog::Enabled(const std::string& button) const { return frame_.Enabled(button); }

const std::string& OptionsDialog::Text(const std::string& control) const { return frame_.Text(control); }

OptionChoice OptionsDialog::Option(int question) const { return optionsPage_.Choice(question); }

Grid& OptionsDialog::GridNamed(const std::string& grid) {
  if (grid == controls::kTabsGrid) return tabsPage_.Tabs();
  if (grid == controls::kGroupNamesGrid) return groupList_.Names();
  if (grid == controls::kGroupLinesGrid) return groupList_.LineEditor().Lines();
  throw std::invalid_argument("no grid " + grid);
}

void OptionsDialog::ShowPage(int page) {
  if (page < 1 || page > 3) throw std::invalid_argument("no page " + std::to_string(page));
  page_ = page;
  if (page == 1) optionsPage_.ShowStoredOptions();
  frame_.Show(controls::kOptionsFrame, page == 1);
  frame_.Show(controls::kTabsFrame, page == 2);
  frame_.Show(controls::kGroupsFrame, page == 3);
  frame_.Refresh();
}

bool OptionsDialog::Click(const std::string& button) {
  using Handler = std::function<void(OptionsDialog&)>;
  static const std::map<std::string, Handler> kHandlers = {
      {controls::kSaveOptions, [](OptionsDialog& d) { d.optionsPage_.SaveOptions(); }},
      {controls::kResetOptions, [](OptionsDialog& d) { d.optionsPage_.ShowStoredOptions(); }},
      {controls::kSelectAllTabs, [](OptionsDialog& d) { d.tabsPage_.SelectAll(); }},
      {controls::kDeselectAllTabs, [](OptionsDialog& d) { d.tabsPage_.DeselectAll(); }},
      {controls::kNameSelectedTab, [](OptionsDialog& d) { d.tabsPage_.NameSelectedTab(); }},
      {controls::kAddSelectedToGroup, [](OptionsDialog& d) { d.tabsPage_.AddSelectedToGroup(); }},
      {controls::kSaveSelectedAsGroup, [](OptionsDialog& d) { d.tabsPage_.SaveSelectedAsGroup(); }},
      {controls::kRefreshSelectedBrowsers, [](OptionsDialog& d) { d.tabsPage_.RefreshSelectedBrowsers(); }},
      {controls::kRefreshTabs, [](OptionsDialog& d) { d.tabsPage_.RefreshTabs(); }},
      {controls::kCloseSelectedBrowsers, [](OptionsDialog& d) { d.tabsPage_.CloseSelectedBrowsers(); }},
      {controls::kAddGroup, [](OptionsDialog& d) { d.groupList_.AddGroup(); }},
      {controls::kDeleteGroup, [](OptionsDialog& d) { d.groupList_.DeleteSelectedGroup(); }},
      {controls::kOpenGroup, [](OptionsDialog& d) { d.groupList_.OpenSelectedGroup(); }},
      {controls::kAddLine, [](OptionsDialog& d) { d.groupList_.LineEditor().AddLine(); }},
      {controls::kModifyLine, [](OptionsDialog& d) { d.groupList_.LineEditor().ModifyCurrentLine(); }},
      {controls::kDeleteLine, [](OptionsDialog& d) { d.groupList_.LineEditor().DeleteCurrentLine(); }},
      {controls::kSelectAllLines, [](OptionsDialog& d) { d.groupList_.LineEditor().SelectAll(); }},
      {controls::kDeselectAllLines, [](OptionsDialog& d) { d.groupList_.LineEditor().DeselectAll(); }},
      {controls::kOpenSelectedLines, [](OptionsDialog& d) { d.groupList_.LineEditor().OpenSelectedLines(); }},
      {controls::kSaveLine, [](OptionsDialog& d) { d.groupList_.LineEditor().SaveEdit(); }},
      {controls::kCancelLine, [](OptionsDialog& d) { d.groupList_.LineEditor().CancelEdit(); }},
  };
  const auto found = kHandlers.find(button);
  if (found == kHandlers.end()) throw std::invalid_argument("no button " + button);
  if (!Enabled(button)) return false;
  found->second(*this);
  frame_.Refresh();
  return true;
}

void OptionsDialog::SetText(const std::string& control, const std::string& text) {
  if (!frame_.HasTextBox(control)) throw std::invalid_argument("no text box " + control);
  frame_.SetText(control, text);
}

void OptionsDialog::ChooseOption(int question, bool yes) {
  optionsPage_.Choose(question, yes);
  frame_.Refresh();
}

bool OptionsDialog::SetSettingText(const std::string& key, const std::string& value) {
  return optionsPage_.SetSettingText(key, value);
}

std::string OptionsDialog::SettingText(const std::string& key) const {
  for (const auto& [name, text] : optionsPage_.SettingTexts()) {
    if (name == key) return text;
  }
  return {};
}

void OptionsDialog::GridClick(const std::string& grid, int row) {
  Grid& target = GridNamed(grid);
  if (row < 0 || row >= target.Rows()) throw std::out_of_range("no row " + std::to_string(row));
  // A fixed (header) row cannot become the current row.
  if (row >= target.FixedRows()) target.SetRow(row);
  if (&target == &tabsPage_.Tabs()) tabsPage_.ToggleMark();
  if (&target == &groupList_.Names()) groupList_.ShowSelectedGroup();
  if (&target == &groupList_.LineEditor().Lines()) groupList_.LineEditor().ToggleMark();
  frame_.Refresh();
}

void OptionsDialog::RefillTabs() { tabsPage_.Fill(); }

void OptionsDialog::GroupWritten(const std::string& name) { groupList_.LineEditor().GroupWritten(name); }

}  // namespace wendrel
