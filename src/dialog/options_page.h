// The dialog's Options page: six yes/no questions and three texts, and the Wendrel.ini
// settings, shown from the stored options and settings and written back to their files only
// when the user presses Update.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wendrel {

class DialogFrame;
class GroupFiles;
class ISignIn;
class OptionsFile;
class SettingsFile;
struct Options;

enum class OptionChoice { kNone, kYes, kNo };

// The numeric test of the caption width: blanks, an optional sign, digits with an optional
// decimal point, an optional exponent, blanks.
std::optional<double> ParseNumber(const std::string& text);

class OptionsPage {
 public:
  static constexpr int kQuestions = 6;

  // `settingsChanged` runs after the page has written new settings, so that they take effect.
  OptionsPage(DialogFrame& frame, Options& options, OptionsFile& optionsFile, SettingsFile& settingsFile,
              GroupFiles& groupFiles, ISignIn& signIn, std::function<void()> settingsChanged);
  OptionsPage(const OptionsPage&) = delete;
  OptionsPage& operator=(const OptionsPage&) = delete;

  // Puts the stored options into the page's controls; edits not yet saved are dropped.
  void ShowStoredOptions();
  // Checks the page's texts, stores the options and writes the options file.
  void SaveOptions();

  OptionChoice Choice(int question) const { return choices_.at(static_cast<size_t>(question)); }
  void Choose(int question, bool yes);
  // The text of a setting's control, as the file spells the value; false for a key that is
  // not a setting.
  bool SetSettingText(const std::string& key, const std::string& value);
  const std::vector<std::pair<std::string, std::string>>& SettingTexts() const { return settingTexts_; }

 private:
  DialogFrame& frame_;
  Options& options_;
  OptionsFile& optionsFile_;
  SettingsFile& settingsFile_;
  GroupFiles& groupFiles_;
  ISignIn& signIn_;
  std::function<void()> settingsChanged_;
  std::vector<std::pair<std::string, std::string>> settingTexts_;
  std::array<OptionChoice, kQuestions> choices_{};
};

}  // namespace wendrel
