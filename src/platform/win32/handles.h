// Owners of the operating system's handles, and the one place where the program's 32-bit
// window handles meet HWND.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/types.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {

// Window handles are 32 significant bits even on 64-bit Windows, sign-extended.
inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window)); }
inline WindowHandle FromHwnd(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(window));
}

// A non-copyable owner of one handle; Traits names its empty value and how it is released.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  Handle release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle handle = Traits::Empty()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Empty()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct WindowTraits {
  using Handle = HWND;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { ::DestroyWindow(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { ::DestroyIcon(h); }
};
struct GdiTraits {
  using Handle = HGDIOBJ;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct FileTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { ::DestroyMenu(h); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueGdiObject = UniqueHandle<GdiTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

inline HBRUSH AsBrush(const UniqueGdiObject& brush) { return static_cast<HBRUSH>(brush.get()); }
inline HFONT AsFont(const UniqueGdiObject& font) { return static_cast<HFONT>(font.get()); }

// Answers WM_ERASEBKGND by filling the window's client area with one brush.
inline LRESULT EraseWith(HWND window, WPARAM hdc, HBRUSH brush) {
  RECT client{};
  ::GetClientRect(window, &client);
  ::FillRect(reinterpret_cast<HDC>(hdc), &client, brush);
  return 1;
}

// The system's description of an error code, without the line end it carries.
std::string ErrorText(DWORD code);
// A PlatformError for the calling thread's last error.
PlatformError LastError();

}  // namespace wendrel::win32
