// Groups at work on the strip: saving the open windows as a group, opening a group's sites in
// new browsers with their tabs, closing windows with theirs, and the menu commands on groups.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/types.h"
#include "store/groups.h"

namespace wendrel {

class Browsers;
class IPrompts;
class StripController;
struct Options;

class GroupSession {
 public:
  GroupSession(StripController& strip, Browsers& browsers, const Options& options, GroupFiles& files,
               IPrompts& prompts);

  GroupFiles& Files() { return files_; }

  // Writes the strip's tabs as the group's lines. Throws PlatformError when the file cannot be
  // written; an existing group is then kept whole.
  void SaveGroup(const std::string& name);
  // Writes the tabs as the group's lines as they are known, asking and telling nothing and
  // asking no browser anything: the user's session is ending. With no tab the group is kept.
  // Throws PlatformError as SaveGroup does.
  void StoreGroupQuietly(const std::string& name);
  // Asks first when the user wants warnings, then opens the group's sites.
  void OpenGroup(const std::string& name);
  // Opens the sites in the user's default browser when that applies (their windows get their
  // tabs as they appear), else one shell browser per site, each with its tab, short name and URL.
  // `groupName` names the one window that holds a group's sites as tabs.
  void OpenSites(std::span<const SiteRef> sites, const std::string& groupName = "");
  // Closes the browser windows and removes their tabs; costs grow linearly with the count.
  void CloseWindows(std::span<const WindowHandle> windows);

  // Menu commands; failures are shown in a message box.
  void SaveDefaultGroup();
  void OpenEmptyBrowser();
  void AddActiveTabToDefaultGroup();

 private:
  // False when there is no tab to write. Windows whose addresses cannot be read are left out
  // and named in `unsaved`.
  bool WriteTabs(const std::string& name, bool reloadFirstTab, std::string& unsaved);
  // The line of a tab in a group file, or nothing for a browser window whose address is not
  // known; its name is then added to `unsaved`.
  std::optional<std::string> GroupLine(int index, std::string& unsaved);
  void ReportUnsaved(const std::string& unsaved);

  StripController& strip_;
  Browsers& browsers_;
  const Options& options_;
  GroupFiles& files_;
  IPrompts& prompts_;
};

}  // namespace wendrel
