// The notification-area icon.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace wendrel {

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimDelete = 2;

// The program's tray icon record, in its single-byte-text form.
struct TrayIconData {
  std::uint32_t cbSize = 88;
  WindowHandle hWnd = 0;
  std::uint32_t uID = 1;
  std::uint32_t uFlags = 7;  // message, icon and tip are valid
  std::uint32_t uCallbackMessage = 0x200;
  std::int64_t hIcon = 0;
  std::string szTip;  // 64 bytes: the tip, a NUL, then spaces
};

class ITray {
 public:
  ITray() = default;
  ITray(const ITray&) = delete;
  ITray& operator=(const ITray&) = delete;
  virtual ~ITray() = default;

  // Shell_NotifyIconA; the result is not examined.
  virtual void Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) = 0;
};

}  // namespace wendrel
