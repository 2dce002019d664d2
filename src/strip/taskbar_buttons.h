// The windows the program took off the taskbar, each with the extended style it had before, so
// that however the program ends every one of them gets its button back. The same list is kept
// in a small file beside the program, for a guard process that outlives a killed or crashed
// program and for the next start after a power cut.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace wendrel {

class IFileSystem;
class IWindowSystem;

// The extended style that takes a window's taskbar button away: the tool-window bit set, the
// application-window bit cleared, every other bit kept.
std::int32_t StyleWithoutButton(std::int32_t style);
// The style that gives a window its button back: its own style from before, with the
// tool-window bit cleared and the application-window bit set.
std::int32_t StyleWithButton(std::int32_t originalStyle);

// Gives a window its taskbar button back with its own style, and shows it again unless it is
// hidden: a hidden window gets its button when its own program shows it.
void ShowInTaskbar(IWindowSystem& windows, WindowHandle window, std::int32_t originalStyle);

// A window the program took off the taskbar: the extended style it had before, and what tells
// it from a later window that gets the same handle.
struct TakenWindow {
  std::int32_t style = 0;
  // Empty when not known: a line an older version wrote.
  std::string windowClass;
  // The image name of the program it belongs to; empty when it could not be read.
  std::string image;
  bool operator==(const TakenWindow&) const = default;
};
using TakenWindows = std::map<WindowHandle, TakenWindow>;

// The list as its file holds it: the windows, and the process of the run that wrote it (0
// when no line names one).
struct TakenList {
  std::uint32_t owner = 0;
  TakenWindows windows;
  bool operator==(const TakenList&) const = default;
};

// The list file is a log of changes, one a line, each ending in CR LF:
//   "= PROCESS"                     the run that keeps the list; every whole write begins so
//   "+ HANDLE 0xSTYLE CLASS IMAGE"  the run took the window's button away; STYLE is its own
//                                   style; CLASS and IMAGE (left out when not known) have every
//                                   byte outside '!'..'~', and '%', written as %XX
//   "- HANDLE"                      the window got its button back, or has gone
// Older versions wrote "+ HANDLE 0xSTYLE" alone. Reading replays the lines in order; a line that
// is not whole (a write cut short) or not well formed is passed over. The first style recorded
// for a window stays until the window is removed.
std::string OwnerLine(std::uint32_t process);
std::string TakenLine(WindowHandle window, const TakenWindow& taken);
std::string GivenBackLine(WindowHandle window);
std::string SerializeTakenWindows(std::uint32_t owner, const TakenWindows& taken);
TakenList ParseTakenWindows(std::string_view text);

class TaskbarButtons {
 public:
  // The list that versions before one list per session kept, read by the start-up repair only.
  static constexpr const char* kOlderListName = "Wendrel.Taskbar";
  // The most of a list file that is read: far more than any list the program writes.
  static constexpr std::size_t kListReadLimit = 1 << 20;

  // Keeps the list of the process `owner` (this run's own process, or the one a guard watches)
  // in `folder`, where the program keeps its files, under the name of the session the program
  // runs in: sessions that share the folder keep their lists apart.
  TaskbarButtons(IWindowSystem& windows, IFileSystem& files, std::string folder, std::uint32_t owner);
  TaskbarButtons(const TaskbarButtons&) = delete;
  TaskbarButtons& operator=(const TaskbarButtons&) = delete;

  // "Wendrel.Session1.Taskbar" in the program's folder.
  std::string ListPath() const;

  // Takes the window's button away (hide, restyle, show). The style it had the first time is
  // the one it gets back.
  void TakeAway(WindowHandle window);
  // Gives one window its button back and forgets it. A window this run took gets its own style
  // back only while it is still the window taken; one it did not take keeps the style it has
  // now, but for the taskbar bits.
  void GiveBack(WindowHandle window);
  // Gives every remembered window that is still the one taken, still without its button, its
  // button back, forgets them all and removes the list file. Every way of ending the program
  // goes through here.
  void GiveAllBack();
  // Forgets a window without touching it.
  void Forget(WindowHandle window);
  // The window is open and still carries the tool-window bit the program set; when this run
  // took it, it is also still of the class and program it had.
  bool StillTakenAway(WindowHandle window);

  // At start: gives back the windows that earlier runs in this session left without their
  // buttons (the machine lost power, or the program and its guard were both ended), from this
  // session's list and an older version's. A window is given back when it is still the one
  // taken; a line that does not tell (an older version's) only when `listed`, the shell's
  // windows, holds its handle.
  void GiveBackLeftBehind(const std::optional<std::vector<WindowHandle>>& listed);
  // The guard's work once its program has ended: gives back the windows of that program's own
  // list that are still the ones taken; a list another run has written since is left to that
  // run.
  void GiveBackForOwner();
  bool ListExists();

  const TakenWindows& Taken() const { return taken_; }
  bool Holds(WindowHandle window) const { return taken_.count(window) != 0; }

 private:
  // The window still carries the tool-window bit and, when known, the class and image taken.
  bool IsStillTaken(WindowHandle window, const TakenWindow& taken);
  // The list at the path, read at a bounded cost; empty when there is none.
  TakenList ReadList(const std::string& path);
  // Brings the list file up to date with one more line, or writes it whole when the log has
  // grown to twice what it describes, or when an earlier write failed.
  void Record(const std::string& line);
  void RemoveList();

  IWindowSystem& windows_;
  IFileSystem& files_;
  std::string folder_;
  std::uint32_t owner_;
  std::string listPath_;
  TakenWindows taken_;
  std::size_t lines_ = 0;
  // The first write of a run replaces whatever an earlier run left.
  bool rewrite_ = true;
};

}  // namespace wendrel
