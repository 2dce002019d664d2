#include "platform/win32/guard.h"

#include "platform/win32/win.h"
// After the Windows headers:
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <optional>
#include <string>

#include "platform/win32/file_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_system.h"
#include "store/files_folder.h"
#include "strip/taskbar_buttons.h"

namespace wendrel::win32 {
namespace {

// The hidden argument that starts the guard, followed by the program's process handle as the
// guard inherits it.
constexpr const wchar_t* kGuardArgument = L"--taskbar-guard";

constexpr UINT kCrashExitCode = 0xE0000001;

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// When the command line asks for the guard: the program's process handle it names (null when
// it names none).
std::optional<HANDLE> GuardedProcess() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments) return std::nullopt;
  std::optional<HANDLE> process;
  if (count >= 2 && std::wcscmp(arguments[1], kGuardArgument) == 0) {
    process = nullptr;
    wchar_t* end = nullptr;
    const unsigned long long value = count == 3 ? std::wcstoull(arguments[2], &end, 10) : 0;
    if (end && end != arguments[2] && *end == L'\0') {
      process = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
    }
  }
  ::LocalFree(arguments);
  return process;
}

LONG WINAPI EndOnUnhandledException(EXCEPTION_POINTERS*) {
  ::TerminateProcess(::GetCurrentProcess(), kCrashExitCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void EndOnTerminate() {
  ::TerminateProcess(::GetCurrentProcess(), kCrashExitCode);
  std::abort();
}

}  // namespace

bool RunGuardIfAsked() {
  const std::optional<HANDLE> argument = GuardedProcess();
  if (!argument) return false;
  // Only a process handle handed down by the program itself is waited on; anything else ends
  // the guard at once.
  const DWORD programId = *argument ? ::GetProcessId(*argument) : 0;
  if (programId == 0) return true;
  const UniqueKernelHandle program(*argument);
  if (::WaitForSingleObject(program.get(), INFINITE) != WAIT_OBJECT_0) return true;
  try {
    WindowSystem windows;
    FileSystem files;
    TaskbarButtons taskbar(windows, files, ChooseFilesFolder(files).path, programId);
    // The program may have ended properly, leaving no list: then there is nothing to do.
    taskbar.GiveBackForOwner();
  } catch (...) {
    // The guard has no one to tell; what it could not give back, the program's next start does.
  }
  return true;
}

void StartGuard() {
  const HANDLE self = ::GetCurrentProcess();
  HANDLE inheritable = nullptr;
  if (!::DuplicateHandle(self, self, self, &inheritable, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION,
                         TRUE, 0)) {
    return;
  }
  const UniqueKernelHandle handedDown(inheritable);
  const std::wstring program = ProgramPath();
  if (program.empty()) return;
  std::wstring line = L"\"" + program + L"\" " + kGuardArgument + L" " +
                      std::to_wstring(reinterpret_cast<std::uintptr_t>(inheritable));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // The guard shows nothing, not even the busy cursor of a starting program.
  startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
  PROCESS_INFORMATION process{};
  // Only handles made inheritable are handed down, and the program makes no other.
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
    return;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

void EndAtOnceOnCrash() {
  ::SetUnhandledExceptionFilter(&EndOnUnhandledException);
  std::set_terminate(&EndOnTerminate);
}

}  // namespace wendrel::win32
