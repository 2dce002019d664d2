#include "store/groups.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/prompts.h"
#include "store/browsers.h"
#include "store/options.h"
#include "strip/caption.h"
#include "strip/strip_controller.h"

namespace wendrel {
namespace {

std::string_view TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return upper;
}

// Windows opens a device for these names whatever extension follows and whatever blanks come
// before the extension.
bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = UpperAscii(base);
  static const std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
  if (!upper.starts_with("COM") && !upper.starts_with("LPT")) return false;
  const std::string_view number = std::string_view(upper).substr(3);
  if (number.size() == 1 && number[0] >= '0' && number[0] <= '9') return true;
  // The superscript digits one to three, in UTF-8 and as the single bytes of Windows-1252.
  static const std::array<std::string_view, 6> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3",
                                                                "\xB9",     "\xB2",     "\xB3"};
  return std::find(kSuperscripts.begin(), kSuperscripts.end(), number) != kSuperscripts.end();
}

}  // namespace

bool IsValidName(std::string& name) {
  name = TrimBlanks(name);
  if (name.empty()) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == ';' || c == ',' || c == '\'' || c == '"' || c == ':' || static_cast<unsigned char>(c) < 32;
  });
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  const bool forbidden = std::any_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 ||
           std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
  });
  return !forbidden && !IsDeviceName(name);
}

std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;  // a character starts here
    if (byte >= 0xF0) ++units;           // beyond the basic plane: a surrogate pair
  }
  return units;
}

std::vector<SiteRef> ParseGroupFile(std::string_view text) {
  std::vector<SiteRef> entries;
  // One entry at most per line: reserving for every line spares the copies of a growing list.
  entries.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\r')) + 1);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\r', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (const size_t comma = line.find(','); comma != std::string_view::npos) {
      entries.push_back(SiteRef{line.substr(0, comma), line.substr(comma + 1)});
    }
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return entries;
}

GroupStore::GroupStore(StripController& strip, Browsers& browsers, Options& options, IFileSystem& files,
                       IPrompts& prompts)
    : strip_(strip), browsers_(browsers), options_(options), files_(files), prompts_(prompts) {}

std::string GroupStore::GroupsFolder() const { return files_.ProgramFolder() + "\\Groups"; }

std::string GroupStore::GroupFilePath(const std::string& name) const {
  // Names reach here from the options file (edited by hand, perhaps), from the folder listing
  // and from what the user types: none may lead outside the Groups folder or to a device.
  if (!IsPlainFileName(name)) throw PlatformError("Bad file name or number");
  std::string path = files_.ProgramFolder() + "\\Groups\\" + name + ".WDX";
  if (Utf16Length(path) > kMaxPathUnits) throw PlatformError("The group name is too long for a file name.");
  return path;
}

void GroupStore::ShowFailure(const std::string& what, const PlatformError& error) {
  prompts_.MessageBox(what + error.Description(), Buttons::kOk, "Wendrel");
}

void GroupStore::WriteGroup(const std::string& name, std::string_view content) {
  files_.ReplaceFile(GroupFilePath(name), content);
  if (written_) written_(name);
}

void GroupStore::AppendToGroup(const std::string& name, std::string_view lines) {
  const std::string path = GroupFilePath(name);
  std::string content = files_.FileExists(path) ? files_.ReadFile(path) : std::string();
  content += lines;
  files_.ReplaceFile(path, content);
  if (written_) written_(name);
}

void GroupStore::SaveGroup(const std::string& name) {
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() == 0) {
    prompts_.MessageBox(
        "As there are no IE windows open, the details have not been stored in any Group and no existing "
        "Group "
        "has been modified.",
        Buttons::kOk, "Wendrel");
    return;
  }
  const std::string path = GroupFilePath(name);
  try {
    files_.CreateFolder(GroupsFolder());
  } catch (const PlatformError&) {
    // The folder exists already, or cannot be made; opening the file will tell.
  }
  strip_.RefreshFirstTab();
  std::string content;
  for (int i = 1; i <= tabs.Count(); ++i) {
    std::string tag = TrimBlanks(tabs.At(i).Tag);
    if (tag.empty()) tag = " ";
    content += tag + "," + TrimBlanks(tabs.At(i).ToolTipText) + "\r\n";
  }
  files_.ReplaceFile(path, content);
  if (written_) written_(name);
  prompts_.MessageBox("The details have been saved as the Group " + name + ".", Buttons::kOk, "Wendrel");
}

void GroupStore::OpenGroup(const std::string& name) {
  if (options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to open the Group " + name + "?",
                                                   Buttons::kYesNo, "WENDREL") == Answer::kNo) {
    return;
  }
  std::string text;
  try {
    text = files_.ReadFile(GroupFilePath(name));
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while opening the group:", error);
    return;
  }
  // The sites are views into the file's text, which stays whole until they are all open.
  std::vector<SiteRef> sites = ParseGroupFile(text);
  for (SiteRef& site : sites) site.shortName = TrimSpaces(site.shortName);
  OpenSites(sites);
}

void GroupStore::OpenSites(std::span<const SiteRef> sites) {
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
    ShowFailure("Error encountered while opening a browser:", error);
  }
  strip_.ResumeWatcher();
  strip_.ScheduleReconcile(100);
}

void GroupStore::CloseWindows(std::span<const WindowHandle> windows) {
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

void GroupStore::SaveDefaultGroup() {
  try {
    SaveGroup(options_.DefaultGroup);
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while saving the group:", error);
  }
}

void GroupStore::OpenEmptyBrowser() {
  std::string name;
  std::string url;
  try {
    browsers_.OpenNew("", name, url);
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while opening a browser:", error);
  }
}

void GroupStore::AddActiveTabToDefaultGroup() {
  std::string lines = "\r\n";
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() >= 1) {
    const Tab& tab = tabs.At(tabs.SelectedIndex());
    lines += tab.Tag + "," + tab.ToolTipText + "\r\n";
  }
  try {
    AppendToGroup(options_.DefaultGroup, lines);
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while adding to the group:", error);
  }
}

}  // namespace wendrel
