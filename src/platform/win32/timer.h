// The strip's refresh timer over SetTimer, on a message-only window of its own.
#pragma once

#include <functional>

#include "platform/timer.h"
#include "platform/win32/base_window.h"

namespace wendrel::win32 {

class Timer final : public ITimer, private BaseWindow<Timer> {
 public:
  Timer();
  ~Timer() override;

  void SetTickHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
  bool Enabled() override { return enabled_; }
  void SetEnabled(bool enabled) override;
  std::int32_t Interval() override { return interval_; }
  void SetInterval(std::int32_t milliseconds) override;
  std::int64_t Now() override { return static_cast<std::int64_t>(::GetTickCount64()); }

  static const wchar_t* ClassName() { return L"WendrelTimer"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class BaseWindow<Timer>;
  void Restart();

  std::function<void()> handler_;
  bool enabled_ = false;
  std::int32_t interval_ = 1000;
};

}  // namespace wendrel::win32
