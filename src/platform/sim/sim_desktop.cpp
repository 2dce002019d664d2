#include "platform/sim/sim_desktop.h"

#include <algorithm>

#include "platform/sim/sim_parts.h"
#include "platform/utf8.h"

namespace wendrel::sim {

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\n':
        quoted += "\\n";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

SimDesktop::SimDesktop(std::ostream& out, std::string folder)
    : out_(out),
      files_(std::make_unique<SimFileSystem>(std::move(folder))),
      windowSystem_(std::make_unique<WindowSystem>(*this)),
      stripWindow_(std::make_unique<StripWindow>(*this)),
      tabStripView_(std::make_unique<TabStripView>(*this)),
      timer_(std::make_unique<Timer>(*this)),
      shell_(std::make_unique<Shell>(*this)),
      appWindows_(std::make_unique<AppWindows>(*this)),
      programs_(std::make_unique<Programs>(*this)),
      signIn_(std::make_unique<SignIn>(*this)),
      tray_(std::make_unique<Tray>(*this)),
      prompts_(std::make_unique<Prompts>(*this)),
      dialogHost_(std::make_unique<DialogHost>(*this)) {}

SimDesktop::~SimDesktop() = default;

Platform SimDesktop::platform() {
  return Platform{*windowSystem_, *stripWindow_, *tabStripView_, *timer_,      *shell_,    *tray_,
                  *prompts_,      *files_,       *dialogHost_,   *appWindows_, *programs_, *signIn_};
}

void SimDesktop::SetScreen(std::int32_t width, std::int32_t height, std::int32_t twipsPerPixel) {
  InvalidateLayout();
  screenWidth_ = width;
  screenHeight_ = height;
  twipsPerPixel_ = twipsPerPixel;
}

void SimDesktop::Print(const std::string& line) {
  if (!silent_) out_ << line << '\n';
}

void SimDesktop::Trace(const std::string& call) {
  if (trace_) Print("call " + call);
}

std::string SimDesktop::WindowName(WindowHandle handle) const {
  return handle == kStripHandle ? "strip" : std::to_string(handle);
}

const SimWindow* SimDesktop::Window(WindowHandle handle) const {
  const auto found = windows_.find(handle);
  return found == windows_.end() ? nullptr : &found->second;
}

SimWindow* SimDesktop::Live(WindowHandle handle) {
  const auto found = windows_.find(handle);
  return found == windows_.end() || !found->second.alive ? nullptr : &found->second;
}

bool SimDesktop::HasFault(WindowHandle handle, WindowFault fault) const {
  const auto found = faults_.find(handle);
  return found != faults_.end() && found->second.count(fault) != 0;
}

void SimDesktop::Activate(WindowHandle handle) {
  if (handle == kStripHandle || Live(handle)) foreground_ = handle;
}

void SimDesktop::DropFromZOrder(WindowHandle handle) {
  const auto found = zRank_.find(handle);
  if (found == zRank_.end()) return;
  zOrder_.erase(found->second);
  zRank_.erase(found);
}

std::vector<WindowHandle> SimDesktop::ZOrder() const {
  std::vector<WindowHandle> order;
  order.reserve(zOrder_.size());
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) order.push_back(it->second);
  return order;
}

void SimDesktop::RaiseToTop(WindowHandle handle) {
  if (handle != kStripHandle && !Live(handle)) return;
  DropFromZOrder(handle);
  zRank_[handle] = ++topRank_;
  zOrder_[topRank_] = handle;
}

void SimDesktop::RaiseEvent(bool registered, std::int32_t cookie) {
  if (ended_) return;
  const std::vector<ShellEvents*> live = subscriptions_;
  for (ShellEvents* subscription : live) {
    if (std::find(subscriptions_.begin(), subscriptions_.end(), subscription) != subscriptions_.end()) {
      subscription->Deliver(registered, cookie);
    }
  }
}

void SimDesktop::OpenWindow(WindowHandle handle, const std::string& url, const std::string& title) {
  if (handle == kStripHandle || Live(handle)) throw SimError{"window " + std::to_string(handle) + " is open"};
  SimWindow window;
  window.handle = handle;
  window.url = url;
  window.title = title;
  window.cookie = nextCookie_++;
  windows_[handle] = window;
  collection_.push_back(handle);
  RaiseToTop(handle);
  foreground_ = handle;
  RaiseEvent(true, window.cookie);
}

void SimDesktop::CloseWindow(WindowHandle handle) {
  SimWindow* window = Live(handle);
  if (!window) throw SimError{"window " + std::to_string(handle) + " is not open"};
  window->alive = false;
  window->visible = false;
  DropFromZOrder(handle);
  if (foreground_ == handle) foreground_.reset();
  if (window->app) {
    appOrder_.erase(std::remove(appOrder_.begin(), appOrder_.end(), handle), appOrder_.end());
    RaiseAppEvent(handle, AppWindowEvent::kDestroyed);
    return;
  }
  collection_.erase(std::remove(collection_.begin(), collection_.end(), handle), collection_.end());
  RaiseEvent(false, window->cookie);
}

void SimDesktop::NavigateWindow(WindowHandle handle, const std::string& url,
                                const std::optional<std::string>& title) {
  SimWindow* window = Live(handle);
  if (!window) throw SimError{"window " + std::to_string(handle) + " is not open"};
  if (window->app) {
    // Another program's window: its address field shows the URL, and its title changes once.
    window->url = url;
    window->addressReadable = true;
    if (title) window->title = *title;
    RaiseAppEvent(handle, AppWindowEvent::kNameChanged);
    return;
  }
  window->url = url;
  window->title = title.value_or("");
}

void SimDesktop::MinimizeWindow(WindowHandle handle) {
  SimWindow* window = Live(handle);
  if (!window) throw SimError{"window " + std::to_string(handle) + " is not open"};
  window->minimized = true;
  if (foreground_ == handle) foreground_.reset();
}

void SimDesktop::SetWindowStyle(WindowHandle handle, std::int32_t exstyle) {
  SimWindow* window = Live(handle);
  if (!window) throw SimError{"window " + std::to_string(handle) + " is not open"};
  window->exstyle = exstyle;
  if (window->app) RaiseAppEvent(handle, AppWindowEvent::kStyleChanged);
}

void SimDesktop::MakeLinger(WindowHandle handle) {
  SimWindow* window = Live(handle);
  if (!window) throw SimError{"window " + std::to_string(handle) + " is not open"};
  window->lingers = true;
}

WindowHandle SimDesktop::CreateBrowserWindow() {
  while (nextCreated_ == kStripHandle || Live(nextCreated_)) ++nextCreated_;
  const WindowHandle handle = nextCreated_++;
  SimWindow window;
  window.handle = handle;
  window.visible = false;
  window.cookie = nextCookie_++;
  windows_[handle] = window;
  collection_.push_back(handle);
  Print("browser " + std::to_string(handle) + " created");
  RaiseEvent(true, window.cookie);
  return handle;
}

void SimDesktop::Wait(std::int64_t milliseconds) {
  const std::int64_t target = now_ + milliseconds;
  while (!ended_ && timerEnabled_ && timerInterval_ > 0 && tickHandler_) {
    const std::int64_t due = timerArmedAt_ + timerInterval_;
    if (due > target) break;
    now_ = std::max(now_, due);
    // The timer keeps ticking every interval while it stays enabled.
    timerArmedAt_ = now_;
    if (tickObserver_) tickObserver_();
    tickHandler_();
    DeliverAddressReads();
  }
  now_ = std::max(now_, target);
}

void SimDesktop::QueuePending(PumpKind kind, std::function<void()> action) {
  pending_.push_back(Pending{kind, std::move(action)});
}

void SimDesktop::Pump(PumpKind kind) {
  for (;;) {
    const auto next = std::find_if(pending_.begin(), pending_.end(), [kind](const Pending& pending) {
      return pending.kind == PumpKind::kAny || pending.kind == kind;
    });
    if (next == pending_.end()) return;
    const std::function<void()> action = std::move(next->action);
    pending_.erase(next);
    action();
  }
}

ScriptedAnswer* SimDesktop::NextAnswer() { return answers_.empty() ? nullptr : &answers_.front(); }

void SimDesktop::EndProcess() {
  Print("program ended");
  ended_ = true;
  timerEnabled_ = false;
  throw ProcessEnded{};
}

TabRect SimDesktop::TabRectangle(int index) const {
  if (!layoutValid_) LayOutTabs();
  if (index < 1 || index > static_cast<int>(layout_.size())) {
    throw SimError{"tab " + std::to_string(index) + " is not in the tab strip"};
  }
  return layout_[static_cast<size_t>(index - 1)];
}

void SimDesktop::LayOutTabs() const {
  constexpr float kFirstLeft = 30;
  constexpr float kFirstTop = 30;
  constexpr float kHeight = 360;
  const float right = static_cast<float>(tabStripBounds_.width);
  float left = kFirstLeft;
  int row = 0;
  layout_.clear();
  layout_.reserve(tabViews_.size());
  for (const TabView& tab : tabViews_) {
    const auto length = static_cast<float>(CharacterCount(tab.caption));
    const float width = (8 * length + 12) * static_cast<float>(twipsPerPixel_);
    if (multiRow_ && left > kFirstLeft && left + width > right) {
      ++row;
      left = kFirstLeft;
    }
    layout_.push_back(TabRect{left, kFirstTop + kHeight * static_cast<float>(row), width, kHeight});
    left += width;
  }
  layoutValid_ = true;
}

}  // namespace wendrel::sim
