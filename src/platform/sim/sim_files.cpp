#include "platform/sim/sim_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/types.h"

namespace wendrel::sim {
namespace fs = std::filesystem;
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return text;
}

// The parts of a path; "." is dropped and ".." takes the part before it away. `escapes` is set
// when ".." would leave the program's folder, which the simulated desktop has nothing above.
std::vector<std::string> Components(const std::string& path, bool* escapes = nullptr) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : path + "/") {
    if (c != '\\' && c != '/') {
      part += c;
      continue;
    }
    if (part == "..") {
      if (parts.empty()) {
        if (escapes) *escapes = true;
      } else {
        parts.pop_back();
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  }
  return parts;
}

// Windows refuses a name part longer than 255 characters, or holding a control character or
// one of < > : " | ? *.
bool IsBadName(const std::string& part) {
  if (part.size() > 255) return true;
  return std::any_of(part.begin(), part.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 ||
           std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
  });
}

// The replacement file is written beside the file it replaces, under a short hidden name, so
// that a file name as long as Windows allows still has room for it.
std::string TemporaryBeside(const std::string& diskPath) {
  return diskPath.substr(0, diskPath.rfind('/') + 1) + ".~new";
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

void WriteBytes(const std::string& path, std::string_view content, std::ios::openmode mode) {
  std::ofstream file(path, std::ios::binary | mode);
  if (!file) throw PlatformError("Path/File access error");
  file.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!file) throw PlatformError("Disk full");
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PlatformError("Permission denied");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

SimFileSystem::SimFileSystem(std::string folder) : folder_(std::move(folder)) {}

SimFileSystem::Resolved SimFileSystem::Resolve(const std::string& path, bool relative) const {
  std::string rest = path;
  if (!relative && path.compare(0, folder_.size(), folder_) == 0) rest = path.substr(folder_.size());
  bool escapes = false;
  const std::vector<std::string> parts = Components(rest, &escapes);
  Resolved resolved;
  resolved.diskPath = folder_.empty() ? "." : folder_;
  resolved.parentExists = !escapes;
  resolved.badName = std::any_of(parts.begin(), parts.end(), IsBadName);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string spelling = parts[i];
    if (!resolved.badName && !Exists(resolved.diskPath + "/" + spelling) && IsFolder(resolved.diskPath)) {
      std::error_code error;
      for (fs::directory_iterator entry(resolved.diskPath, error), end; !error && entry != end;
           entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (Lower(name) == Lower(spelling)) {
          spelling = name;
          break;
        }
      }
    }
    if (i + 1 < parts.size() && !IsFolder(resolved.diskPath + "/" + spelling)) resolved.parentExists = false;
    resolved.diskPath += "/" + spelling;
    resolved.key += (i == 0 ? "" : "/") + Lower(parts[i]);
  }
  return resolved;
}

SimFileSystem::Resolved SimFileSystem::ResolveForProgram(const std::string& path) const {
  Resolved resolved = Resolve(path, false);
  if (resolved.badName) throw PlatformError("Bad file name or number");
  if (!resolved.parentExists) throw PlatformError("Path not found");
  return resolved;
}

bool SimFileSystem::HasFault(const std::string& key, FileFault fault) const {
  const auto found = faults_.find(key);
  return found != faults_.end() && found->second.count(fault) != 0;
}

void SimFileSystem::AddFault(const std::string& relativePath, FileFault fault) {
  faults_[Resolve(relativePath, true).key].insert(fault);
}

void SimFileSystem::AddFolderCreateFault(const std::string& relativePath) {
  folderCreateFaults_.insert(Resolve(relativePath, true).key);
}

void SimFileSystem::AddReadOnlyFolder(const std::string& relativePath) {
  readOnlyFolders_.insert(Resolve(relativePath, true).key);
}

void SimFileSystem::SetLocalAppData(const std::string& relativePath) {
  const Resolved folder = Resolve(relativePath, true);
  std::error_code ignored;
  fs::create_directories(folder.diskPath, ignored);
  appData_ = folder.key;
  appDataPath_ = folder_;
  for (const std::string& part : Components(relativePath)) appDataPath_ += "\\" + part;
}

bool SimFileSystem::ReadOnly(const std::string& key) const {
  const auto within = [&key](const std::string& folder) {
    return folder.empty() || key == folder || key.compare(0, folder.size() + 1, folder + "/") == 0;
  };
  if (appData_ && within(*appData_)) return false;
  return std::any_of(readOnlyFolders_.begin(), readOnlyFolders_.end(), within);
}

std::string SimFileSystem::LocalAppDataFolder() { return appDataPath_; }

bool SimFileSystem::CanWriteIn(const std::string& folder) {
  const Resolved directory = Resolve(folder, false);
  if (directory.badName || !directory.parentExists || !IsFolder(directory.diskPath)) return false;
  return !ReadOnly(directory.key.empty() ? "~probe" : directory.key + "/~probe");
}

std::string SimFileSystem::ReadFile(const std::string& path) {
  const Resolved file = ResolveForProgram(path);
  if (HasFault(file.key, FileFault::kOpen)) throw PlatformError("Permission denied");
  if (!IsFile(file.diskPath)) throw PlatformError("File not found");
  return DecodeTextFile(ReadBytes(file.diskPath), codePage_);
}

std::string SimFileSystem::ReadFileHead(const std::string& path, std::size_t limit) {
  const Resolved file = ResolveForProgram(path);
  if (HasFault(file.key, FileFault::kOpen)) throw PlatformError("Permission denied");
  if (!IsFile(file.diskPath)) throw PlatformError("File not found");
  std::ifstream in(file.diskPath, std::ios::binary);
  if (!in) throw PlatformError("Permission denied");
  std::string head(limit, '\0');
  in.read(head.data(), static_cast<std::streamsize>(limit));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return DecodeTextFile(head, codePage_);
}

void SimFileSystem::ReplaceFile(const std::string& path, std::string_view text) {
  ReplaceBytes(ResolveForProgram(path), EncodeTextFile(text, codePage_));
}

void SimFileSystem::AppendInOneStep(const std::string& path, std::string_view text) {
  const Resolved file = ResolveForProgram(path);
  if (HasFault(file.key, FileFault::kOpen)) throw PlatformError("Permission denied");
  std::optional<std::string> existing;
  if (IsFile(file.diskPath)) existing = ReadBytes(file.diskPath);
  ReplaceBytes(file, AppendedTextFile(existing, text, codePage_));
}

void SimFileSystem::ReplaceBytes(const Resolved& file, std::string_view content) {
  if (HasFault(file.key, FileFault::kOpen) || ReadOnly(file.key)) throw PlatformError("Permission denied");
  if (IsFolder(file.diskPath)) throw PlatformError("Path/File access error");
  const std::string temporary = TemporaryBeside(file.diskPath);
  if (HasFault(file.key, FileFault::kWrite)) {
    // The write stops part-way into the replacement; the old file is never touched.
    WriteBytes(temporary, content.substr(0, content.size() / 2), std::ios::trunc);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw PlatformError("Disk full");
  }
  WriteBytes(temporary, content, std::ios::trunc);
  std::error_code error;
  fs::rename(temporary, file.diskPath, error);
  if (error) {
    fs::remove(temporary, error);
    throw PlatformError("Path/File access error");
  }
}

void SimFileSystem::AppendFile(const std::string& path, std::string_view text) {
  const Resolved file = ResolveForProgram(path);
  if (HasFault(file.key, FileFault::kOpen) || ReadOnly(file.key)) throw PlatformError("Permission denied");
  if (IsFolder(file.diskPath)) throw PlatformError("Path/File access error");
  // Only the file's first bytes decide how text is added to it, unless the whole file must be
  // written anew (a code-page file that now needs UTF-8).
  std::optional<std::string> head;
  if (IsFile(file.diskPath)) {
    std::ifstream in(file.diskPath, std::ios::binary);
    head.emplace(kTextFileHeadSize, '\0');
    in.read(head->data(), static_cast<std::streamsize>(head->size()));
    head->resize(static_cast<size_t>(in.gcount()));
  }
  std::optional<std::string> bytes = AppendBytes(head, text, codePage_);
  std::ios::openmode mode = std::ios::app;
  if (!bytes) {
    bytes = AppendTextFile(ReadBytes(file.diskPath), text, codePage_).bytes;
    mode = std::ios::trunc;
  }
  const std::string_view content = *bytes;
  if (HasFault(file.key, FileFault::kWrite)) {
    WriteBytes(file.diskPath, content.substr(0, content.size() / 2), mode);
    throw PlatformError("Disk full");
  }
  WriteBytes(file.diskPath, content, mode);
}

void SimFileSystem::CreateFolder(const std::string& path) {
  const Resolved folder = ResolveForProgram(path);
  if (ReadOnly(folder.key)) throw PlatformError("Permission denied");
  if (folderCreateFaults_.count(folder.key) != 0 || Exists(folder.diskPath)) {
    throw PlatformError("Path/File access error");
  }
  std::error_code error;
  if (!fs::create_directory(folder.diskPath, error)) throw PlatformError("Path/File access error");
}

void SimFileSystem::DeleteFile(const std::string& path) {
  const Resolved file = ResolveForProgram(path);
  if (HasFault(file.key, FileFault::kDelete) || ReadOnly(file.key)) throw PlatformError("Permission denied");
  if (!IsFile(file.diskPath)) throw PlatformError("File not found");
  std::error_code error;
  if (!fs::remove(file.diskPath, error)) throw PlatformError("Permission denied");
}

bool SimFileSystem::FileExists(const std::string& path) {
  const Resolved file = Resolve(path, false);
  return !file.badName && file.parentExists && IsFile(file.diskPath);
}

std::vector<std::string> SimFileSystem::ListFiles(const std::string& folder, const std::string& extension) {
  const Resolved directory = Resolve(folder, false);
  std::vector<std::string> names;
  if (directory.badName || !directory.parentExists || !IsFolder(directory.diskPath)) return names;
  const std::string wanted = Lower(extension);
  std::error_code error;
  for (fs::directory_iterator entry(directory.diskPath, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    // Ordinary files only: no folders and none of the hidden dot files.
    std::error_code kind;
    if (!entry->is_regular_file(kind) || name.empty() || name.front() == '.') continue;
    if (name.size() >= wanted.size() && Lower(name.substr(name.size() - wanted.size())) == wanted) {
      names.push_back(name);
    }
  }
  // A real directory lists in no promised order; sorting keeps transcripts repeatable.
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> SimFileSystem::Peek(const std::string& relativePath) {
  const Resolved file = Resolve(relativePath, true);
  if (!file.parentExists || !IsFile(file.diskPath)) return std::nullopt;
  std::ifstream in(file.diskPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SimFileSystem::Put(const std::string& relativePath, std::string_view content) {
  const std::vector<std::string> parts = Components(relativePath);
  std::string parent;
  for (size_t i = 0; i + 1 < parts.size(); ++i) parent += (i == 0 ? "" : "/") + parts[i];
  if (!parent.empty()) {
    const Resolved folder = Resolve(parent, true);
    fs::create_directories(folder.diskPath);
  }
  WriteBytes(Resolve(relativePath, true).diskPath, content, std::ios::trunc);
}

void SimFileSystem::Remove(const std::string& relativePath) {
  std::error_code ignored;
  fs::remove(Resolve(relativePath, true).diskPath, ignored);
}

}  // namespace wendrel::sim
