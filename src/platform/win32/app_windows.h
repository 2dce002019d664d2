// Today's browsers' windows and the user's programs on Windows. For now this backend reports no
// such window and no default program, so the program behaves as with the shell's windows only.
#pragma once

#include "platform/app_windows.h"

namespace wendrel::win32 {

class AppWindows final : public IAppWindows {
 public:
  AppWindows() = default;

  std::vector<AppWindowFacts> List() override { return {}; }
  std::optional<AppWindowFacts> Facts(WindowHandle) override { return std::nullopt; }
  std::unique_ptr<IAppWindowWatch> Watch(AppWindowEventHandler onEvent,
                                         AddressReadHandler onAddress) override;
  bool Refresh(WindowHandle) override { return false; }
  bool Stop(WindowHandle) override { return false; }
  bool Close(WindowHandle) override { return false; }
};

class Programs final : public IPrograms {
 public:
  Programs() = default;

  std::string DefaultHttpsProgram() override { return {}; }
  void Launch(const std::string& program, const std::vector<std::string>& arguments) override;
};

}  // namespace wendrel::win32
