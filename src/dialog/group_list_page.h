// The left half of the dialog's Group Management page: the list of the group files, where the
// user adds, deletes and opens groups and picks the group whose lines the line editor shows.
#pragma once

#include <cstdint>
#include <string>

#include "dialog/grid.h"
#include "dialog/line_editor_page.h"

namespace wendrel {

class DialogFrame;
class GroupSession;
class IFileSystem;
struct Options;

class GroupListPage {
 public:
  static constexpr std::int32_t kGridWidth = 2430;

  GroupListPage(DialogFrame& frame, GroupSession& groups, IFileSystem& files, const Options& options);
  GroupListPage(const GroupListPage&) = delete;
  GroupListPage& operator=(const GroupListPage&) = delete;

  Grid& Names() { return names_; }
  // The right half of the page, which shows the selected group's lines.
  LineEditorPage& LineEditor() { return lineEditor_; }
  const LineEditorPage& LineEditor() const { return lineEditor_; }

  // Lists the group files again; no group's lines are shown afterwards.
  void Fill();
  // A click on a name: its group's lines are shown.
  void ShowSelectedGroup() { lineEditor_.ShowSelectedGroup(); }
  void AddGroup();
  void DeleteSelectedGroup();
  void OpenSelectedGroup();

 private:
  std::string SelectedGroup() const;

  DialogFrame& frame_;
  GroupSession& groups_;
  IFileSystem& files_;
  const Options& options_;
  Grid names_{kGridWidth};
  LineEditorPage lineEditor_;
};

}  // namespace wendrel
