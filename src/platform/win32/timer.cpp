#include "platform/win32/timer.h"

namespace wendrel::win32 {
namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer() { Create(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE); }

Timer::~Timer() { ::KillTimer(Hwnd(), kTimerId); }

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void Timer::SetInterval(std::int32_t milliseconds) {
  interval_ = milliseconds;
  if (enabled_) Restart();
}

// SetTimer on a running timer replaces it, so the countdown starts afresh either way.
void Timer::Restart() {
  if (enabled_ && interval_ > 0) {
    ::SetTimer(Hwnd(), kTimerId, static_cast<UINT>(interval_), nullptr);
  } else {
    ::KillTimer(Hwnd(), kTimerId);
  }
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    // A tick can still be queued after the timer was switched off inside a handler.
    if (enabled_ && handler_) handler_();
    return 0;
  }
  return Default(message, wParam, lParam);
}

}  // namespace wendrel::win32
