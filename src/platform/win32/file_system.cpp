#include "platform/win32/file_system.h"

// After the Windows headers:
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>

#include "platform/win32/handles.h"

namespace wendrel::win32 {
namespace {

UniqueFile Open(const std::wstring& path, DWORD access, DWORD disposition) {
  UniqueFile file(::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
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

// At most the first `size` bytes of a file.
std::string ReadHead(const std::wstring& path, size_t size) {
  const UniqueFile file = Open(path, GENERIC_READ, OPEN_EXISTING);
  std::string head(size, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), head.data(), static_cast<DWORD>(size), &read, nullptr)) throw LastError();
  head.resize(read);
  return head;
}

std::string ReadAll(const std::wstring& path) {
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

// The path with its last part spelled as the file on disk is, when there is one: replacing a
// file keeps its name and letter case whatever spelling the program was given.
std::wstring ExistingSpelling(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  const UniqueFind search(::FindFirstFileW(path.c_str(), &found));
  if (!search) return path;
  const size_t slash = path.find_last_of(L"\\/");
  return path.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + found.cFileName;
}

// The name the new content is written under before it takes the file's place: beside the file
// and no longer than its name (its last character becomes a tilde), so that every path that
// can hold the file, however near the limits of the path or of the file system, holds it too.
std::wstring ReplacementPath(const std::wstring& path) {
  std::wstring temporary = path;
  if (!temporary.empty() && IS_LOW_SURROGATE(temporary.back())) temporary.pop_back();
  const wchar_t last = temporary.empty() ? L'\0' : temporary.back();
  if (!temporary.empty()) temporary.pop_back();
  return temporary + (last == L'~' ? L'#' : L'~');
}

// Writes the bytes beside the file and puts them in its place in one step.
void ReplaceBytes(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = ReplacementPath(path);
  try {
    const UniqueFile file = Open(temporary, GENERIC_WRITE, CREATE_ALWAYS);
    WriteAll(file, bytes);
    if (!::FlushFileBuffers(file.get())) throw LastError();
  } catch (const PlatformError&) {
    // The half-written replacement is closed by now; the old file was never touched.
    ::DeleteFileW(temporary.c_str());
    throw;
  }
  if (!::MoveFileExW(temporary.c_str(), ExistingSpelling(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const PlatformError error = LastError();
    ::DeleteFileW(temporary.c_str());
    throw error;
  }
}

bool EndsWithNoCase(const std::wstring& name, const std::wstring& end) {
  if (name.size() < end.size()) return false;
  return ::CompareStringOrdinal(name.c_str() + (name.size() - end.size()), static_cast<int>(end.size()),
                                end.c_str(), static_cast<int>(end.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string FileSystem::ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? "." : Narrow(path.substr(0, slash));
}

std::string FileSystem::ReadFile(const std::string& path) {
  return DecodeTextFile(ReadAll(Widen(path)), codePage_);
}

std::string FileSystem::ReadFileHead(const std::string& path, std::size_t limit) {
  return DecodeTextFile(ReadHead(Widen(path), std::min<std::size_t>(limit, 1u << 30)), codePage_);
}

void FileSystem::ReplaceFile(const std::string& path, std::string_view content) {
  ReplaceBytes(Widen(path), EncodeTextFile(content, codePage_));
}

void FileSystem::AppendFile(const std::string& path, std::string_view content) {
  const std::wstring wide = Widen(path);
  std::optional<std::string> head;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    head = ReadHead(wide, kTextFileHeadSize);
  if (const std::optional<std::string> bytes = AppendBytes(head, content, codePage_)) {
    const UniqueFile file = Open(wide, FILE_APPEND_DATA, OPEN_ALWAYS);
    WriteAll(file, *bytes);
    return;
  }
  // A code-page file that now needs UTF-8 is written anew, whole.
  ReplaceBytes(wide, AppendTextFile(ReadAll(wide), content, codePage_).bytes);
}

void FileSystem::AppendInOneStep(const std::string& path, std::string_view content) {
  const std::wstring wide = Widen(path);
  std::optional<std::string> existing;
  if (FileExists(path)) existing = ReadAll(wide);
  ReplaceBytes(wide, AppendedTextFile(existing, content, codePage_));
}

void FileSystem::CreateFolder(const std::string& path) {
  if (!::CreateDirectoryW(Widen(path).c_str(), nullptr)) throw LastError();
}

void FileSystem::DeleteFile(const std::string& path) {
  if (!::DeleteFileW(Widen(path).c_str())) throw LastError();
}

bool FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FileSystem::ListFiles(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  const std::wstring wideExtension = Widen(extension);
  WIN32_FIND_DATAW found{};
  const UniqueFind search(::FindFirstFileW(Widen(folder + "\\*" + extension).c_str(), &found));
  if (!search) return names;
  constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    // Ordinary files only: a hidden or system file is not the user's group.
    if (found.dwFileAttributes & kNotOrdinary) continue;
    const std::wstring name = found.cFileName;
    // The wildcard also matches longer extensions and short names; keep the exact ones.
    if (EndsWithNoCase(name, wideExtension)) names.push_back(Narrow(name));
  } while (::FindNextFileW(search.get(), &found));
  return names;
}

std::string FileSystem::LocalAppDataFolder() {
  PWSTR path = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
  const std::string folder = SUCCEEDED(result) && path ? Narrow(path) : std::string();
  ::CoTaskMemFree(path);
  return folder;
}

bool FileSystem::CanWriteIn(const std::string& folder) {
  // A hidden file of this process's own, gone again when closed. Under Program Files a program
  // that runs as the user is refused here (its manifest asks for no file virtualisation).
  const std::wstring probe =
      Widen(folder) + L"\\~wendrel-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  const UniqueFile file(
      ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(file);
}

}  // namespace wendrel::win32
