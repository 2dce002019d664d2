#include "session/group_session.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/prompts.h"
#include "platform/utf8.h"
#include "store/browsers.h"
#include "store/options.h"
#include "strip/strip_controller.h"

namespace wendrel {
GroupSession::GroupSession(StripController& strip, Browsers& browsers, const Options& options,
                           GroupFiles& files, IPrompts& prompts)
    : strip_(strip), browsers_(browsers), options_(options), files_(files), prompts_(prompts) {}

void GroupSession::SaveGroup(const std::string& name) {
  std::string unsaved;
  if (!WriteTabs(name, /*reloadFirstTab=*/true, unsaved)) {
    prompts_.MessageBox(
        "As there are no IE windows open, the details have not been stored in any Group and no existing "
        "Group "
        "has been modified.",
        Buttons::kOk, "Wendrel");
    return;
  }
  prompts_.MessageBox("The details have been saved as the Group " + name + ".", Buttons::kOk, "Wendrel");
  ReportUnsaved(unsaved);
}

void GroupSession::StoreGroupQuietly(const std::string& name) {
  std::string unsaved;  // nobody can be told at the end of the session
  WriteTabs(name, /*reloadFirstTab=*/false, unsaved);
}

bool GroupSession::WriteTabs(const std::string& name, bool reloadFirstTab, std::string& unsaved) {
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() == 0) return false;
  files_.GroupFilePath(name);  // a name that cannot be a file fails before anything changes
  files_.EnsureGroupsFolder();
  // While the session ends a browser may be unable to answer, and a reloaded page is not needed.
  if (reloadFirstTab) strip_.RefreshFirstTab();
  std::string content;
  for (int i = 1; i <= tabs.Count(); ++i) {
    if (const auto line = GroupLine(i, unsaved)) content += *line;
  }
  files_.WriteGroup(name, content);
  return true;
}

std::optional<std::string> GroupSession::GroupLine(int index, std::string& unsaved) {
  const Tab& tab = strip_.Tabs().At(index);
  std::string tag(TrimSpaces(tab.Tag));
  std::string url(TrimSpaces(tab.ToolTipText));
  const WindowHandle window = strip_.Tabs().HandleAt(index);
  if (browsers_.IsAppWindow(window)) {
    const auto address = browsers_.AppAddress(window);
    if (!address) {
      unsaved += "\r\n" + (tag.empty() ? browsers_.AppTitle(window) : tag);
      return std::nullopt;
    }
    url = *address;
  }
  if (tag.empty()) tag = " ";
  return tag + "," + url + "\r\n";
}

void GroupSession::ReportUnsaved(const std::string& unsaved) {
  if (unsaved.empty()) return;
  prompts_.MessageBox("These windows could not be saved, as their addresses cannot be read:" + unsaved,
                      Buttons::kOk, "Wendrel");
}

void GroupSession::OpenGroup(const std::string& name) {
  if (options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to open the Group " + name + "?",
                                                   Buttons::kYesNo, "WENDREL") == Answer::kNo) {
    return;
  }
  std::string text;
  try {
    text = files_.ReadGroup(name);
  } catch (const PlatformError& error) {
    files_.ShowFailure("Error encountered while opening the group:", error);
    return;
  }
  // The sites are views into the file's text, which stays whole until they are all open.
  std::vector<SiteRef> sites = ParseGroupFile(text);
  for (SiteRef& site : sites) site.shortName = TrimSpaces(site.shortName);
  OpenSites(sites, name);
}

void GroupSession::OpenSites(std::span<const SiteRef> sites, const std::string& groupName) {
  try {
    if (browsers_.LaunchSites(sites, groupName)) return;
  } catch (const PlatformError& error) {
    files_.ShowFailure("Error encountered while opening a browser:", error);
    return;
  }
  strip_.SuspendWatcher();
  try {
    for (const SiteRef& site : sites) {
      const std::string url(site.url);
      std::string name;
      std::string locationUrl;
      const WindowHandle window = browsers_.OpenNew(url, name, locationUrl);
      TabStrip& tabs = strip_.Tabs();
      const int index = tabs.Add();
      tabs.SetKey(index, KeyOf(window));
      tabs.SetTag(index, std::string(site.shortName));
      tabs.SetToolTipText(index, url);
      strip_.HideFromTaskbar(window);
    }
  } catch (const PlatformError& error) {
    // The sites after the failed one are not opened; the user is told once.
    files_.ShowFailure("Error encountered while opening a browser:", error);
  }
  strip_.ResumeWatcher();
  strip_.ScheduleReconcile(100);
}

void GroupSession::CloseWindows(std::span<const WindowHandle> windows) {
  strip_.SuspendWatcher();
  browsers_.CloseAll(windows);
  // Each listed handle takes away the first tab that holds it and is still there, as removing
  // them one by one would, in one sweep over the tabs.
  std::unordered_map<std::string, int> listed;
  for (const WindowHandle window : windows) ++listed[KeyOf(window)];
  TabStrip& tabs = strip_.Tabs();
  std::vector<bool> remove(static_cast<size_t>(tabs.Count()), false);
  for (int i = 1; i <= tabs.Count(); ++i) {
    const auto found = listed.find(tabs.At(i).Key);
    if (found == listed.end() || found->second == 0) continue;
    --found->second;
    remove[static_cast<size_t>(i - 1)] = true;
  }
  tabs.RemoveMarked(remove);
  strip_.ResumeWatcher();
  strip_.ScheduleReconcile(100);
}

void GroupSession::SaveDefaultGroup() {
  try {
    SaveGroup(options_.DefaultGroup);
  } catch (const PlatformError& error) {
    files_.ShowFailure("Error encountered while saving the group:", error);
  }
}

void GroupSession::OpenEmptyBrowser() {
  std::string name;
  std::string url;
  try {
    const SiteRef blank[] = {{"", ""}};
    if (browsers_.LaunchSites(blank, "")) return;
    browsers_.OpenNew("", name, url);
  } catch (const PlatformError& error) {
    files_.ShowFailure("Error encountered while opening a browser:", error);
  }
}

void GroupSession::AddActiveTabToDefaultGroup() {
  std::string lines = "\r\n";
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() >= 1) {
    const int index = tabs.SelectedIndex();
    const Tab& tab = tabs.At(index);
    const WindowHandle window = tabs.HandleAt(index);
    std::string url = tab.ToolTipText;
    if (browsers_.IsAppWindow(window)) {
      const auto address = browsers_.AppAddress(window);
      if (!address) {
        ReportUnsaved("\r\n" + (TrimSpaces(tab.Tag).empty() ? browsers_.AppTitle(window) : tab.Tag));
        return;
      }
      url = *address;
    }
    lines += tab.Tag + "," + url + "\r\n";
  }
  try {
    files_.AppendToGroup(options_.DefaultGroup, lines);
  } catch (const PlatformError& error) {
    files_.ShowFailure("Error encountered while adding to the group:", error);
  }
}

}  // namespace wendrel
