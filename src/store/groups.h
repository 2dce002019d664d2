// Group files: names, the file format, saving the open windows as a group and opening one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace wendrel {

class IFileSystem;
class IPrompts;

// One site of a group: its short name and URL. The texts are views into storage the caller
// keeps alive (a group file's text, a grid's copied cells) for as long as the list is used.
struct SiteRef {
  std::string_view shortName;
  std::string_view url;
  bool operator==(const SiteRef&) const = default;
};

// Removes spaces (code 32 only) at both ends.
// Trims spaces at both ends in place; valid when not empty and free of ; , ' " : and of
// control characters (a line break would split a group line). The rule for names the user
// types.
bool IsValidName(std::string& name);
// Whether a name can be a plain file name inside the Groups folder: not empty; none of
// \ / : * ? " < > | nor control characters; not ending in a dot or a space (which also
// refuses "." and ".."); not a device name (CON PRN AUX NUL CONIN$ CONOUT$, COM and LPT with
// 0-9 or a superscript 1-3), with or without an extension, in any letter case.
bool IsPlainFileName(std::string_view name);
// The longest path Windows opens without the long-path prefix, in UTF-16 code units.
inline constexpr std::size_t kMaxPathUnits = 259;

// The entries of a group file in file order, as views into `text`: the text before the first
// comma and all after it; lines without a comma are skipped.
std::vector<SiteRef> ParseGroupFile(std::string_view text);

// The group files in the Groups folder beside the program: where they are, reading and
// writing them, and telling the user of a failure.
class GroupFiles {
 public:
  // `folder` is where the program keeps its files (FilesFolder).
  GroupFiles(IFileSystem& files, IPrompts& prompts, std::string folder);

  // The file of a group. Throws PlatformError, before any file is touched, when the name is
  // not a plain file name or the path would be too long for Windows to open.
  std::string GroupFilePath(const std::string& name) const;
  std::string GroupsFolder() const;

  // A group file's whole text. Throws PlatformError.
  std::string ReadGroup(const std::string& name) const;
  // Writes a group's file anew, or appends lines to it, keeping every byte it holds (creating a
  // missing file, not a missing folder). Either way the whole new file replaces the old one in
  // one step, so a write that fails leaves the file as it was. Throws PlatformError.
  void WriteGroup(const std::string& name, std::string_view content);
  void AppendToGroup(const std::string& name, std::string_view lines);
  // Makes the Groups folder when it is missing; a folder that cannot be made is left to the
  // write that follows to report.
  void EnsureGroupsFolder();
  // Told the name of every group the program has just written.
  void SetWrittenHandler(std::function<void(const std::string& name)> handler) {
    written_ = std::move(handler);
  }

  // A plain message titled "Wendrel" for a failure the user should know of.
  void ShowFailure(const std::string& what, const PlatformError& error);

 private:
  IFileSystem& files_;
  IPrompts& prompts_;
  std::string folder_;
  std::function<void(const std::string& name)> written_;
};

}  // namespace wendrel
