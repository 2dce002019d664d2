#include "platform/win32/window_events.h"

#include <optional>
#include <utility>

#include "platform/win32/handles.h"

namespace wendrel::win32 {
namespace {

// Windows 8 and later; the headers name them only for that version.
constexpr DWORD kEventObjectCloaked = 0x8017;
constexpr DWORD kEventObjectUncloaked = 0x8018;

// Three narrow ranges rather than one wide one: an out-of-context hook is sent only the events
// in its range, and pages with accessibility on raise focus, selection and value events by the
// thousand between them.
constexpr std::pair<DWORD, DWORD> kRanges[] = {
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE},
    {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_NAMECHANGE},
    {kEventObjectCloaked, kEventObjectUncloaked},
};

std::optional<WindowEvent> Translate(DWORD event) {
  switch (event) {
    case EVENT_OBJECT_CREATE:
      return WindowEvent::Created;
    case EVENT_OBJECT_SHOW:
      return WindowEvent::Shown;
    case EVENT_OBJECT_HIDE:
      return WindowEvent::Hidden;
    case EVENT_OBJECT_NAMECHANGE:
      return WindowEvent::Renamed;
    case EVENT_OBJECT_DESTROY:
      return WindowEvent::Destroyed;
    case kEventObjectCloaked:
      return WindowEvent::Cloaked;
    case kEventObjectUncloaked:
      return WindowEvent::Uncloaked;
    // A browser leaving full screen moves and resizes its window as it writes its old style back.
    case EVENT_OBJECT_LOCATIONCHANGE:
      return WindowEvent::Moved;
    default:
      return std::nullopt;
  }
}

// The hook's callback carries no context, so the subscription of the thread the events are
// delivered on is found here. Out-of-context events only ever arrive on the thread that set the
// hook, so a per-thread pointer is the whole of it; it is set and cleared by the subscription.
thread_local WindowEventHook* subscription = nullptr;

}  // namespace

WindowEventHook::WindowEventHook(Handler handler) : handler_(std::move(handler)) {
  if (subscription) throw PlatformError("window events are already followed on this thread");
  for (const auto& [first, last] : kRanges) {
    const HWINEVENTHOOK hook = ::SetWinEventHook(first, last, nullptr, &WindowEventHook::OnEvent, 0, 0,
                                                 WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    // A system without the cloaking events refuses nothing: the range is simply never raised.
    if (!hook) {
      for (HWINEVENTHOOK made : hooks_) ::UnhookWinEvent(made);
      throw LastError();
    }
    hooks_.push_back(hook);
  }
  subscription = this;
}

WindowEventHook::~WindowEventHook() {
  for (HWINEVENTHOOK hook : hooks_) ::UnhookWinEvent(hook);
  subscription = nullptr;
}

void CALLBACK WindowEventHook::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                                       DWORD, DWORD) {
  // Only whole windows: a caret, a cursor or a page's element raise the same events with other ids.
  if (object != OBJID_WINDOW || child != CHILDID_SELF || !window || !subscription) return;
  const auto translated = Translate(event);
  if (!translated) return;
  // Top-level windows only. A destroyed window has no parent left to ask about: it is handed on
  // and the receiver knows it or not.
  if (*translated != WindowEvent::Destroyed && ::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow())
    return;
  subscription->handler_(window, *translated);
}

}  // namespace wendrel::win32
