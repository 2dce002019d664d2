#include "dialog/options_etc.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <stdexcept>

#include "platform/dialog_view.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/window_system.h"
#include "store/browser_ops.h"
#include "store/groups.h"
#include "store/options.h"
#include "strip/main_form.h"

namespace wendrel {
namespace {

const char kNoSelection[] = "Please ensure that a row is selected for this option.";
const char kGroupChanged[] =
    "The group has changed since its lines were shown, so nothing was written. Its lines have been read "
    "again; please retry.";
const char kNoGroup[] = "No group is selected. Please click a group in the list first.";

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// Holds a flag up for as long as it lives.
class Raised {
 public:
  explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
  ~Raised() { flag_ = false; }
  Raised(const Raised&) = delete;
  Raised& operator=(const Raised&) = delete;

 private:
  bool& flag_;
};

// Reads a cell through the current cell, as every routine of the dialog does.
const std::string& CellAt(Grid& grid, int row, int col) {
  grid.SetRow(row);
  grid.SetCol(col);
  return grid.Text();
}

// The numeric test of the Options page: blanks, an optional sign, digits with an optional
// decimal point, an optional exponent, blanks.
std::optional<double> ParseNumber(const std::string& text) {
  size_t i = 0;
  auto blanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  auto digits = [&] {
    const size_t start = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    return i - start;
  };
  blanks();
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t count = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    count += digits();
  }
  if (count == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  const size_t end = i;
  blanks();
  if (i != text.size()) return std::nullopt;
  return std::strtod(text.substr(start, end - start).c_str(), nullptr);
}

}  // namespace

const std::vector<std::string>& OptionsEtc::ButtonNames() {
  static const std::vector<std::string> names = {
      "cb_Update",     "cb_Reset",      "cb_TSelAll",     "cb_TDeselAll", "cb_TShort",  "cb_TAddGroup",
      "cb_TSaveGroup", "cb_TRefreshIE", "cb_TRefreshTab", "cb_TCloseIE",  "cb_GAddG",   "CB_GDelG",
      "cb_GOpenG",     "cb_GAdd",       "cb_GModify",     "cb_GDel",      "cb_GSelect", "CB_GDesel",
      "cb_GOpenSel",   "cb_GUpdate",    "cb_GCancel"};
  return names;
}

const std::vector<std::string>& OptionsEtc::FrameNames() {
  static const std::vector<std::string> names = {"Fr_options", "Fr_Tabs", "Fr_Groups", "FR_Message",
                                                 "Fr_Update"};
  return names;
}

const std::vector<std::string>& OptionsEtc::TextBoxNames() {
  static const std::vector<std::string> names = {"tx_ChrCount", "tx_defaultName", "tx_UnknownName",
                                                 "tx_Group",    "tx_Short",       "tx_URL"};
  return names;
}

OptionsEtc::OptionsEtc(MainForm& mainForm, GroupStore& groups, BrowserOps& browsers, Options& options,
                       OptionsFile& optionsFile, IFileSystem& files, IPrompts& prompts,
                       IWindowSystem& windows)
    : mainForm_(mainForm),
      groups_(groups),
      browsers_(browsers),
      options_(options),
      optionsFile_(optionsFile),
      files_(files),
      prompts_(prompts),
      windows_(windows) {
  for (const std::string& button : ButtonNames()) enabled_[button] = true;
  for (const std::string& frame : FrameNames()) visible_[frame] = false;
  for (const std::string& box : TextBoxNames()) texts_[box] = "";
  texts_["CM_GroupName"] = "";
  visible_["FR_Message"] = true;
}

OptionsEtc::~OptionsEtc() = default;

void OptionsEtc::Load(IDialogHost& host, const std::string& optionsStartPage) {
  view_ = host.CreateView(*this);
  left_ = RoundHalfEven((windows_.ScreenWidth() - view_->OuterWidth()) / 2.0);
  top_ = RoundHalfEven((windows_.ScreenHeight() - view_->OuterHeight()) / 2.0);
  view_->Move(left_, top_);
  Show("Fr_options", false);
  Show("Fr_Tabs", false);
  Show("Fr_Groups", false);
  ShowOptions();
  SetTabs();
  FillGroupList();
  TabStrip1_Click(optionsStartPage == "T" ? 2 : 3);
  focus_ = "TabStrip1";
  view_->Show();
}

void OptionsEtc::Activate() {
  if (view_) view_->Activate();
}

void OptionsEtc::Changed() {
  if (view_) view_->Refresh();
}

void OptionsEtc::Show(const std::string& frame, bool visible) { visible_[frame] = visible; }

bool OptionsEtc::Visible(const std::string& frame) const {
  const auto found = visible_.find(frame);
  return found != visible_.end() && found->second;
}

bool OptionsEtc::Enabled(const std::string& button) const {
  const auto found = enabled_.find(button);
  return found != enabled_.end() && found->second;
}

const std::string& OptionsEtc::Text(const std::string& control) const {
  static const std::string kNone;
  const auto found = texts_.find(control);
  return found == texts_.end() ? kNone : found->second;
}

OptionChoice OptionsEtc::Option(int question) const {
  return options_chosen_.at(static_cast<size_t>(question));
}

Grid& OptionsEtc::GridNamed(const std::string& grid) {
  if (grid == "Gr_Tabs") return Gr_Tabs_;
  if (grid == "GR_GNames") return GR_GNames_;
  if (grid == "GR_GLines") return GR_GLines_;
  throw std::invalid_argument("no grid " + grid);
}

void OptionsEtc::Message(const std::string& text) { prompts_.MessageBox(text, Buttons::kOk, "Wendrel"); }

void OptionsEtc::TabStrip1_Click(int page) {
  if (page < 1 || page > 3) throw std::invalid_argument("no page " + std::to_string(page));
  page_ = page;
  if (page == 1) ShowOptions();
  Show("Fr_options", page == 1);
  Show("Fr_Tabs", page == 2);
  Show("Fr_Groups", page == 3);
  Changed();
}

bool OptionsEtc::Click(const std::string& button) {
  using Handler = std::function<void(OptionsEtc&)>;
  static const std::map<std::string, Handler> kHandlers = {
      {"cb_Update", &OptionsEtc::cb_Update_Click},
      {"cb_Reset", &OptionsEtc::cb_Reset_Click},
      {"cb_TSelAll", [](OptionsEtc& d) { d.MarkAllTabs("X"); }},
      {"cb_TDeselAll", [](OptionsEtc& d) { d.MarkAllTabs(""); }},
      {"cb_TShort", &OptionsEtc::cb_TShort_Click},
      {"cb_TAddGroup", [](OptionsEtc& d) { d.SaveSelectedTabs("+"); }},
      {"cb_TSaveGroup", [](OptionsEtc& d) { d.SaveSelectedTabs(""); }},
      {"cb_TRefreshIE", &OptionsEtc::cb_TRefreshIE_Click},
      {"cb_TRefreshTab", &OptionsEtc::cb_TRefreshTab_Click},
      {"cb_TCloseIE", &OptionsEtc::cb_TCloseIE_Click},
      {"cb_GAddG", &OptionsEtc::cb_GAddG_Click},
      {"CB_GDelG", &OptionsEtc::CB_GDelG_Click},
      {"cb_GOpenG", &OptionsEtc::cb_GOpenG_Click},
      {"cb_GAdd", &OptionsEtc::cb_GAdd_Click},
      {"cb_GModify", &OptionsEtc::cb_GModify_Click},
      {"cb_GDel", &OptionsEtc::cb_GDel_Click},
      {"cb_GSelect", [](OptionsEtc& d) { d.MarkAllLines("X"); }},
      {"CB_GDesel", [](OptionsEtc& d) { d.MarkAllLines(""); }},
      {"cb_GOpenSel", &OptionsEtc::cb_GOpenSel_Click},
      {"cb_GUpdate", &OptionsEtc::cb_GUpdate_Click},
      {"cb_GCancel", &OptionsEtc::cb_GCancel_Click},
  };
  const auto found = kHandlers.find(button);
  if (found == kHandlers.end()) throw std::invalid_argument("no button " + button);
  if (!Enabled(button)) return false;
  found->second(*this);
  Changed();
  return true;
}

void OptionsEtc::SetText(const std::string& control, const std::string& text) {
  if (!texts_.contains(control)) throw std::invalid_argument("no text box " + control);
  texts_[control] = text;
}

void OptionsEtc::ChooseOption(int question, bool yes) {
  options_chosen_.at(static_cast<size_t>(question)) = yes ? OptionChoice::kYes : OptionChoice::kNo;
  Changed();
}

void OptionsEtc::GridClick(const std::string& grid, int row) {
  Grid& target = GridNamed(grid);
  if (row < 0 || row >= target.Rows()) throw std::out_of_range("no row " + std::to_string(row));
  // A fixed (header) row cannot become the current row.
  if (row >= target.FixedRows()) target.SetRow(row);
  if (&target == &Gr_Tabs_) Gr_Tabs_Click();
  if (&target == &GR_GNames_) GR_GNames_Click();
  if (&target == &GR_GLines_) GR_GLines_Click();
  Changed();
}

// Options page.

void OptionsEtc::ShowOptions() {
  const bool values[] = {options_.MultiLine,    options_.LeaveOnExit, options_.SaveOnExit,
                         options_.ShowWarnings, options_.StartGroup,  options_.ConfirmGroup};
  for (size_t i = 0; i < options_chosen_.size(); ++i) {
    options_chosen_[i] = values[i] ? OptionChoice::kYes : OptionChoice::kNo;
  }
  texts_["tx_defaultName"] = options_.DefaultGroup;
  texts_["tx_UnknownName"] = options_.DefaultName;
  texts_["tx_ChrCount"] = std::to_string(options_.CaptionWidth);
}

void OptionsEtc::cb_Reset_Click() { ShowOptions(); }

void OptionsEtc::cb_Update_Click() {
  std::string group = Text("tx_defaultName");
  std::string name = Text("tx_UnknownName");
  const char kInvalidName[] = "Please enter a valid name (without any special character.)";
  if (!IsValidName(group) || !IsPlainFileName(group)) {
    Message(kInvalidName);
    focus_ = "tx_defaultName";
    return;
  }
  try {
    groups_.GroupFilePath(group);
  } catch (const PlatformError& error) {
    Message(error.Description());
    focus_ = "tx_defaultName";
    return;
  }
  if (!IsValidName(name)) {
    Message(kInvalidName);
    focus_ = "tx_UnknownName";
    return;
  }
  const auto number = ParseNumber(Text("tx_ChrCount"));
  if (!number || *number >= 2147483647.5 || *number < -2147483648.5) {
    Message("Please enter a valid number");
    focus_ = "tx_ChrCount";
    return;
  }
  auto yes = [this](int i) { return options_chosen_[static_cast<size_t>(i)] == OptionChoice::kYes; };
  options_.MultiLine = yes(0);
  options_.LeaveOnExit = yes(1);
  options_.SaveOnExit = yes(2);
  options_.ShowWarnings = yes(3);
  options_.StartGroup = yes(4);
  options_.ConfirmGroup = yes(5);
  options_.DefaultGroup = group;
  options_.DefaultName = name;
  options_.CaptionWidth = RoundHalfEven(*number);
  try {
    optionsFile_.DumpOptions();
  } catch (const PlatformError& error) {
    groups_.ShowFailure("Error encountered while writing the options:", error);
    return;
  }
  Message("Options updated. They will be reflected as soon as possible.");
}

// Tab Management page.

void OptionsEtc::SetTabs() {
  Grid& grid = Gr_Tabs_;
  grid.SetRows(1);
  grid.SetCols(6);
  grid.SetFixedCols(0);
  const char* headers[] = {"X", "Tab", "Short Name", "Site Name / Short Name", "Site URL", "Handle"};
  for (int col = 0; col < 6; ++col) SetCellText(grid, 0, col, headers[col]);
  const int percents[] = {4, 10, 20, 33, 33, 0};
  for (int col = 0; col < 6; ++col) SetColWidthPercent(grid, col, percents[col]);
  const char* alignments[] = {"1", "1", "0", "0", "0"};
  for (int col = 0; col < 5; ++col) SetColAlignment(grid, col, alignments[col]);
  TabStrip& tabs = mainForm_.Tabs();
  const int count = tabs.Count();
  for (int i = 1; i <= count; ++i) {
    const Tab& tab = tabs.At(i);
    AddTabRow({"", std::to_string(i), tab.Tag, tab.Caption, tab.ToolTipText, tab.Key.substr(1)});
  }
  if (grid.Rows() >= 2) grid.SetFixedRows(1);
  CM_GroupName_list_.clear();
  for (const std::string& file : files_.ListFiles(groups_.GroupsFolder(), ".WDX")) {
    CM_GroupName_list_.push_back(file.substr(0, file.size() - 4));
  }
  texts_["CM_GroupName"] = options_.DefaultGroup;
  Changed();
}

void OptionsEtc::AddTabRow(const std::array<std::string, 6>& texts) {
  Gr_Tabs_.SetRows(Gr_Tabs_.Rows() + 1);
  for (int col = 0; col < 6; ++col)
    SetCellText(Gr_Tabs_, Gr_Tabs_.Rows() - 1, col, texts[static_cast<size_t>(col)]);
}

void OptionsEtc::Gr_Tabs_Click() {
  if (Gr_Tabs_.Row() < 1) return;
  Gr_Tabs_.SetCol(0);
  Gr_Tabs_.SetText(Gr_Tabs_.Text().empty() ? "X" : "");
}

void OptionsEtc::MarkAllTabs(const std::string& mark) {
  for (int row = 1; row < Gr_Tabs_.Rows(); ++row) SetCellText(Gr_Tabs_, row, 0, mark);
}

void OptionsEtc::cb_TShort_Click() {
  int row = 0;
  std::string handle;
  std::string name;
  // The grid may be refilled while an input box is up; the walk follows what it holds now.
  for (int r = 1; r < Gr_Tabs_.Rows(); ++r) {
    if (CellAt(Gr_Tabs_, r, 0) != "X") continue;
    const std::string rowHandle = CellAt(Gr_Tabs_, r, 5);
    // A copy: a pass while the box is up refills the grid and frees its cells.
    const std::string url = CellAt(Gr_Tabs_, r, 4);
    std::string answer =
        prompts_.InputBox("Enter a short name without special characters", "Wendrel", url).value_or("");
    if (IsValidName(answer)) {
      row = r;
      handle = rowHandle;
      name = answer;
      break;
    }
    Message("Name ignored. Please retry with valid characters");
  }
  if (row == 0) {
    Message(kNoSelection);
    return;
  }
  // The name goes to the window the row stood for when it was asked about, found by its handle:
  // tabs may have come or gone since the grid was filled, and the grid may have been refilled.
  TabStrip& tabs = mainForm_.Tabs();
  if (const int index = tabs.Find("H" + handle)) {
    tabs.SetTag(index, name);
    mainForm_.RefreshAllCaptions();
  }
  if (row >= Gr_Tabs_.Rows() || Gr_Tabs_.Cell(row, 5) != handle) {
    row = 0;
    for (int r = 1; r < Gr_Tabs_.Rows() && row == 0; ++r) {
      if (Gr_Tabs_.Cell(r, 5) == handle) row = r;
    }
  }
  if (row != 0) {
    SetCellText(Gr_Tabs_, row, 2, name);
    SetCellText(Gr_Tabs_, row, 0, "");
  }
  mainForm_.AdjustHeight();
}

void OptionsEtc::cb_TCloseIE_Click() {
  std::vector<WindowHandle> windows;
  for (int r = 1; r < Gr_Tabs_.Rows(); ++r) {
    if (Gr_Tabs_.Cell(r, 0) != "X") continue;
    if (const auto window = HandleOfKey("H" + Gr_Tabs_.Cell(r, 5))) windows.push_back(*window);
  }
  groups_.DeleteSetStr(windows);
}

void OptionsEtc::cb_TRefreshIE_Click() {
  // Only the marked rows: a reload can throw away what a user typed into a page.
  std::vector<WindowHandle> windows;
  for (int r = 1; r < Gr_Tabs_.Rows(); ++r) {
    if (CellAt(Gr_Tabs_, r, 0) != "X") continue;
    if (const auto window = HandleOfKey("H" + CellAt(Gr_Tabs_, r, 5))) windows.push_back(*window);
  }
  if (windows.empty()) {
    Message(kNoSelection);
    return;
  }
  for (const WindowHandle window : windows) browsers_.RefreshIEByHandle(window);
}

void OptionsEtc::cb_TRefreshTab_Click() {
  mainForm_.RefreshAllCaptions();
  SetTabs();
  WarnIfNoTabs();
}

void OptionsEtc::WarnIfNoTabs() {
  if (Gr_Tabs_.Rows() == 1) Message("No more tabs remain.");
}

void OptionsEtc::SaveSelectedTabs(const std::string& action) {
  std::string name = Text("CM_GroupName");
  if (!IsValidName(name) || !IsPlainFileName(name)) {
    Message("Please ensure a proper name");
    focus_ = "CM_GroupName";
    return;
  }
  std::string lines;
  for (int r = 1; r < Gr_Tabs_.Rows(); ++r) {
    if (CellAt(Gr_Tabs_, r, 0) != "X") continue;
    std::string site;
    std::string url = "*";
    if (const auto window = HandleOfKey("H" + CellAt(Gr_Tabs_, r, 5)))
      browsers_.GetIEDetails(*window, site, url);
    if (url == "*") url = CellAt(Gr_Tabs_, r, 4);
    lines += CellAt(Gr_Tabs_, r, 2) + "," + url + "\r\n";
  }
  try {
    if (action == "+") {
      groups_.AppendToGroup(name, "\r\n" + lines);
    } else {
      groups_.WriteGroup(name, lines);
    }
  } catch (const PlatformError& error) {
    groups_.ShowFailure("Error encountered while saving the group:", error);
  }
}

// Group Management page: the group list.

std::string OptionsEtc::SelectedGroup() const {
  if (GR_GNames_.Row() < 1) return {};
  return GR_GNames_.Cell(GR_GNames_.Row(), 0);
}

void OptionsEtc::SetLineButtons(bool enabled) {
  for (const char* button : {"cb_GAdd", "cb_GModify", "cb_GDel", "cb_GSelect", "CB_GDesel", "cb_GOpenSel"}) {
    enabled_[button] = enabled;
  }
}

void OptionsEtc::FillGroupList() {
  Show("FR_Message", true);
  Show("Fr_Update", false);
  Grid& grid = GR_GNames_;
  grid.SetRows(1);
  grid.SetFixedRows(0);
  grid.SetCols(1);
  grid.SetFixedCols(0);
  SetCellText(grid, 0, 0, "Group");
  SetColWidthPercent(grid, 0, 100);
  for (const std::string& file : files_.ListFiles(groups_.GroupsFolder(), ".WDX")) {
    grid.SetRows(grid.Rows() + 1);
    SetCellText(grid, grid.Rows() - 1, 0, file.substr(0, file.size() - 4));
  }
  if (grid.Rows() > 1) grid.SetFixedRows(1);
  ClearGroupLines();
}

void OptionsEtc::ClearGroupLines() {
  Grid& grid = GR_GLines_;
  grid.SetRows(1);
  grid.SetFixedRows(0);
  grid.SetCols(3);
  grid.SetFixedCols(0);
  SetCellText(grid, 0, 0, "X");
  SetCellText(grid, 0, 1, "Short Name");
  SetCellText(grid, 0, 2, "URL");
  SetColWidthPercent(grid, 0, 5);
  SetColWidthPercent(grid, 1, 25);
  SetColWidthPercent(grid, 2, 70);
  Lab_GrName_ = "No group selected";
  loadedGroup_.clear();
  loadedText_.clear();
  SetLineButtons(false);
}

void OptionsEtc::GR_GNames_Click() {
  if (GR_GNames_.Row() < 1) return;
  ClearGroupLines();
  if (!LoadGroupLines(GR_GNames_.Text())) return;
  Show("Fr_Update", false);
  Show("FR_Message", true);
}

bool OptionsEtc::LoadGroupLines(const std::string& name) {
  std::string text;
  try {
    text = files_.ReadFile(groups_.GroupFilePath(name));
  } catch (const PlatformError& error) {
    Message("File access error." + error.Description());
    return false;
  }
  Lab_GrName_ = "Details for Group:" + name;
  Grid& grid = GR_GLines_;
  for (const SiteRef& site : ParseGroupFile(text)) {
    grid.SetRows(grid.Rows() + 1);
    SetCellText(grid, grid.Rows() - 1, 1, std::string(site.shortName));
    SetCellText(grid, grid.Rows() - 1, 2, std::string(site.url));
  }
  if (grid.Rows() >= 2) grid.SetFixedRows(1);
  SetLineButtons(true);
  loadedGroup_ = name;
  loadedText_ = std::move(text);
  return true;
}

void OptionsEtc::GroupWritten(const std::string& name) {
  if (writingLines_ || loadedGroup_.empty() || !SameName(name, loadedGroup_)) return;
  // Lines the program wrote to the group shown must show too, or a rewrite from the grid would
  // drop them. The line being edited and the current line stay as they were.
  const int row = GR_GLines_.Row();
  const std::string group = loadedGroup_;
  ClearGroupLines();
  if (LoadGroupLines(group) && row >= 1 && row < GR_GLines_.Rows()) GR_GLines_.SetRow(row);
  Changed();
}

void OptionsEtc::cb_GAddG_Click() {
  std::string name = prompts_.InputBox("Enter a Group name", "Wendrel", "").value_or("");
  if (name.empty()) return;
  if (!IsValidName(name) || !IsPlainFileName(name)) {
    Message("Please enter a valid name without special characters");
    return;
  }
  try {
    if (files_.FileExists(groups_.GroupFilePath(name))) {
      Message("The Group already exists.");
      return;
    }
    groups_.WriteGroup(name, "");
  } catch (const PlatformError& error) {
    groups_.ShowFailure("Error encountered while creating the group:", error);
    return;
  }
  GR_GNames_.SetRows(GR_GNames_.Rows() + 1);
  SetCellText(GR_GNames_, GR_GNames_.Rows() - 1, 0, name);
  GR_GNames_Click();
}

void OptionsEtc::CB_GDelG_Click() {
  if (GR_GNames_.Row() < 1) return;
  const std::string name = SelectedGroup();
  if (options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to delete the group " + name + "?",
                                                   Buttons::kYesNo, "Wendrel") == Answer::kNo) {
    return;
  }
  try {
    files_.DeleteFile(groups_.GroupFilePath(name));
  } catch (const PlatformError&) {
    // A file already gone, or left in place, shows in the refilled list as it is.
  }
  FillGroupList();
}

void OptionsEtc::cb_GOpenG_Click() {
  if (GR_GNames_.Row() < 1) return;
  groups_.StartGroup(SelectedGroup());
}

// Group Management page: the line editor.

void OptionsEtc::GR_GLines_Click() {
  if (GR_GLines_.Row() < 1) return;
  GR_GLines_.SetCol(0);
  GR_GLines_.SetText(GR_GLines_.Text() == "X" ? "" : "X");
}

void OptionsEtc::MarkAllLines(const std::string& mark) {
  for (int row = 1; row < GR_GLines_.Rows(); ++row) SetCellText(GR_GLines_, row, 0, mark);
}

void OptionsEtc::cb_GOpenSel_Click() {
  // Copies of the marked lines: opening browsers runs passes that may refill the dialog.
  std::vector<std::pair<std::string, std::string>> lines;
  for (int r = 1; r < GR_GLines_.Rows(); ++r) {
    if (CellAt(GR_GLines_, r, 0) == "X")
      lines.emplace_back(CellAt(GR_GLines_, r, 1), CellAt(GR_GLines_, r, 2));
  }
  if (lines.empty()) {
    Message("No selection made");
    return;
  }
  std::vector<SiteRef> sites;
  sites.reserve(lines.size());
  for (const auto& [shortName, url] : lines) sites.push_back(SiteRef{shortName, url});
  groups_.StartGroupStr(sites);
}

bool OptionsEtc::NeedSelectedGroup() {
  if (!SelectedGroup().empty()) return true;
  Message(kNoGroup);
  return false;
}

void OptionsEtc::cb_GAdd_Click() {
  if (!NeedSelectedGroup()) return;
  texts_["tx_Group"] = SelectedGroup();
  texts_["tx_Short"] = "";
  texts_["tx_URL"] = "";
  bAddMode_ = true;
  Show("FR_Message", false);
  Show("Fr_Update", true);
}

void OptionsEtc::cb_GModify_Click() {
  const int row = GR_GLines_.Row();
  if (row < 1) return;
  if (!NeedSelectedGroup()) return;
  bAddMode_ = false;
  editRow_ = row;
  editLine_ = {CellAt(GR_GLines_, row, 1), CellAt(GR_GLines_, row, 2)};
  texts_["tx_Group"] = SelectedGroup();
  texts_["tx_Short"] = CellAt(GR_GLines_, row, 1);
  texts_["tx_URL"] = CellAt(GR_GLines_, row, 2);
  Show("Fr_Update", true);
  Show("FR_Message", false);
}

void OptionsEtc::cb_GDel_Click() {
  const int row = GR_GLines_.Row();
  if (row < 1) return;
  if (!NeedSelectedGroup()) return;
  if (options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to delete this line?",
                                                   Buttons::kYesNo, "Wendrel") == Answer::kNo) {
    return;
  }
  RewriteGroupFile(row);
}

void OptionsEtc::cb_GUpdate_Click() {
  std::string name = Text("tx_Short");
  if (!IsValidName(name)) {
    Message("Please enter a valid short name, without special characters");
    focus_ = "tx_Short";
    return;
  }
  const std::string url = Text("tx_URL");
  if (!NeedSelectedGroup()) return;
  if (bAddMode_) {
    try {
      const Raised writing(writingLines_);
      groups_.AppendToGroup(SelectedGroup(), "\r\n" + name + "," + url + "\r\n");
    } catch (const PlatformError& error) {
      groups_.ShowFailure("Error encountered while writing the group:", error);
      GR_GNames_Click();  // the grid shows what the file holds
      return;
    }
    // Read back: the file may hold lines added since the grid was filled.
    GR_GNames_Click();
  } else {
    // The edit goes to the line Modify took, whatever line was clicked since; if the group was
    // read again meanwhile and that line is no longer there, nothing is written.
    if (editRow_ < 1 || editRow_ >= GR_GLines_.Rows() || GR_GLines_.Cell(editRow_, 1) != editLine_.first ||
        GR_GLines_.Cell(editRow_, 2) != editLine_.second) {
      GR_GNames_Click();
      Message(kGroupChanged);
      return;
    }
    SetCellText(GR_GLines_, editRow_, 1, name);
    SetCellText(GR_GLines_, editRow_, 2, url);
    RewriteGroupFile(-1);
  }
  Show("Fr_Update", false);
  Show("FR_Message", true);
}

void OptionsEtc::cb_GCancel_Click() {
  Show("Fr_Update", false);
  Show("FR_Message", true);
}

void OptionsEtc::RewriteGroupFile(std::int32_t skipRow) {
  try {
    // Lines written to the file by other means since the grid was read would be lost.
    if (!SameName(SelectedGroup(), loadedGroup_) ||
        files_.ReadFile(groups_.GroupFilePath(SelectedGroup())) != loadedText_) {
      GR_GNames_Click();
      Message(kGroupChanged);
      return;
    }
    std::string content;
    const int n = GR_GLines_.Rows() - 1;
    for (int r = 1; r <= n; ++r) {
      if (r == skipRow) continue;
      const std::string shortName = CellAt(GR_GLines_, r, 1);
      content += shortName + "," + CellAt(GR_GLines_, r, 2) + "\r\n";
    }
    const Raised writing(writingLines_);
    groups_.WriteGroup(SelectedGroup(), content);
  } catch (const PlatformError& error) {
    groups_.ShowFailure("Error encountered while writing the group:", error);
  }
  GR_GNames_Click();
}

}  // namespace wendrel
