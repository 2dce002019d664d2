// Event storms: for each seed, ten thousand random events on the simulated desktop — windows
// opening, closing and navigating, timer waits, tray and menu commands, dialog actions, groups
// opened and saved, random answers to every box, world events arriving while boxes and menus
// are up, and window and file faults. After every event the drawn strip matches the program's
// tabs and a failed write has been told; every write leaves a file whole; after the storm settles
// the strip holds one tab per open window with the caption the rule gives, and closing the
// program gives every window it restyled its taskbar button back.
//
// WENDREL_STORM_SEEDS=N runs seeds 1..N (20 by default; 100 or more for a long soak).
// WENDREL_STORM_SEED=S runs only seed S, to replay a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iostream>
#include <random>
#include <set>

#include "dialog/control_names.h"
#include "dialog/options_dialog.h"
#include "platform/utf8.h"
#include "store/groups.h"
#include "strip/caption.h"
#include "support/test_world.h"

namespace wendrel::sim {
namespace {

constexpr int kEventsPerStorm = 10000;
constexpr std::int32_t kToolWindow = 0x80;

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

std::vector<unsigned> StormSeeds() {
  if (const unsigned only = EnvNumber("WENDREL_STORM_SEED", 0); only != 0) return {only};
  std::vector<unsigned> seeds;
  for (unsigned seed = 1; seed <= EnvNumber("WENDREL_STORM_SEEDS", 20); ++seed) seeds.push_back(seed);
  return seeds;
}

// The faults found, with the events that led to the first one.
struct StormLog {
  int step = 0;
  std::deque<std::string> recent, beforeFirst;
  std::vector<std::string> faults;

  void Event(std::string what) {
    if (recent.size() == 12) recent.pop_front();
    recent.push_back("#" + std::to_string(step) + " " + std::move(what));
  }
  void Fault(const std::string& what) {
    if (faults.empty()) beforeFirst = recent;
    if (faults.size() < 20) faults.push_back("step " + std::to_string(step) + ": " + what);
  }
  std::string Report(unsigned seed) const {
    std::string text = "replay with WENDREL_STORM_SEED=" + std::to_string(seed) + "\n";
    for (const std::string& fault : faults) text += "  fault: " + fault + "\n";
    for (const std::string& event : beforeFirst) text += "    " + event + "\n";
    return text;
  }
};

// Random choices, and the texts the user types and the world shows.
class Texts {
 public:
  explicit Texts(unsigned seed) : random_(seed) {}
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  template <typename T>
  const T& From(const std::vector<T>& values) {
    return values[static_cast<size_t>(Pick(static_cast<int>(values.size())))];
  }
  std::string Url() {
    static const std::vector<std::string> kUrls = {"http://www.example.com/",
                                                   "http://intranet/",
                                                   "",
                                                   "file:///C:/Users/x/Documents",
                                                   "abcdefghijk",
                                                   "http://a.b",
                                                   "http://news.example.com/a,b",
                                                   "  http://spaced.example.com/  ",
                                                   "http://caf\xC3\xA9.example/",
                                                   "http://tab.example.com/a\tb",
                                                   "http://long.example.com/" + std::string(3000, 'p'),
                                                   "*"};
    return From(kUrls);
  }
  std::string Name() {
    static const std::vector<std::string> kNames = {
        "Work",  " spaced ", "DEFAULT", "a:b",         "x,y",   "CON", "..\\up", std::string(300, 'L'),
        "tab\t", "",         "News",    "caf\xC3\xA9", "Work.", "  ",  "COM1",   "q\"uote"};
    return From(kNames);
  }
  std::string Number() {
    return From(std::vector<std::string>{"8", "0", "-3", "12", "x", "", "99999999999", "3"});
  }
  // A group file's text as another program or the user might leave it.
  std::string GroupText() {
    std::string text;
    for (int i = Pick(5); i > 0; --i) {
      const int kind = Pick(5);
      text += kind == 0   ? "\r\n"
              : kind == 1 ? "no comma\r\n"
                          : Name() + "," + Url() + (Pick(6) ? "\r\n" : "\r");
    }
    return text;
  }

 private:
  std::mt19937 random_;
};

// The user at the boxes and menus: random answers, and the world goes on meanwhile.
class StormPrompts : public IPrompts {
 public:
  StormPrompts(SimDesktop& desktop, Texts& texts) : desktop_(desktop), texts_(texts) {}
  bool closing = false;  // at exit every question is answered so that the program ends
  int shown = 0;

  Answer MessageBox(const std::string&, Buttons buttons, const std::string&) override {
    ++shown;
    Answer answer = Answer::kOk;
    if (buttons == Buttons::kOkCancel) answer = texts_.Pick(2) == 0 ? Answer::kOk : Answer::kCancel;
    if (buttons == Buttons::kYesNo) answer = closing || texts_.Pick(3) != 0 ? Answer::kYes : Answer::kNo;
    if (!closing) desktop_.Pump(PumpKind::kMsgBox);
    return answer;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string& defaultText) override {
    ++shown;
    const int choice = texts_.Pick(5);
    std::optional<std::string> answer = choice == 0 ? std::nullopt : std::optional(defaultText);
    if (choice >= 3) answer = texts_.Name();
    desktop_.Pump(PumpKind::kInputBox);
    return answer;
  }
  std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) override {
    ++shown;
    // What a user can reach: enabled items, in an enabled submenu, that are not submenus; the
    // storm closes the program itself, at its end.
    std::vector<std::string> reachable;
    bool parentEnabled = true;
    for (size_t i = 0; i < menu.size(); ++i) {
      const MenuItem& item = menu[i];
      if (item.level == 1) parentEnabled = item.enabled;
      const bool hasChildren = i + 1 < menu.size() && menu[i + 1].level > item.level;
      if (item.level < 1 || item.caption == "-" || hasChildren || !item.enabled) continue;
      if ((item.level == 2 && !parentEnabled) || item.name == "closeProgram") continue;
      reachable.push_back(item.name);
    }
    std::optional<std::string> chosen;
    if (!reachable.empty() && texts_.Pick(5) != 0) chosen = texts_.From(reachable);
    desktop_.Pump(PumpKind::kMenu);
    return chosen;
  }

 private:
  SimDesktop& desktop_;
  Texts& texts_;
};

// The program's files, each write checked as it happens: afterwards a file is either its old
// content or the new one whole, and a failed write leaves the old content.
class CheckedFiles : public IFileSystem {
 public:
  CheckedFiles(SimFileSystem& files, StormLog& log) : files_(files), log_(log) {}
  bool lineEdit = false;  // a rewrite is one line edit: it keeps every entry but one
  int writes = 0, failedWrites = 0, untold = 0;
  std::string lastFailure;

  std::string ProgramFolder() override { return files_.ProgramFolder(); }
  std::string LocalAppDataFolder() override { return files_.LocalAppDataFolder(); }
  bool CanWriteIn(const std::string& folder) override { return files_.CanWriteIn(folder); }
  std::string ReadFile(const std::string& path) override { return files_.ReadFile(path); }
  std::string ReadFileHead(const std::string& path, std::size_t limit) override {
    return files_.ReadFileHead(path, limit);
  }
  void ReplaceFile(const std::string& path, std::string_view content) override {
    if (lineEdit) {
      if (const auto text = Read(path)) CheckLineEdit(path, *text, std::string(content));
    }
    Checked(path, true, std::string(content), [&] { files_.ReplaceFile(path, content); });
  }
  void AppendFile(const std::string& path, std::string_view content) override {
    Checked(path, true, Read(path).value_or("") + std::string(content),
            [&] { files_.AppendFile(path, content); });
  }
  void AppendInOneStep(const std::string& path, std::string_view content) override {
    Checked(path, true, Read(path).value_or("") + std::string(content),
            [&] { files_.AppendInOneStep(path, content); });
  }
  // A delete that fails leaves the group in the dialog's list for the user to see.
  void DeleteFile(const std::string& path) override {
    Checked(path, false, std::nullopt, [&] { files_.DeleteFile(path); });
  }
  void CreateFolder(const std::string& path) override { files_.CreateFolder(path); }
  bool FileExists(const std::string& path) override { return files_.FileExists(path); }
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) override {
    return files_.ListFiles(folder, extension);
  }

 private:
  std::string Relative(const std::string& path) {
    const std::string folder = files_.ProgramFolder();
    return path.starts_with(folder) ? path.substr(folder.size()) : path;
  }
  std::optional<std::string> Peek(const std::string& path) { return files_.Peek(Relative(path)); }
  std::optional<std::string> Read(const std::string& path) {
    try {
      return files_.ReadFile(path);
    } catch (const PlatformError&) {
      return std::nullopt;
    }
  }
  // Runs a write; afterwards the file reads as `expected` (missing for a delete), or, when the
  // write failed, holds the bytes it held. A failure still reaches the program, which must tell
  // the user of it when `tell` says so.
  template <typename Write>
  void Checked(const std::string& path, bool tell, const std::optional<std::string>& expected, Write write) {
    const auto before = Peek(path);
    const std::string name = Relative(path).substr(0, 60);
    ++writes;
    try {
      write();
    } catch (const PlatformError& error) {
      ++failedWrites;
      untold += tell ? 1 : 0;
      lastFailure = error.Description();
      if (Peek(path) != before) log_.Fault("a failed write of " + name + " changed the file");
      throw;
    }
    if ((expected ? Read(path) : Peek(path)) != expected)
      log_.Fault("writing " + name + " left other content");
  }
  void CheckLineEdit(const std::string& path, const std::string& before, const std::string& after) {
    std::multiset<std::pair<std::string, std::string>> kept;
    for (const auto& [shortName, url] : ParseGroupFile(after))
      kept.emplace(std::string(TrimSpaces(shortName)), url);
    int lost = 0;
    for (const auto& [shortName, url] : ParseGroupFile(before)) {
      const auto found = kept.find({std::string(TrimSpaces(shortName)), std::string(url)});
      if (found == kept.end()) ++lost;
      if (found != kept.end()) kept.erase(found);
    }
    if (lost > 1)
      log_.Fault("a line edit of " + Relative(path) + " drops " + std::to_string(lost) + " entries");
  }

  SimFileSystem& files_;
  StormLog& log_;
};

// One storm: a desktop, the program on it, and the events thrown at it.
class Storm {
 public:
  explicit Storm(unsigned seed)
      : world_("storm-" + std::to_string(seed)),
        desktop_(world_.desktop()),
        texts_(seed),
        prompts_(desktop_, texts_),
        files_(desktop_.files(), log_) {
    desktop_.SetTickObserver([this] {
      if (program_ && !program_->strip().Reconciling()) ++passes_;
    });
    std::string options = "\"DEFAULT\",\"**UNKNOWN**\"";
    for (int i = 0; i < 6; ++i) options += texts_.Pick(2) == 0 ? ",#TRUE#" : ",#FALSE#";
    desktop_.files().Put("Wendrel.CFG", options + "," + std::to_string(texts_.Pick(16)) + "\r\n");
    desktop_.files().Put("Groups/DEFAULT.WDX", texts_.GroupText());
    desktop_.files().Put("Groups/Work.WDX", texts_.GroupText());
    for (int i = texts_.Pick(4); i > 0; --i) desktop_.OpenWindow(FreeHandle(), texts_.Url(), texts_.Name());
  }

  ~Storm() { world_.Stop(); }

  void Run() {
    Guarded("start", [&] { world_.Start({.prompts = &prompts_, .files = &files_}); });
    program_ = &world_.program();
    for (log_.step = 1; log_.step <= kEventsPerStorm && program_ && !desktop_.Ended(); ++log_.step) {
      Step();
      AfterStep();
      if (log_.faults.size() >= 5) return;
    }
    if (desktop_.Ended()) return log_.Fault("the program ended before the storm closed it");
    Settle();
    CheckTabs();
    Close();
  }

  const StormLog& log() const { return log_; }
  std::string Summary() const {
    return std::to_string(passes_) + " passes, " + std::to_string(prompts_.shown) + " boxes and menus, " +
           std::to_string(files_.writes) + " writes (" + std::to_string(files_.failedWrites) + " failed)";
  }

 private:
  // Runs one piece of the storm; whatever escapes from the program is a fault.
  void Guarded(const std::string& what, const std::function<void()>& action) {
    log_.Event(what);
    try {
      action();
    } catch (const ProcessEnded&) {
      // Seen by the caller through desktop_.Ended().
    } catch (const SimError& error) {
      log_.Fault(what + ": the desktop refused: " + error.reason);
    } catch (const std::exception& error) {
      log_.Fault(what + ": an exception escaped the program: " + error.what());
    }
  }

  WindowHandle FreeHandle() {
    while (desktop_.Window(nextHandle_) && desktop_.Window(nextHandle_)->alive) ++nextHandle_;
    return nextHandle_++;
  }
  bool Unreadable(WindowHandle window) const { return desktop_.HasFault(window, WindowFault::kHandle); }

  // One change of the world, as a closure that still makes sense when it runs later.
  std::pair<std::string, std::function<void()>> WorldChange() {
    const std::vector<WindowHandle> open = desktop_.Collection();
    int kind = open.empty() ? 0 : texts_.Pick(4);
    if (open.size() > 40 && kind == 0) kind = 1;  // keep the desktop to a size a user has
    if (kind == 0) {
      const std::string url = texts_.Url();
      return {"open " + url.substr(0, 40),
              [this, url] { desktop_.OpenWindow(FreeHandle(), url, texts_.Name()); }};
    }
    const WindowHandle window = texts_.From(open);
    const std::string url = kind == 2 ? texts_.Url() : "";
    const std::string title = kind == 2 ? texts_.Name() : "";
    return {std::to_string(kind) + " on " + std::to_string(window), [this, window, kind, url, title] {
              if (!desktop_.Window(window) || !desktop_.Window(window)->alive) return;
              if (kind == 1) desktop_.CloseWindow(window);
              if (kind == 2) desktop_.NavigateWindow(window, url, title);
              if (kind == 3) desktop_.MinimizeWindow(window);
            }};
  }

  void WindowFault() {
    const std::vector<WindowHandle> open = desktop_.Collection();
    if (open.empty()) return;
    const WindowHandle window = texts_.From(open);
    if (texts_.Pick(3) == 0) {
      log_.Event("heal " + std::to_string(window));
      return desktop_.ClearFaults(window);
    }
    const auto fault = texts_.From(std::vector<sim::WindowFault>{WindowFault::kDetails, WindowFault::kQuit,
                                                                 WindowFault::kRefresh, WindowFault::kStop,
                                                                 WindowFault::kHandle});
    log_.Event("fail " + std::to_string(window) + " " + std::to_string(static_cast<int>(fault)));
    desktop_.AddFault(window, fault);
  }

  void FileChange() {
    SimFileSystem& files = desktop_.files();
    const std::string file = texts_.From(
        std::vector<std::string>{"Groups/DEFAULT.WDX", "Groups/Work.WDX", "Groups/News.WDX", "Wendrel.CFG"});
    const int kind = texts_.Pick(6);
    log_.Event("file change " + std::to_string(kind) + " " + file);
    if (kind == 0) {
      files.AddFault(file, texts_.Pick(3) == 0   ? FileFault::kOpen
                           : texts_.Pick(2) == 0 ? FileFault::kWrite
                                                 : FileFault::kDelete);
    } else if (kind == 1) {
      files.AddFolderCreateFault("Groups");
    } else if (kind < 4) {
      files.ClearFaults();
    } else if (file != "Wendrel.CFG") {
      if (kind == 4) files.Put(file, texts_.GroupText());
      if (kind == 5) files.Remove(file);
    }
  }

  void TrayEvent() {
    const auto message =
        texts_.From(std::vector<std::int32_t>{0x200, 0x201, 0x202, 0x203, 0x205, 0x205, 0x205});
    Guarded("tray " + std::to_string(message), [&] {
      program_->trayMenu().OnTrayNotification(0, 0, static_cast<float>(message * desktop_.TwipsPerPixelX()),
                                              0);
    });
  }

  void TabEvent() {
    StripController& form = program_->strip();
    const int count = form.Tabs().Count();
    const int kind = texts_.Pick(5);
    if (kind == 3) return Guarded("image click", [&] { program_->trayMenu().OnImageClick(); });
    if (kind == 4) return Guarded("strip mouseup", [&] { program_->trayMenu().OnStripMouseUp(1, 0, 0, 0); });
    if (count == 0) return;
    const int index = 1 + texts_.Pick(count);
    if (kind == 0) return Guarded("click tab " + std::to_string(index), [&] { form.SelectTab(index); });
    const TabRect r = desktop_.TabRectangle(index);
    const std::int16_t button = kind == 1 ? 2 : 1;
    Guarded("mouseup " + std::to_string(button) + " on tab " + std::to_string(index),
            [&] { form.OnTabStripMouseUp(button, 0, r.left + r.width / 2, r.top + r.height / 2); });
  }

  void DialogEvent() {
    DialogSlot& slot = program_->dialog();
    OptionsDialog* dialog = slot.Loaded();
    if (!dialog) {
      const std::string page = texts_.Pick(2) == 0 ? "T" : "D";
      return Guarded("dialog show " + page, [&] { slot.Show(page); });
    }
    const int kind = texts_.Pick(12);
    if (kind == 0) {
      const int page = 1 + texts_.Pick(3);
      Guarded("dialog tab " + std::to_string(page), [&] { dialog->ShowPage(page); });
    } else if (kind <= 4) {
      const std::string& button = texts_.From(OptionsDialog::ButtonNames());
      files_.lineEdit =
          button == controls::kModifyLine || button == controls::kDeleteLine || button == controls::kSaveLine;
      Guarded("dialog click " + button, [&] { dialog->Click(button); });
      files_.lineEdit = false;
    } else if (kind <= 6) {
      std::vector<std::string> boxes = OptionsDialog::TextBoxNames();
      boxes.insert(boxes.end(), 2, controls::kTargetGroupBox);
      const std::string box = texts_.From(boxes);
      const std::string text = box == controls::kCaptionWidthBox ? texts_.Number()
                               : box == controls::kLineUrlBox    ? texts_.Url()
                                                                 : texts_.Name();
      Guarded("dialog set " + box + " " + text.substr(0, 30), [&] { dialog->SetText(box, text); });
    } else if (kind == 7) {
      const int question = texts_.Pick(6);
      const bool yes = texts_.Pick(2) == 0;
      Guarded("dialog option " + std::to_string(question), [&] { dialog->ChooseOption(question, yes); });
    } else if (kind <= 10) {
      const std::string grid = texts_.From(std::vector<std::string>{
          controls::kTabsGrid, controls::kGroupNamesGrid, controls::kGroupLinesGrid});
      const int rows = dialog->GridNamed(grid).Rows();
      if (rows < 1) return;
      const int row = texts_.Pick(rows);
      Guarded("dialog grid " + grid + " " + std::to_string(row), [&] { dialog->GridClick(grid, row); });
    } else {
      Guarded("dialog close", [&] { slot.Unload(); });
    }
  }

  void Step() {
    const int kind = texts_.Pick(100);
    if (kind < 22) {
      auto [what, action] = WorldChange();
      Guarded(what, action);
    } else if (kind < 30) {
      auto [what, action] = WorldChange();
      const PumpKind at = texts_.From(std::vector<PumpKind>{PumpKind::kAny, PumpKind::kAny, PumpKind::kMsgBox,
                                                            PumpKind::kInputBox, PumpKind::kMenu});
      if (texts_.Pick(4) == 0) {
        const std::int64_t ms = texts_.Pick(700);
        what = "wait " + std::to_string(ms);
        action = [this, ms] { desktop_.Wait(ms); };
      }
      log_.Event("pending " + what);
      desktop_.QueuePending(at, action);
    } else if (kind < 50) {
      const std::int64_t ms = texts_.Pick(4) == 0 ? texts_.Pick(3000) : texts_.Pick(700);
      Guarded("wait " + std::to_string(ms), [&] { desktop_.Wait(ms); });
    } else if (kind < 60) {
      TrayEvent();
    } else if (kind < 67) {
      TabEvent();
    } else if (kind < 88) {
      DialogEvent();
    } else if (kind < 93) {
      WindowFault();
    } else {
      FileChange();
    }
  }

  // Between events nothing of the program runs: what it drew must match what it holds, and a
  // write that failed must have been followed by a box.
  void AfterStep() {
    if (desktop_.Ended()) return;
    for (const WindowHandle window : desktop_.Collection()) {
      if (desktop_.Window(window)->exstyle & kToolWindow) restyled_.insert(window);
    }
    StripController& form = program_->strip();
    if (form.Reconciling()) log_.Fault("a pass is still marked as running between events");
    TabStrip& tabs = form.Tabs();
    if (static_cast<int>(desktop_.TabViews().size()) != tabs.Count() ||
        desktop_.SelectedTabView() != tabs.SelectedIndex()) {
      log_.Fault("the drawn strip has " + std::to_string(desktop_.TabViews().size()) + " tabs (selected " +
                 std::to_string(desktop_.SelectedTabView()) + "), the program " +
                 std::to_string(tabs.Count()) + " (selected " + std::to_string(tabs.SelectedIndex()) + ")");
    }
    if (files_.untold != 0 && prompts_.shown == shownBefore_)
      log_.Fault("a write failed (" + files_.lastFailure + ") and the user was not told");
    files_.untold = 0;
    shownBefore_ = prompts_.shown;
  }

  // Lets every queued event happen and every pass run. Then half the windows show other pages
  // and one more window opens: the pass that follows must bring every caption up to date.
  void Settle() {
    Guarded("settle", [&] {
      desktop_.Pump(PumpKind::kMsgBox);
      desktop_.Pump(PumpKind::kInputBox);
      desktop_.Pump(PumpKind::kMenu);
      desktop_.Wait(10000);
      for (const WindowHandle window : desktop_.Collection()) {
        if (texts_.Pick(2) == 0) desktop_.NavigateWindow(window, texts_.Url(), texts_.Name());
      }
      desktop_.OpenWindow(FreeHandle(), texts_.Url(), "");
      desktop_.Wait(10000);
    });
    AfterStep();
  }

  void CheckTabs() {
    if (desktop_.Ended()) return;
    TabStrip& tabs = program_->strip().Tabs();
    const Options& options = program_->options();
    std::set<WindowHandle> tabbed;
    for (int i = 1; i <= tabs.Count(); ++i) {
      const Tab& tab = tabs.At(i);
      const auto window = HandleOfKey(tab.Key);
      const SimWindow* shown = window ? desktop_.Window(*window) : nullptr;
      if (!shown || !shown->alive) {
        log_.Fault("tab " + std::to_string(i) + " (" + tab.Key + ") has no open window");
        continue;
      }
      if (!tabbed.insert(*window).second) log_.Fault("window " + tab.Key + " has two tabs");
      // A window whose item cannot report its handle is not met by a pass: its tab keeps what it
      // last showed.
      if (Unreadable(*window)) continue;
      const std::string url = desktop_.HasFault(*window, WindowFault::kDetails) ? "*" : shown->url;
      std::string expected = tab.Tag;
      if (TrimSpaces(tab.Tag).empty())
        expected = TrimSpaces(url).empty() ? options.DefaultName : CaptionFromURL(url, options.CaptionWidth);
      if (tab.Caption != expected) {
        log_.Fault("tab " + tab.Key + " reads \"" + tab.Caption.substr(0, 40) +
                   "\" where its window gives \"" + expected.substr(0, 40) + "\"");
      }
      if (desktop_.TabViews()[static_cast<size_t>(i - 1)].caption != tab.Caption)
        log_.Fault("tab " + tab.Key + " is drawn with another caption");
    }
    for (const WindowHandle window : desktop_.Collection()) {
      if (tabbed.count(window) != 0) continue;
      const SimWindow& shown = *desktop_.Window(window);
      if (!Unreadable(window)) {
        log_.Fault("open window " + std::to_string(window) + " has no tab");
      } else if ((shown.exstyle & kToolWindow) || !shown.visible) {
        log_.Fault("window " + std::to_string(window) +
                   ", whose handle cannot be read, lost its tab and its button");
      }
    }
  }

  void Close() {
    if (desktop_.Ended()) return;
    log_.step = kEventsPerStorm + 2;
    prompts_.closing = true;
    Guarded("close the program", [&] { program_->CloseStrip(); });
    if (!desktop_.Ended()) return log_.Fault("closing the program did not end it");
    for (const WindowHandle window : desktop_.Collection()) {
      const SimWindow& shown = *desktop_.Window(window);
      if ((shown.exstyle & kToolWindow) != 0 || (restyled_.count(window) != 0 && !shown.visible)) {
        log_.Fault("window " + std::to_string(window) + " was left without its taskbar button (exstyle " +
                   std::to_string(shown.exstyle) + (shown.visible ? ", shown" : ", hidden") + ")");
      }
    }
  }

  test::SimWorld world_;
  SimDesktop& desktop_;
  StormLog log_;
  Texts texts_;
  StormPrompts prompts_;
  CheckedFiles files_;
  Program* program_ = nullptr;
  WindowHandle nextHandle_ = 100;
  int shownBefore_ = 0;
  std::set<WindowHandle> restyled_;
  int passes_ = 0;
};

class EventStorm : public ::testing::TestWithParam<unsigned> {};

TEST_P(EventStorm, SettlesWithOneTabPerWindowNoTornFileAndNoStrandedWindow) {
  Storm storm(GetParam());
  storm.Run();
  std::cout << "storm seed " << GetParam() << ": " << storm.Summary() << "\n";
  EXPECT_TRUE(storm.log().faults.empty()) << storm.log().Report(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Seeds, EventStorm, ::testing::ValuesIn(StormSeeds()));

}  // namespace
}  // namespace wendrel::sim
