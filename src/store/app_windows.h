// Today's browsers' top-level windows as a second source of windows beside the shell's
// collection: which of them count, their titles and addresses, and the requests made of them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/app_windows.h"

namespace wendrel {

struct Settings;

// The title without the browser's own name at its end (" - Google Chrome", " — Mozilla Firefox",
// ...); other titles are returned as they are.
std::string_view WithoutBrowserSuffix(std::string_view title);
// The address as saved and shown: `https://` before a displayed text that has no scheme.
std::string AddressWithScheme(std::string_view displayed);
// The window gets a tab: a visible, uncloaked, unowned browser frame of a listed browser that is
// not a picture-in-picture window, without a tool-window bit the program did not set itself.
bool CountsAsBrowserWindow(const AppWindowFacts& facts, const Settings& settings, bool toolBitIsOurs);
// The image name of a program path ("C:\x\msedge.exe" -> "msedge.exe").
std::string_view ImageNameOf(std::string_view programPath);

class AppWindowSource {
 public:
  AppWindowSource(IAppWindows& windows, const Settings& settings);
  AppWindowSource(const AppWindowSource&) = delete;
  AppWindowSource& operator=(const AppWindowSource&) = delete;

  // Follows the windows: `changed` on any window event, `addressRead` after a read's result
  // has been taken in for a window. `stamp` gives each window the place of its appearance
  // among all windows and `now` the time, in milliseconds.
  // `earlyStamp` is for the windows already open at the start.
  void Start(std::function<void()> changed, std::function<void(WindowHandle)> addressRead,
             std::function<std::uint64_t()> stamp, std::function<std::uint64_t()> earlyStamp,
             std::function<std::int64_t()> now);
  void Stop();

  struct Counted {
    WindowHandle window = 0;
    std::uint64_t stamp = 0;
  };
  // One look at the windows for a pass: the windows that count, in the order they appeared.
  // Notes each whose address is not known and not being read, for RequestReads.
  std::vector<Counted> Look(const std::function<bool(WindowHandle)>& toolBitIsOurs);
  // Asks for the addresses noted by the last look. Called once the pass has done with the
  // windows: a browser that hangs while it is read cannot then hold up the pass's own calls.
  void RequestReads();
  // The browser frames of listed browsers whatever their state, for giving buttons back.
  std::vector<WindowHandle> Frames();
  // Every window listed now, whatever its state.
  std::vector<WindowHandle> ListedNow();

  // The window was listed by the last look (or announced since) and has not gone.
  bool Knows(WindowHandle window) const { return known_.count(window) != 0; }
  // Listed by the last look, present but hidden: a window closing in two steps.
  bool Hidden(WindowHandle window) const;
  std::string Title(WindowHandle window) const;
  // The address with its scheme, when one has been read since the window's last name change.
  std::optional<std::string> Address(WindowHandle window) const;
  // The read of the window's address has ended (or reading is off) since it was first seen.
  bool AddressSettled(WindowHandle window) const;
  std::string ImageName(WindowHandle window) const;
  std::int64_t FirstSeen(WindowHandle window) const;

  bool Refresh(WindowHandle window) { return windows_.Refresh(window); }
  bool StopLoading(WindowHandle window) { return windows_.Stop(window); }
  bool Close(WindowHandle window) { return windows_.Close(window); }

 private:
  struct Known {
    AppWindowFacts facts;
    std::uint64_t stamp = 0;
    std::int64_t firstSeen = 0;
    bool addressReadable = false;
    std::string address;
    bool addressWanted = true;  // no read since the last name change
    bool readAgain = true;      // a failed read since the last name change is tried once more
    bool reading = false;
    bool settled = false;
    std::uint64_t generation = 0;  // name changes so far
    std::uint64_t readGeneration = 0;
  };
  Known& Meet(WindowHandle window);
  void OnEvent(WindowHandle window, AppWindowEvent event);
  void OnAddress(const AddressRead& result);

  IAppWindows& windows_;
  const Settings& settings_;
  std::unique_ptr<IAppWindowWatch> watch_;
  std::function<void()> changed_;
  std::function<void(WindowHandle)> addressRead_;
  std::function<std::uint64_t()> stamp_;
  std::function<std::int64_t()> now_;
  std::unordered_map<WindowHandle, Known> known_;
  std::vector<WindowHandle> toRead_;
};

}  // namespace wendrel
