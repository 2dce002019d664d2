#include "store/browser_ops.h"

#include <unordered_set>

#include "platform/shell.h"
#include "store/options.h"

namespace wendrel {

struct BrowserOps::Item {
  std::unique_ptr<IBrowser> browser;
  bool detailsRead = false;
  std::string name = "*";
  std::string url = "*";
};

BrowserOps::BrowserOps(IShell& shell, const Options& options) : shell_(shell), options_(options) {}

BrowserOps::~BrowserOps() = default;

void BrowserOps::CreateCollection() { oShellWindows_ = shell_.CreateShellWindows(); }

void BrowserOps::ReleaseCollection() {
  CloseSnapshot();
  oShellWindows_.reset();
}

// Walks the collection for the first item with the handle on which the action succeeds; items
// that cannot be read, or on which the action fails, are passed over.
template <typename Action>
bool BrowserOps::FirstMatch(WindowHandle window, Action action) {
  if (!oShellWindows_) return false;
  std::vector<std::unique_ptr<IBrowser>> items;
  try {
    items = oShellWindows_->Items();
  } catch (const std::exception&) {
    return false;
  }
  for (auto& browser : items) {
    if (!browser) continue;
    try {
      if (browser->Hwnd() != window) continue;
      action(*browser);
      return true;
    } catch (const std::exception&) {
      // An item that vanished or refused the call is skipped; the walk goes on.
    }
  }
  return false;
}

void BrowserOps::CloseIEByHandle(WindowHandle window) {
  for (int pass = 0; pass < 2; ++pass) {
    if (FirstMatch(window, [](IBrowser& browser) { browser.Quit(); })) return;
  }
}

void BrowserOps::CloseIEByHandles(std::span<const WindowHandle> windows) {
  std::vector<WindowHandle> left(windows.begin(), windows.end());
  std::unordered_set<WindowHandle> closed;
  for (int pass = 0; pass < 2 && !left.empty() && oShellWindows_; ++pass) {
    std::vector<std::unique_ptr<IBrowser>> items;
    try {
      items = oShellWindows_->Items();
    } catch (const std::exception&) {
      continue;
    }
    // Each item's handle is read once; the items of one handle stay in collection order.
    std::unordered_map<WindowHandle, std::vector<size_t>> itemsOf;
    for (size_t i = 0; i < items.size(); ++i) {
      if (!items[i]) continue;
      try {
        itemsOf[items[i]->Hwnd()].push_back(i);
      } catch (const std::exception&) {
        // An item that cannot report its handle matches no window.
      }
    }
    std::vector<WindowHandle> failed;
    for (const WindowHandle window : left) {
      if (closed.contains(window)) continue;  // listed twice: gone already
      bool done = false;
      if (const auto found = itemsOf.find(window); found != itemsOf.end()) {
        for (const size_t i : found->second) {
          try {
            items[i]->Quit();
            done = true;
            break;
          } catch (const std::exception&) {
            // Refused; the next item with the handle, or the next try, may do it.
          }
        }
      }
      if (done) {
        closed.insert(window);
      } else {
        failed.push_back(window);
      }
    }
    left.swap(failed);
  }
}

void BrowserOps::RefreshIEByHandle(WindowHandle window) {
  FirstMatch(window, [](IBrowser& browser) { browser.Refresh(); });
}

void BrowserOps::StopByHandle(WindowHandle window) {
  FirstMatch(window, [](IBrowser& browser) { browser.Stop(); });
}

namespace {

// Reads name then URL; what was read before a failure stays, the rest stays "*".
void ReadDetails(IBrowser& browser, const Options& options, std::string& name, std::string& url) {
  name = "*";
  url = "*";
  try {
    name = browser.LocationName();
    if (name.empty()) name = options.DefaultName;
    url = browser.LocationURL();
  } catch (const std::exception&) {
    // The item cannot be read any further; the outputs keep what was read.
  }
}

}  // namespace

void BrowserOps::GetIEDetails(WindowHandle window, std::string& name, std::string& url) {
  name = "*";
  url = "*";
  if (inSnapshot_) {
    const auto found = snapshotIndex_.find(window);
    if (found == snapshotIndex_.end()) return;
    Item& item = snapshot_[found->second];
    if (!item.detailsRead) {
      ReadDetails(*item.browser, options_, item.name, item.url);
      item.detailsRead = true;
    }
    name = item.name;
    url = item.url;
    return;
  }
  FirstMatch(window, [&](IBrowser& browser) { ReadDetails(browser, options_, name, url); });
}

WindowHandle BrowserOps::OpenNewIE(const std::string& url, std::string& name, std::string& locationUrl) {
  std::unique_ptr<IBrowser> browser = shell_.CreateBrowser();
  if (!url.empty()) browser->Navigate(url);
  name = browser->LocationName();
  locationUrl = browser->LocationURL();
  const WindowHandle window = browser->Hwnd();
  browser->SetVisible(true);
  return window;
}

std::optional<std::vector<WindowHandle>> BrowserOps::OpenSnapshot() {
  CloseSnapshot();
  if (!oShellWindows_) return std::nullopt;
  std::vector<std::unique_ptr<IBrowser>> items;
  try {
    items = oShellWindows_->Items();
  } catch (const std::exception&) {
    return std::nullopt;
  }
  std::vector<WindowHandle> windows;
  windows.reserve(items.size());
  for (auto& browser : items) {
    if (!browser) continue;
    WindowHandle window = 0;
    try {
      window = browser->Hwnd();
    } catch (const std::exception&) {
      continue;  // an item that cannot report its handle takes no part in the pass
    }
    windows.push_back(window);
    if (snapshotIndex_.emplace(window, snapshot_.size()).second) {
      snapshot_.push_back(Item{std::move(browser)});
    }
  }
  inSnapshot_ = true;
  return windows;
}

void BrowserOps::ForgetDetails(WindowHandle window) {
  if (!inSnapshot_) return;
  if (const auto found = snapshotIndex_.find(window); found != snapshotIndex_.end()) {
    snapshot_[found->second].detailsRead = false;
  }
}

void BrowserOps::CloseSnapshot() {
  inSnapshot_ = false;
  snapshot_.clear();
  snapshotIndex_.clear();
}

}  // namespace wendrel
