#include "platform/sim/sim_parts.h"

#include <algorithm>
#include <cstdio>

#include "platform/sim/vocabulary.h"

namespace wendrel::sim {
namespace {

std::string Hex(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

const char* ButtonsName(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return "ok";
    case Buttons::kOkCancel:
      return "okcancel";
    case Buttons::kYesNo:
      return "yesno";
  }
  return "?";
}

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::kOk:
      return "ok";
    case Answer::kCancel:
      return "cancel";
    case Answer::kYes:
      return "yes";
    case Answer::kNo:
      return "no";
  }
  return "?";
}

bool Offers(Buttons buttons, Answer answer) {
  switch (buttons) {
    case Buttons::kOk:
      return answer == Answer::kOk;
    case Buttons::kOkCancel:
      return answer == Answer::kOk || answer == Answer::kCancel;
    case Buttons::kYesNo:
      return answer == Answer::kYes || answer == Answer::kNo;
  }
  return false;
}

}  // namespace

// ---- window system ----

void SimDesktop::WindowSystem::ShowWindow(WindowHandle window, std::int32_t command) {
  d_.Trace("ShowWindow " + d_.WindowName(window) + " " + std::to_string(command));
  if (window == kStripHandle) {
    if (command == kSwHide) d_.stripShown_ = false;
    if (command == kSwShow || command == kSwRestore) d_.stripShown_ = true;
  } else if (SimWindow* target = d_.Live(window)) {
    const bool wasVisible = target->visible;
    if (command == kSwHide) {
      target->visible = false;
      if (d_.foreground_ == window) d_.foreground_.reset();
    } else if (command == kSwShow || command == kSwRestore) {
      target->visible = true;
      if (command == kSwRestore) target->minimized = false;
      d_.Activate(window);
    }
    // Another program's window announces that it was hidden or shown, as the system does.
    if (target->app && target->visible != wasVisible) {
      d_.RaiseAppEvent(window, target->visible ? AppWindowEvent::kShown : AppWindowEvent::kHidden);
    }
  }
  d_.Pump(PumpKind::kAny);
}

void SimDesktop::WindowSystem::SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) {
  d_.Trace("SetWindowLongA " + d_.WindowName(window) + " " + std::to_string(index) + " " + Hex(value));
  if (SimWindow* target = d_.Live(window); target && index == kGwlExStyle) target->exstyle = value;
}

std::int32_t SimDesktop::WindowSystem::GetWindowLongA(WindowHandle window, std::int32_t index) {
  d_.Trace("GetWindowLongA " + d_.WindowName(window) + " " + std::to_string(index));
  const SimWindow* target = d_.Live(window);
  return target && index == kGwlExStyle ? target->exstyle : 0;
}

void SimDesktop::WindowSystem::SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x,
                                            std::int32_t y, std::int32_t width, std::int32_t height,
                                            std::uint32_t flags) {
  d_.Trace("SetWindowPos " + d_.WindowName(window) + " " + std::to_string(insertAfter) + " " +
           std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
           std::to_string(height) + " " + std::to_string(flags));
  constexpr std::uint32_t kNoZOrder = 0x4;
  constexpr std::uint32_t kNoActivate = 0x10;
  if (SimWindow* target = d_.Live(window)) {
    target->x = x;
    target->y = y;
    target->cx = width;
    target->cy = height;
    if ((flags & kNoZOrder) == 0) d_.RaiseToTop(window);
    if ((flags & kNoActivate) == 0) d_.Activate(window);
  }
  d_.Pump(PumpKind::kAny);
}

void SimDesktop::WindowSystem::BringWindowToTop(WindowHandle window) {
  d_.Trace("BringWindowToTop " + d_.WindowName(window));
  d_.RaiseToTop(window);
  d_.Activate(window);
  d_.Pump(PumpKind::kAny);
}

void SimDesktop::WindowSystem::SetForegroundWindow(WindowHandle window) {
  d_.Trace("SetForegroundWindow " + d_.WindowName(window));
  d_.Activate(window);
  d_.Pump(PumpKind::kAny);
}

// ---- strip window and its tab strip ----

void SimDesktop::StripWindow::Show() {
  d_.stripShown_ = true;
  d_.RaiseToTop(kStripHandle);
  d_.Activate(kStripHandle);
  d_.Pump(PumpKind::kAny);
}

TabView& SimDesktop::TabStripView::At(int index) {
  if (index < 1 || index > static_cast<int>(d_.tabViews_.size())) {
    throw SimError{"the program named tab " + std::to_string(index) + ", which the tab strip does not have"};
  }
  return d_.tabViews_[static_cast<size_t>(index - 1)];
}

void SimDesktop::TabStripView::InsertTab(int index) {
  if (index < 1 || index > static_cast<int>(d_.tabViews_.size()) + 1) {
    throw SimError{"the program inserted tab " + std::to_string(index) + " out of order"};
  }
  d_.tabViews_.insert(d_.tabViews_.begin() + (index - 1), TabView{});
  d_.InvalidateLayout();
  if (index <= d_.selectedTabView_) ++d_.selectedTabView_;
}

void SimDesktop::TabStripView::RemoveTab(int index) {
  At(index);
  d_.tabViews_.erase(d_.tabViews_.begin() + (index - 1));
  d_.InvalidateLayout();
  const int count = static_cast<int>(d_.tabViews_.size());
  if (index < d_.selectedTabView_) --d_.selectedTabView_;
  d_.selectedTabView_ = std::min(d_.selectedTabView_, count);
}

void SimDesktop::TabStripView::SetSelected(int index) {
  At(index);
  d_.selectedTabView_ = index;
}

void SimDesktop::TabStripView::SetCaption(int index, const std::string& caption) {
  At(index).caption = caption;
  d_.InvalidateLayout();
}

void SimDesktop::TabStripView::SetMultiRow(bool multiRow) {
  d_.multiRow_ = multiRow;
  d_.InvalidateLayout();
}

TabRect SimDesktop::TabStripView::TabRectangle(int index) {
  At(index);
  return d_.TabRectangle(index);
}

// ---- timer ----

void SimDesktop::Timer::SetEnabled(bool enabled) {
  if (enabled && !d_.timerEnabled_) d_.TimerRestart();
  d_.timerEnabled_ = enabled;
}

void SimDesktop::Timer::SetInterval(std::int32_t milliseconds) {
  d_.timerInterval_ = milliseconds;
  if (d_.timerEnabled_) d_.TimerRestart();
}

// ---- shell, collection and browsers ----

SimDesktop::ShellEvents::ShellEvents(SimDesktop& desktop, ShellEventHandler registered,
                                     ShellEventHandler revoked)
    : d_(desktop), registered_(std::move(registered)), revoked_(std::move(revoked)) {
  d_.subscriptions_.push_back(this);
}

SimDesktop::ShellEvents::~ShellEvents() {
  auto& live = d_.subscriptions_;
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

std::vector<std::unique_ptr<IBrowser>> SimDesktop::ShellWindows::Items() {
  d_.CountBrowserCall();
  std::vector<std::unique_ptr<IBrowser>> items;
  items.reserve(d_.collection_.size());
  for (const WindowHandle window : d_.collection_) items.push_back(std::make_unique<Browser>(d_, window));
  return items;
}

std::unique_ptr<IBrowser> SimDesktop::Shell::CreateBrowser() {
  return std::make_unique<Browser>(d_, d_.CreateBrowserWindow());
}

SimWindow& SimDesktop::Browser::Reach() {
  d_.CountBrowserCall();
  SimWindow* window = d_.Live(window_);
  if (!window) throw PlatformError("The object invoked has disconnected from its clients.");
  return *window;
}

WindowHandle SimDesktop::Browser::Hwnd() {
  Reach();
  if (d_.HasFault(window_, WindowFault::kHandle)) throw PlatformError("Automation error");
  return window_;
}

std::string SimDesktop::Browser::LocationName() {
  const SimWindow& window = Reach();
  if (d_.HasFault(window_, WindowFault::kDetails)) throw PlatformError("Automation error");
  return window.title;
}

std::string SimDesktop::Browser::LocationURL() {
  const SimWindow& window = Reach();
  if (d_.HasFault(window_, WindowFault::kDetails)) throw PlatformError("Automation error");
  return window.url;
}

void SimDesktop::Browser::Act(const std::string& what, WindowFault fault) {
  const std::string line = "browser " + std::to_string(window_) + " " + what;
  try {
    Reach();
  } catch (const PlatformError&) {
    d_.Print(line + " failed");
    throw;
  }
  if (d_.HasFault(window_, fault)) {
    d_.Print(line + " failed");
    throw PlatformError("Automation error");
  }
  d_.Print(line);
}

void SimDesktop::Browser::Navigate(const std::string& url) {
  const std::string line = "browser " + std::to_string(window_) + " navigate " + Quoted(url);
  SimWindow* window = nullptr;
  try {
    window = &Reach();
  } catch (const PlatformError&) {
    d_.Print(line + " failed");
    throw;
  }
  d_.Print(line);
  window->url = url;
}

void SimDesktop::Browser::Refresh() { Act("refresh", WindowFault::kRefresh); }

void SimDesktop::Browser::Stop() { Act("stop", WindowFault::kStop); }

void SimDesktop::Browser::Quit() {
  Act("quit", WindowFault::kQuit);
  d_.CloseWindow(window_);
}

void SimDesktop::Browser::SetVisible(bool visible) {
  const std::string line = "browser " + std::to_string(window_) + (visible ? " visible" : " hidden");
  SimWindow* window = nullptr;
  try {
    window = &Reach();
  } catch (const PlatformError&) {
    d_.Print(line + " failed");
    throw;
  }
  d_.Print(line);
  window->visible = visible;
}

// ---- tray ----

void SimDesktop::Tray::Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) {
  if (message == kNimAdd) {
    d_.trayPresent_ = true;
    d_.trayTip_ = data.szTip.substr(0, data.szTip.find('\0'));
    d_.Print("tray add");
  } else if (message == kNimDelete) {
    d_.trayPresent_ = false;
    d_.Print("tray delete");
  }
}

// ---- boxes and menus ----

Answer SimDesktop::Prompts::MessageBox(const std::string& text, Buttons buttons, const std::string& title) {
  Answer answer = buttons == Buttons::kYesNo ? Answer::kYes : Answer::kOk;
  if (ScriptedAnswer* next = d_.NextAnswer()) {
    if (next->kind != ScriptedAnswer::Kind::kButton || !Offers(buttons, next->button)) {
      throw SimError{"the next answer does not fit the message box " + Quoted(text) + " (" +
                     ButtonsName(buttons) + ")"};
    }
    answer = next->button;
    d_.DropAnswer();
  }
  d_.Print("msgbox " + Quoted(title) + " " + Quoted(text) + " " + ButtonsName(buttons) + " -> " +
           AnswerName(answer));
  d_.Pump(PumpKind::kMsgBox);
  return answer;
}

std::optional<std::string> SimDesktop::Prompts::InputBox(const std::string& prompt, const std::string& title,
                                                         const std::string& defaultText) {
  std::optional<std::string> answer = defaultText;
  if (ScriptedAnswer* next = d_.NextAnswer()) {
    if (next->kind != ScriptedAnswer::Kind::kInput) {
      throw SimError{"the next answer does not fit the input box " + Quoted(prompt)};
    }
    answer = next->text;
    d_.DropAnswer();
  }
  d_.Print("inputbox " + Quoted(title) + " " + Quoted(prompt) + " " + Quoted(defaultText) + " -> " +
           (answer ? Quoted(*answer) : "cancel"));
  d_.Pump(PumpKind::kInputBox);
  return answer;
}

std::optional<std::string> SimDesktop::Prompts::PopupMenu(const std::vector<MenuItem>& menu) {
  std::string items;
  for (const MenuItem& item : menu) {
    if (item.level != 1 || item.caption == "-") continue;
    items += (items.empty() ? "" : " ") + std::string(item.enabled ? "" : "!") + ScriptWord(item.name);
  }
  std::optional<std::string> chosen;
  if (ScriptedAnswer* next = d_.NextAnswer()) {
    if (next->kind != ScriptedAnswer::Kind::kMenu)
      throw SimError{"the next answer is not for the popup menu"};
    if (next->text) {
      // Find the item and the submenu it sits in; a user reaches neither a disabled item nor
      // anything inside a disabled submenu.
      const MenuItem* parent = nullptr;
      const MenuItem* found = nullptr;
      bool hasChildren = false;
      for (size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].level == 1) parent = &menu[i];
        if (menu[i].name == *next->text && menu[i].level >= 1 && menu[i].caption != "-") {
          found = &menu[i];
          hasChildren = i + 1 < menu.size() && menu[i + 1].level > menu[i].level;
          break;
        }
      }
      if (!found || hasChildren)
        throw SimError{"the menu has no item " + ScriptWord(*next->text) + " to choose"};
      if (!found->enabled || (found->level == 2 && parent && !parent->enabled)) {
        throw SimError{"menu item " + ScriptWord(*next->text) + " is disabled"};
      }
    }
    chosen = next->text;
    d_.DropAnswer();
  }
  d_.Print("popup " + items + " -> " + (chosen ? ScriptWord(*chosen) : "none"));
  d_.Pump(PumpKind::kMenu);
  return chosen;
}

// ---- dialog ----

SimDesktop::DialogView::~DialogView() {
  if (!d_.ended_) d_.Print("dialog unloaded");
}

void SimDesktop::DialogView::Show() { d_.Print("dialog loaded page=" + std::to_string(dialog_.Page())); }

}  // namespace wendrel::sim
