#include "strip/strip_controller.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/platform.h"
#include "platform/utf8.h"
#include "store/browsers.h"
#include "store/options.h"
#include "strip/caption.h"

namespace wendrel {
std::int32_t RoundUpToPixels(std::int32_t value, std::int32_t twipsPerPixel) {
  if (twipsPerPixel == 0 || value % twipsPerPixel == 0) return value;
  const double pixels = static_cast<double>(value) / twipsPerPixel;
  return (static_cast<std::int32_t>(std::floor(pixels)) + 1) * twipsPerPixel;
}

StripController::StripController(const Platform& platform, Options& options, OptionsFile& optionsFile,
                                 Browsers& browsers, StripHooks& hooks, std::string filesFolder)
    : platform_(platform),
      options_(options),
      optionsFile_(optionsFile),
      browsers_(browsers),
      hooks_(hooks),
      tabs_(platform.tabStrip),
      taskbar_(platform.windows, platform.files, std::move(filesFolder), platform.windows.ProcessId()) {
  platform_.timer.SetTickHandler([this] { OnRefreshTimer(); });
}

StripController::~StripController() = default;

bool StripController::Start() {
  IWindowSystem& windows = platform_.windows;
  if (windows.PreviousInstance()) {
    platform_.prompts.MessageBox("Wendrel is already running.", Buttons::kOk, "Wendrel");
    windows.EndProcess();
    return false;
  }
  reconciling_ = false;
  hooks_.PrepareFilesFolder();
  optionsFile_.Read();
  hooks_.ReadSettings();

  const std::int32_t tppX = windows.TwipsPerPixelX();
  const std::int32_t tppY = windows.TwipsPerPixelY();
  oneRowHeight_ = RoundUpToPixels(kDesignedHeight, tppY);
  workArea_ = windows.WorkArea();
  bounds_.height = oneRowHeight_;
  bounds_.top = workArea_.bottom * tppY - bounds_.height;
  bounds_.left = workArea_.left * tppX;
  bounds_.width = workArea_.Width() * tppX;
  ApplyBounds();

  browsers_.CreateCollection([this] { OnShellWindowEvent(); },
                             [this](WindowHandle window) { OnAddressRead(window); });
  GiveBackLeftBehind();
  ResumeWatcher();
  platform_.strip.Show();
  hooks_.PrepareTrayIcon();
  tabs_.SetMultiRow(options_.MultiLine);
  hooks_.AddTrayIcon();
  if (options_.ConfirmGroup) {
    hooks_.ShowDialogAtStart();
  } else if (options_.StartGroup) {
    hooks_.OpenGroup(options_.DefaultGroup);
  }
  ScheduleReconcile(100);
  return true;
}

// Places the strip, then its image (centred vertically), the tab frame six pixels right of the image,
// and the tab strip filling the frame.
void StripController::ApplyBounds() {
  platform_.strip.SetBounds(bounds_);
  platform_.strip.SetImagePosition(0, RoundHalfEven((bounds_.height - kImageSize) / 2.0));
  const std::int32_t tppX = platform_.windows.TwipsPerPixelX();
  const std::int32_t frameLeft = 6 * tppX + RoundUpToPixels(kImageSize, tppX);
  platform_.strip.SetFrameBounds({frameLeft, 0, bounds_.width - frameLeft, bounds_.height});
  platform_.strip.SetTabStripBounds({0, 0, bounds_.width - frameLeft, bounds_.height});
}

void StripController::FitToTabRows() {
  FitToRows();
  platform_.strip.SetFocus();
}

void StripController::FitToRows() {
  std::int32_t maxTop = 0;
  for (int i = 1; i <= tabs_.Count(); ++i) {
    const float top = tabs_.Rectangle(i).top;
    if (top > static_cast<float>(maxTop)) maxTop = RoundHalfEven(top);
  }
  const std::int32_t tppY = platform_.windows.TwipsPerPixelY();
  bounds_.height = RoundUpToPixels(oneRowHeight_ + maxTop, tppY);
  bounds_.top = tppY * workArea_.bottom - bounds_.height;
  ApplyBounds();
}

void StripController::FollowWorkArea() {
  IWindowSystem& windows = platform_.windows;
  const std::int32_t tppX = windows.TwipsPerPixelX();
  const std::int32_t tppY = windows.TwipsPerPixelY();
  workArea_ = windows.WorkArea();
  // A new DPI brings new twips per pixel: the one-row height is rounded to the new pixels.
  oneRowHeight_ = RoundUpToPixels(kDesignedHeight, tppY);
  bounds_.left = workArea_.left * tppX;
  bounds_.width = workArea_.Width() * tppX;
  // The new width first, so that the tab strip wraps its rows for it; then the height they need.
  ApplyBounds();
  FitToRows();
  // The windows keep their order on the screen and the focus stays where the user left it.
  constexpr std::uint32_t kKeepOrderAndFocus = 0x4 | 0x10;  // SWP_NOZORDER | SWP_NOACTIVATE
  for (int i = 1; i <= tabs_.Count(); ++i) {
    IgnoringErrors([&] { PlaceAboveStrip(tabs_.HandleAt(i), kKeepOrderAndFocus); });
  }
}

void StripController::PlaceAboveStrip(WindowHandle window, std::uint32_t flags) {
  const double strip = static_cast<double>(bounds_.height) / platform_.windows.TwipsPerPixelY();
  platform_.windows.SetWindowPos(window, 0, workArea_.left, workArea_.top, workArea_.Width(),
                                 RoundHalfEven(workArea_.Height() - strip), flags);
}

void StripController::Reconcile() {
  if (reconciling_ || stopped_) return;
  reconciling_ = true;
  struct PassEnd {
    StripController& form;
    ~PassEnd() {
      form.browsers_.CloseSnapshot();
      form.reconciling_ = false;
    }
  } passEnd{*this};

  int selectIndex = 0;
  int n = tabs_.Count();
  std::vector<char> met(static_cast<size_t>(n), 0);
  bool anotherGone = false;

  if (const auto windows =
          browsers_.OpenSnapshot([this](WindowHandle window) { return taskbar_.Holds(window); })) {
    std::unordered_map<std::string, int> tabOfKey;
    for (int i = n; i >= 1; --i) tabOfKey[tabs_.At(i).Key] = i;  // the first tab of a key wins
    for (const WindowHandle window : *windows) {
      const std::string key = KeyOf(window);
      if (const auto found = tabOfKey.find(key); found != tabOfKey.end()) {
        met[static_cast<size_t>(found->second - 1)] = 1;
        TakeAwayAgainIfReset(window);
        UpdateCaption(found->second);
        continue;
      }
      HideFromTaskbar(window);
      PlaceAboveStrip(window, 0);
      n = tabs_.Add();
      met.push_back(1);
      selectIndex = n;
      tabOfKey.emplace(key, n);
      tabs_.SetKey(n, key);
      tabs_.SetTag(n, browsers_.Adopt(window).value_or(""));
      UpdateCaption(n);
    }
    // A window the pass did not meet has gone, unless it is still open with the style the
    // program gave it: then only its item in the collection could not be read, and it keeps
    // its tab. A browser's window that is hidden but still there is closing in two steps.
    int gone = 0;
    for (int i = 1; i <= n && !anotherGone; ++i) {
      if (met[static_cast<size_t>(i - 1)] || StaysTabbedUnmet(tabs_.HandleAt(i))) continue;
      // One removal per pass; a second gone window gets a prompt pass of its own.
      if (gone == 0) {
        gone = i;
      } else {
        anotherGone = true;
      }
    }
    if (gone != 0) {
      tabs_.Remove(gone);
      selectIndex = std::max(gone - 1, 1);
    }
  }
  SettleUntabbedWindows();

  if (tabs_.Count() >= 1 && selectIndex >= 1) {
    SelectTab(selectIndex);
  } else {
    FitToTabRows();
  }
  platform_.windows.SetForegroundWindow(platform_.strip.Handle());
  IgnoringErrors([&] { platform_.strip.Show(); });
  hooks_.RefreshTabDialog();
  if (anotherGone) ScheduleReconcile(100);
}

void StripController::UpdateCaption(int index) {
  const WindowHandle window = tabs_.HandleAt(index);
  std::string name;
  std::string url;
  browsers_.ReadDetails(window, name, url);
  // A browser's window whose address is not known is named by its title.
  if (TrimSpaces(url).empty() && browsers_.IsAppWindow(window)) url = name;
  const Tab& tab = tabs_.At(index);
  const bool hasUrl = !TrimSpaces(url).empty();
  if (TrimSpaces(tab.Tag).empty()) {
    tabs_.SetCaption(index, hasUrl ? CaptionFromURL(url, options_.CaptionWidth) : options_.DefaultName);
  } else {
    tabs_.SetCaption(index, tab.Tag);
  }
  if (hasUrl) tabs_.SetToolTipText(index, url);
}

void StripController::OnAddressRead(WindowHandle window) {
  const std::string key = KeyOf(window);
  for (int i = 1; i <= tabs_.Count(); ++i) {
    if (tabs_.At(i).Key != key) continue;
    if (const auto shortName = browsers_.Adopt(window)) tabs_.SetTag(i, *shortName);
    IgnoringErrors([&] { UpdateCaption(i); });
    IgnoringErrors([&] { FitToTabRows(); });
    hooks_.RefreshTabDialog();
    return;
  }
}

bool StripController::StaysTabbedUnmet(WindowHandle window) {
  return browsers_.IsAppWindow(window) ? browsers_.AppWindowHidden(window) : taskbar_.StillTakenAway(window);
}

// A browser that writes its own style back (leaving full screen) gives its window its taskbar
// button again: the program takes it away again.
void StripController::TakeAwayAgainIfReset(WindowHandle window) {
  if (!browsers_.IsAppWindow(window) || !taskbar_.Holds(window)) return;
  if ((platform_.windows.GetWindowLongA(window, kGwlExStyle) & kWsExToolWindow) == 0) HideFromTaskbar(window);
}

void StripController::UpdateAllCaptions() {
  for (int i = 1; i <= tabs_.Count(); ++i) UpdateCaption(i);
}

void StripController::RefreshFirstTab() {
  if (tabs_.Count() == 0) return;
  const WindowHandle window = tabs_.HandleAt(1);
  browsers_.Refresh(window);
  if (browsers_.IsAppWindow(window)) {
    UpdateCaption(1);
    return;
  }
  std::string name;
  std::string url;
  browsers_.ReadDetails(window, name, url);
  if (tabs_.At(1).Tag.empty()) tabs_.SetCaption(1, name);
  // A page still loading has no address yet: the tab keeps the one it knew.
  if (!TrimSpaces(url).empty()) tabs_.SetToolTipText(1, url);
}

void StripController::HideFromTaskbar(WindowHandle window) {
  // A pass the end interrupted at one of its pump points goes on, but takes no more buttons.
  if (!stopped_) taskbar_.TakeAway(window);
}

// Windows an earlier run took off the taskbar and could not give back (the machine lost power,
// or the program and its guard were both ended) get their buttons back before the first pass
// takes them again, so that the style they get back in the end is their own. The shell's
// windows and the listed browsers' frames vouch for the lines of an older version, which do
// not tell one window from another.
void StripController::GiveBackLeftBehind() {
  if (!taskbar_.ListExists()) return;
  taskbar_.GiveBackLeftBehind(browsers_.WindowsToRepair());
}

// A window that the program took off the taskbar and that no tab tracks any more (its tab was
// removed while it refused to close, or it left the collection) gets its button back; one that
// has gone is forgotten.
void StripController::SettleUntabbedWindows() {
  std::unordered_set<WindowHandle> tabbed;
  for (int i = 1; i <= tabs_.Count(); ++i) {
    if (const auto window = HandleOfKey(tabs_.At(i).Key)) tabbed.insert(*window);
  }
  std::vector<WindowHandle> untabbed;
  for (const auto& [window, taken] : taskbar_.Taken()) {
    if (tabbed.count(window) == 0) untabbed.push_back(window);
  }
  for (const WindowHandle window : untabbed) {
    // A browser's window that hid itself to close keeps its style until it goes: giving its
    // button back would show it again.
    if (browsers_.AppWindowHidden(window)) continue;
    if (taskbar_.StillTakenAway(window)) {
      taskbar_.GiveBack(window);
    } else {
      taskbar_.Forget(window);
    }
  }
}

void StripController::SelectTab(int index) {
  tabs_.Select(index);
  ActivateSelectedTab();
}

void StripController::ActivateSelectedTab() {
  if (tabs_.Count() == 0) return;
  const int i = tabs_.SelectedIndex();
  const WindowHandle window = tabs_.HandleAt(i);
  IWindowSystem& windows = platform_.windows;
  IgnoringErrors([&] {
    windows.ShowWindow(window, kSwShow);
    windows.ShowWindow(window, kSwRestore);
    windows.BringWindowToTop(window);
  });
  // The caption comes from fresh details even inside a pass: the window may have navigated or
  // gone since the pass read it, at the pump points above or in the pass itself.
  browsers_.ForgetDetails(window);
  IgnoringErrors([&] { UpdateCaption(i); });
  IgnoringErrors([&] { FitToTabRows(); });
  IgnoringErrors([&] { PlaceAboveStrip(window, kSwpFrameChanged); });
}

void StripController::OnTabStripMouseUp(std::int16_t button, std::int16_t /*shift*/, float x, float y) {
  if (button != 2) return;
  for (int i = 1; i <= tabs_.Count(); ++i) {
    const TabRect r = tabs_.Rectangle(i);
    if (r.top <= y && r.top + r.height > y && r.left <= x && r.left + r.width > x) {
      SelectTab(i);
      break;
    }
  }
  hooks_.ShowTrayMenu();
}

void StripController::OnShellWindowEvent() {
  platform_.timer.SetEnabled(true);
  platform_.timer.SetInterval(reconciling_ ? 65535 : 500);
}

void StripController::OnRefreshTimer() {
  if (reconciling_) return;
  platform_.timer.SetEnabled(false);
  // A pass that fails part-way has cleared its flag; the next event or tick tries again.
  IgnoringErrors([this] { Reconcile(); });
  if (platform_.timer.Enabled()) platform_.timer.SetInterval(100);
}

void StripController::ScheduleReconcile(std::int32_t interval) {
  if (stopped_) return;
  platform_.timer.SetEnabled(true);
  platform_.timer.SetInterval(interval);
}

void StripController::SuspendWatcher() { shellEvents_.reset(); }

void StripController::ShellRestarted() {
  if (!Watching()) return;
  browsers_.RenewCollection();
  ResumeWatcher();
  ScheduleReconcile(100);
}

void StripController::ResumeWatcher() {
  shellEvents_.reset();
  if (stopped_) return;
  shellEvents_ = platform_.shell.Subscribe(
      [this](std::int32_t) {
        browsers_.NoteShellWindowOpened();
        OnShellWindowEvent();
      },
      [this](std::int32_t) { OnShellWindowEvent(); });
}

void StripController::StopPasses() {
  stopped_ = true;
  shellEvents_.reset();
  platform_.timer.SetEnabled(false);
}

}  // namespace wendrel
