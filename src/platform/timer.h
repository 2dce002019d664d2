// The strip window's refresh timer, and the clock it runs on.
#pragma once

#include <cstdint>
#include <functional>

namespace wendrel {

// Enabling a disabled timer, or giving an enabled timer an interval, starts its countdown
// afresh; the tick handler runs when a full interval has passed.
class ITimer {
 public:
  ITimer() = default;
  ITimer(const ITimer&) = delete;
  ITimer& operator=(const ITimer&) = delete;
  virtual ~ITimer() = default;

  virtual void SetTickHandler(std::function<void()> handler) = 0;
  virtual bool Enabled() = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual std::int32_t Interval() = 0;
  virtual void SetInterval(std::int32_t milliseconds) = 0;
  // Milliseconds on a clock that only moves forward.
  virtual std::int64_t Now() = 0;
};

}  // namespace wendrel
