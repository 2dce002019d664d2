// Files beside the program, with the system's own error descriptions. Names go through the
// wide-character calls, so a folder or group named outside the code page works; contents follow
// the program's text-file rule with the system's code page.
#pragma once

#include "platform/file_system.h"
#include "platform/win32/text.h"

namespace wendrel::win32 {

class FileSystem final : public IFileSystem {
 public:
  std::string ProgramFolder() override;
  std::string LocalAppDataFolder() override;
  bool CanWriteIn(const std::string& folder) override;
  std::string ReadFile(const std::string& path) override;
  std::string ReadFileHead(const std::string& path, std::size_t limit) override;
  void ReplaceFile(const std::string& path, std::string_view content) override;
  void AppendFile(const std::string& path, std::string_view content) override;
  void AppendInOneStep(const std::string& path, std::string_view content) override;
  void CreateFolder(const std::string& path) override;
  void DeleteFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) override;

 private:
  AnsiCodePage codePage_;
};

}  // namespace wendrel::win32
