#include "store/options.h"

#include <charconv>
#include <utility>

#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/types.h"

namespace wendrel {
namespace {

const char kHeader[] =
    "\"Default Group Default Name MultiLine ConfirmGroup LeaveOnExit SaveOnExit ShowWarnings "
    "StartGroup CaptionWidth\"";

// Reads comma-separated values the way the writer lays them out, and a little more.
class ValueReader {
 public:
  explicit ValueReader(std::string_view text) : text_(text) {}

  // The next value, or nothing at the end of the text.
  std::optional<std::string> Next() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    std::string value;
    if (text_[pos_] == '"') {
      const size_t close = text_.find('"', pos_ + 1);
      if (close == std::string_view::npos) {
        value = text_.substr(pos_ + 1);
        pos_ = text_.size();
        return value;
      }
      value = text_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
      while (pos_ < text_.size() && !IsSeparator(text_[pos_])) ++pos_;
    } else {
      const size_t start = pos_;
      while (pos_ < text_.size() && !IsSeparator(text_[pos_])) ++pos_;
      value = text_.substr(start, pos_ - start);
      while (!value.empty() && value.back() == ' ') value.pop_back();
    }
    SkipSeparator();
    return value;
  }

 private:
  static bool IsSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }
  void SkipSeparator() {
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
      pos_ += 2;
    } else {
      ++pos_;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<bool> ParseBool(std::string_view value) {
  if (EqualsNoCase(value, "#TRUE#") || EqualsNoCase(value, "TRUE")) return true;
  if (EqualsNoCase(value, "#FALSE#") || EqualsNoCase(value, "FALSE")) return false;
  return std::nullopt;
}

std::optional<std::int32_t> ParseInt(std::string_view value) {
  if (!value.empty() && value.front() == '+') value.remove_prefix(1);
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (error != std::errc() || end != value.data() + value.size() || value.empty()) return std::nullopt;
  return number;
}

const char* BoolText(bool value) { return value ? "#TRUE#" : "#FALSE#"; }

}  // namespace

std::optional<std::string> ParseOptions(std::string_view text, Options& options) {
  ValueReader reader(text);
  std::string* strings[] = {&options.DefaultGroup, &options.DefaultName};
  for (std::string* field : strings) {
    auto value = reader.Next();
    if (!value) return "Input past end of file";
    *field = *value;
  }
  bool* flags[] = {&options.MultiLine,  &options.ConfirmGroup, &options.LeaveOnExit,
                   &options.SaveOnExit, &options.ShowWarnings, &options.StartGroup};
  for (bool* field : flags) {
    auto value = reader.Next();
    if (!value) return "Input past end of file";
    auto flag = ParseBool(*value);
    if (!flag) return "Type mismatch";
    *field = *flag;
  }
  auto value = reader.Next();
  if (!value) return "Input past end of file";
  auto width = ParseInt(*value);
  if (!width) return "Type mismatch";
  options.CaptionWidth = *width;
  return std::nullopt;
}

std::string OptionsLine(const Options& options) {
  std::string line;
  line += '"' + options.DefaultGroup + "\",";
  line += '"' + options.DefaultName + "\",";
  for (bool flag : {options.MultiLine, options.ConfirmGroup, options.LeaveOnExit, options.SaveOnExit,
                    options.ShowWarnings, options.StartGroup}) {
    line += BoolText(flag);
    line += ',';
  }
  line += std::to_string(options.CaptionWidth);
  return line;
}

std::string SerializeOptions(const Options& options) {
  return OptionsLine(options) + "\r\n" + kHeader + "\r\n";
}

OptionsFile::OptionsFile(Options& options, IFileSystem& files, IPrompts& prompts, std::string folder)
    : options_(options), files_(files), prompts_(prompts), folder_(std::move(folder)) {}

std::string OptionsFile::Path() const { return folder_ + "\\Wendrel.CFG"; }

void OptionsFile::Read() {
  options_ = Options{};
  std::optional<std::string> error;
  try {
    error = ParseOptions(files_.ReadFile(Path()), options_);
  } catch (const PlatformError& e) {
    error = e.Description();
  }
  if (error) {
    prompts_.MessageBox(
        "Error encountered while reading the options. (Default values have been assumed for certain "
        "options):" +
            *error,
        Buttons::kOkCancel, "WENDREL");
  }
}

void OptionsFile::Write() { files_.ReplaceFile(Path(), SerializeOptions(options_)); }

}  // namespace wendrel
