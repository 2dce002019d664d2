#include "store/groups.h"

#include <algorithm>
#include <array>

#include "platform/file_system.h"
#include "platform/prompts.h"
#include "store/browser_ops.h"
#include "store/options.h"
#include "strip/caption.h"
#include "strip/main_form.h"

namespace wendrel {

bool IsValidName(std::string& name) {
  name = TrimBlanks(name);
  if (name.empty()) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == ';' || c == ',' || c == '\'' || c == '"' || c == ':' || static_cast<unsigned char>(c) < 32;
  });
}

bool IsValidGroupName(std::string& name) {
  if (!IsValidName(name)) return false;
  if (name.find_first_of("\\/*?<>|") != std::string::npos) return false;
  if (name.back() == '.') return false;
  std::string base = TrimBlanks(name.substr(0, name.find('.')));
  std::transform(base.begin(), base.end(), base.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  static const std::array<const char*, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) return false;
  if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
      base[3] <= '9') {
    return false;
  }
  return true;
}

std::string NextField(std::string& remaining, const std::string& separator) {
  const size_t at = remaining.find(separator);
  if (at == std::string::npos) {
    std::string field = TrimBlanks(remaining);
    remaining.clear();
    return field;
  }
  std::string field = remaining.substr(0, at);
  remaining.erase(0, at + separator.size());
  return field;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\r', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::vector<std::pair<std::string, std::string>> ParseGroupFile(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const std::string& line : SplitLines(text)) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    entries.emplace_back(line.substr(0, comma), line.substr(comma + 1));
  }
  return entries;
}

GroupStore::GroupStore(MainForm& mainForm, BrowserOps& browsers, Options& options, IFileSystem& files,
                       IPrompts& prompts)
    : mainForm_(mainForm), browsers_(browsers), options_(options), files_(files), prompts_(prompts) {}

std::string GroupStore::GroupsFolder() const { return files_.ProgramFolder() + "\\Groups"; }

std::string GroupStore::GroupFilePath(const std::string& name) const {
  return files_.ProgramFolder() + "\\Groups\\" + name + ".WDX";
}

void GroupStore::ShowFailure(const std::string& what, const PlatformError& error) {
  prompts_.MessageBox(what + error.Description(), Buttons::kOk, "Wendrel");
}

namespace {

// The default group's name comes from the options file, which a user may edit by hand: a name
// that could write outside the Groups folder or open a device is refused before any file is
// touched.
void CheckGroupName(const std::string& name) {
  std::string checked = name;
  if (!IsValidGroupName(checked) || checked != name) throw PlatformError("Bad file name or number");
}

}  // namespace

void GroupStore::SaveGroup(const std::string& name) {
  TabStrip& tabs = mainForm_.Tabs();
  if (tabs.Count() == 0) {
    prompts_.MessageBox(
        "As there are no IE windows open, the details have not been stored in any Group and no existing "
        "Group "
        "has been modified.",
        Buttons::kOk, "Wendrel");
    return;
  }
  CheckGroupName(name);
  try {
    files_.CreateFolder(GroupsFolder());
  } catch (const PlatformError&) {
    // The folder exists already, or cannot be made; opening the file will tell.
  }
  mainForm_.RefreshFirstTab();
  std::string content;
  for (int i = 1; i <= tabs.Count(); ++i) {
    std::string tag = TrimBlanks(tabs.At(i).Tag);
    if (tag.empty()) tag = " ";
    content += tag + "," + TrimBlanks(tabs.At(i).ToolTipText) + "\r\n";
  }
  files_.ReplaceFile(GroupFilePath(name), content);
  prompts_.MessageBox("The details have been saved as the Group " + name + ".", Buttons::kOk, "Wendrel");
}

void GroupStore::StartGroup(const std::string& sGrName) {
  if (options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to open the Group " + sGrName + "?",
                                                   Buttons::kYesNo, "WENDREL") == Answer::kNo) {
    return;
  }
  std::string text;
  try {
    text = files_.ReadFile(GroupFilePath(sGrName));
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while opening the group:", error);
    return;
  }
  std::string list;
  for (const auto& [shortName, url] : ParseGroupFile(text)) list += TrimBlanks(shortName) + "\t" + url + "\t";
  StartGroupStr(list);
}

void GroupStore::StartGroupStr(const std::string& sShortNURL) {
  std::string remaining = sShortNURL;
  mainForm_.SuspendWatcher();
  try {
    while (!remaining.empty()) {
      const std::string shortName = NextField(remaining, "\t");
      const std::string url = NextField(remaining, "\t");
      std::string name;
      std::string locationUrl;
      const WindowHandle window = browsers_.OpenNewIE(url, name, locationUrl);
      TabStrip& tabs = mainForm_.Tabs();
      const int index = tabs.Add();
      tabs.SetKey(index, KeyOf(window));
      tabs.SetTag(index, shortName);
      tabs.SetToolTipText(index, url);
      mainForm_.HideFromTaskbar(window);
    }
  } catch (const PlatformError& error) {
    // The sites after the failed one are not opened; the user is told once.
    ShowFailure("Error encountered while opening a browser:", error);
  }
  mainForm_.ResumeWatcher();
  mainForm_.ActivateTimer(100);
}

void GroupStore::DeleteSetStr(const std::string& sHandles) {
  std::string remaining = sHandles;
  mainForm_.SuspendWatcher();
  TabStrip& tabs = mainForm_.Tabs();
  while (!remaining.empty()) {
    const std::string field = NextField(remaining, "\t");
    const std::string key = "H" + field;
    const int index = tabs.Find(key);
    if (const auto window = HandleOfKey(key)) browsers_.CloseIEByHandle(*window);
    if (index != 0) tabs.Remove(index);
  }
  mainForm_.ResumeWatcher();
  mainForm_.ActivateTimer(100);
}

void GroupStore::mSaveGroup_Click() {
  try {
    SaveGroup(options_.DefaultGroup);
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while saving the group:", error);
  }
}

void GroupStore::m_OpenIE_Click() {
  std::string name;
  std::string url;
  try {
    browsers_.OpenNewIE("", name, url);
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while opening a browser:", error);
  }
}

void GroupStore::m_AddToDefault_Click() {
  std::string lines = "\r\n";
  TabStrip& tabs = mainForm_.Tabs();
  if (tabs.Count() >= 1) {
    const Tab& tab = tabs.At(tabs.SelectedIndex());
    lines += tab.Tag + "," + tab.ToolTipText + "\r\n";
  }
  try {
    CheckGroupName(options_.DefaultGroup);
    files_.AppendFile(GroupFilePath(options_.DefaultGroup), lines);
  } catch (const PlatformError& error) {
    ShowFailure("Error encountered while adding to the group:", error);
  }
}

}  // namespace wendrel
