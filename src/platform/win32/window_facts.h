// What the program learns about another program's top-level window without sending it a
// message (a hung window answers none), and the few things it asks such a window to do.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {

struct WindowFacts {
  HWND window = nullptr;
  std::wstring className;
  std::wstring image;  // the process image's file name, without its folder
  std::wstring title;
  bool visible = false;
  bool cloaked = false;
  bool owned = false;
  DWORD exStyle = 0;
};

// Reads windows' facts; the one place that knows how to ask the desktop window manager about
// cloaking, which older systems and Wine may lack.
class WindowFactsReader {
 public:
  WindowFactsReader();
  WindowFactsReader(const WindowFactsReader&) = delete;
  WindowFactsReader& operator=(const WindowFactsReader&) = delete;

  // Facts of a window that has gone are empty apart from the handle.
  WindowFacts Read(HWND window) const;
  // Every top-level window, in the system's z-order.
  static std::vector<HWND> TopLevelWindows();

 private:
  bool Cloaked(HWND window) const;

  struct LibraryTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
  };
  UniqueHandle<LibraryTraits> dwmapi_;
  using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
  DwmGetWindowAttributeFn getAttribute_ = nullptr;
};

// The file name of a path: what follows its last backslash or slash.
std::wstring FileNameOf(const std::wstring& path);

// Browser commands that need no focus; posted, so a hung window never holds the caller.
bool PostBrowserRefresh(HWND window);
bool PostBrowserStop(HWND window);
bool PostClose(HWND window);

// The full path of the program registered to open https addresses; empty when there is none.
std::wstring DefaultHttpsProgram();

// One argument as the C runtime's command-line parser will read it back, whatever spaces,
// quotes and backslashes it holds.
std::wstring QuoteArgument(const std::wstring& argument);
// Starts a program with its arguments, each one argument whatever it holds. Throws PlatformError.
void Launch(const std::wstring& program, const std::vector<std::wstring>& arguments);

}  // namespace wendrel::win32
