// The message plumbing every window of the program shares: one registered class per window
// type, `this` kept with the window from WM_NCCREATE on, messages dispatched to the object.
#pragma once

#include "platform/win32/handles.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {

// Derived provides `static const wchar_t* ClassName()` and
// `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`; messages it does not handle go to
// DefWindowProc through Default().
template <typename Derived>
class BaseWindow {
 public:
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  HWND Hwnd() const { return window_.get(); }

 protected:
  BaseWindow() = default;
  // The derived part is gone by now: detach first so the window's last messages go nowhere.
  ~BaseWindow() {
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }

  // Registers the class on first use and creates the window. Throws PlatformError.
  void Create(DWORD exStyle, DWORD style, const wchar_t* title, int x, int y, int width, int height,
              HWND parent, HBRUSH background = nullptr, HICON icon = nullptr) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, Derived::ClassName(), &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &BaseWindow::WindowProc;
      wc.hInstance = instance;
      wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
      wc.hbrBackground = background;
      wc.hIcon = icon;
      wc.hIconSm = icon;
      wc.lpszClassName = Derived::ClassName();
      if (!::RegisterClassExW(&wc)) throw LastError();
    }
    const HWND window = ::CreateWindowExW(exStyle, Derived::ClassName(), title, style, x, y, width, height,
                                          parent, nullptr, instance, this);
    // WM_NCCREATE has already handed the window to window_.
    if (!window) throw LastError();
  }

  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window_.get(), message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BaseWindow* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->window_.reset(window);
    } else {
      self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      // The owner is being destroyed or has let the window go; no message may reach it now.
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_.release();
      return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam);
  }

  UniqueWindow window_;
};

}  // namespace wendrel::win32
