// The notification-area icon over Shell_NotifyIconA.
#pragma once

#include <optional>

#include "platform/tray.h"

namespace wendrel::win32 {

class Tray final : public ITray {
 public:
  void Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) override;
  // The taskbar was created anew (Explorer restarted): the icon it had is gone.
  void AddAgain();

 private:
  std::optional<TrayIconData> added_;
};

}  // namespace wendrel::win32
