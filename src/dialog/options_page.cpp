#include "dialog/options_page.h"

#include <cctype>
#include <cstdlib>
#include <utility>

#include "dialog/control_names.h"
#include "dialog/dialog_frame.h"
#include "platform/sign_in.h"
#include "platform/types.h"
#include "store/groups.h"
#include "store/options.h"
#include "store/settings.h"

namespace wendrel {

std::optional<double> ParseNumber(const std::string& text) {
  size_t i = 0;
  auto blanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  auto digits = [&] {
    const size_t start = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    return i - start;
  };
  blanks();
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t count = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    count += digits();
  }
  if (count == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  const size_t end = i;
  blanks();
  if (i != text.size()) return std::nullopt;
  return std::strtod(text.substr(start, end - start).c_str(), nullptr);
}

OptionsPage::OptionsPage(DialogFrame& frame, Options& options, OptionsFile& optionsFile,
                         SettingsFile& settingsFile, GroupFiles& groupFiles, ISignIn& signIn,
                         std::function<void()> settingsChanged)
    : frame_(frame),
      options_(options),
      optionsFile_(optionsFile),
      settingsFile_(settingsFile),
      groupFiles_(groupFiles),
      signIn_(signIn),
      settingsChanged_(std::move(settingsChanged)) {}

bool OptionsPage::SetSettingText(const std::string& key, const std::string& value) {
  for (auto& [name, text] : settingTexts_) {
    if (name == key) {
      text = value;
      return true;
    }
  }
  return false;
}

void OptionsPage::Choose(int question, bool yes) {
  choices_.at(static_cast<size_t>(question)) = yes ? OptionChoice::kYes : OptionChoice::kNo;
}

void OptionsPage::ShowStoredOptions() {
  const bool values[] = {options_.MultiLine,    options_.LeaveOnExit, options_.SaveOnExit,
                         options_.ShowWarnings, options_.StartGroup,  options_.ConfirmGroup};
  for (size_t i = 0; i < choices_.size(); ++i)
    choices_[i] = values[i] ? OptionChoice::kYes : OptionChoice::kNo;
  frame_.SetText(controls::kDefaultGroupBox, options_.DefaultGroup);
  frame_.SetText(controls::kDefaultNameBox, options_.DefaultName);
  frame_.SetText(controls::kCaptionWidthBox, std::to_string(options_.CaptionWidth));
  settingTexts_.clear();
  for (const std::string& key : SettingKeys()) {
    settingTexts_.emplace_back(key, SettingValue(settingsFile_.Values(), key));
  }
  // Whether Wendrel starts at sign-in is what the system has now, whatever Wendrel.ini says:
  // the user may have taken it out of the list elsewhere.
  SetSettingText(kStartWithWindows, signIn_.StartsThisProgram() ? "yes" : "no");
}

void OptionsPage::SaveOptions() {
  std::string group = frame_.Text(controls::kDefaultGroupBox);
  std::string name = frame_.Text(controls::kDefaultNameBox);
  const char kInvalidName[] = "Please enter a valid name (without any special character.)";
  if (!IsValidName(group) || !IsPlainFileName(group)) {
    frame_.Message(kInvalidName);
    frame_.SetFocus(controls::kDefaultGroupBox);
    return;
  }
  try {
    groupFiles_.GroupFilePath(group);
  } catch (const PlatformError& error) {
    frame_.Message(error.Description());
    frame_.SetFocus(controls::kDefaultGroupBox);
    return;
  }
  if (!IsValidName(name)) {
    frame_.Message(kInvalidName);
    frame_.SetFocus(controls::kDefaultNameBox);
    return;
  }
  const auto number = ParseNumber(frame_.Text(controls::kCaptionWidthBox));
  if (!number || *number >= 2147483647.5 || *number < -2147483648.5) {
    frame_.Message("Please enter a valid number");
    frame_.SetFocus(controls::kCaptionWidthBox);
    return;
  }
  Settings settings = settingsFile_.Values();
  for (const auto& [key, text] : settingTexts_) {
    if (!SetSetting(settings, key, text)) {
      frame_.Message("Please enter a valid value for " + key);
      return;
    }
  }
  auto yes = [this](int i) { return choices_[static_cast<size_t>(i)] == OptionChoice::kYes; };
  options_.MultiLine = yes(0);
  options_.LeaveOnExit = yes(1);
  options_.SaveOnExit = yes(2);
  options_.ShowWarnings = yes(3);
  options_.StartGroup = yes(4);
  options_.ConfirmGroup = yes(5);
  options_.DefaultGroup = group;
  options_.DefaultName = name;
  options_.CaptionWidth = RoundHalfEven(*number);
  try {
    optionsFile_.Write();
  } catch (const PlatformError& error) {
    groupFiles_.ShowFailure("Error encountered while writing the options:", error);
    return;
  }
  try {
    if (settings.StartWithWindows != signIn_.StartsThisProgram()) {
      signIn_.SetStartsThisProgram(settings.StartWithWindows);
    }
  } catch (const PlatformError& error) {
    groupFiles_.ShowFailure("Error encountered while changing the programs started at sign-in:", error);
    return;
  }
  // Wendrel.ini is only written when the page changes a setting or replaces a value that
  // could not be read.
  const Settings before = settingsFile_.Values();
  if (settings != before || settingsFile_.HasUnreadable()) {
    settingsFile_.Values() = settings;
    try {
      settingsFile_.Write();
    } catch (const PlatformError& error) {
      settingsFile_.Values() = before;
      groupFiles_.ShowFailure("Error encountered while writing the settings:", error);
      return;
    }
    if (settingsChanged_) settingsChanged_();
  }
  frame_.Message("Options updated. They will be reflected as soon as possible.");
}

}  // namespace wendrel
