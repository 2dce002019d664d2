// The right half of the dialog's Group Management page: the lines of the group selected in the
// group list, which the user marks and opens, adds to, changes and deletes. Every change reaches
// the group file at once.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "dialog/grid.h"

namespace wendrel {

class DialogFrame;
class GroupSession;
class IFileSystem;
struct Options;

class LineEditorPage {
 public:
  static constexpr std::int32_t kGridWidth = 4245;

  // groupNames is the group list, whose current row names the selected group.
  LineEditorPage(DialogFrame& frame, GroupSession& groups, IFileSystem& files, const Options& options,
                 const Grid& groupNames);
  LineEditorPage(const LineEditorPage&) = delete;
  LineEditorPage& operator=(const LineEditorPage&) = delete;

  Grid& Lines() { return lines_; }
  const std::string& GroupLabel() const { return groupLabel_; }

  // Empties the grid to its header and disables the line buttons: no group is shown.
  void Clear();
  // Reads the selected group's file into the grid; a line being edited is dropped.
  void ShowSelectedGroup();
  // The program has written a group's file: the group shown is read again.
  void GroupWritten(const std::string& name);

  // A click on a line toggles its mark.
  void ToggleMark();
  void SelectAll() { MarkAll("X"); }
  void DeselectAll() { MarkAll(""); }
  void OpenSelectedLines();
  void AddLine();
  void ModifyCurrentLine();
  void DeleteCurrentLine();
  // Saves the line being edited: appends it when adding, replaces the line taken when modifying.
  void SaveEdit();
  void CancelEdit();

 private:
  std::string SelectedGroup() const;
  bool Load(const std::string& name);
  // Line operations belong to a group; without one selected the user is told so.
  bool NeedSelectedGroup();
  void EnableLineButtons(bool enabled);
  void ShowEditor(bool shown);
  void MarkAll(const std::string& mark);
  // Writes the group's file anew from the grid, leaving out skipRow, and reads it again.
  void RewriteGroupFile(std::int32_t skipRow);

  DialogFrame& frame_;
  GroupSession& groups_;
  IFileSystem& files_;
  const Options& options_;
  const Grid& groupNames_;
  Grid lines_{kGridWidth};
  std::string groupLabel_;
  // Whether Save appends a new line rather than replacing the line Modify took.
  bool adding_ = false;
  // The line Modify took, so Save writes the edit there whatever row is current then.
  int editRow_ = 0;
  std::pair<std::string, std::string> editLine_;
  // The group whose lines the grid shows and the file's text they were read from.
  std::string loadedGroup_;
  std::string loadedText_;
  // Set while this page writes the file; it reads the group again itself.
  bool writing_ = false;
};

}  // namespace wendrel
