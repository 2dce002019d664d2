#include "store/settings.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <variant>

#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/text_file.h"
#include "platform/types.h"

namespace wendrel {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

using Field = std::variant<bool Settings::*, OpenInChoice Settings::*, std::vector<std::string> Settings::*>;

struct Key {
  const char* name;
  Field field;
};

// Every setting, in the order the file and `show settings` list them.
const Key kKeys[] = {
    {"TrackBrowsers", &Settings::TrackBrowsers},
    {"ReadAddresses", &Settings::ReadAddresses},
    {"OpenIn", &Settings::OpenIn},
    {"Browsers", &Settings::Browsers},
    {"SitesAsTabs", &Settings::SitesAsTabs},
    {kStartWithWindows, &Settings::StartWithWindows},
};

const Key* FindKey(std::string_view name) {
  for (const Key& key : kKeys) {
    if (EqualsNoCase(key.name, name)) return &key;
  }
  return nullptr;
}

struct ValueText {
  std::string operator()(bool Settings::*field) const { return settings.*field ? "yes" : "no"; }
  std::string operator()(OpenInChoice Settings::*field) const {
    return settings.*field == OpenInChoice::kShell ? "shell" : "default";
  }
  std::string operator()(std::vector<std::string> Settings::*field) const {
    std::string text;
    for (const std::string& name : settings.*field) text += (text.empty() ? "" : " ") + name;
    return text;
  }
  const Settings& settings;
};

struct ValueReader {
  bool operator()(bool Settings::*field) const {
    if (EqualsNoCase(value, "yes")) {
      settings.*field = true;
    } else if (EqualsNoCase(value, "no")) {
      settings.*field = false;
    } else {
      return false;
    }
    return true;
  }
  bool operator()(OpenInChoice Settings::*field) const {
    if (EqualsNoCase(value, "default")) {
      settings.*field = OpenInChoice::kDefault;
    } else if (EqualsNoCase(value, "shell")) {
      settings.*field = OpenInChoice::kShell;
    } else {
      return false;
    }
    return true;
  }
  // Image names between blanks or commas; a name holding a folder or a drive is not an image name.
  bool operator()(std::vector<std::string> Settings::*field) const {
    std::vector<std::string> names;
    size_t at = 0;
    while (at < value.size()) {
      const auto isSeparator = [](char c) { return IsBlank(c) || c == ','; };
      while (at < value.size() && isSeparator(value[at])) ++at;
      const size_t start = at;
      while (at < value.size() && !isSeparator(value[at])) ++at;
      if (at == start) break;
      const std::string_view name = value.substr(start, at - start);
      if (name.find_first_of("\\/:\"") != std::string_view::npos) return false;
      names.emplace_back(name);
    }
    settings.*field = std::move(names);
    return true;
  }
  Settings& settings;
  std::string_view value;
};

// The key of a `key=value` line, or nothing for any other line.
std::optional<std::pair<std::string_view, std::string_view>> SplitLine(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return std::make_pair(TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)));
}

}  // namespace

bool Settings::IsListedBrowser(std::string_view imageName) const {
  return std::any_of(Browsers.begin(), Browsers.end(),
                     [&](const std::string& name) { return EqualsNoCase(name, imageName); });
}

std::vector<std::string> SettingKeys() {
  std::vector<std::string> keys;
  for (const Key& key : kKeys) keys.emplace_back(key.name);
  return keys;
}

std::string SettingValue(const Settings& settings, std::string_view name) {
  const Key* key = FindKey(name);
  return key ? std::visit(ValueText{settings}, key->field) : std::string();
}

bool SetSetting(Settings& settings, std::string_view name, std::string_view value) {
  const Key* key = FindKey(name);
  if (!key) return false;
  Settings changed = settings;
  if (!std::visit(ValueReader{changed, TrimBlanks(value)}, key->field)) return false;
  settings = std::move(changed);
  return true;
}

SettingsText ParseSettings(std::string_view bytes) {
  SettingsText read;
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    read.byteOrderMark = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    read.lines.emplace_back(line);
    const auto pair = SplitLine(line);
    if (!pair || !FindKey(pair->first)) continue;
    const std::string name = FindKey(pair->first)->name;
    std::erase(read.unreadable, name);
    if (!SetSetting(read.settings, name, pair->second)) {
      // The key keeps its default, also over an earlier line that could be read.
      SetSetting(read.settings, name, SettingValue(Settings{}, name));
      read.unreadable.push_back(name);
    }
  }
  return read;
}

std::string SerializeSettings(const Settings& settings, const SettingsText& read) {
  std::string text = read.byteOrderMark ? std::string(kUtf8Bom) : std::string();
  std::vector<bool> written(std::size(kKeys), false);
  for (const std::string& line : read.lines) {
    const auto pair = SplitLine(line);
    const Key* key = pair ? FindKey(pair->first) : nullptr;
    if (!key) {
      text += line + "\r\n";
      continue;
    }
    written[static_cast<size_t>(key - kKeys)] = true;
    text += std::string(key->name) + "=" + std::visit(ValueText{settings}, key->field) + "\r\n";
  }
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    if (!written[i])
      text += std::string(kKeys[i].name) + "=" + std::visit(ValueText{settings}, kKeys[i].field) + "\r\n";
  }
  return text;
}

SettingsFile::SettingsFile(Settings& settings, IFileSystem& files, IPrompts& prompts, std::string folder)
    : settings_(settings), files_(files), prompts_(prompts), folder_(std::move(folder)) {}

std::string SettingsFile::Path() const { return folder_ + "\\Wendrel.ini"; }

void SettingsFile::Read() {
  settings_ = Settings{};
  read_ = SettingsText{};
  std::string bytes;
  try {
    if (!files_.FileExists(Path())) return;
    bytes = files_.ReadFile(Path());
  } catch (const PlatformError& error) {
    prompts_.MessageBox(
        "Wendrel.ini could not be read (" + error.Description() + "). The settings keep their defaults.",
        Buttons::kOk, "WENDREL");
    return;
  }
  read_ = ParseSettings(bytes);
  settings_ = read_.settings;
  if (read_.unreadable.empty()) return;
  std::string names;
  for (const std::string& name : read_.unreadable) names += (names.empty() ? "" : ", ") + name;
  prompts_.MessageBox("Wendrel.ini: the value of " + names +
                          " cannot be read; the default is used until the Options page saves the settings.",
                      Buttons::kOk, "WENDREL");
}

void SettingsFile::Write() {
  const std::string bytes = SerializeSettings(settings_, read_);
  files_.ReplaceFile(Path(), bytes);
  read_ = ParseSettings(bytes);
}

}  // namespace wendrel
