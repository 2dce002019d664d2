#include "dialog/group_list_page.h"

#include "dialog/control_names.h"
#include "dialog/dialog_frame.h"
#include "platform/file_system.h"
#include "session/group_session.h"
#include "store/options.h"

namespace wendrel {

GroupListPage::GroupListPage(DialogFrame& frame, GroupSession& groups, IFileSystem& files,
                             const Options& options)
    : frame_(frame),
      groups_(groups),
      files_(files),
      options_(options),
      lineEditor_(frame, groups, files, options, names_) {}

std::string GroupListPage::SelectedGroup() const {
  if (names_.Row() < 1) return {};
  return names_.Cell(names_.Row(), 0);
}

void GroupListPage::Fill() {
  frame_.Show(controls::kHintFrame, true);
  frame_.Show(controls::kLineEditFrame, false);
  names_.SetRows(1);
  names_.SetFixedRows(0);
  names_.SetCols(1);
  names_.SetFixedCols(0);
  SetCellText(names_, 0, 0, "Group");
  SetColWidthPercent(names_, 0, 100);
  for (const std::string& file : files_.ListFiles(groups_.Files().GroupsFolder(), ".WDX")) {
    names_.SetRows(names_.Rows() + 1);
    SetCellText(names_, names_.Rows() - 1, 0, file.substr(0, file.size() - 4));
  }
  if (names_.Rows() > 1) names_.SetFixedRows(1);
  lineEditor_.Clear();
}

void GroupListPage::AddGroup() {
  std::string name = frame_.Ask("Enter a Group name", "");
  if (name.empty()) return;
  if (!IsValidName(name) || !IsPlainFileName(name)) {
    frame_.Message("Please enter a valid name without special characters");
    return;
  }
  try {
    if (files_.FileExists(groups_.Files().GroupFilePath(name))) {
      frame_.Message("The Group already exists.");
      return;
    }
    groups_.Files().WriteGroup(name, "");
  } catch (const PlatformError& error) {
    groups_.Files().ShowFailure("Error encountered while creating the group:", error);
    return;
  }
  names_.SetRows(names_.Rows() + 1);
  SetCellText(names_, names_.Rows() - 1, 0, name);
  lineEditor_.ShowSelectedGroup();
}

void GroupListPage::DeleteSelectedGroup() {
  if (names_.Row() < 1) return;
  const std::string name = SelectedGroup();
  if (options_.ShowWarnings && !frame_.Confirm("Are you sure you want to delete the group " + name + "?")) {
    return;
  }
  try {
    files_.DeleteFile(groups_.Files().GroupFilePath(name));
  } catch (const PlatformError&) {
    // A file already gone, or left in place, shows in the refilled list as it is.
  }
  Fill();
}

void GroupListPage::OpenSelectedGroup() {
  if (names_.Row() < 1) return;
  groups_.OpenGroup(SelectedGroup());
}

}  // namespace wendrel
