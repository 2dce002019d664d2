#include "platform/win32/tray.h"

#include "platform/win32/win.h"
// windows.h first: shellapi.h relies on it.
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/handles.h"

namespace wendrel::win32 {
namespace {

// The record's size field describes the program's 88-byte layout of 32-bit Windows; the
// system wants the size of its own structure with the 64-byte tip.
NOTIFYICONDATAA ToNative(const TrayIconData& data) {
  NOTIFYICONDATAA native{};
  native.cbSize = NOTIFYICONDATAA_V1_SIZE;
  native.hWnd = ToHwnd(data.hWnd);
  native.uID = data.uID;
  native.uFlags = data.uFlags;
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = reinterpret_cast<HICON>(static_cast<std::intptr_t>(data.hIcon));
  const size_t length = std::min(data.szTip.size(), size_t{63});
  std::memcpy(native.szTip, data.szTip.data(), length);
  return native;
}

}  // namespace

void Tray::Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) {
  NOTIFYICONDATAA native = ToNative(data);
  // The result is not examined: a program without a tray icon still works from the strip.
  ::Shell_NotifyIconA(message, &native);
  if (message == NIM_ADD) added_ = data;
  if (message == NIM_DELETE) added_.reset();
}

void Tray::AddAgain() {
  if (!added_) return;
  NOTIFYICONDATAA native = ToNative(*added_);
  ::Shell_NotifyIconA(NIM_ADD, &native);
}

}  // namespace wendrel::win32
