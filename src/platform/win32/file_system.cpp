#include "platform/win32/file_system.h"

#include <algorithm>

#include "platform/win32/handles.h"

namespace wendrel::win32 {
namespace {

UniqueFile Open(const std::string& path, DWORD access, DWORD disposition) {
  UniqueFile file(::CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw LastError();
  return file;
}

void WriteAll(const UniqueFile& file, std::string_view content) {
  while (!content.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file.get(), content.data(), chunk, &written, nullptr)) throw LastError();
    content.remove_prefix(written);
  }
}

bool EndsWithNoCase(const std::string& name, const std::string& end) {
  if (name.size() < end.size()) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::equal(end.begin(), end.end(), name.end() - static_cast<std::ptrdiff_t>(end.size()),
                    [&](char a, char b) { return upper(a) == upper(b); });
}

}  // namespace

std::string FileSystem::ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string FileSystem::ReadFile(const std::string& path) {
  const UniqueFile file = Open(path, GENERIC_READ, OPEN_EXISTING);
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) throw LastError();
    if (read == 0) break;
    content.append(buffer, read);
  }
  return content;
}

void FileSystem::ReplaceFile(const std::string& path, std::string_view content) {
  const std::string temporary = path + ".new";
  {
    const UniqueFile file = Open(temporary, GENERIC_WRITE, CREATE_ALWAYS);
    WriteAll(file, content);
    if (!::FlushFileBuffers(file.get())) throw LastError();
  }
  if (!::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const PlatformError error = LastError();
    ::DeleteFileA(temporary.c_str());  // a leftover would only be overwritten next time
    throw error;
  }
}

void FileSystem::AppendFile(const std::string& path, std::string_view content) {
  const UniqueFile file = Open(path, FILE_APPEND_DATA, OPEN_ALWAYS);
  WriteAll(file, content);
}

void FileSystem::CreateFolder(const std::string& path) {
  if (!::CreateDirectoryA(path.c_str(), nullptr)) throw LastError();
}

void FileSystem::DeleteFile(const std::string& path) {
  if (!::DeleteFileA(path.c_str())) throw LastError();
}

bool FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FileSystem::ListFiles(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const UniqueFind search(::FindFirstFileA((folder + "\\*" + extension).c_str(), &found));
  if (!search) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = found.cFileName;
    // The wildcard also matches longer extensions and short names; keep the exact ones.
    if (EndsWithNoCase(name, extension)) names.push_back(name);
  } while (::FindNextFileA(search.get(), &found));
  return names;
}

}  // namespace wendrel::win32
