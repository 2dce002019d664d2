// Files beside the program, with the system's own error descriptions.
#pragma once

#include "platform/file_system.h"

namespace wendrel::win32 {

class FileSystem final : public IFileSystem {
 public:
  std::string ProgramFolder() override;
  std::string ReadFile(const std::string& path) override;
  void ReplaceFile(const std::string& path, std::string_view content) override;
  void AppendFile(const std::string& path, std::string_view content) override;
  void CreateFolder(const std::string& path) override;
  void DeleteFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) override;
};

}  // namespace wendrel::win32
