// The settings of Wendrel.ini (key=value lines beside Wendrel.CFG), their reader and writer, and
// the file. A key is one field of Settings and one row of its table in settings.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

class IFileSystem;
class IPrompts;

enum class OpenInChoice { kDefault, kShell };

struct Settings {
  // Today's browsers' windows get tabs.
  bool TrackBrowsers = true;
  // Their addresses are read through the accessibility interfaces.
  bool ReadAddresses = true;
  // Sites open in the user's default browser when it is listed below, or through the shell.
  OpenInChoice OpenIn = OpenInChoice::kDefault;
  // The browsers' image names, as the user wrote them.
  std::vector<std::string> Browsers = {"msedge.exe",  "chrome.exe", "brave.exe",
                                       "vivaldi.exe", "opera.exe",  "firefox.exe"};
  // A group's sites open as the tabs of one browser window (where the browser can).
  bool SitesAsTabs = false;
  // Windows starts Wendrel when the user signs in (the system's own list is the truth).
  bool StartWithWindows = false;

  bool operator==(const Settings&) const = default;

  // The image name is in the Browsers list, letter case aside.
  bool IsListedBrowser(std::string_view imageName) const;
};

inline constexpr const char* kStartWithWindows = "StartWithWindows";

// One `key=value` line per setting, in this order.
std::vector<std::string> SettingKeys();
// The value as the file spells it; empty for a key that is not a setting.
std::string SettingValue(const Settings& settings, std::string_view key);
// Sets a key from its spelling in the file; false (and nothing changed) for a value it cannot
// read or a key that is not a setting.
bool SetSetting(Settings& settings, std::string_view key, std::string_view value);

struct SettingsText {
  Settings settings;
  // The file's lines as read, without line ends: the writer keeps every line that is not a
  // known key where it was.
  std::vector<std::string> lines;
  bool byteOrderMark = false;
  // The known keys whose value could not be read, in file order: they keep their defaults.
  std::vector<std::string> unreadable;
};

// Reads the file's bytes: UTF-8 with or without a byte-order mark, blanks around `=` ignored,
// keys without regard to letter case, the last line of a key winning. Never fails.
SettingsText ParseSettings(std::string_view bytes);
// The file's bytes for the settings: the lines read, each known key's line(s) holding its value,
// keys the lines lack added at the end; CR LF after each line.
std::string SerializeSettings(const Settings& settings, const SettingsText& read);

class SettingsFile {
 public:
  // `folder` is where the program keeps its files (FilesFolder).
  SettingsFile(Settings& settings, IFileSystem& files, IPrompts& prompts, std::string folder);

  // Defaults, then the file when there is one. A value that cannot be read is named in one
  // message and keeps its default; the file is left as it is.
  void Read();
  // Writes the settings, keeping the lines it does not know; throws PlatformError when the file
  // cannot be written, leaving the file on disk as it was.
  void Write();

  std::string Path() const;
  Settings& Values() { return settings_; }
  // The file holds a value that could not be read: saving writes it anew even unchanged.
  bool HasUnreadable() const { return !read_.unreadable.empty(); }

 private:
  Settings& settings_;
  IFileSystem& files_;
  IPrompts& prompts_;
  std::string folder_;
  SettingsText read_;
};

}  // namespace wendrel
