// Shared parts of the native tests: a folder of a test's own, the program started on the
// simulated desktop with some of its parts replaced, and stand-ins that keep only what a test
// looks at.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "platform/sim/sim_desktop.h"
#include "program.h"

namespace wendrel::test {

// No dialog at start and no questions, so nothing waits for an answer.
inline constexpr char kQuietOptions[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n";

// The platform's parts with the ones given put in place of the desktop's own.
struct Parts {
  IPrompts* prompts = nullptr;
  IFileSystem* files = nullptr;
  ITabStripView* tabs = nullptr;
  IShell* shell = nullptr;
};
inline Platform Replace(Platform platform, const Parts& parts) {
  return Platform{platform.windows,
                  platform.strip,
                  parts.tabs ? *parts.tabs : platform.tabStrip,
                  platform.timer,
                  parts.shell ? *parts.shell : platform.shell,
                  platform.tray,
                  parts.prompts ? *parts.prompts : platform.prompts,
                  parts.files ? *parts.files : platform.files,
                  platform.dialogs,
                  platform.appWindows,
                  platform.programs,
                  platform.signIn};
}

// The simulated desktop in an empty folder of its own (removed afterwards), with quiet options,
// and the program on it.
class SimWorld {
 public:
  explicit SimWorld(const std::string& name, bool silent = true)
      : folder_(std::filesystem::temp_directory_path() /
                ("wendrel-" + name + "-" + std::to_string(::getpid()))),
        desktop_(transcript_, (std::filesystem::remove_all(folder_),
                               std::filesystem::create_directories(folder_), folder_.string())) {
    if (silent) desktop_.Silence();
    desktop_.files().Put("Wendrel.CFG", kQuietOptions);
  }
  ~SimWorld() {
    program_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  Program& Start(const Parts& parts = {}) {
    program_.reset();
    program_ = std::make_unique<Program>(Replace(desktop_.platform(), parts));
    program_->Start();
    return *program_;
  }
  // Ends the program before the parts it was given go.
  void Stop() { program_.reset(); }
  sim::SimDesktop& desktop() { return desktop_; }
  Program& program() { return *program_; }
  std::string Folder() const { return folder_.string(); }
  std::ostringstream& transcript() { return transcript_; }
  // How often the transcript holds `text`.
  int Occurrences(const std::string& text) const {
    const std::string all = transcript_.str();
    int count = 0;
    for (size_t at = 0; (at = all.find(text, at)) != std::string::npos; ++at) ++count;
    return count;
  }

 private:
  std::filesystem::path folder_;
  std::ostringstream transcript_;
  sim::SimDesktop desktop_;
  std::unique_ptr<Program> program_;
};

// Files in memory, keyed by their full path; writes can be made to fail, an append part-way.
struct MemoryFiles final : IFileSystem {
  std::map<std::string, std::string> files;
  bool failWrites = false;
  long bytesWritten = 0;

  std::string ProgramFolder() override { return "C:\\Wendrel"; }
  std::string LocalAppDataFolder() override { return {}; }
  bool CanWriteIn(const std::string&) override { return true; }
  std::string ReadFile(const std::string& path) override {
    if (!FileExists(path)) throw PlatformError("File not found");
    return files[path];
  }
  std::string ReadFileHead(const std::string& path, std::size_t limit) override {
    return ReadFile(path).substr(0, limit);
  }
  void ReplaceFile(const std::string& path, std::string_view content) override {
    if (failWrites) throw PlatformError("Disk full");
    files[path] = content;
    bytesWritten += static_cast<long>(content.size());
  }
  void AppendFile(const std::string& path, std::string_view content) override {
    files[path] += content.substr(0, failWrites ? content.size() / 2 : content.size());
    if (failWrites) throw PlatformError("Disk full");
    bytesWritten += static_cast<long>(content.size());
  }
  void AppendInOneStep(const std::string& path, std::string_view content) override {
    ReplaceFile(path, (FileExists(path) ? files[path] : std::string()) + std::string(content));
  }
  void CreateFolder(const std::string&) override {}
  void DeleteFile(const std::string& path) override {
    if (files.erase(path) == 0) throw PlatformError("File not found");
  }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  std::vector<std::string> ListFiles(const std::string&, const std::string&) override { return {}; }
};

// A tab control that draws nothing; it remembers only which tab it was last told is selected.
struct BlankTabs final : ITabStripView {
  void InsertTab(int) override {}
  void RemoveTab(int) override {}
  void SetCaption(int, const std::string&) override {}
  void SetToolTip(int, const std::string&) override {}
  void SetSelected(int index) override { shown = index; }
  void SetMultiRow(bool) override {}
  TabRect TabRectangle(int) override { return {}; }
  int shown = 0;
};

}  // namespace wendrel::test
