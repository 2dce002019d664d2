// The dialog's Options page: six yes/no questions and three texts, shown from the stored
// options and written back to the options file only when the user presses Update.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace wendrel {

class DialogFrame;
class GroupFiles;
class OptionsFile;
struct Options;

enum class OptionChoice { kNone, kYes, kNo };

// The numeric test of the caption width: blanks, an optional sign, digits with an optional
// decimal point, an optional exponent, blanks.
std::optional<double> ParseNumber(const std::string& text);

class OptionsPage {
 public:
  static constexpr int kQuestions = 6;

  OptionsPage(DialogFrame& frame, Options& options, OptionsFile& optionsFile, GroupFiles& groupFiles);
  OptionsPage(const OptionsPage&) = delete;
  OptionsPage& operator=(const OptionsPage&) = delete;

  // Puts the stored options into the page's controls; edits not yet saved are dropped.
  void ShowStoredOptions();
  // Checks the page's texts, stores the options and writes the options file.
  void SaveOptions();

  OptionChoice Choice(int question) const { return choices_.at(static_cast<size_t>(question)); }
  void Choose(int question, bool yes);

 private:
  DialogFrame& frame_;
  Options& options_;
  OptionsFile& optionsFile_;
  GroupFiles& groupFiles_;
  std::array<OptionChoice, kQuestions> choices_{};
};

}  // namespace wendrel
