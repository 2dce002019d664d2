#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace wendrel::win32 {

std::string ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::string text = length ? Narrow(std::wstring_view(buffer, length)) : "Error " + std::to_string(code);
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

PlatformError LastError() { return PlatformError(ErrorText(::GetLastError())); }

}  // namespace wendrel::win32
