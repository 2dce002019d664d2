// The nine options, the options file's reader and writer, and the file beside the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wendrel {

class IFileSystem;
class IPrompts;

struct Options {
  bool MultiLine = true;
  bool LeaveOnExit = true;
  bool SaveOnExit = true;
  bool ShowWarnings = true;
  bool StartGroup = false;
  bool ConfirmGroup = true;
  std::string DefaultGroup = "DEFAULT";
  std::string DefaultName = "**UNKNOWN**";
  std::int32_t CaptionWidth = 8;

  bool operator==(const Options&) const = default;
};

// Reads the values of line 1 into the record, each as soon as it is read. Returns the
// description of the error that stopped the read, or nothing when all nine were read.
std::optional<std::string> ParseOptions(std::string_view text, Options& options);

// The two lines of the options file, CR LF after each.
std::string SerializeOptions(const Options& options);

// The first line of the options file without its line end.
std::string OptionsLine(const Options& options);

class OptionsFile {
 public:
  // `folder` is where the program keeps its files (FilesFolder).
  OptionsFile(Options& options, IFileSystem& files, IPrompts& prompts, std::string folder);

  // Defaults, then the file; a failed read is reported in a message box and leaves defaults
  // in the fields not read.
  void Read();
  // Writes the whole record; throws PlatformError when the file cannot be written, leaving
  // the file on disk as it was.
  void Write();

  std::string Path() const;

 private:
  Options& options_;
  IFileSystem& files_;
  IPrompts& prompts_;
  std::string folder_;
};

}  // namespace wendrel
