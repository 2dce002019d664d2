// Operations on a browser window given its handle, through the shell's window collection.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/types.h"

namespace wendrel {

class IBrowser;
class IShell;
class IShellWindows;
struct Options;

class Browsers {
 public:
  Browsers(IShell& shell, const Options& options);
  ~Browsers();
  Browsers(const Browsers&) = delete;
  Browsers& operator=(const Browsers&) = delete;

  // The program's shell window collection, created at start and released at unload.
  void CreateCollection();
  void ReleaseCollection();

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
  std::optional<std::vector<WindowHandle>> OpenSnapshot();
  void CloseSnapshot();
  // The next ReadDetails of this window within the snapshot reads the browser again: the
  // window raised by a pass may have navigated or gone since the pass read it.
  void ForgetDetails(WindowHandle window);

 private:
  struct Item;
  template <typename Action>
  bool FirstMatch(WindowHandle window, Action action);

  IShell& shell_;
  const Options& options_;
  std::unique_ptr<IShellWindows> collection_;
  std::vector<Item> snapshot_;
  std::unordered_map<WindowHandle, size_t> snapshotIndex_;
  bool inSnapshot_ = false;
};

}  // namespace wendrel
