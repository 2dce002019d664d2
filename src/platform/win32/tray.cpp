#include "platform/win32/tray.h"

#include "platform/win32/win.h"
// windows.h first: shellapi.h relies on it.
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace wendrel::win32 {
namespace {

// The record's size field describes the program's 88-byte layout of 32-bit Windows; the
// system wants the size of its own structure with the 64-character tip.
NOTIFYICONDATAW ToNative(const TrayIconData& data, HICON smallIcon) {
  NOTIFYICONDATAW native{};
  native.cbSize = NOTIFYICONDATAW_V1_SIZE;
  native.hWnd = ToHwnd(data.hWnd);
  native.uID = data.uID;
  native.uFlags = data.uFlags;
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = smallIcon ? smallIcon : reinterpret_cast<HICON>(static_cast<std::intptr_t>(data.hIcon));
  // The tip ends at its NUL; a character that would not fit whole is left out.
  const std::wstring tip = Widen(std::string_view(data.szTip).substr(0, data.szTip.find('\0')));
  size_t length = std::min(tip.size(), size_t{63});
  if (length > 0 && length < tip.size() && tip[length - 1] >= 0xD800 && tip[length - 1] <= 0xDBFF) --length;
  std::memcpy(native.szTip, tip.data(), length * sizeof(wchar_t));
  return native;
}

}  // namespace

Tray::Tray() : smallIcon_(LoadSmallIcon()) {}

UniqueIcon Tray::LoadSmallIcon() {
  // LoadIconMetric picks the notification area's size at the DPI of the moment; it came with
  // Windows Vista's common controls and is looked up so the program starts without it.
  using LoadIconMetricCall = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
  const HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
  const auto loadIconMetric = controls ? reinterpret_cast<LoadIconMetricCall>(reinterpret_cast<void*>(
                                             ::GetProcAddress(controls, "LoadIconMetric")))
                                       : nullptr;
  HICON icon = nullptr;
  constexpr int kSmall = 0;  // LIM_SMALL
  if (loadIconMetric &&
      SUCCEEDED(loadIconMetric(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), kSmall, &icon)))
    return UniqueIcon(icon);
  return UniqueIcon(
      static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
}

void Tray::FollowDpi() {
  smallIcon_ = LoadSmallIcon();
  if (!added_) return;
  NOTIFYICONDATAW native = ToNative(*added_, smallIcon_.get());
  native.uFlags |= NIF_ICON;
  // As for every change of the icon, a failure leaves the old picture.
  ::Shell_NotifyIconW(NIM_MODIFY, &native);
}

void Tray::Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) {
  NOTIFYICONDATAW native = ToNative(data, smallIcon_.get());
  // The result is not examined: a program without a tray icon still works from the strip.
  ::Shell_NotifyIconW(message, &native);
  if (message == NIM_ADD) added_ = data;
  if (message == NIM_DELETE) added_.reset();
}

void Tray::AddAgain() {
  if (!added_) return;
  smallIcon_ = LoadSmallIcon();
  NOTIFYICONDATAW native = ToNative(*added_, smallIcon_.get());
  ::Shell_NotifyIconW(NIM_ADD, &native);
}

}  // namespace wendrel::win32
