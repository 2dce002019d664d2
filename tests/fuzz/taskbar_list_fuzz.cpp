// The list of windows without their taskbar buttons, as any file in its place may read: never
// a crash, what it reads is written back the same, and a last line without its end (a write
// cut short) changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "strip/taskbar_buttons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const wendrel::TakenList list = wendrel::ParseTakenWindows(text);
  FUZZ_CHECK(wendrel::ParseTakenWindows(wendrel::SerializeTakenWindows(list.owner, list.windows)) == list);
  for (const auto& [window, taken] : list.windows)
    FUZZ_CHECK(taken.image.empty() || !taken.windowClass.empty());
  const size_t end = text.rfind('\n');
  const std::string whole = end == std::string::npos ? std::string() : text.substr(0, end + 1);
  FUZZ_CHECK(wendrel::ParseTakenWindows(whole) == list);
  return 0;
}
