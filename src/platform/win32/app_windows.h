// Today's browsers' windows and the user's programs on Windows: window events followed out of
// context, facts read without messages, addresses read on a worker thread.
#pragma once

#include <unordered_set>
#include <vector>

#include "platform/app_windows.h"
#include "platform/win32/window_facts.h"

namespace wendrel::win32 {

class AppWindows final : public IAppWindows {
 public:
  AppWindows() = default;

  std::vector<AppWindowFacts> List() override;
  std::optional<AppWindowFacts> Facts(WindowHandle window) override;
  std::unique_ptr<IAppWindowWatch> Watch(AppWindowEventHandler onEvent,
                                         AddressReadHandler onAddress) override;
  bool Refresh(WindowHandle window) override;
  bool Stop(WindowHandle window) override;
  bool Close(WindowHandle window) override;

  // Notes a window's appearance, so that List keeps the order windows appeared in.
  void Saw(HWND window);

 private:
  WindowFactsReader reader_;
  std::vector<HWND> order_;
  std::unordered_set<HWND> known_;
};

class Programs final : public IPrograms {
 public:
  Programs() = default;

  std::string DefaultHttpsProgram() override;
  void Launch(const std::string& program, const std::vector<std::string>& arguments) override;
};

}  // namespace wendrel::win32
