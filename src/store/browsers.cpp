#include "store/browsers.h"

#include <algorithm>

#include "platform/app_windows.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/utf8.h"
#include "store/groups.h"
#include "store/options.h"
#include "store/settings.h"

namespace wendrel {

namespace {

constexpr std::int64_t kAdoptionMilliseconds = 10000;
constexpr std::uint64_t kLaterStamps = std::uint64_t{1} << 40;

bool SameImage(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Browsers of Firefox's family take one site per new window, with their own option name.
bool IsGeckoBrowser(std::string_view image) {
  return SameImage(image, "firefox.exe") || SameImage(image, "librewolf.exe") ||
         SameImage(image, "waterfox.exe");
}

// A site given as a path (the help page beside the program) becomes its file: URL.
std::string SiteAddress(std::string_view site) {
  const bool drivePath = site.size() >= 3 && site[1] == ':' && (site[2] == '\\' || site[2] == '/');
  const bool sharePath = site.substr(0, 2) == "\\\\";
  const bool rootPath = !site.empty() && site[0] == '/';
  if (!drivePath && !sharePath && !rootPath) return std::string(site);
  std::string url = drivePath ? "file:///" : rootPath ? "file://" : "file:";
  for (const char c : site) {
    if (c == '\\') {
      url += '/';
    } else if (c == ' ' || c == '%' || c == '#' || c == '?') {
      static const char kHex[] = "0123456789ABCDEF";
      url += '%';
      url += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
      url += kHex[static_cast<unsigned char>(c) & 0xF];
    } else {
      url += c;
    }
  }
  return url;
}

// Addresses compared as a browser shows them: with their scheme, without a final slash.
std::string Comparable(std::string_view address) {
  std::string text = AddressWithScheme(address);
  if (!text.empty() && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

struct Browsers::Item {
  std::unique_ptr<IBrowser> browser;
  bool detailsRead = false;
  std::string name = "*";
  std::string url = "*";
};

Browsers::Browsers(IShell& shell, IAppWindows& appWindows, IPrograms& programs, ITimer& clock,
                   const Options& options, const Settings& settings)
    : shell_(shell),
      programs_(programs),
      clock_(clock),
      options_(options),
      settings_(settings),
      apps_(appWindows, settings) {}

Browsers::~Browsers() = default;

void Browsers::CreateCollection(std::function<void()> changed,
                                std::function<void(WindowHandle)> addressRead) {
  collection_ = shell_.CreateShellWindows();
  // The windows open before the start come after the shell's windows of that time (whose
  // stamps, like those of shell windows no announcement stands for, come from the lowest
  // block) and before every window that appears later.
  nextStamp_ = kLaterStamps;
  apps_.Start(
      std::move(changed), std::move(addressRead), [this] { return nextStamp_++; },
      [this] { return appEarlyStamp_++; }, [this] { return clock_.Now(); });
}

void Browsers::RenewCollection() {
  CloseSnapshot();
  collection_ = shell_.CreateShellWindows();
}

void Browsers::ReleaseCollection() {
  CloseSnapshot();
  collection_.reset();
  apps_.Stop();
}

void Browsers::NoteShellWindowOpened() { shellOpenedStamps_.push_back(nextStamp_++); }

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
  if (IsAppWindow(window)) {
    apps_.Close(window);
    return;
  }
  for (int pass = 0; pass < 2; ++pass) {
    if (FirstMatch(window, [](IBrowser& browser) { browser.Quit(); })) return;
  }
}

void Browsers::CloseAll(std::span<const WindowHandle> windows) {
  std::vector<WindowHandle> left;
  std::unordered_set<WindowHandle> closed;
  for (const WindowHandle window : windows) {
    if (!IsAppWindow(window)) {
      left.push_back(window);
    } else if (closed.insert(window).second) {
      apps_.Close(window);  // a request: the window goes when it will, or stays
    }
  }
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
  if (IsAppWindow(window)) {
    apps_.Refresh(window);
    return;
  }
  FirstMatch(window, [](IBrowser& browser) { browser.Refresh(); });
}

void Browsers::Stop(WindowHandle window) {
  if (IsAppWindow(window)) {
    apps_.StopLoading(window);
    return;
  }
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
  if (IsAppWindow(window)) {
    name = apps_.Title(window);
    url = apps_.Address(window).value_or("");
    return;
  }
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

std::optional<std::vector<WindowHandle>> Browsers::OpenSnapshot(
    const std::function<bool(WindowHandle)>& toolBitIsOurs) {
  CloseSnapshot();
  if (!collection_) return std::nullopt;
  std::vector<std::unique_ptr<IBrowser>> items;
  try {
    items = collection_->Items();
  } catch (const std::exception&) {
    return std::nullopt;
  }
  // The shell's windows first seen now take the places of the shell's announcements, oldest
  // first; windows no announcement stands for (those open before the start) come after.
  std::unordered_map<WindowHandle, std::uint64_t> shellStamps;
  const auto stampOf = [&](WindowHandle window) {
    if (const auto known = shellStamps_.find(window); known != shellStamps_.end()) return known->second;
    if (shellOpenedStamps_.empty()) return earlyStamp_ < kLaterStamps / 2 ? earlyStamp_++ : nextStamp_++;
    const std::uint64_t stamp = shellOpenedStamps_.front();
    shellOpenedStamps_.pop_front();
    return stamp;
  };
  std::vector<AppWindowSource::Counted> shellWindows;
  shellWindows.reserve(items.size());
  for (auto& browser : items) {
    if (!browser) continue;
    WindowHandle window = 0;
    try {
      window = browser->Hwnd();
    } catch (const std::exception&) {
      continue;  // an item that cannot report its handle takes no part in the pass
    }
    const auto [stamp, first] = shellStamps.try_emplace(window, 0);
    if (first) stamp->second = stampOf(window);
    shellWindows.push_back({window, stamp->second});
    if (snapshotIndex_.emplace(window, snapshot_.size()).second) {
      snapshot_.push_back(Item{std::move(browser)});
    }
  }
  // The browsers' windows go in among them by the order of appearance.
  const std::vector<AppWindowSource::Counted> apps = apps_.Look(toolBitIsOurs);
  size_t nextApp = 0;
  std::vector<WindowHandle> windows;
  windows.reserve(shellWindows.size() + apps.size());
  for (const auto& shellWindow : shellWindows) {
    for (; nextApp < apps.size() && apps[nextApp].stamp < shellWindow.stamp; ++nextApp) {
      windows.push_back(apps[nextApp].window);
    }
    windows.push_back(shellWindow.window);
  }
  for (; nextApp < apps.size(); ++nextApp) windows.push_back(apps[nextApp].window);
  shellStamps_.swap(shellStamps);
  shellOpenedStamps_.clear();
  // Launches that no window answered within their time are forgotten, and so are decisions
  // about windows that have gone.
  const std::int64_t now = clock_.Now();
  std::erase_if(launches_, [&](const Launch& launch) { return now - launch.time > kAdoptionMilliseconds; });
  std::erase_if(adoptionDecided_, [&](WindowHandle window) { return !IsAppWindow(window); });
  inSnapshot_ = true;
  return windows;
}

std::vector<WindowHandle> Browsers::WindowsToRepair() {
  std::vector<WindowHandle> windows =
      OpenSnapshot([](WindowHandle) { return false; }).value_or(std::vector<WindowHandle>{});
  CloseSnapshot();
  const std::vector<WindowHandle> frames = apps_.Frames();
  windows.insert(windows.end(), frames.begin(), frames.end());
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
  apps_.RequestReads();
}

}  // namespace wendrel

namespace wendrel {

bool Browsers::LaunchSites(std::span<const SiteRef> sites, const std::string& groupName) {
  if (settings_.OpenIn == OpenInChoice::kShell || sites.empty()) return false;
  const std::string program = programs_.DefaultHttpsProgram();
  const std::string image(ImageNameOf(program));
  if (program.empty() || !settings_.IsListedBrowser(image)) return false;
  const bool gecko = IsGeckoBrowser(image);
  // The windows open now are never taken for the ones these launches open.
  const std::vector<WindowHandle> listed = apps_.ListedNow();
  const auto openBefore =
      std::make_shared<const std::unordered_set<WindowHandle>>(listed.begin(), listed.end());
  const std::string newWindow = gecko ? "-new-window" : "--new-window";
  const auto launch = [&](std::vector<std::string> urls, std::string shortName) {
    std::vector<std::string> arguments{newWindow};
    for (const std::string& url : urls) {
      if (!url.empty()) arguments.push_back(url);
    }
    programs_.Launch(program, arguments);
    launches_.push_back(Launch{image, std::move(urls), std::move(shortName), clock_.Now(), openBefore});
  };
  if (settings_.SitesAsTabs && !gecko) {
    std::vector<std::string> urls;
    for (const SiteRef& site : sites) urls.push_back(SiteAddress(TrimSpaces(site.url)));
    launch(std::move(urls), groupName.empty() ? std::string(sites.front().shortName) : groupName);
    return true;
  }
  for (const SiteRef& site : sites) launch({SiteAddress(TrimSpaces(site.url))}, std::string(site.shortName));
  return true;
}

std::optional<std::string> Browsers::Adopt(WindowHandle window) {
  if (launches_.empty() || !IsAppWindow(window) || adoptionDecided_.count(window) != 0) return std::nullopt;
  // The address tells which launch the window answers; until its read has ended, wait for it.
  if (settings_.ReadAddresses && !apps_.AddressSettled(window)) return std::nullopt;
  adoptionDecided_.insert(window);
  const std::string image = apps_.ImageName(window);
  const std::int64_t seen = apps_.FirstSeen(window);
  const auto answers = [&](const Launch& launch) {
    return launch.openBefore->count(window) == 0 && seen - launch.time <= kAdoptionMilliseconds &&
           SameImage(launch.image, image);
  };
  auto chosen = launches_.end();
  if (const auto address = apps_.Address(window)) {
    const std::string shown = Comparable(*address);
    chosen = std::find_if(launches_.begin(), launches_.end(), [&](const Launch& launch) {
      return answers(launch) && std::any_of(launch.urls.begin(), launch.urls.end(),
                                            [&](const std::string& url) { return Comparable(url) == shown; });
    });
  }
  if (chosen == launches_.end()) chosen = std::find_if(launches_.begin(), launches_.end(), answers);
  if (chosen == launches_.end()) return std::nullopt;
  std::string shortName = std::move(chosen->shortName);
  launches_.erase(chosen);
  return shortName;
}

}  // namespace wendrel
