#include "dialog/tabs_page.h"

#include "dialog/control_names.h"
#include "dialog/dialog_frame.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "session/group_session.h"
#include "store/browsers.h"
#include "store/options.h"
#include "strip/strip_controller.h"

namespace wendrel {
namespace {

const char kNoSelection[] = "Please ensure that a row is selected for this option.";

// Columns of the grid.
constexpr int kMarkCol = 0;
constexpr int kShortNameCol = 2;
constexpr int kUrlCol = 4;
constexpr int kHandleCol = 5;

}  // namespace

TabsPage::TabsPage(DialogFrame& frame, StripController& strip, GroupSession& groups, Browsers& browsers,
                   const Options& options, IFileSystem& files)
    : frame_(frame), strip_(strip), groups_(groups), browsers_(browsers), options_(options), files_(files) {}

void TabsPage::Fill() {
  tabs_.SetRows(1);
  tabs_.SetCols(6);
  tabs_.SetFixedCols(0);
  const char* headers[] = {"X", "Tab", "Short Name", "Site Name / Short Name", "Site URL", "Handle"};
  for (int col = 0; col < 6; ++col) SetCellText(tabs_, 0, col, headers[col]);
  const int percents[] = {4, 10, 20, 33, 33, 0};
  for (int col = 0; col < 6; ++col) SetColWidthPercent(tabs_, col, percents[col]);
  const char* alignments[] = {"1", "1", "0", "0", "0"};
  for (int col = 0; col < 5; ++col) SetColAlignment(tabs_, col, alignments[col]);
  TabStrip& strip = strip_.Tabs();
  const int count = strip.Count();
  for (int i = 1; i <= count; ++i) {
    const Tab& tab = strip.At(i);
    AddRow({"", std::to_string(i), tab.Tag, tab.Caption, tab.ToolTipText, tab.Key.substr(1)});
  }
  if (tabs_.Rows() >= 2) tabs_.SetFixedRows(1);
  groupNames_.clear();
  for (const std::string& file : files_.ListFiles(groups_.Files().GroupsFolder(), ".WDX")) {
    groupNames_.push_back(file.substr(0, file.size() - 4));
  }
  frame_.SetText(controls::kTargetGroupBox, options_.DefaultGroup);
  frame_.Refresh();
}

void TabsPage::AddRow(const std::array<std::string, 6>& texts) {
  tabs_.SetRows(tabs_.Rows() + 1);
  for (int col = 0; col < 6; ++col)
    SetCellText(tabs_, tabs_.Rows() - 1, col, texts[static_cast<size_t>(col)]);
}

void TabsPage::ToggleMark() {
  if (tabs_.Row() < 1) return;
  tabs_.SetCol(kMarkCol);
  tabs_.SetText(tabs_.Text().empty() ? "X" : "");
}

void TabsPage::MarkAll(const std::string& mark) {
  for (int row = 1; row < tabs_.Rows(); ++row) SetCellText(tabs_, row, kMarkCol, mark);
}

void TabsPage::NameSelectedTab() {
  int row = 0;
  std::string handle;
  std::string name;
  // The grid may be refilled while an input box is up; the walk follows what it holds now.
  for (int r = 1; r < tabs_.Rows(); ++r) {
    if (CellText(tabs_, r, kMarkCol) != "X") continue;
    const std::string rowHandle = CellText(tabs_, r, kHandleCol);
    // A copy: a pass while the box is up refills the grid and frees its cells.
    const std::string url = CellText(tabs_, r, kUrlCol);
    std::string answer = frame_.Ask("Enter a short name without special characters", url);
    if (IsValidName(answer)) {
      row = r;
      handle = rowHandle;
      name = answer;
      break;
    }
    frame_.Message("Name ignored. Please retry with valid characters");
  }
  if (row == 0) {
    frame_.Message(kNoSelection);
    return;
  }
  // The name goes to the window the row stood for when it was asked about, found by its handle:
  // tabs may have come or gone since the grid was filled, and the grid may have been refilled.
  TabStrip& strip = strip_.Tabs();
  if (const int index = strip.Find("H" + handle)) {
    strip.SetTag(index, name);
    strip_.UpdateAllCaptions();
  }
  if (row >= tabs_.Rows() || tabs_.Cell(row, kHandleCol) != handle) {
    row = 0;
    for (int r = 1; r < tabs_.Rows() && row == 0; ++r) {
      if (tabs_.Cell(r, kHandleCol) == handle) row = r;
    }
  }
  if (row != 0) {
    SetCellText(tabs_, row, kShortNameCol, name);
    SetCellText(tabs_, row, kMarkCol, "");
  }
  strip_.FitToTabRows();
}

void TabsPage::CloseSelectedBrowsers() {
  std::vector<WindowHandle> windows;
  for (int r = 1; r < tabs_.Rows(); ++r) {
    if (tabs_.Cell(r, kMarkCol) != "X") continue;
    if (const auto window = HandleOfKey("H" + tabs_.Cell(r, kHandleCol))) windows.push_back(*window);
  }
  groups_.CloseWindows(windows);
}

void TabsPage::RefreshSelectedBrowsers() {
  // Only the marked rows: a reload can throw away what a user typed into a page.
  std::vector<WindowHandle> windows;
  for (int r = 1; r < tabs_.Rows(); ++r) {
    if (CellText(tabs_, r, kMarkCol) != "X") continue;
    if (const auto window = HandleOfKey("H" + CellText(tabs_, r, kHandleCol))) windows.push_back(*window);
  }
  if (windows.empty()) {
    frame_.Message(kNoSelection);
    return;
  }
  for (const WindowHandle window : windows) browsers_.Refresh(window);
}

void TabsPage::RefreshTabs() {
  strip_.UpdateAllCaptions();
  Fill();
  WarnIfNoTabs();
}

void TabsPage::WarnIfNoTabs() {
  if (tabs_.Rows() == 1) frame_.Message("No more tabs remain.");
}

void TabsPage::SaveSelected(bool append) {
  std::string name = frame_.Text(controls::kTargetGroupBox);
  if (!IsValidName(name) || !IsPlainFileName(name)) {
    frame_.Message("Please ensure a proper name");
    frame_.SetFocus(controls::kTargetGroupBox);
    return;
  }
  std::string lines;
  std::string unsaved;
  for (int r = 1; r < tabs_.Rows(); ++r) {
    if (CellText(tabs_, r, kMarkCol) != "X") continue;
    std::string site;
    std::string url = "*";
    const auto window = HandleOfKey("H" + CellText(tabs_, r, kHandleCol));
    if (window && browsers_.IsAppWindow(*window)) {
      // A browser's window is saved with its address, or named as not saved.
      const auto address = browsers_.AppAddress(*window);
      if (!address) {
        const std::string shortName = CellText(tabs_, r, kShortNameCol);
        unsaved += "\r\n" + (TrimSpaces(shortName).empty() ? browsers_.AppTitle(*window) : shortName);
        continue;
      }
      url = *address;
    } else if (window) {
      browsers_.ReadDetails(*window, site, url);
    }
    // A window gone, or a page still loading with no address yet: the tab's address stands.
    if (url == "*" || TrimSpaces(url).empty()) url = CellText(tabs_, r, kUrlCol);
    lines += CellText(tabs_, r, kShortNameCol) + "," + url + "\r\n";
  }
  if (!unsaved.empty())
    frame_.Message("These windows could not be saved, as their addresses cannot be read:" + unsaved);
  try {
    if (append) {
      groups_.Files().AppendToGroup(name, "\r\n" + lines);
    } else {
      groups_.Files().WriteGroup(name, lines);
    }
  } catch (const PlatformError& error) {
    groups_.Files().ShowFailure("Error encountered while saving the group:", error);
  }
}

}  // namespace wendrel
