// Group files: names, the file format, saving the open windows as a group and opening one.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace wendrel {

class BrowserOps;
class IFileSystem;
class IPrompts;
class MainForm;
struct Options;

// Trims spaces at both ends in place; valid when not empty and free of ; , ' " : and of
// control characters (a tab splits the packed lists, a line break splits a group line).
bool IsValidName(std::string& name);
// A name that becomes a file name: also free of \ / * ? < > |, not ending in a dot, and not a
// device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without an extension).
bool IsValidGroupName(std::string& name);
// Takes the text before the first separator (as it is) out of `remaining`; without a
// separator, the whole remaining text trimmed of spaces.
std::string NextField(std::string& remaining, const std::string& separator);

// The lines of a text file: each ends at CR LF or a lone CR, the end not part of the line.
std::vector<std::string> SplitLines(const std::string& text);
// The entries of a group file in file order: the text before the first comma and all after
// it; lines without a comma are skipped.
std::vector<std::pair<std::string, std::string>> ParseGroupFile(const std::string& text);

class GroupStore {
 public:
  GroupStore(MainForm& mainForm, BrowserOps& browsers, Options& options, IFileSystem& files,
             IPrompts& prompts);

  std::string GroupFilePath(const std::string& name) const;
  std::string GroupsFolder() const;

  // Throws PlatformError when the file cannot be written; an existing group is then kept whole.
  void SaveGroup(const std::string& name);
  void StartGroup(const std::string& sGrName);
  void StartGroupStr(const std::string& sShortNURL);
  void DeleteSetStr(const std::string& sHandles);

  // Menu commands; failures are shown in a message box.
  void mSaveGroup_Click();
  void m_OpenIE_Click();
  void m_AddToDefault_Click();

  // A plain message titled "Wendrel" for a failure the user should know of.
  void ShowFailure(const std::string& what, const PlatformError& error);

 private:
  MainForm& mainForm_;
  BrowserOps& browsers_;
  Options& options_;
  IFileSystem& files_;
  IPrompts& prompts_;
};

}  // namespace wendrel
