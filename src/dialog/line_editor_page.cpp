#include "dialog/line_editor_page.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "dialog/control_names.h"
#include "dialog/dialog_frame.h"
#include "platform/file_system.h"
#include "session/group_session.h"
#include "store/options.h"

namespace wendrel {
namespace {

const char kGroupChanged[] =
    "The group has changed since its lines were shown, so nothing was written. Its lines have been read "
    "again; please retry.";
const char kNoGroup[] = "No group is selected. Please click a group in the list first.";

// Columns of the grid.
constexpr int kMarkCol = 0;
constexpr int kShortNameCol = 1;
constexpr int kUrlCol = 2;

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

}  // namespace

LineEditorPage::LineEditorPage(DialogFrame& frame, GroupSession& groups, IFileSystem& files,
                               const Options& options, const Grid& groupNames)
    : frame_(frame), groups_(groups), files_(files), options_(options), groupNames_(groupNames) {}

std::string LineEditorPage::SelectedGroup() const {
  if (groupNames_.Row() < 1) return {};
  return groupNames_.Cell(groupNames_.Row(), 0);
}

void LineEditorPage::EnableLineButtons(bool enabled) {
  for (const char* button :
       {controls::kAddLine, controls::kModifyLine, controls::kDeleteLine, controls::kSelectAllLines,
        controls::kDeselectAllLines, controls::kOpenSelectedLines}) {
    frame_.Enable(button, enabled);
  }
}

void LineEditorPage::ShowEditor(bool shown) {
  frame_.Show(controls::kLineEditFrame, shown);
  frame_.Show(controls::kHintFrame, !shown);
}

void LineEditorPage::Clear() {
  lines_.SetRows(1);
  lines_.SetFixedRows(0);
  lines_.SetCols(3);
  lines_.SetFixedCols(0);
  SetCellText(lines_, 0, kMarkCol, "X");
  SetCellText(lines_, 0, kShortNameCol, "Short Name");
  SetCellText(lines_, 0, kUrlCol, "URL");
  SetColWidthPercent(lines_, kMarkCol, 5);
  SetColWidthPercent(lines_, kShortNameCol, 25);
  SetColWidthPercent(lines_, kUrlCol, 70);
  groupLabel_ = "No group selected";
  loadedGroup_.clear();
  loadedText_.clear();
  EnableLineButtons(false);
}

void LineEditorPage::ShowSelectedGroup() {
  if (groupNames_.Row() < 1) return;
  Clear();
  if (!Load(groupNames_.Text())) return;
  ShowEditor(false);
}

bool LineEditorPage::Load(const std::string& name) {
  std::string text;
  try {
    text = files_.ReadFile(groups_.Files().GroupFilePath(name));
  } catch (const PlatformError& error) {
    frame_.Message("File access error." + error.Description());
    return false;
  }
  groupLabel_ = "Details for Group:" + name;
  for (const SiteRef& site : ParseGroupFile(text)) {
    lines_.SetRows(lines_.Rows() + 1);
    SetCellText(lines_, lines_.Rows() - 1, kShortNameCol, std::string(site.shortName));
    SetCellText(lines_, lines_.Rows() - 1, kUrlCol, std::string(site.url));
  }
  if (lines_.Rows() >= 2) lines_.SetFixedRows(1);
  EnableLineButtons(true);
  loadedGroup_ = name;
  loadedText_ = std::move(text);
  return true;
}

void LineEditorPage::GroupWritten(const std::string& name) {
  if (writing_ || loadedGroup_.empty() || !SameName(name, loadedGroup_)) return;
  // Lines the program wrote to the group shown must show too, or a rewrite from the grid would
  // drop them. The line being edited and the current line stay as they were.
  const int row = lines_.Row();
  const std::string group = loadedGroup_;
  Clear();
  if (Load(group) && row >= 1 && row < lines_.Rows()) lines_.SetRow(row);
  frame_.Refresh();
}

void LineEditorPage::ToggleMark() {
  if (lines_.Row() < 1) return;
  lines_.SetCol(kMarkCol);
  lines_.SetText(lines_.Text() == "X" ? "" : "X");
}

void LineEditorPage::MarkAll(const std::string& mark) {
  for (int row = 1; row < lines_.Rows(); ++row) SetCellText(lines_, row, kMarkCol, mark);
}

void LineEditorPage::OpenSelectedLines() {
  // Copies of the marked lines: opening browsers runs passes that may refill the dialog.
  std::vector<std::pair<std::string, std::string>> marked;
  for (int r = 1; r < lines_.Rows(); ++r) {
    if (CellText(lines_, r, kMarkCol) == "X")
      marked.emplace_back(CellText(lines_, r, kShortNameCol), CellText(lines_, r, kUrlCol));
  }
  if (marked.empty()) {
    frame_.Message("No selection made");
    return;
  }
  std::vector<SiteRef> sites;
  sites.reserve(marked.size());
  for (const auto& [shortName, url] : marked) sites.push_back(SiteRef{shortName, url});
  groups_.OpenSites(sites);
}

bool LineEditorPage::NeedSelectedGroup() {
  if (!SelectedGroup().empty()) return true;
  frame_.Message(kNoGroup);
  return false;
}

void LineEditorPage::AddLine() {
  if (!NeedSelectedGroup()) return;
  frame_.SetText(controls::kLineGroupBox, SelectedGroup());
  frame_.SetText(controls::kLineShortNameBox, "");
  frame_.SetText(controls::kLineUrlBox, "");
  adding_ = true;
  ShowEditor(true);
}

void LineEditorPage::ModifyCurrentLine() {
  const int row = lines_.Row();
  if (row < 1) return;
  if (!NeedSelectedGroup()) return;
  adding_ = false;
  editRow_ = row;
  editLine_ = {CellText(lines_, row, kShortNameCol), CellText(lines_, row, kUrlCol)};
  frame_.SetText(controls::kLineGroupBox, SelectedGroup());
  frame_.SetText(controls::kLineShortNameBox, CellText(lines_, row, kShortNameCol));
  frame_.SetText(controls::kLineUrlBox, CellText(lines_, row, kUrlCol));
  ShowEditor(true);
}

void LineEditorPage::DeleteCurrentLine() {
  const int row = lines_.Row();
  if (row < 1) return;
  if (!NeedSelectedGroup()) return;
  if (options_.ShowWarnings && !frame_.Confirm("Are you sure you want to delete this line?")) return;
  RewriteGroupFile(row);
}

void LineEditorPage::SaveEdit() {
  std::string name = frame_.Text(controls::kLineShortNameBox);
  if (!IsValidName(name)) {
    frame_.Message("Please enter a valid short name, without special characters");
    frame_.SetFocus(controls::kLineShortNameBox);
    return;
  }
  const std::string url = frame_.Text(controls::kLineUrlBox);
  if (!NeedSelectedGroup()) return;
  if (adding_) {
    try {
      const Raised writing(writing_);
      groups_.Files().AppendToGroup(SelectedGroup(), "\r\n" + name + "," + url + "\r\n");
    } catch (const PlatformError& error) {
      groups_.Files().ShowFailure("Error encountered while writing the group:", error);
      ShowSelectedGroup();  // the grid shows what the file holds
      return;
    }
    // Read back: the file may hold lines added since the grid was filled.
    ShowSelectedGroup();
  } else {
    // The edit goes to the line Modify took, whatever line was clicked since; if the group was
    // read again meanwhile and that line is no longer there, nothing is written.
    if (editRow_ < 1 || editRow_ >= lines_.Rows() ||
        lines_.Cell(editRow_, kShortNameCol) != editLine_.first ||
        lines_.Cell(editRow_, kUrlCol) != editLine_.second) {
      ShowSelectedGroup();
      frame_.Message(kGroupChanged);
      return;
    }
    SetCellText(lines_, editRow_, kShortNameCol, name);
    SetCellText(lines_, editRow_, kUrlCol, url);
    RewriteGroupFile(-1);
  }
  ShowEditor(false);
}

void LineEditorPage::CancelEdit() { ShowEditor(false); }

void LineEditorPage::RewriteGroupFile(std::int32_t skipRow) {
  try {
    // Lines written to the file by other means since the grid was read would be lost.
    if (!SameName(SelectedGroup(), loadedGroup_) ||
        files_.ReadFile(groups_.Files().GroupFilePath(SelectedGroup())) != loadedText_) {
      ShowSelectedGroup();
      frame_.Message(kGroupChanged);
      return;
    }
    std::string content;
    const int n = lines_.Rows() - 1;
    for (int r = 1; r <= n; ++r) {
      if (r == skipRow) continue;
      const std::string shortName = CellText(lines_, r, kShortNameCol);
      content += shortName + "," + CellText(lines_, r, kUrlCol) + "\r\n";
    }
    const Raised writing(writing_);
    groups_.Files().WriteGroup(SelectedGroup(), content);
  } catch (const PlatformError& error) {
    groups_.Files().ShowFailure("Error encountered while writing the group:", error);
  }
  ShowSelectedGroup();
}

}  // namespace wendrel
