// Operations on a browser window given its handle, through the shell's window collection.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/types.h"
#include "store/app_windows.h"

namespace wendrel {

class IBrowser;
class IPrograms;
class IShell;
class IShellWindows;
class ITimer;
struct Options;
struct Settings;
struct SiteRef;

// The windows that get tabs come from two sources: the shell's collection (its browser and
// folder windows, reached through automation) and today's browsers' top-level windows. Both
// meet here, so that the rest of the program sees one list of windows in the order they
// appeared, and one set of requests on them.
class Browsers {
 public:
  Browsers(IShell& shell, IAppWindows& appWindows, IPrograms& programs, ITimer& clock, const Options& options,
           const Settings& settings);
  ~Browsers();
  Browsers(const Browsers&) = delete;
  Browsers& operator=(const Browsers&) = delete;

  // The program's shell window collection, created at start and released at unload.
  // With the collection, the browsers' windows are followed: `changed` on their events,
  // `addressRead` when a window's address has been read (or could not be).
  void CreateCollection(std::function<void()> changed, std::function<void(WindowHandle)> addressRead);
  void ReleaseCollection();
  // The shell started again: a new collection replaces the dead shell's. The browsers' windows
  // are followed by the system, not the shell, and stay followed.
  void RenewCollection();
  // The shell announced a new window: it takes its place in the order of appearance.
  void NoteShellWindowOpened();

  // Lookups walk the collection and pass over any item that cannot be read or acted on;
  // none of these lets an error out.
  void Close(WindowHandle window);
  // Closes each window as Close would, with one walk of the collection per try for
  // all of them instead of one per window.
  void CloseAll(std::span<const WindowHandle> windows);
  void Refresh(WindowHandle window);
  // Both outputs are "*" when no window in the collection has the handle.
  void ReadDetails(WindowHandle window, std::string& name, std::string& url);
  // Tells the first browser with the handle to stop loading.
  void Stop(WindowHandle window);
  // Opens a new visible browser, on the URL unless it is empty. Throws PlatformError, with
  // whatever outputs were already written.
  WindowHandle OpenNew(const std::string& url, std::string& name, std::string& locationUrl);

  // A reconciliation pass looks at the collection once: while a snapshot is open, the
  // collection is enumerated once, each item's handle read once, and each item's details at
  // most once; ReadDetails answers from it. Returns the readable handles in collection order,
  // or nothing when the collection cannot be enumerated.
  // The browsers' windows that count are merged in by order of appearance; `toolBitIsOurs`
  // tells the tool-window bits the program set itself.
  std::optional<std::vector<WindowHandle>> OpenSnapshot(
      const std::function<bool(WindowHandle)>& toolBitIsOurs);
  // The shell's windows and the listed browsers' frames whatever their state: what a restart
  // may give buttons back to.
  std::vector<WindowHandle> WindowsToRepair();
  void CloseSnapshot();
  // The next ReadDetails of this window within the snapshot reads the browser again: the
  // window raised by a pass may have navigated or gone since the pass read it.
  void ForgetDetails(WindowHandle window);

  // A browser window outside the shell's collection: its caption follows its title when its
  // address is not known, and it is never saved without an address.
  bool IsAppWindow(WindowHandle window) const { return apps_.Knows(window); }
  // Such a window present but hidden: closing in two steps, it keeps its tab until it goes.
  bool AppWindowHidden(WindowHandle window) const { return apps_.Hidden(window); }
  std::string AppTitle(WindowHandle window) const { return apps_.Title(window); }
  std::optional<std::string> AppAddress(WindowHandle window) const { return apps_.Address(window); }

  // Opens the sites in the user's default browser when it is a listed one and the settings
  // allow: one launch per site, or one for them all as tabs of one window. False when the
  // sites must open through the shell instead. Throws PlatformError when a launch fails; the
  // sites after it are not opened.
  bool LaunchSites(std::span<const SiteRef> sites, const std::string& groupName);
  // The short name a launch gives the window, once, when the window is one that a launch not
  // yet matched opened: a window of the launched browser that appeared within 10 s after it,
  // matched by its address when read, else to the oldest launch.
  std::optional<std::string> Adopt(WindowHandle window);

 private:
  struct Launch {
    std::string image;
    std::vector<std::string> urls;
    std::string shortName;
    std::int64_t time = 0;
    std::shared_ptr<const std::unordered_set<WindowHandle>> openBefore;
  };
  struct Item;
  template <typename Action>
  bool FirstMatch(WindowHandle window, Action action);

  IShell& shell_;
  IPrograms& programs_;
  ITimer& clock_;
  const Options& options_;
  const Settings& settings_;
  AppWindowSource apps_;
  std::uint64_t earlyStamp_ = 1;
  std::uint64_t appEarlyStamp_ = std::uint64_t{1} << 39;
  std::uint64_t nextStamp_ = 1;
  std::deque<std::uint64_t> shellOpenedStamps_;
  std::unordered_map<WindowHandle, std::uint64_t> shellStamps_;
  std::deque<Launch> launches_;
  std::unordered_set<WindowHandle> adoptionDecided_;
  std::unique_ptr<IShellWindows> collection_;
  std::vector<Item> snapshot_;
  std::unordered_map<WindowHandle, size_t> snapshotIndex_;
  bool inSnapshot_ = false;
};

}  // namespace wendrel
