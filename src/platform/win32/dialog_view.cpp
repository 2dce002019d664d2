#include "platform/win32/base_window.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/strip_window.h"

namespace wendrel::win32 {
namespace {

class DialogView final : public IDialogView, public BaseWindow<DialogView> {
 public:
  DialogView(OptionsEtc& dialog, DialogHost& host, HWND strip, IWindowSystem& windows)
      : dialog_(dialog), host_(host), strip_(strip), windows_(windows) {
    Create(0, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, "Options & More", 0, 0, 555, 420,
           nullptr);
    host_.SetCurrent(Hwnd());
  }
  ~DialogView() override { host_.SetCurrent(nullptr); }

  std::int32_t OuterWidth() override { return Outer().right * windows_.TwipsPerPixelX(); }
  std::int32_t OuterHeight() override { return Outer().bottom * windows_.TwipsPerPixelY(); }
  void Move(std::int32_t left, std::int32_t top) override {
    ::SetWindowPos(Hwnd(), nullptr, left / windows_.TwipsPerPixelX(), top / windows_.TwipsPerPixelY(), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Show() override { ::ShowWindow(Hwnd(), SW_SHOW); }
  void Activate() override {
    ::ShowWindow(Hwnd(), SW_RESTORE);
    ::SetForegroundWindow(Hwnd());
  }
  void Refresh() override {}

  static const char* ClassName() { return "WendrelOptions"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
      ::ShowWindow(Hwnd(), SW_HIDE);
      ::PostMessageA(strip_, StripWindow::kDialogClosed, 0, 0);
      return 0;
    }
    return Default(message, wParam, lParam);
  }

 private:
  RECT Outer() const {
    RECT r{};
    ::GetWindowRect(Hwnd(), &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
  }
  [[maybe_unused]] OptionsEtc& dialog_;
  DialogHost& host_;
  HWND strip_;
  IWindowSystem& windows_;
};

}  // namespace

std::unique_ptr<IDialogView> DialogHost::CreateView(OptionsEtc& dialog) {
  return std::make_unique<DialogView>(dialog, *this, strip_, windows_);
}

}  // namespace wendrel::win32
