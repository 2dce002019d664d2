// The list of windows without their taskbar buttons, as any file in its place may read: never a
// crash, what it reads is written back the same, and a last line without its end changes nothing.
#include "fuzz_check.h"
#include "strip/taskbar_buttons.h"

void FuzzText(const std::string& text) {
  const wendrel::TakenList list = wendrel::ParseTakenWindows(text);
  FUZZ_CHECK(wendrel::ParseTakenWindows(wendrel::SerializeTakenWindows(list.owner, list.windows)) == list);
  for (const auto& [window, taken] : list.windows)
    FUZZ_CHECK(taken.image.empty() || !taken.windowClass.empty());
  const size_t end = text.rfind('\n');
  FUZZ_CHECK(wendrel::ParseTakenWindows(end == std::string::npos ? std::string() : text.substr(0, end + 1)) ==
             list);
}
