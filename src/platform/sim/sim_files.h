// Real files under the program's folder, reached with the program's Windows-style paths:
// "\" or "/" between folders, names matched without regard to letter case. The desktop's
// system code page is Windows-1252: file contents are stored by the program's text-file rule.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace wendrel::sim {

enum class FileFault { kOpen, kWrite, kDelete };

class SimFileSystem : public IFileSystem {
 public:
  // `folder` is the program's folder as the runner was given it.
  explicit SimFileSystem(std::string folder);

  std::string ProgramFolder() override { return folder_; }
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

  // Paths below are relative to the program's folder, in any letter case.
  void AddFault(const std::string& relativePath, FileFault fault);
  void AddFolderCreateFault(const std::string& relativePath);
  // Nothing can be created, written or deleted in the folder or below it, as in a folder the
  // user may only read. The application-data folder is another place: it stays writable.
  void AddReadOnlyFolder(const std::string& relativePath);
  // The user's local application-data folder, made when missing; without it there is none.
  void SetLocalAppData(const std::string& relativePath);
  // Every file and folder works again, as after the user freed the disk or the lock.
  void ClearFaults() {
    faults_.clear();
    folderCreateFaults_.clear();
    readOnlyFolders_.clear();
  }
  // The content of a file, or nothing when it does not exist.
  std::optional<std::string> Peek(const std::string& relativePath);
  // Writes a file, making its folders as needed (a scenario's starting state).
  void Put(const std::string& relativePath, std::string_view content);
  // Removes a file behind the program's back, as another program or the user might.
  void Remove(const std::string& relativePath);

 private:
  struct Resolved {
    std::string diskPath;  // the path on disk, existing components in their disk spelling
    std::string key;       // the path relative to the folder, lower case, "/" between parts
    bool parentExists = false;
    bool badName = false;  // a part Windows would refuse as a file or folder name
  };
  Resolved Resolve(const std::string& path, bool relative) const;
  // A path the program gave; throws PlatformError as Windows answers a bad name or a missing
  // folder on the way.
  Resolved ResolveForProgram(const std::string& path) const;
  bool HasFault(const std::string& key, FileFault fault) const;
  // Puts the bytes in the file's place through a replacement file beside it.
  void ReplaceBytes(const Resolved& file, std::string_view content);
  // Whether the file or folder `key` lies in a read-only folder.
  bool ReadOnly(const std::string& key) const;

  std::string folder_;
  Windows1252 codePage_;
  std::map<std::string, std::set<FileFault>> faults_;
  std::set<std::string> folderCreateFaults_;
  std::set<std::string> readOnlyFolders_;
  std::optional<std::string> appData_;  // its key
  std::string appDataPath_;             // its path as the program sees it
};

}  // namespace wendrel::sim
