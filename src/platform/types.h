// Value types shared by the core and the backends: handles, rectangles, rounding.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace wendrel {

// A top-level window as the program knows it: the signed 32-bit value a browser reports.
using WindowHandle = std::int32_t;

// An operating-system rectangle in pixels; right and bottom are coordinates.
struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

// A tab's rectangle within the tab strip, in twips, as single-precision numbers.
struct TabRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
};

// Converts a fractional value to a 32-bit integer, halves going to the even neighbour.
// Values outside the 32-bit range saturate.
std::int32_t RoundHalfEven(double value);

// A failure reported by the platform, with its own description of the error.
class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const std::string& description) : std::runtime_error(description) {}
  std::string Description() const { return what(); }
};

// Runs one step of a sequence that must go on to its end whatever a step throws: the step's
// error is dropped on purpose (the program's end, a handler's later steps).
template <typename Step>
void IgnoringErrors(Step step) {
  try {
    step();
  } catch (const std::exception&) {
    // Dropped on purpose, as the caller asked.
  }
}

}  // namespace wendrel
