#include "store/app_windows.h"

#include <algorithm>
#include <unordered_set>

#include "platform/utf8.h"
#include "platform/window_system.h"
#include "store/settings.h"

namespace wendrel {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The browsers' own names as their windows' titles end; Edge writes a zero-width space into its
// name on some versions.
constexpr std::string_view kSuffixes[] = {
    " - Google Chrome",   " - Microsoft\xE2\x80\x8B Edge",
    " - Microsoft Edge",  " \xE2\x80\x94 Mozilla Firefox",
    " - Mozilla Firefox", " - Brave",
    " - Vivaldi",         " - Opera",
};

// Schemes written without "//" after the colon; any other scheme is followed by "//", so that
// "localhost:8080/" or "example.com:443" read as addresses without a scheme.
constexpr std::string_view kOpaqueSchemes[] = {"about",      "mailto",      "data",
                                               "javascript", "view-source", "blob"};

bool IsSchemeCharacter(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

bool HasScheme(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  for (size_t i = 0; i < colon; ++i) {
    if (!IsSchemeCharacter(text[i], i == 0)) return false;
  }
  if (text.substr(colon + 1, 2) == "//") return true;
  const std::string_view scheme = text.substr(0, colon);
  return std::any_of(std::begin(kOpaqueSchemes), std::end(kOpaqueSchemes),
                     [&](std::string_view known) { return EqualsNoCase(scheme, known); });
}

}  // namespace

std::string_view WithoutBrowserSuffix(std::string_view title) {
  for (const std::string_view suffix : kSuffixes) {
    if (title.size() >= suffix.size() && title.substr(title.size() - suffix.size()) == suffix) {
      return title.substr(0, title.size() - suffix.size());
    }
  }
  return title;
}

std::string AddressWithScheme(std::string_view displayed) {
  const std::string_view text = TrimSpaces(displayed);
  if (text.empty() || HasScheme(text)) return std::string(text);
  return "https://" + std::string(text);
}

bool CountsAsBrowserWindow(const AppWindowFacts& facts, const Settings& settings, bool toolBitIsOurs) {
  if (!facts.visible || facts.cloaked || facts.owned) return false;
  if ((facts.exStyle & kWsExToolWindow) != 0 && !toolBitIsOurs) return false;
  if (facts.className != kChromiumFrameClass && facts.className != kFirefoxFrameClass) return false;
  if (!settings.IsListedBrowser(facts.imageName)) return false;
  return !EqualsNoCase(facts.title, "Picture in picture") && !EqualsNoCase(facts.title, "Picture-in-Picture");
}

std::string_view ImageNameOf(std::string_view programPath) {
  const size_t slash = programPath.find_last_of("\\/");
  return slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
}

AppWindowSource::AppWindowSource(IAppWindows& windows, const Settings& settings)
    : windows_(windows), settings_(settings) {}

void AppWindowSource::Start(std::function<void()> changed, std::function<void(WindowHandle)> addressRead,
                            std::function<std::uint64_t()> stamp, std::function<std::uint64_t()> earlyStamp,
                            std::function<std::int64_t()> now) {
  changed_ = std::move(changed);
  addressRead_ = std::move(addressRead);
  stamp_ = std::move(stamp);
  now_ = std::move(now);
  watch_ = windows_.Watch([this](WindowHandle window, AppWindowEvent event) { OnEvent(window, event); },
                          [this](const AddressRead& result) { OnAddress(result); });
  const auto stampLater = std::move(stamp_);
  stamp_ = std::move(earlyStamp);
  for (const AppWindowFacts& facts : windows_.List()) Meet(facts.window).facts = facts;
  stamp_ = stampLater;
}

void AppWindowSource::Stop() {
  watch_.reset();
  known_.clear();
  toRead_.clear();
}

AppWindowSource::Known& AppWindowSource::Meet(WindowHandle window) {
  const auto [found, added] = known_.try_emplace(window);
  if (added) {
    found->second.facts.window = window;
    found->second.stamp = stamp_ ? stamp_() : 0;
    found->second.firstSeen = now_ ? now_() : 0;
  }
  return found->second;
}

void AppWindowSource::OnEvent(WindowHandle window, AppWindowEvent event) {
  if (event == AppWindowEvent::kDestroyed) {
    known_.erase(window);
  } else {
    Known& known = Meet(window);
    if (event == AppWindowEvent::kNameChanged) {
      // Until a read after this change succeeds, the window's caption follows its new title.
      ++known.generation;
      known.addressReadable = false;
      known.addressWanted = true;
      known.readAgain = true;
    }
  }
  if (changed_) changed_();
}

void AppWindowSource::OnAddress(const AddressRead& result) {
  const auto found = known_.find(result.window);
  if (found == known_.end()) return;
  Known& known = found->second;
  known.reading = false;
  known.settled = true;
  // A result read before the latest name change may show the page before it: the next pass
  // asks again.
  bool again = false;
  if (known.readGeneration == known.generation) {
    known.addressReadable = result.readable && !TrimSpaces(result.text).empty();
    known.address = known.addressReadable ? AddressWithScheme(result.text) : std::string();
    // A browser busy with the page it is loading may miss the time a read has: the next pass
    // asks once more. A window with no address to read costs one more read, not a stream.
    again = !known.addressReadable && known.readAgain;
    if (again) {
      known.readAgain = false;
      known.addressWanted = true;
    }
  }
  if (addressRead_) addressRead_(result.window);
  if (again && changed_) changed_();
}

std::vector<AppWindowSource::Counted> AppWindowSource::Look(
    const std::function<bool(WindowHandle)>& toolBitIsOurs) {
  std::vector<AppWindowFacts> listed = windows_.List();
  std::unordered_set<WindowHandle> present;
  present.reserve(listed.size());
  std::vector<Counted> counted;
  for (AppWindowFacts& facts : listed) {
    const WindowHandle window = facts.window;
    present.insert(window);
    Known& known = Meet(window);
    known.facts = std::move(facts);
    if (!settings_.TrackBrowsers || !CountsAsBrowserWindow(known.facts, settings_, toolBitIsOurs(window))) {
      continue;
    }
    if (!settings_.ReadAddresses) {
      known.addressReadable = false;
      known.settled = true;
    } else if (known.addressWanted && !known.reading && watch_) {
      known.addressWanted = false;
      known.reading = true;
      known.readGeneration = known.generation;
      toRead_.push_back(window);
    }
    counted.push_back(Counted{window, known.stamp});
  }
  std::erase_if(known_, [&](const auto& entry) { return present.count(entry.first) == 0; });
  const auto byStamp = [](const Counted& a, const Counted& b) { return a.stamp < b.stamp; };
  if (!std::is_sorted(counted.begin(), counted.end(), byStamp)) {
    std::stable_sort(counted.begin(), counted.end(), byStamp);
  }
  return counted;
}

void AppWindowSource::RequestReads() {
  const std::vector<WindowHandle> windows = std::move(toRead_);
  toRead_.clear();
  for (const WindowHandle window : windows) {
    if (watch_ && known_.count(window) != 0) watch_->RequestAddress(window);
  }
}

std::vector<WindowHandle> AppWindowSource::Frames() {
  std::vector<WindowHandle> frames;
  for (const AppWindowFacts& facts : windows_.List()) {
    if ((facts.className == kChromiumFrameClass || facts.className == kFirefoxFrameClass) &&
        settings_.IsListedBrowser(facts.imageName)) {
      frames.push_back(facts.window);
    }
  }
  return frames;
}

bool AppWindowSource::Hidden(WindowHandle window) const {
  const auto found = known_.find(window);
  return found != known_.end() && !found->second.facts.visible;
}

std::string AppWindowSource::Title(WindowHandle window) const {
  const auto found = known_.find(window);
  return found == known_.end() ? std::string() : std::string(WithoutBrowserSuffix(found->second.facts.title));
}

std::optional<std::string> AppWindowSource::Address(WindowHandle window) const {
  const auto found = known_.find(window);
  if (found == known_.end() || !found->second.addressReadable) return std::nullopt;
  return found->second.address;
}

bool AppWindowSource::AddressSettled(WindowHandle window) const {
  const auto found = known_.find(window);
  return found != known_.end() && found->second.settled;
}

std::string AppWindowSource::ImageName(WindowHandle window) const {
  const auto found = known_.find(window);
  return found == known_.end() ? std::string() : found->second.facts.imageName;
}

std::vector<WindowHandle> AppWindowSource::ListedNow() {
  std::vector<WindowHandle> listed;
  for (const AppWindowFacts& facts : windows_.List()) listed.push_back(facts.window);
  return listed;
}

std::int64_t AppWindowSource::FirstSeen(WindowHandle window) const {
  const auto found = known_.find(window);
  return found == known_.end() ? 0 : found->second.firstSeen;
}

}  // namespace wendrel
