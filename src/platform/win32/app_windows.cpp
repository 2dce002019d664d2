#include "platform/win32/app_windows.h"

#include <algorithm>
#include <utility>

#include "platform/win32/address_reader.h"
#include "platform/win32/base_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/window_events.h"

namespace wendrel::win32 {
namespace {

// A browser's read that takes longer than this is given up and reported unreadable.
constexpr DWORD kAddressBudgetMs = 1500;
constexpr UINT kEventsQueued = WM_APP + 1;

bool IsFrameClass(HWND window) {
  wchar_t name[64] = {};
  const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  const std::wstring_view found(name, static_cast<std::size_t>(length > 0 ? length : 0));
  return found == L"Chrome_WidgetWin_1" || found == L"MozillaWindowClass";
}

AppWindowFacts Convert(const WindowFacts& facts) {
  AppWindowFacts converted;
  converted.window = FromHwnd(facts.window);
  converted.className = Narrow(facts.className);
  converted.imageName = Narrow(facts.image);
  converted.title = Narrow(facts.title);
  converted.visible = facts.visible;
  converted.cloaked = facts.cloaked;
  converted.owned = facts.owned;
  converted.exStyle = static_cast<std::int32_t>(facts.exStyle);
  return converted;
}

// Events are queued by the hook's callback and handed on from the message loop,
// once the callback has returned: a handler may then make calls that let
// further events in. Events repeated within one batch are handed on once (a
// window being dragged moves many times).
class EventWatch final : public IAppWindowWatch, private BaseWindow<EventWatch> {
 public:
  EventWatch(AppWindows& windows, AppWindowEventHandler onEvent, AddressReadHandler onAddress)
      : windows_(windows),
        onEvent_(std::move(onEvent)),
        reader_(
            [handler = std::move(onAddress)](const FieldRead& read) {
              handler(AddressRead{FromHwnd(read.window), read.ok, Narrow(read.address)});
            },
            kAddressBudgetMs) {
    Create(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE);
    hook_ =
        std::make_unique<WindowEventHook>([this](HWND window, WindowEvent event) { Queue(window, event); });
  }

  void RequestAddress(WindowHandle window) override { reader_.Read(ToHwnd(window)); }

  static const wchar_t* ClassName() { return L"WendrelAppWindowWatch"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kEventsQueued) return Default(message, wParam, lParam);
    std::vector<std::pair<HWND, AppWindowEvent>> batch;
    batch.swap(queued_);
    for (const auto& [window, event] : batch) {
      if (event == AppWindowEvent::kShown) windows_.Saw(window);
      onEvent_(FromHwnd(window), event);
    }
    return 0;
  }

 private:
  friend class BaseWindow<EventWatch>;

  void Queue(HWND window, WindowEvent event) {
    std::optional<AppWindowEvent> handed;
    switch (event) {
      // A window is made hidden and shown afterwards, as a rule: its showing is the event that counts.
      case WindowEvent::Created:
        if (::IsWindowVisible(window)) handed = AppWindowEvent::kShown;
        break;
      case WindowEvent::Shown:
        handed = AppWindowEvent::kShown;
        break;
      case WindowEvent::Hidden:
        handed = AppWindowEvent::kHidden;
        break;
      case WindowEvent::Renamed:
        handed = AppWindowEvent::kNameChanged;
        break;
      case WindowEvent::Destroyed:
        handed = AppWindowEvent::kDestroyed;
        break;
      case WindowEvent::Cloaked:
        handed = AppWindowEvent::kCloaked;
        break;
      case WindowEvent::Uncloaked:
        handed = AppWindowEvent::kUncloaked;
        break;
      // Leaving full screen moves the window while its old style is written back.
      case WindowEvent::Moved:
        handed = AppWindowEvent::kStyleChanged;
        break;
    }
    // The destroyed window's class can no longer be asked: whether it was followed is the program's to know.
    if (!handed || (event != WindowEvent::Destroyed && !IsFrameClass(window))) return;
    const std::pair<HWND, AppWindowEvent> item{window, *handed};
    if (std::find(queued_.begin(), queued_.end(), item) != queued_.end()) return;
    queued_.push_back(item);
    // One message per batch; a lost post only delays the batch to the next event's.
    if (queued_.size() == 1) ::PostMessageW(Hwnd(), kEventsQueued, 0, 0);
  }

  AppWindows& windows_;
  AppWindowEventHandler onEvent_;
  AddressReader reader_;
  std::unique_ptr<WindowEventHook> hook_;
  std::vector<std::pair<HWND, AppWindowEvent>> queued_;
};

}  // namespace

void AppWindows::Saw(HWND window) {
  if (known_.insert(window).second) order_.push_back(window);
}

std::vector<AppWindowFacts> AppWindows::List() {
  // The system lists windows by z-order, newest usually on top: those not yet
  // seen are noted from the bottom up.
  std::vector<HWND> present = WindowFactsReader::TopLevelWindows();
  std::erase_if(present, [](HWND window) { return !IsFrameClass(window); });
  for (auto it = present.rbegin(); it != present.rend(); ++it) Saw(*it);
  const std::unordered_set<HWND> open(present.begin(), present.end());
  std::erase_if(order_, [&](HWND window) {
    if (open.contains(window)) return false;
    known_.erase(window);
    return true;
  });
  std::vector<AppWindowFacts> listed;
  listed.reserve(order_.size());
  for (HWND window : order_) listed.push_back(Convert(reader_.Read(window)));
  return listed;
}

std::optional<AppWindowFacts> AppWindows::Facts(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if (!::IsWindow(hwnd)) return std::nullopt;
  return Convert(reader_.Read(hwnd));
}

std::unique_ptr<IAppWindowWatch> AppWindows::Watch(AppWindowEventHandler onEvent,
                                                   AddressReadHandler onAddress) {
  return std::make_unique<EventWatch>(*this, std::move(onEvent), std::move(onAddress));
}

bool AppWindows::Refresh(WindowHandle window) { return PostBrowserRefresh(ToHwnd(window)); }
bool AppWindows::Stop(WindowHandle window) { return PostBrowserStop(ToHwnd(window)); }
bool AppWindows::Close(WindowHandle window) { return PostClose(ToHwnd(window)); }

std::string Programs::DefaultHttpsProgram() { return Narrow(win32::DefaultHttpsProgram()); }

void Programs::Launch(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::wstring> wide;
  wide.reserve(arguments.size());
  for (const auto& argument : arguments) wide.push_back(Widen(argument));
  win32::Launch(Widen(program), wide);
}

}  // namespace wendrel::win32
