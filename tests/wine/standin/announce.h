// How the test tool's browser windows tell the stand-in shell that they open and close, as a
// browser window registers itself with the Windows shell. Shared by the tool and the shell.
#pragma once

#include <windows.h>

namespace standin {

// The stand-in shell's hidden window, one in every process that has loaded the shell.
constexpr char kShellWindowClass[] = "StandInShellWindows";

// wParam: the browser's top-level window; lParam: 1 when it opened, 0 when it closed.
inline UINT AnnounceMessage() { return ::RegisterWindowMessageA("StandInShellAnnounce"); }

// Tells every stand-in shell; without one (Wine's own shell) nobody listens.
inline void Announce(HWND browser, bool opened) {
  for (HWND shell = ::FindWindowExA(nullptr, nullptr, kShellWindowClass, nullptr); shell;
       shell = ::FindWindowExA(nullptr, shell, kShellWindowClass, nullptr)) {
    ::PostMessageA(shell, AnnounceMessage(), reinterpret_cast<WPARAM>(browser), opened ? 1 : 0);
  }
}

}  // namespace standin
