#include "platform/win32/window_facts.h"

#include <shlwapi.h>

namespace wendrel::win32 {
namespace {

constexpr DWORD kDwmCloaked = 14;                                 // DWMWA_CLOAKED, Windows 8 and later
constexpr ASSOCF kAssocIsProtocol = static_cast<ASSOCF>(0x1000);  // ASSOCF_IS_PROTOCOL, Windows 8 and later

// The window's text as stored with the window, read without a message: the title of a
// program that stopped answering is read all the same.
std::wstring TitleOf(HWND window) {
  std::wstring title(256, L'\0');
  for (;;) {
    const int length = ::InternalGetWindowText(window, title.data(), static_cast<int>(title.size()));
    if (length < static_cast<int>(title.size()) - 1) {
      title.resize(static_cast<std::size_t>(length > 0 ? length : 0));
      return title;
    }
    // The text filled the buffer: it may have been cut; read again with room to spare.
    title.assign(title.size() * 2, L'\0');
  }
}

std::wstring ClassOf(HWND window) {
  wchar_t name[257] = {};  // class names are at most 256 characters
  const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring ImageOf(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  const UniqueKernelHandle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  // A process of a higher integrity level can refuse even this: its windows are nobody's browser.
  if (!handle) return {};
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD size = static_cast<DWORD>(path.size());
    if (::QueryFullProcessImageNameW(handle.get(), 0, path.data(), &size)) {
      path.resize(size);
      return FileNameOf(path);
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() > 32768) return {};
    path.assign(path.size() * 2, L'\0');
  }
}

bool PostAppCommand(HWND window, int command) {
  // The command's device bits (the high nibble) stay 0: the command came from a key.
  return ::PostMessageW(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                        MAKELPARAM(0, static_cast<WORD>(command))) != FALSE;
}

}  // namespace

WindowFactsReader::WindowFactsReader() : dwmapi_(::LoadLibraryW(L"dwmapi.dll")) {
  if (dwmapi_) {
    // Through the generic function type: the compiler allows no direct cast from FARPROC.
    getAttribute_ = reinterpret_cast<DwmGetWindowAttributeFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(dwmapi_.get(), "DwmGetWindowAttribute")));
  }
}

bool WindowFactsReader::Cloaked(HWND window) const {
  if (!getAttribute_) return false;
  DWORD cloaked = 0;
  // Before Windows 8 the attribute is unknown and the call fails: nothing is cloaked there.
  if (FAILED(getAttribute_(window, kDwmCloaked, &cloaked, sizeof cloaked))) return false;
  return cloaked != 0;
}

WindowFacts WindowFactsReader::Read(HWND window) const {
  WindowFacts facts;
  facts.window = window;
  if (!::IsWindow(window)) return facts;
  facts.className = ClassOf(window);
  facts.image = ImageOf(window);
  facts.title = TitleOf(window);
  facts.visible = ::IsWindowVisible(window) != FALSE;
  facts.cloaked = Cloaked(window);
  facts.owned = ::GetWindow(window, GW_OWNER) != nullptr;
  facts.exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
  return facts;
}

std::vector<HWND> WindowFactsReader::TopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::wstring FileNameOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool PostBrowserRefresh(HWND window) { return PostAppCommand(window, APPCOMMAND_BROWSER_REFRESH); }
bool PostBrowserStop(HWND window) { return PostAppCommand(window, APPCOMMAND_BROWSER_STOP); }
bool PostClose(HWND window) { return ::PostMessageW(window, WM_CLOSE, 0, 0) != FALSE; }

std::wstring DefaultHttpsProgram() {
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = static_cast<DWORD>(std::size(path));
  // No association, or one whose program is missing, means there is no default program to use.
  if (FAILED(::AssocQueryStringW(kAssocIsProtocol, ASSOCSTR_EXECUTABLE, L"https", L"open", path, &size)))
    return {};
  return path;
}

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  // Backslashes are literal except before a quote, where each one must be doubled; the same holds
  // for the ones before the closing quote.
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

void Launch(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  std::wstring line = QuoteArgument(program);
  for (const auto& argument : arguments) line += L' ' + QuoteArgument(argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
    throw LastError();
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
}

}  // namespace wendrel::win32
