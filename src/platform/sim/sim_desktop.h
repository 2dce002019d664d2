// The simulated desktop: one deterministic world of windows, browsers, a clock, files, boxes
// and menus, offering every platform interface the program needs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_files.h"

namespace wendrel::sim {

// A scenario asked for something the simulated desktop cannot do in its current state. Not a
// std::exception on purpose: the program's own handlers must never swallow it.
struct SimError {
  std::string reason;
  int line = 0;  // the script line to blame, when not the one running
};

// Thrown by EndProcess so that nothing of the program runs after it.
struct ProcessEnded {};

enum class PumpKind { kAny, kMsgBox, kInputBox, kMenu };

enum class WindowFault { kHandle, kDetails, kQuit, kRefresh, kStop, kAddress, kClose };

struct SimWindow {
  WindowHandle handle = 0;
  bool alive = true;
  bool visible = true;
  bool minimized = false;
  std::int32_t exstyle = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  std::string url;
  std::string title;
  std::int32_t cookie = 0;
  std::string windowClass = "IEFrame";
  std::string image = "iexplore.exe";
  // Another program's top-level window, which the shell's collection does not list.
  bool app = false;
  bool owned = false;
  bool cloaked = false;
  bool addressReadable = false;
  // A request to close only hides the window.
  bool lingers = false;
};

// A queued answer for the next box or menu.
struct ScriptedAnswer {
  enum class Kind { kButton, kInput, kMenu };
  Kind kind = Kind::kButton;
  Answer button = Answer::kOk;
  std::optional<std::string> text;  // input: nothing for Cancel; menu: nothing for none
  int line = 0;
};

struct TabView {
  std::string caption;
  std::string tip;
};

class SimDesktop {
 public:
  static constexpr WindowHandle kStripHandle = 1;
  static constexpr std::int64_t kIconHandle = 32512;
  static constexpr WindowHandle kFirstCreatedHandle = 9001;

  // Events are printed to `out`; files live under `folder`.
  SimDesktop(std::ostream& out, std::string folder);
  ~SimDesktop();
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  Platform platform();

  // Set-up before the program starts.
  void SetScreen(std::int32_t width, std::int32_t height, std::int32_t twipsPerPixel);
  void SetWorkArea(const PixelRect& area) { workArea_ = area; }
  void SetPreviousInstance(bool running) { previousInstance_ = running; }
  void SetSessionId(std::uint32_t id) { sessionId_ = id; }

  // The world.
  void OpenWindow(WindowHandle handle, const std::string& url, const std::string& title);
  void CloseWindow(WindowHandle handle);
  void NavigateWindow(WindowHandle handle, const std::string& url, const std::optional<std::string>& title);
  void MinimizeWindow(WindowHandle handle);
  // The window's own extended style, as the browser itself sets it.
  void SetWindowStyle(WindowHandle handle, std::int32_t exstyle);
  // From now on a request to close hides the window; it goes only with CloseWindow.
  void MakeLinger(WindowHandle handle);
  // Other programs' windows: each change raises its window event.
  void OpenApp(const SimWindow& window);
  void SetAppTitle(WindowHandle handle, const std::string& title);
  void SetAddress(WindowHandle handle, const std::optional<std::string>& address);
  void CloakApp(WindowHandle handle, bool cloaked);
  void ShowApp(WindowHandle handle, bool visible);
  void SetDefaultBrowser(std::string exe) { defaultBrowser_ = std::move(exe); }
  // Hands the results of address reads asked for so far to the program, as its thread would
  // receive them once it is free again.
  void DeliverAddressReads();
  void AddFault(WindowHandle handle, WindowFault fault) { faults_[handle].insert(fault); }
  void ClearFaults(WindowHandle handle) { faults_.erase(handle); }
  bool HasFault(WindowHandle handle, WindowFault fault) const;
  SimFileSystem& files() { return *files_; }
  // Moves the clock on, running due timer ticks in time order.
  void Wait(std::int64_t milliseconds);
  std::int64_t Now() const { return now_; }
  void SetTrace(bool on) { trace_ = on; }

  // A world action delivered at the next pump point of its kind (kAny: any pump point).
  void QueuePending(PumpKind kind, std::function<void()> action);
  // Delivers the pending actions a pump point of this kind takes, in the order queued.
  void Pump(PumpKind kind);

  void QueueAnswer(ScriptedAnswer answer) { answers_.push_back(std::move(answer)); }
  const std::deque<ScriptedAnswer>& Answers() const { return answers_; }
  ScriptedAnswer* NextAnswer();
  void DropAnswer() { answers_.pop_front(); }

  // Runs before every timer tick handler; the scenario runner uses it to tell a pass starting.
  void SetTickObserver(std::function<void()> observer) { tickObserver_ = std::move(observer); }

  void EndProcess();
  bool Ended() const { return ended_; }

  // What a user would see.
  const SimWindow* Window(WindowHandle handle) const;
  std::optional<WindowHandle> Foreground() const { return foreground_; }
  // Top first.
  std::vector<WindowHandle> ZOrder() const;
  const std::vector<WindowHandle>& Collection() const { return collection_; }
  std::string WindowName(WindowHandle handle) const;
  bool TimerEnabled() const { return timerEnabled_; }
  std::int32_t TimerInterval() const { return timerInterval_; }
  const TwipBounds& StripBounds() const { return stripBounds_; }
  const TwipBounds& FrameBounds() const { return frameBounds_; }
  const TwipBounds& TabStripBounds() const { return tabStripBounds_; }
  std::int32_t ImageLeft() const { return imageLeft_; }
  std::int32_t ImageTop() const { return imageTop_; }
  bool StripShown() const { return stripShown_; }
  bool TrayPresent() const { return trayPresent_; }
  const std::string& TrayTip() const { return trayTip_; }
  const std::vector<TabView>& TabViews() const { return tabViews_; }
  int SelectedTabView() const { return selectedTabView_; }
  // The tab's rectangle by the desktop's layout rule, in twips.
  TabRect TabRectangle(int index) const;
  std::int32_t TwipsPerPixelX() const { return twipsPerPixel_; }
  std::int64_t BrowserCalls() const { return browserCalls_; }

  // The system's sign-in entry for Wendrel, as a command line, or nothing; the user may change it
  // behind the program's back.
  const std::optional<std::string>& SignInEntry() const { return signInEntry_; }
  void SetSignInEntry(std::optional<std::string> entry) { signInEntry_ = std::move(entry); }
  // The entry that starts this program: its quoted path.
  std::string SignInCommand() const { return "\"" + files_->ProgramFolder() + "\\wendrel.exe\""; }

  void Print(const std::string& line);
  // Stops all printing, as when the transcript has ended and only tearing down remains.
  void Silence() { silent_ = true; }

 private:
  class WindowSystem;
  class StripWindow;
  class TabStripView;
  class Timer;
  class Shell;
  class ShellWindows;
  class ShellEvents;
  class Browser;
  class AppWindows;
  class AppWatch;
  class Programs;
  class SignIn;
  class Tray;
  class Prompts;
  class DialogHost;
  class DialogView;

  SimWindow* Live(WindowHandle handle);
  void Activate(WindowHandle handle);
  void RaiseToTop(WindowHandle handle);
  void DropFromZOrder(WindowHandle handle);
  void Trace(const std::string& call);
  void RaiseEvent(bool registered, std::int32_t cookie);
  void RaiseAppEvent(WindowHandle handle, AppWindowEvent event);
  SimWindow& LiveApp(WindowHandle handle);
  void CountBrowserCall() { ++browserCalls_; }
  WindowHandle CreateBrowserWindow();
  void TimerRestart() { timerArmedAt_ = now_; }
  // The tab rectangles are worked out for all tabs at once and kept until something they
  // depend on changes: the tabs, a caption, multi-row, the tab strip's bounds.
  void InvalidateLayout() { layoutValid_ = false; }
  void LayOutTabs() const;

  std::ostream& out_;
  std::unique_ptr<SimFileSystem> files_;

  std::int32_t screenWidth_ = 1024;
  std::int32_t screenHeight_ = 768;
  std::int32_t twipsPerPixel_ = 15;
  PixelRect workArea_{0, 0, 1024, 728};
  bool previousInstance_ = false;
  std::uint32_t sessionId_ = 1;
  bool ended_ = false;
  bool trace_ = false;
  bool silent_ = false;
  std::int64_t now_ = 0;

  std::map<WindowHandle, SimWindow> windows_;
  std::vector<WindowHandle> collection_;
  // The z-order as ranks, the highest on top, so that raising a window costs no walk over the
  // others.
  std::map<std::int64_t, WindowHandle> zOrder_;
  std::map<WindowHandle, std::int64_t> zRank_;
  std::int64_t topRank_ = 0;
  std::optional<WindowHandle> foreground_;
  std::map<WindowHandle, std::set<WindowFault>> faults_;
  std::int32_t nextCookie_ = 1;
  WindowHandle nextCreated_ = kFirstCreatedHandle;
  std::vector<ShellEvents*> subscriptions_;
  std::int64_t browserCalls_ = 0;

  bool timerEnabled_ = false;
  std::int32_t timerInterval_ = 1000;
  std::int64_t timerArmedAt_ = 0;
  std::function<void()> tickHandler_;
  std::function<void()> tickObserver_;

  TwipBounds stripBounds_;
  TwipBounds frameBounds_;
  TwipBounds tabStripBounds_;
  std::int32_t imageLeft_ = 0;
  std::int32_t imageTop_ = 0;
  bool stripShown_ = false;
  std::vector<TabView> tabViews_;
  int selectedTabView_ = 0;
  bool multiRow_ = false;
  mutable std::vector<TabRect> layout_;
  mutable bool layoutValid_ = false;

  // Other programs' windows, in the order they opened, and the program that opens https links.
  std::vector<WindowHandle> appOrder_;
  std::vector<AppWatch*> appWatches_;
  std::deque<std::pair<AppWatch*, WindowHandle>> addressReads_;
  std::string defaultBrowser_;
  std::optional<std::string> signInEntry_;

  bool trayPresent_ = false;
  std::string trayTip_;

  struct Pending {
    PumpKind kind;
    std::function<void()> action;
  };
  std::deque<Pending> pending_;
  std::deque<ScriptedAnswer> answers_;

  std::unique_ptr<WindowSystem> windowSystem_;
  std::unique_ptr<StripWindow> stripWindow_;
  std::unique_ptr<TabStripView> tabStripView_;
  std::unique_ptr<Timer> timer_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<AppWindows> appWindows_;
  std::unique_ptr<Programs> programs_;
  std::unique_ptr<SignIn> signIn_;
  std::unique_ptr<Tray> tray_;
  std::unique_ptr<Prompts> prompts_;
  std::unique_ptr<DialogHost> dialogHost_;
};

// Texts as the transcript prints them: in double quotes with \" \\ \t \r \n escaped.
std::string Quoted(const std::string& text);

}  // namespace wendrel::sim
