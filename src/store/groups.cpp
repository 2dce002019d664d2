#include "store/groups.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/utf8.h"

namespace wendrel {
namespace {

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
  name = std::string(TrimSpaces(name));
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

GroupFiles::GroupFiles(IFileSystem& files, IPrompts& prompts, std::string folder)
    : files_(files), prompts_(prompts), folder_(std::move(folder)) {}

std::string GroupFiles::GroupsFolder() const { return folder_ + "\\Groups"; }

std::string GroupFiles::GroupFilePath(const std::string& name) const {
  // Names reach here from the options file (edited by hand, perhaps), from the folder listing
  // and from what the user types: none may lead outside the Groups folder or to a device.
  if (!IsPlainFileName(name)) throw PlatformError("Bad file name or number");
  std::string path = GroupsFolder() + "\\" + name + ".WDX";
  if (Utf16Length(path) > kMaxPathUnits) throw PlatformError("The group name is too long for a file name.");
  return path;
}

void GroupFiles::ShowFailure(const std::string& what, const PlatformError& error) {
  prompts_.MessageBox(what + error.Description(), Buttons::kOk, "Wendrel");
}

void GroupFiles::WriteGroup(const std::string& name, std::string_view content) {
  files_.ReplaceFile(GroupFilePath(name), content);
  if (written_) written_(name);
}

void GroupFiles::AppendToGroup(const std::string& name, std::string_view lines) {
  // The lines nobody touched keep their bytes, even those a reader would not take as text.
  files_.AppendInOneStep(GroupFilePath(name), lines);
  if (written_) written_(name);
}

std::string GroupFiles::ReadGroup(const std::string& name) const {
  return files_.ReadFile(GroupFilePath(name));
}

void GroupFiles::EnsureGroupsFolder() {
  try {
    files_.CreateFolder(GroupsFolder());
  } catch (const PlatformError&) {
    // The folder exists already, or cannot be made; writing the file will tell.
  }
}

}  // namespace wendrel
