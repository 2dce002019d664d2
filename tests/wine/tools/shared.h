// What the test tool and the stand-in shell share: text in UTF-8 and UTF-16, windows and their
// text, waiting, a log line appended, stubs for COM members nobody calls, and how browser
// windows announce themselves to the stand-in shell.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

inline std::wstring Wide(const std::string& utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                      text.data(), static_cast<int>(text.size()))));
  return text;
}

inline std::string Utf8(const std::wstring& wide) {
  std::string text(wide.size() * 3, '\0');
  text.resize(
      static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                              text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
  return text;
}

// A window's whole text, however long; empty when the window does not answer within 5 s.
inline std::wstring WideText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return {};
  text.resize(std::min<size_t>(copied, text.size() - 1));
  return text;
}
inline std::string TextOf(HWND window) { return Utf8(WideText(window)); }
inline std::string Decimal(HWND window) { return std::to_string(reinterpret_cast<LONG_PTR>(window)); }
inline std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}
inline DWORD PidOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}
// The top-level windows, front to back, or every descendant of `parent`.
inline std::vector<HWND> AllWindows(HWND parent = nullptr) {
  std::vector<HWND> all;
  const WNDENUMPROC add = [](HWND window, LPARAM list) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  };
  if (parent) EnumChildWindows(parent, add, reinterpret_cast<LPARAM>(&all));
  if (!parent) EnumWindows(add, reinterpret_cast<LPARAM>(&all));
  return all;
}
// Waits up to `seconds` for the condition, looking every 20 ms.
inline bool WaitFor(double seconds, const std::function<bool()>& condition) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (; !condition(); Sleep(20))
    if (GetTickCount64() > end) return false;
  return true;
}
inline std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

// Starts a program in a folder; the process's handle is the caller's to close (none on failure).
inline PROCESS_INFORMATION Start(std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                     &startup, &process))
    CloseHandle(process.hThread);
  return process;
}

// Appends one line and closes the file at once, so that a reader always sees whole lines.
inline void AppendLine(const std::wstring& path, const std::string& line) {
  const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, (line + "\n").data(), static_cast<DWORD>(line.size() + 1), &written, nullptr);
  CloseHandle(file);
}

// COM members the tests never call: each file says what a call does (NotImplemented).
#define NOT_IMPLEMENTED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return NotImplemented(#name); }
#define EARLY_BOUND                                                      \
  NOT_IMPLEMENTED(GetTypeInfoCount, UINT*)                               \
  NOT_IMPLEMENTED(GetTypeInfo, UINT, LCID, ITypeInfo**)                  \
  NOT_IMPLEMENTED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*) \
  NOT_IMPLEMENTED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)

// Browser and folder windows are the shell's; other windows are not.
inline bool IsShellClass(const std::string& name) { return name == "IEFrame" || name == "CabinetWClass"; }

// The stand-in shell's hidden window, one in every process that has loaded the shell. A browser
// window posts it kAnnounce when it opens (lParam 1) and closes (0), wParam being the window, as
// a browser registers itself with the Windows shell; without a stand-in nobody listens.
constexpr char kShellWindowClass[] = "StandInShellWindows";
inline UINT AnnounceMessage() { return RegisterWindowMessageA("StandInShellAnnounce"); }
inline void Announce(HWND browser, bool opened) {
  for (HWND shell = FindWindowExA(nullptr, nullptr, kShellWindowClass, nullptr); shell;
       shell = FindWindowExA(nullptr, shell, kShellWindowClass, nullptr))
    PostMessageA(shell, AnnounceMessage(), reinterpret_cast<WPARAM>(browser), opened ? 1 : 0);
}
