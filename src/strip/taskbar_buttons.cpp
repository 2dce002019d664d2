#include "strip/taskbar_buttons.h"

#include <charconv>
#include <cstdio>
#include <unordered_set>
#include <utility>

#include "platform/file_system.h"
#include "platform/window_system.h"

namespace wendrel {
namespace {

std::string Hex(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value, int base) {
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, error] = std::from_chars(first, last, value, base);
  return !text.empty() && error == std::errc() && end == last;
}

// One whole line of the log applied to the windows it describes; other lines change nothing.
void Replay(std::string_view line, TakenWindows& taken) {
  if (line.size() < 3 || line[1] != ' ') return;
  const std::string_view rest = line.substr(2);
  if (line[0] == '-') {
    WindowHandle window = 0;
    if (ReadNumber(rest, window, 10)) taken.erase(window);
    return;
  }
  if (line[0] != '+') return;
  const size_t blank = rest.find(' ');
  if (blank == std::string_view::npos) return;
  WindowHandle window = 0;
  std::uint32_t style = 0;
  const std::string_view styleText = rest.substr(blank + 1);
  if (!ReadNumber(rest.substr(0, blank), window, 10) || styleText.size() < 3 ||
      styleText.substr(0, 2) != "0x" || !ReadNumber(styleText.substr(2), style, 16)) {
    return;
  }
  taken.emplace(window, static_cast<std::int32_t>(style));
}

}  // namespace

std::int32_t StyleWithoutButton(std::int32_t style) { return (style | kWsExToolWindow) & ~kWsExAppWindow; }

std::int32_t StyleWithButton(std::int32_t originalStyle) {
  return (originalStyle & ~kWsExToolWindow) | kWsExAppWindow;
}

void ShowInTaskbar(IWindowSystem& windows, WindowHandle window, std::int32_t originalStyle) {
  windows.ShowWindow(window, kSwHide);
  windows.SetWindowLongA(window, kGwlExStyle, StyleWithButton(originalStyle));
  windows.ShowWindow(window, kSwShow);
}

std::string TakenLine(WindowHandle window, std::int32_t originalStyle) {
  return "+ " + std::to_string(window) + " " + Hex(originalStyle) + "\r\n";
}

std::string GivenBackLine(WindowHandle window) { return "- " + std::to_string(window) + "\r\n"; }

std::string SerializeTakenWindows(const TakenWindows& taken) {
  std::string text;
  for (const auto& [window, style] : taken) text += TakenLine(window, style);
  return text;
}

TakenWindows ParseTakenWindows(const std::string& text) {
  TakenWindows taken;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // the last line was cut short
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Replay(line, taken);
    start = end + 1;
  }
  return taken;
}

TaskbarButtons::TaskbarButtons(IWindowSystem& windows, IFileSystem& files, std::string folder)
    : windows_(windows), files_(files), folder_(std::move(folder)) {}

std::string TaskbarButtons::ListPath() const { return folder_ + "\\" + kListName; }

void TaskbarButtons::TakeAway(WindowHandle window) {
  const std::int32_t style = windows_.GetWindowLongA(window, kGwlExStyle);
  // Recorded before the window changes: a program killed in between leaves nothing untracked.
  if (taken_.emplace(window, style).second) Record(TakenLine(window, style));
  windows_.ShowWindow(window, kSwHide);
  windows_.SetWindowLongA(window, kGwlExStyle, StyleWithoutButton(style));
  windows_.ShowWindow(window, kSwShow);
}

void TaskbarButtons::GiveBack(WindowHandle window) {
  const auto found = taken_.find(window);
  const std::int32_t style =
      found != taken_.end() ? found->second : windows_.GetWindowLongA(window, kGwlExStyle);
  ShowInTaskbar(windows_, window, style);
  Forget(window);
}

void TaskbarButtons::GiveAllBack() {
  const TakenWindows taken = std::move(taken_);
  taken_.clear();
  for (const auto& [window, style] : taken) {
    if (StillTakenAway(window)) ShowInTaskbar(windows_, window, style);
  }
  RemoveList();
}

void TaskbarButtons::Forget(WindowHandle window) {
  if (taken_.erase(window) == 0) return;
  if (taken_.empty()) {
    RemoveList();
  } else {
    Record(GivenBackLine(window));
  }
}

bool TaskbarButtons::StillTakenAway(WindowHandle window) {
  return (windows_.GetWindowLongA(window, kGwlExStyle) & kWsExToolWindow) != 0;
}

bool TaskbarButtons::ListExists() { return files_.FileExists(ListPath()); }

void TaskbarButtons::GiveBackListed(const std::optional<std::vector<WindowHandle>>& among) {
  std::string text;
  try {
    text = files_.ReadFile(ListPath());
  } catch (const PlatformError&) {
    return;  // no list: nothing was left behind
  }
  TakenWindows listed = ParseTakenWindows(text);
  if (among) {
    const std::unordered_set<WindowHandle> open(among->begin(), among->end());
    std::erase_if(listed, [&](const auto& entry) { return open.count(entry.first) == 0; });
  }
  // Windows this run took away keep the style it saw first.
  taken_.merge(listed);
  GiveAllBack();
}

void TaskbarButtons::Record(const std::string& line) {
  try {
    if (rewrite_ || lines_ + 1 > 2 * taken_.size() + 16) {
      files_.ReplaceFile(ListPath(), SerializeTakenWindows(taken_));
      lines_ = taken_.size();
      rewrite_ = false;
    } else {
      files_.AppendFile(ListPath(), line);
      ++lines_;
    }
  } catch (const PlatformError&) {
    // The list only matters when the program cannot end properly; the next change writes it
    // whole again.
    rewrite_ = true;
  }
}

void TaskbarButtons::RemoveList() {
  lines_ = 0;
  rewrite_ = true;
  try {
    if (files_.FileExists(ListPath())) files_.DeleteFile(ListPath());
  } catch (const PlatformError&) {
    // A list left behind names windows that have their buttons; the next start finds them so.
  }
}

}  // namespace wendrel
