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

bool Plain(char c) { return c >= '!' && c <= '~' && c != '%'; }

// A name as one blank-free field of a line.
std::string Escaped(std::string_view name) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string field;
  for (const char c : name) {
    if (Plain(c)) {
      field += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      field += {'%', kDigits[byte >> 4], kDigits[byte & 15]};
    }
  }
  return field;
}

bool Unescape(std::string_view field, std::string& name) {
  name.clear();
  for (size_t i = 0; i < field.size(); ++i) {
    if (Plain(field[i])) {
      name += field[i];
      continue;
    }
    unsigned byte = 0;
    if (field[i] != '%' || i + 2 >= field.size() || !ReadNumber(field.substr(i + 1, 2), byte, 16)) {
      return false;
    }
    name += static_cast<char>(byte);
    i += 2;
  }
  return true;
}

// The blank-separated fields of a line; a doubled, leading or final blank makes an empty field.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t blank = line.find(' ');
    fields.push_back(line.substr(0, blank));
    if (blank == std::string_view::npos || fields.size() > 5) return fields;
    line.remove_prefix(blank + 1);
  }
}

// One whole line of the log applied to the list; other lines change nothing.
void Replay(std::string_view line, TakenList& list) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields[0] == "=" && fields.size() == 2) {
    std::uint32_t owner = 0;
    if (ReadNumber(fields[1], owner, 10)) list.owner = owner;
    return;
  }
  WindowHandle window = 0;
  if (fields.size() < 2 || !ReadNumber(fields[1], window, 10)) return;
  if (fields[0] == "-" && fields.size() == 2) {
    list.windows.erase(window);
    return;
  }
  if (fields[0] != "+" || fields.size() < 3 || fields.size() > 5) return;
  std::uint32_t style = 0;
  const std::string_view styleText = fields[2];
  if (styleText.size() < 3 || styleText.substr(0, 2) != "0x" || !ReadNumber(styleText.substr(2), style, 16)) {
    return;
  }
  TakenWindow taken{static_cast<std::int32_t>(style), {}, {}};
  if (fields.size() > 3 && (fields[3].empty() || !Unescape(fields[3], taken.windowClass))) return;
  if (fields.size() > 4 && (fields[4].empty() || !Unescape(fields[4], taken.image))) return;
  list.windows.emplace(window, std::move(taken));
}

}  // namespace

std::int32_t StyleWithoutButton(std::int32_t style) { return (style | kWsExToolWindow) & ~kWsExAppWindow; }

std::int32_t StyleWithButton(std::int32_t originalStyle) {
  return (originalStyle & ~kWsExToolWindow) | kWsExAppWindow;
}

void ShowInTaskbar(IWindowSystem& windows, WindowHandle window, std::int32_t originalStyle) {
  if (!windows.IsVisible(window)) {
    // Showing it would bring back a window its program hid, or one asked to close.
    windows.SetWindowLongA(window, kGwlExStyle, StyleWithButton(originalStyle));
    return;
  }
  windows.ShowWindow(window, kSwHide);
  windows.SetWindowLongA(window, kGwlExStyle, StyleWithButton(originalStyle));
  windows.ShowWindow(window, kSwShow);
}

std::string OwnerLine(std::uint32_t process) { return "= " + std::to_string(process) + "\r\n"; }

std::string TakenLine(WindowHandle window, const TakenWindow& taken) {
  std::string line = "+ " + std::to_string(window) + " " + Hex(taken.style);
  if (!taken.windowClass.empty()) {
    line += " " + Escaped(taken.windowClass);
    if (!taken.image.empty()) line += " " + Escaped(taken.image);
  }
  return line + "\r\n";
}

std::string GivenBackLine(WindowHandle window) { return "- " + std::to_string(window) + "\r\n"; }

std::string SerializeTakenWindows(std::uint32_t owner, const TakenWindows& taken) {
  std::string text = OwnerLine(owner);
  for (const auto& [window, entry] : taken) text += TakenLine(window, entry);
  return text;
}

TakenList ParseTakenWindows(std::string_view text) {
  TakenList list;
  for (;;) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) break;  // the last line was cut short
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Replay(line, list);
    text.remove_prefix(end + 1);
  }
  return list;
}

TaskbarButtons::TaskbarButtons(IWindowSystem& windows, IFileSystem& files, std::string folder,
                               std::uint32_t owner)
    : windows_(windows),
      files_(files),
      folder_(std::move(folder)),
      owner_(owner),
      listPath_(folder_ + "\\Wendrel.Session" + std::to_string(windows.SessionId()) + ".Taskbar") {}

std::string TaskbarButtons::ListPath() const { return listPath_; }

void TaskbarButtons::TakeAway(WindowHandle window) {
  const std::int32_t style = windows_.GetWindowLongA(window, kGwlExStyle);
  // Recorded before the window changes: a program killed in between leaves nothing untracked.
  if (!taken_.contains(window)) {
    TakenWindow taken{style, windows_.WindowClass(window), {}};
    if (!taken.windowClass.empty()) taken.image = windows_.ProcessImage(window);
    const std::string line = TakenLine(window, taken);
    taken_.emplace(window, std::move(taken));
    Record(line);
  }
  windows_.ShowWindow(window, kSwHide);
  windows_.SetWindowLongA(window, kGwlExStyle, StyleWithoutButton(style));
  windows_.ShowWindow(window, kSwShow);
}

void TaskbarButtons::GiveBack(WindowHandle window) {
  const auto found = taken_.find(window);
  if (found == taken_.end()) {
    ShowInTaskbar(windows_, window, windows_.GetWindowLongA(window, kGwlExStyle));
    return;
  }
  // A window that has gone, or whose handle another window now has, is only forgotten.
  if (IsStillTaken(window, found->second)) ShowInTaskbar(windows_, window, found->second.style);
  Forget(window);
}

void TaskbarButtons::GiveAllBack() {
  const TakenWindows taken = std::move(taken_);
  taken_.clear();
  for (const auto& [window, entry] : taken) {
    if (IsStillTaken(window, entry)) ShowInTaskbar(windows_, window, entry.style);
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
  const auto found = taken_.find(window);
  if (found != taken_.end()) return IsStillTaken(window, found->second);
  return (windows_.GetWindowLongA(window, kGwlExStyle) & kWsExToolWindow) != 0;
}

bool TaskbarButtons::IsStillTaken(WindowHandle window, const TakenWindow& taken) {
  if ((windows_.GetWindowLongA(window, kGwlExStyle) & kWsExToolWindow) == 0) return false;
  if (taken.windowClass.empty()) return true;
  return windows_.WindowClass(window) == taken.windowClass &&
         (taken.image.empty() || windows_.ProcessImage(window) == taken.image);
}

bool TaskbarButtons::ListExists() {
  return files_.FileExists(ListPath()) || files_.FileExists(files_.ProgramFolder() + "\\" + kOlderListName);
}

TakenList TaskbarButtons::ReadList(const std::string& path) {
  try {
    return ParseTakenWindows(files_.ReadFileHead(path, kListReadLimit));
  } catch (const PlatformError&) {
    return {};  // no list: nothing was left behind
  }
}

void TaskbarButtons::GiveBackLeftBehind(const std::optional<std::vector<WindowHandle>>& listed) {
  const std::string older = files_.ProgramFolder() + "\\" + kOlderListName;
  TakenWindows left = ReadList(ListPath()).windows;
  left.merge(ReadList(older).windows);
  std::unordered_set<WindowHandle> open;
  if (listed) open.insert(listed->begin(), listed->end());
  std::erase_if(left, [&](const auto& entry) {
    return entry.second.windowClass.empty() && !open.contains(entry.first);
  });
  try {
    if (files_.FileExists(older)) files_.DeleteFile(older);
  } catch (const PlatformError&) {
    // Read again at the next start, where its windows are found with their buttons.
  }
  // Windows this run took away keep the style it saw first.
  taken_.merge(left);
  GiveAllBack();
}

void TaskbarButtons::GiveBackForOwner() {
  TakenList list = ReadList(ListPath());
  if (list.owner != owner_) return;
  // The program writes every window's class; a line without one cannot be checked.
  std::erase_if(list.windows, [](const auto& entry) { return entry.second.windowClass.empty(); });
  taken_ = std::move(list.windows);
  GiveAllBack();
}

void TaskbarButtons::Record(const std::string& line) {
  try {
    if (rewrite_ || lines_ + 1 > 2 * taken_.size() + 16) {
      files_.ReplaceFile(ListPath(), SerializeTakenWindows(owner_, taken_));
      lines_ = taken_.size() + 1;
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
