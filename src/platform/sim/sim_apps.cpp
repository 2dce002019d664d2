// Other programs' windows on the simulated desktop: their events, address reads, requests, and
// the programs the desktop starts.
#include <algorithm>

#include "platform/sim/sim_parts.h"

namespace wendrel::sim {
namespace {

AppWindowFacts FactsOf(const SimWindow& window) {
  AppWindowFacts facts;
  facts.window = window.handle;
  facts.className = window.className;
  facts.imageName = window.exe;
  facts.title = window.title;
  facts.visible = window.visible;
  facts.cloaked = window.cloaked;
  facts.owned = window.owned;
  facts.exStyle = window.exstyle;
  return facts;
}

}  // namespace

SimWindow& SimDesktop::LiveApp(WindowHandle handle) {
  SimWindow* window = Live(handle);
  if (!window || !window->app)
    throw SimError{"window " + std::to_string(handle) + " is not another program's open window"};
  return *window;
}

void SimDesktop::RaiseAppEvent(WindowHandle handle, AppWindowEvent event) {
  if (ended_) return;
  const std::vector<AppWatch*> live = appWatches_;
  for (AppWatch* watch : live) {
    if (std::find(appWatches_.begin(), appWatches_.end(), watch) != appWatches_.end()) {
      watch->DeliverEvent(handle, event);
    }
  }
}

void SimDesktop::OpenApp(const SimWindow& opened) {
  if (opened.handle == kStripHandle || Live(opened.handle)) {
    throw SimError{"window " + std::to_string(opened.handle) + " is open"};
  }
  SimWindow& window = windows_[opened.handle] = opened;
  window.app = true;
  appOrder_.erase(std::remove(appOrder_.begin(), appOrder_.end(), opened.handle), appOrder_.end());
  appOrder_.push_back(opened.handle);
  RaiseToTop(opened.handle);
  if (!window.cloaked) foreground_ = opened.handle;
  RaiseAppEvent(opened.handle, AppWindowEvent::kShown);
}

void SimDesktop::SetAppTitle(WindowHandle handle, const std::string& title) {
  LiveApp(handle).title = title;
  RaiseAppEvent(handle, AppWindowEvent::kNameChanged);
}

void SimDesktop::SetAddress(WindowHandle handle, const std::optional<std::string>& address) {
  SimWindow& window = LiveApp(handle);
  window.addressReadable = address.has_value();
  window.url = address.value_or("");
}

void SimDesktop::CloakApp(WindowHandle handle, bool cloaked) {
  LiveApp(handle).cloaked = cloaked;
  RaiseAppEvent(handle, cloaked ? AppWindowEvent::kCloaked : AppWindowEvent::kUncloaked);
}

void SimDesktop::ShowApp(WindowHandle handle, bool visible) {
  LiveApp(handle).visible = visible;
  if (!visible && foreground_ == handle) foreground_.reset();
  RaiseAppEvent(handle, visible ? AppWindowEvent::kShown : AppWindowEvent::kHidden);
}

void SimDesktop::Linger(WindowHandle handle) { LiveApp(handle).lingers = true; }

void SimDesktop::DeliverAddressReads() {
  while (!addressReads_.empty() && !ended_) {
    const auto [watch, handle] = addressReads_.front();
    addressReads_.pop_front();
    AddressRead result;
    result.window = handle;
    if (const SimWindow* window = Live(handle);
        window && window->app && window->addressReadable && !HasFault(handle, WindowFault::kAddress)) {
      result.readable = true;
      result.text = window->url;
    }
    watch->DeliverAddress(result);
  }
}

std::vector<AppWindowFacts> SimDesktop::AppWindows::List() {
  std::vector<AppWindowFacts> list;
  for (const WindowHandle handle : d_.appOrder_) {
    if (const SimWindow* window = d_.Live(handle)) list.push_back(FactsOf(*window));
  }
  return list;
}

std::optional<AppWindowFacts> SimDesktop::AppWindows::Facts(WindowHandle handle) {
  const SimWindow* window = d_.Live(handle);
  if (!window || !window->app) return std::nullopt;
  return FactsOf(*window);
}

std::unique_ptr<IAppWindowWatch> SimDesktop::AppWindows::Watch(AppWindowEventHandler onEvent,
                                                               AddressReadHandler onAddress) {
  return std::make_unique<AppWatch>(d_, std::move(onEvent), std::move(onAddress));
}

SimDesktop::AppWatch::AppWatch(SimDesktop& desktop, AppWindowEventHandler onEvent,
                               AddressReadHandler onAddress)
    : d_(desktop), onEvent_(std::move(onEvent)), onAddress_(std::move(onAddress)) {
  d_.appWatches_.push_back(this);
}

SimDesktop::AppWatch::~AppWatch() {
  d_.appWatches_.erase(std::remove(d_.appWatches_.begin(), d_.appWatches_.end(), this), d_.appWatches_.end());
  std::erase_if(d_.addressReads_, [this](const auto& read) { return read.first == this; });
}

void SimDesktop::AppWatch::RequestAddress(WindowHandle window) {
  const auto read = std::make_pair(this, window);
  if (std::find(d_.addressReads_.begin(), d_.addressReads_.end(), read) == d_.addressReads_.end()) {
    d_.addressReads_.push_back(read);
  }
}

namespace {

bool Request(SimDesktop& desktop, WindowHandle handle, const std::string& what, bool refused) {
  const SimWindow* window = desktop.Window(handle);
  const bool done = window && window->alive && window->app && !refused;
  desktop.Print("browser " + std::to_string(handle) + " " + what + (done ? "" : " failed"));
  return done;
}

}  // namespace

bool SimDesktop::AppWindows::Refresh(WindowHandle window) {
  return Request(d_, window, "refresh", d_.HasFault(window, WindowFault::kRefresh));
}

bool SimDesktop::AppWindows::Stop(WindowHandle window) {
  return Request(d_, window, "stop", d_.HasFault(window, WindowFault::kStop));
}

bool SimDesktop::AppWindows::Close(WindowHandle window) {
  const bool refused = d_.HasFault(window, WindowFault::kClose) || d_.HasFault(window, WindowFault::kQuit);
  if (!Request(d_, window, "quit", refused)) return false;
  if (d_.Window(window)->lingers) {
    d_.ShowApp(window, false);
  } else {
    d_.CloseWindow(window);
  }
  return true;
}

void SimDesktop::Programs::Launch(const std::string& program, const std::vector<std::string>& arguments) {
  std::string line = "launch " + Quoted(program);
  for (const std::string& argument : arguments) line += " " + Quoted(argument);
  d_.Print(line);
}

}  // namespace wendrel::sim
