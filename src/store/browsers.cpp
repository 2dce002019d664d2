#include "store/browsers.h"

#include <unordered_set>

#include "platform/shell.h"
#include "store/options.h"

namespace wendrel {

struct Browsers::Item {
  std::unique_ptr<IBrowser> browser;
  bool detailsRead = false;
  std::string name = "*";
  std::string url = "*";
};

Browsers::Browsers(IShell& shell, const Options& options) : shell_(shell), options_(options) {}

Browsers::~Browsers() = default;

void Browsers::CreateCollection() { collection_ = shell_.CreateShellWindows(); }

void Browsers::ReleaseCollection() {
  CloseSnapshot();
  collection_.reset();
}

// Walks the collection for the first item with the handle on which the action succeeds; items
// that cannot be read, or on which the action fails, are passed over.
template <typename Action>
bool Browsers::FirstMatch(WindowHandle window, Action action) {
  if (!collection_) return false;
  std::vector<std::unique_ptr<IBrowser>> items;
  try {
    items = collection_->Items();
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

void Browsers::Close(WindowHandle window) {
  for (int pass = 0; pass < 2; ++pass) {
    if (FirstMatch(window, [](IBrowser& browser) { browser.Quit(); })) return;
  }
}

void Browsers::CloseAll(std::span<const WindowHandle> windows) {
  std::vector<WindowHandle> left(windows.begin(), windows.end());
  std::unordered_set<WindowHandle> closed;
  for (int pass = 0; pass < 2 && !left.empty() && collection_; ++pass) {
    std::vector<std::unique_ptr<IBrowser>> items;
    try {
      items = collection_->Items();
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

void Browsers::Refresh(WindowHandle window) {
  FirstMatch(window, [](IBrowser& browser) { browser.Refresh(); });
}

void Browsers::Stop(WindowHandle window) {
  FirstMatch(window, [](IBrowser& browser) { browser.Stop(); });
}

namespace {

// Reads name then URL; what was read before a failure stays, the rest stays "*".
void ReadFrom(IBrowser& browser, const Options& options, std::string& name, std::string& url) {
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

void Browsers::ReadDetails(WindowHandle window, std::string& name, std::string& url) {
  name = "*";
  url = "*";
  if (inSnapshot_) {
    const auto found = snapshotIndex_.find(window);
    if (found == snapshotIndex_.end()) return;
    Item& item = snapshot_[found->second];
    if (!item.detailsRead) {
      ReadFrom(*item.browser, options_, item.name, item.url);
      item.detailsRead = true;
    }
    name = item.name;
    url = item.url;
    return;
  }
  FirstMatch(window, [&](IBrowser& browser) { ReadFrom(browser, options_, name, url); });
}

WindowHandle Browsers::OpenNew(const std::string& url, std::string& name, std::string& locationUrl) {
  std::unique_ptr<IBrowser> browser = shell_.CreateBrowser();
  if (!url.empty()) browser->Navigate(url);
  name = browser->LocationName();
  locationUrl = browser->LocationURL();
  const WindowHandle window = browser->Hwnd();
  browser->SetVisible(true);
  return window;
}

std::optional<std::vector<WindowHandle>> Browsers::OpenSnapshot() {
  CloseSnapshot();
  if (!collection_) return std::nullopt;
  std::vector<std::unique_ptr<IBrowser>> items;
  try {
    items = collection_->Items();
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

void Browsers::ForgetDetails(WindowHandle window) {
  if (!inSnapshot_) return;
  if (const auto found = snapshotIndex_.find(window); found != snapshotIndex_.end()) {
    snapshot_[found->second].detailsRead = false;
  }
}

void Browsers::CloseSnapshot() {
  inSnapshot_ = false;
  snapshot_.clear();
  snapshotIndex_.clear();
}

}  // namespace wendrel
