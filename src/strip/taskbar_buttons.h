// The windows the program took off the taskbar, each with the extended style it had before, so
// that however the program ends every one of them gets its button back. The same list is kept
// in a small file beside the program, for a guard process that outlives a killed or crashed
// program and for the next start after a power cut.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
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

// Gives a window its taskbar button back with its own style, and shows it.
void ShowInTaskbar(IWindowSystem& windows, WindowHandle window, std::int32_t originalStyle);

// Each window with the extended style it had before the program took its button away.
using TakenWindows = std::map<WindowHandle, std::int32_t>;

// The list file is a log of changes, one a line, each ending in CR LF:
//   "+ HANDLE 0xSTYLE"  the program took the window's button away; STYLE is its own style
//   "- HANDLE"          the window got its button back, or has gone
// Reading replays the lines in order; a line that is not whole (a write cut short) is passed
// over. The first style recorded for a window stays until the window is removed.
std::string TakenLine(WindowHandle window, std::int32_t originalStyle);
std::string GivenBackLine(WindowHandle window);
std::string SerializeTakenWindows(const TakenWindows& taken);
TakenWindows ParseTakenWindows(const std::string& text);

class TaskbarButtons {
 public:
  static constexpr const char* kListName = "Wendrel.Taskbar";

  // `folder` is where the program keeps its files (FilesFolder).
  TaskbarButtons(IWindowSystem& windows, IFileSystem& files, std::string folder);
  TaskbarButtons(const TaskbarButtons&) = delete;
  TaskbarButtons& operator=(const TaskbarButtons&) = delete;

  std::string ListPath() const;

  // Takes the window's button away (hide, restyle, show). The style it had the first time is
  // the one it gets back.
  void TakeAway(WindowHandle window);
  // Gives one window its button back unconditionally and forgets it; a window not taken away
  // by this run keeps the style it has now, but for the taskbar bits.
  void GiveBack(WindowHandle window);
  // Gives every remembered window that is still without its button its button back, forgets
  // them all and removes the list file. Every way of ending the program goes through here.
  void GiveAllBack();
  // Forgets a window without touching it.
  void Forget(WindowHandle window);
  // The window is open and still carries the tool-window style the program gave it.
  bool StillTakenAway(WindowHandle window);

  // Gives the windows that the list file names their buttons back, as GiveAllBack does: those
  // a run left behind when it could not end properly. With `among`, only windows in it are
  // touched (handles from before a restart may since name other programs' windows).
  void GiveBackListed(const std::optional<std::vector<WindowHandle>>& among);
  bool ListExists();

  const TakenWindows& Taken() const { return taken_; }
  bool Holds(WindowHandle window) const { return taken_.count(window) != 0; }

 private:
  // Brings the list file up to date with one more line, or writes it whole when the log has
  // grown to twice what it describes, or when an earlier write failed.
  void Record(const std::string& line);
  void RemoveList();

  IWindowSystem& windows_;
  IFileSystem& files_;
  std::string folder_;
  TakenWindows taken_;
  std::size_t lines_ = 0;
  // The first write of a run replaces whatever an earlier run left.
  bool rewrite_ = true;
};

}  // namespace wendrel
