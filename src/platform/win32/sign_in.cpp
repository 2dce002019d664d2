#include "platform/win32/sign_in.h"

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = L"Wendrel";

// This program's path in quotes, as the Run key wants a path that may hold blanks.
std::wstring QuotedProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw LastError();
    if (length < path.size()) {
      path.resize(length);
      return L"\"" + path + L"\"";
    }
    path.resize(path.size() * 2);
  }
}

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_) ::RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* Receive() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

PlatformError RegistryError(LSTATUS status) { return PlatformError(ErrorText(static_cast<DWORD>(status))); }

}  // namespace

bool SignIn::StartsThisProgram() {
  RegistryKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return false;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &bytes) != ERROR_SUCCESS) {
    return false;
  }
  value.resize(::wcsnlen(value.c_str(), bytes / sizeof(wchar_t)));
  const std::wstring wanted = QuotedProgramPath();
  // Paths are compared without regard to letter case, as the file system does.
  return ::CompareStringOrdinal(value.c_str(), static_cast<int>(value.size()), wanted.c_str(),
                                static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

void SignIn::SetStartsThisProgram(bool start) {
  RegistryKey key;
  LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                     key.Receive(), nullptr);
  if (status != ERROR_SUCCESS) throw RegistryError(status);
  if (start) {
    const std::wstring command = QuotedProgramPath();
    status =
        ::RegSetValueExW(key.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                         static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  } else {
    status = ::RegDeleteValueW(key.get(), kValueName);
    // Already gone is what was asked for.
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  }
  if (status != ERROR_SUCCESS) throw RegistryError(status);
}

}  // namespace wendrel::win32
