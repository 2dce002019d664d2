// Files beside the program. Paths are full paths as the program composes them, with "\"
// between folders; names are compared without regard to letter case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

class IFileSystem {
 public:
  IFileSystem() = default;
  IFileSystem(const IFileSystem&) = delete;
  IFileSystem& operator=(const IFileSystem&) = delete;
  virtual ~IFileSystem() = default;

  // The folder that holds the program, without a final separator.
  virtual std::string ProgramFolder() = 0;
  // The user's local application-data folder, without a final separator; empty when the
  // system has none.
  virtual std::string LocalAppDataFolder() = 0;
  // Whether the program may create files in the folder now (it tries, leaving nothing behind).
  virtual bool CanWriteIn(const std::string& folder) = 0;

  // Every call below throws PlatformError, with the platform's description, on failure.
  virtual std::string ReadFile(const std::string& path) = 0;
  // The text of at most the file's first `limit` bytes: a file nobody should have made large
  // is read at a bounded cost.
  virtual std::string ReadFileHead(const std::string& path, std::size_t limit) = 0;
  // Writes the new content beside the old file and replaces it in one step: the file on disk
  // is always either the old one or the new one whole.
  virtual void ReplaceFile(const std::string& path, std::string_view content) = 0;
  // Appends, creating the file when missing (its folder is not created).
  virtual void AppendFile(const std::string& path, std::string_view content) = 0;
  // Appends as AppendFile does, the file's bytes kept as they are, but through a replacement
  // file put in the old one's place in one step, as ReplaceFile writes.
  virtual void AppendInOneStep(const std::string& path, std::string_view content) = 0;
  virtual void CreateFolder(const std::string& path) = 0;
  virtual void DeleteFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The ordinary files of a folder whose names end in the extension (".WDX"), in the
  // directory's order; a missing folder lists nothing.
  virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) = 0;
};

}  // namespace wendrel
