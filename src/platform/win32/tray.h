// The notification-area icon over Shell_NotifyIconW: the record's UTF-8 tip is converted here,
// and the icon is drawn at the size the notification area asks for.
#pragma once

#include <optional>

#include "platform/tray.h"
#include "platform/win32/handles.h"

namespace wendrel::win32 {

class Tray final : public ITray {
 public:
  Tray();

  void Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) override;
  // The taskbar was created anew (Explorer restarted): the icon it had is gone.
  void AddAgain();
  // The display's DPI may have changed: the icon is drawn again at the size it now asks for.
  void FollowDpi();

 private:
  static UniqueIcon LoadSmallIcon();

  std::optional<TrayIconData> added_;
  UniqueIcon smallIcon_;
};

}  // namespace wendrel::win32
