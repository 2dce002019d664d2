// Event storms: per seed, 10,000 random events (windows, waits, tray, tabs, dialog, random answers,
// world events while boxes are up, window and file faults). After every event the drawn strip
// matches the tabs and a failed write was told; every write leaves a file whole; once quiet there
// is one tab per open window captioned by the rule; the exit gives every taskbar button back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <numeric>
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

constexpr std::int32_t kToolWindow = 0x80;

// Seeds 1..WENDREL_STORM_SEEDS (20 by default); --gtest_filter=Seeds/EventStorm.*/I replays seed I + 1.
std::vector<unsigned> StormSeeds() {
  const char* text = std::getenv("WENDREL_STORM_SEEDS");
  std::vector<unsigned> seeds(text && *text ? std::strtoul(text, nullptr, 10) : 20);
  std::iota(seeds.begin(), seeds.end(), 1u);
  return seeds;
}

// The first faults found, each with its step (a seed replays the same steps).
struct StormLog {
  int step = 0, count = 0;
  std::string faults;
  void Fault(const std::string& what) {
    if (count++ < 5) faults += "  step " + std::to_string(step) + ": " + what + "\n";
  }
};

// Random choices, and the texts the user types and the world shows.
struct Texts {
  std::mt19937 random;
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
  template <typename T>
  const T& From(const std::vector<T>& values) {
    return values[static_cast<size_t>(Pick(static_cast<int>(values.size())))];
  }
  // clang-format off
  std::string Url() {
    static const std::vector<std::string> kUrls = {"http://www.example.com/", "http://intranet/", "",
        "file:///C:/Users/x/Documents", "abcdefghijk", "http://a.b", "http://news.example.com/a,b",
        "  http://spaced.example.com/  ", "http://caf\xC3\xA9.example/", "http://tab.example.com/a\tb",
        "http://long.example.com/" + std::string(3000, 'p'), "*"};
    return From(kUrls);
  }
  std::string Name() {
    static const std::vector<std::string> kNames = {"Work", " spaced ", "DEFAULT", "a:b", "x,y", "CON", "..\\up",
        std::string(300, 'L'), "tab\t", "", "News", "caf\xC3\xA9", "Work.", "  ", "COM1", "q\"uote"};
    return From(kNames);
  }
  // clang-format on
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
};

// The program's files, each write checked as it happens: afterwards a file is either its old
// content or the new one whole, and a failed write leaves the old content.
class CheckedFiles : public SimFileSystem {
 public:
  CheckedFiles(const std::string& folder, StormLog& log) : SimFileSystem(folder), log_(log) {}
  bool lineEdit = false;  // a rewrite is one line edit: it keeps every entry but one
  int untold = 0;

  void ReplaceFile(const std::string& path, std::string_view content) override {
    if (const auto text = Read(path); text && lineEdit) CheckLineEdit(path, *text, std::string(content));
    Checked(path, true, std::string(content), [&] { SimFileSystem::ReplaceFile(path, content); });
  }
  void AppendFile(const std::string& path, std::string_view content) override {
    Checked(path, true, Read(path).value_or("") + std::string(content),
            [&] { SimFileSystem::AppendFile(path, content); });
  }
  void AppendInOneStep(const std::string& path, std::string_view content) override {
    Checked(path, true, Read(path).value_or("") + std::string(content),
            [&] { SimFileSystem::AppendInOneStep(path, content); });
  }
  // A delete that fails leaves the group in the dialog's list for the user to see.
  void DeleteFile(const std::string& path) override {
    Checked(path, false, std::nullopt, [&] { SimFileSystem::DeleteFile(path); });
  }

 private:
  std::string Relative(const std::string& path) { return path.substr(ProgramFolder().size()); }
  std::optional<std::string> Read(const std::string& path) {
    const auto bytes = Peek(Relative(path));
    return bytes ? std::optional(DecodeTextFile(*bytes, Windows1252())) : std::nullopt;
  }
  // Afterwards the file reads as `expected` (missing for a delete), or, when the write failed,
  // holds the bytes it held; a failure the user must be told of is counted until a box shows.
  template <typename Write>
  void Checked(const std::string& path, bool tell, const std::optional<std::string>& expected, Write write) {
    const auto before = Peek(Relative(path));
    try {
      write();
    } catch (const PlatformError&) {
      untold += tell ? 1 : 0;
      if (Peek(Relative(path)) != before) log_.Fault("a failed write changed " + Relative(path));
      throw;
    }
    if ((expected ? Read(path) : Peek(Relative(path))) != expected)
      log_.Fault("writing " + Relative(path).substr(0, 60) + " left other content");
  }
  void CheckLineEdit(const std::string& path, const std::string& before, const std::string& after) {
    std::multiset<std::pair<std::string, std::string>> kept;
    for (const auto& [name, url] : ParseGroupFile(after)) kept.emplace(TrimSpaces(name), url);
    int lost = 0;
    for (const auto& [name, url] : ParseGroupFile(before)) {
      const auto found = kept.find({std::string(TrimSpaces(name)), std::string(url)});
      found == kept.end() ? void(++lost) : void(kept.erase(found));
    }
    if (lost > 1)
      log_.Fault("a line edit of " + Relative(path) + " drops " + std::to_string(lost) + " entries");
  }

  StormLog& log_;
};

// One storm; it is the user at the boxes and menus too: random answers, the world going on meanwhile.
class Storm : public IPrompts {
 public:
  explicit Storm(unsigned seed)
      : world_("storm-" + std::to_string(seed)),
        desktop_(world_.desktop()),
        texts_{std::mt19937(seed)},
        files_(desktop_.files().ProgramFolder(), log_) {
    std::string options = "\"DEFAULT\",\"**UNKNOWN**\"";
    for (int i = 0; i < 6; ++i) options += texts_.Pick(2) == 0 ? ",#TRUE#" : ",#FALSE#";
    files_.Put("Wendrel.CFG", options + "," + std::to_string(texts_.Pick(16)) + "\r\n");
    files_.Put("Groups/DEFAULT.WDX", texts_.GroupText());
    files_.Put("Groups/Work.WDX", texts_.GroupText());
    for (int i = texts_.Pick(4); i > 0; --i) desktop_.OpenWindow(FreeHandle(), texts_.Url(), texts_.Name());
  }
  ~Storm() { world_.Stop(); }

  Answer MessageBox(const std::string&, Buttons buttons, const std::string&) override {
    ++shown_;
    Answer answer = Answer::kOk;
    if (buttons == Buttons::kOkCancel) answer = texts_.Pick(2) == 0 ? Answer::kOk : Answer::kCancel;
    if (buttons == Buttons::kYesNo) answer = closing_ || texts_.Pick(3) != 0 ? Answer::kYes : Answer::kNo;
    if (!closing_) desktop_.Pump(PumpKind::kMsgBox);
    return answer;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string& text) override {
    ++shown_;
    const int choice = texts_.Pick(5);
    std::optional<std::string> answer = choice == 0 ? std::nullopt : std::optional(text);
    if (choice >= 3) answer = texts_.Name();
    desktop_.Pump(PumpKind::kInputBox);
    return answer;
  }
  // What a user can reach: enabled items in an enabled submenu that are not submenus themselves;
  // the storm closes the program itself, at its end.
  std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) override {
    ++shown_;
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

  const StormLog& Run() {
    Guarded([&] { program_ = &world_.Start({.prompts = this, .files = &files_}); });
    for (log_.step = 1; log_.step <= 10000 && program_ && !desktop_.Ended() && log_.count < 5; ++log_.step) {
      Step();
      AfterStep();
    }
    if (log_.count > 0) return log_;
    if (!program_ || desktop_.Ended())
      return log_.Fault("the program ended before the storm closed it"), log_;
    // Every queued event and pass runs; then half the windows show other pages and one more
    // opens: the pass that follows must bring every caption up to date.
    Guarded([&] {
      for (const PumpKind kind : {PumpKind::kMsgBox, PumpKind::kInputBox, PumpKind::kMenu})
        desktop_.Pump(kind);
      desktop_.Wait(10000);
      for (const WindowHandle window : desktop_.Collection())
        if (texts_.Pick(2) == 0) desktop_.NavigateWindow(window, texts_.Url(), texts_.Name());
      desktop_.OpenWindow(FreeHandle(), texts_.Url(), "");
      desktop_.Wait(10000);
    });
    AfterStep();
    if (desktop_.Ended()) return log_;
    CheckTabs();
    closing_ = true;
    Guarded([&] { program_->CloseStrip(); });
    if (!desktop_.Ended()) log_.Fault("closing the program did not end it");
    for (const WindowHandle window : desktop_.Collection()) {
      const SimWindow& shown = *desktop_.Window(window);
      if ((shown.exstyle & kToolWindow) != 0 || (restyled_.count(window) != 0 && !shown.visible))
        log_.Fault("window " + std::to_string(window) + " was left without its taskbar button");
    }
    return log_;
  }

 private:
  // Runs one piece of the storm; whatever escapes from the program is a fault.
  void Guarded(const std::function<void()>& action) {
    try {
      action();
    } catch (const ProcessEnded&) {
      // Seen through desktop_.Ended().
    } catch (const SimError& error) {
      log_.Fault("the desktop refused: " + error.reason);
    } catch (const std::exception& error) {
      log_.Fault(std::string("an exception escaped the program: ") + error.what());
    }
  }
  WindowHandle FreeHandle() {
    while (desktop_.Window(nextHandle_) && desktop_.Window(nextHandle_)->alive) ++nextHandle_;
    return nextHandle_++;
  }
  bool Unreadable(WindowHandle window) const { return desktop_.HasFault(window, WindowFault::kHandle); }

  // One change of the world, as a closure that still makes sense when it runs later.
  std::function<void()> WorldChange() {
    const std::vector<WindowHandle> open = desktop_.Collection();
    int kind = open.empty() ? 0 : texts_.Pick(4);
    if (open.size() > 40 && kind == 0) kind = 1;  // keep the desktop to a size a user has
    if (kind == 0) {
      return [this, url = texts_.Url()] { desktop_.OpenWindow(FreeHandle(), url, texts_.Name()); };
    }
    const WindowHandle window = texts_.From(open);
    const std::string url = kind == 2 ? texts_.Url() : "";
    const std::string title = kind == 2 ? texts_.Name() : "";
    return [=, this] {
      if (!desktop_.Window(window) || !desktop_.Window(window)->alive) return;
      if (kind == 1) desktop_.CloseWindow(window);
      if (kind == 2) desktop_.NavigateWindow(window, url, title);
      if (kind == 3) desktop_.MinimizeWindow(window);
    };
  }

  void WindowFault() {
    const std::vector<WindowHandle> open = desktop_.Collection();
    if (open.empty()) return;
    const WindowHandle window = texts_.From(open);
    const int fault = texts_.Pick(7);  // handle, details, quit, refresh or stop fail; or all heal
    fault >= 5 ? desktop_.ClearFaults(window)
               : desktop_.AddFault(window, static_cast<sim::WindowFault>(fault));
  }

  void FileChange() {
    const std::string file = texts_.From(
        std::vector<std::string>{"Groups/DEFAULT.WDX", "Groups/Work.WDX", "Groups/News.WDX", "Wendrel.CFG"});
    const int kind = texts_.Pick(6);
    if (kind == 0) files_.AddFault(file, static_cast<FileFault>(texts_.Pick(3)));
    if (kind == 1) files_.AddFolderCreateFault("Groups");
    if (kind == 2 || kind == 3) files_.ClearFaults();
    if (kind == 4 && file != "Wendrel.CFG") files_.Put(file, texts_.GroupText());
    if (kind == 5 && file != "Wendrel.CFG") files_.Remove(file);
  }

  void TrayEvent() {
    const auto message =
        texts_.From(std::vector<std::int32_t>{0x200, 0x201, 0x202, 0x203, 0x205, 0x205, 0x205});
    Guarded([&] {
      program_->trayMenu().OnTrayNotification(0, 0, static_cast<float>(message * desktop_.TwipsPerPixelX()),
                                              0);
    });
  }

  void TabEvent() {
    StripController& strip = program_->strip();
    const int count = strip.Tabs().Count();
    const int kind = texts_.Pick(5);
    if (kind == 3) return Guarded([&] { program_->trayMenu().OnImageClick(); });
    if (kind == 4) return Guarded([&] { program_->trayMenu().OnStripMouseUp(1, 0, 0, 0); });
    if (count == 0) return;
    const int index = 1 + texts_.Pick(count);
    if (kind == 0) return Guarded([&] { strip.SelectTab(index); });
    const TabRect r = desktop_.TabRectangle(index);
    Guarded(
        [&] { strip.OnTabStripMouseUp(kind == 1 ? 2 : 1, 0, r.left + r.width / 2, r.top + r.height / 2); });
  }

  void DialogEvent() {
    DialogSlot& slot = program_->dialog();
    OptionsDialog* dialog = slot.Loaded();
    if (!dialog) return Guarded([&, page = texts_.Pick(2) == 0 ? "T" : "D"] { slot.Show(page); });
    const int kind = texts_.Pick(12);
    if (kind == 0) return Guarded([&, page = 1 + texts_.Pick(3)] { dialog->ShowPage(page); });
    if (kind == 7) {
      const int question = texts_.Pick(6);
      return Guarded([&, yes = texts_.Pick(2) == 0] { dialog->ChooseOption(question, yes); });
    }
    if (kind == 11) return Guarded([&] { slot.Unload(); });
    if (kind <= 4) {
      const std::string& button = texts_.From(OptionsDialog::ButtonNames());
      files_.lineEdit =
          button == controls::kModifyLine || button == controls::kDeleteLine || button == controls::kSaveLine;
      Guarded([&] { dialog->Click(button); });
      files_.lineEdit = false;
    } else if (kind <= 6) {
      std::vector<std::string> boxes = OptionsDialog::TextBoxNames();
      boxes.insert(boxes.end(), 2, controls::kTargetGroupBox);
      const std::string box = texts_.From(boxes);
      const std::string text =
          box == controls::kCaptionWidthBox
              ? texts_.From(std::vector<std::string>{"8", "0", "-3", "12", "x", "", "99999999999", "3"})
          : box == controls::kLineUrlBox ? texts_.Url()
                                         : texts_.Name();
      Guarded([&] { dialog->SetText(box, text); });
    } else {
      const std::string grid = texts_.From(std::vector<std::string>{
          controls::kTabsGrid, controls::kGroupNamesGrid, controls::kGroupLinesGrid});
      if (const int rows = dialog->GridNamed(grid).Rows(); rows > 0)
        Guarded([&, row = texts_.Pick(rows)] { dialog->GridClick(grid, row); });
    }
  }

  void Step() {
    const int kind = texts_.Pick(100);
    if (kind < 30) {
      std::function<void()> action = WorldChange();
      if (kind < 22) return Guarded(action);
      const PumpKind at = texts_.From(std::vector<PumpKind>{PumpKind::kAny, PumpKind::kAny, PumpKind::kMsgBox,
                                                            PumpKind::kInputBox, PumpKind::kMenu});
      if (texts_.Pick(4) == 0) action = [this, ms = texts_.Pick(700)] { desktop_.Wait(ms); };
      desktop_.QueuePending(at, action);
    } else if (kind < 50) {
      const std::int64_t ms = texts_.Pick(4) == 0 ? texts_.Pick(3000) : texts_.Pick(700);
      Guarded([&] { desktop_.Wait(ms); });
    } else {
      kind < 60   ? TrayEvent()
      : kind < 67 ? TabEvent()
      : kind < 88 ? DialogEvent()
      : kind < 93 ? WindowFault()
                  : FileChange();
    }
  }

  // Between events nothing of the program runs: what it drew must match what it holds, and a
  // write that failed must have been followed by a box.
  void AfterStep() {
    if (desktop_.Ended()) return;
    for (const WindowHandle window : desktop_.Collection())
      if (desktop_.Window(window)->exstyle & kToolWindow) restyled_.insert(window);
    if (program_->strip().Reconciling()) log_.Fault("a pass is still marked as running between events");
    TabStrip& tabs = program_->strip().Tabs();
    if (static_cast<int>(desktop_.TabViews().size()) != tabs.Count() ||
        desktop_.SelectedTabView() != tabs.SelectedIndex())
      log_.Fault("the drawn strip differs from the program's tabs");
    if (files_.untold != 0 && shown_ == shownBefore_) log_.Fault("a write failed and the user was not told");
    files_.untold = 0;
    shownBefore_ = shown_;
  }

  void CheckTabs() {
    TabStrip& tabs = program_->strip().Tabs();
    const Options& options = program_->options();
    std::set<WindowHandle> tabbed;
    for (int i = 1; i <= tabs.Count(); ++i) {
      const Tab& tab = tabs.At(i);
      const auto window = HandleOfKey(tab.Key);
      const SimWindow* shown = window ? desktop_.Window(*window) : nullptr;
      if (!shown || !shown->alive || !tabbed.insert(*window).second) {
        log_.Fault("tab " + tab.Key + " has no open window of its own");
        continue;
      }
      // A window whose item cannot report its handle is not met by a pass: its tab keeps what
      // it last showed.
      if (Unreadable(*window)) continue;
      const std::string url = desktop_.HasFault(*window, WindowFault::kDetails) ? "*" : shown->url;
      std::string expected = tab.Tag;
      if (TrimSpaces(tab.Tag).empty())
        expected = TrimSpaces(url).empty() ? options.DefaultName : CaptionFromURL(url, options.CaptionWidth);
      if (tab.Caption != expected || desktop_.TabViews()[static_cast<size_t>(i - 1)].caption != expected)
        log_.Fault("tab " + tab.Key + " reads \"" + tab.Caption.substr(0, 40) + "\", not \"" +
                   expected.substr(0, 40) + "\"");
    }
    for (const WindowHandle window : desktop_.Collection()) {
      const SimWindow& shown = *desktop_.Window(window);
      if (tabbed.count(window) == 0 &&
          (!Unreadable(window) || (shown.exstyle & kToolWindow) || !shown.visible))
        log_.Fault("open window " + std::to_string(window) + " has no tab (or lost its button)");
    }
    if (desktop_.TimerEnabled()) log_.Fault("a quiet desktop leaves the refresh timer on");
  }

  test::SimWorld world_;
  SimDesktop& desktop_;
  StormLog log_;
  Texts texts_;
  bool closing_ = false;  // at exit every question is answered so that the program ends
  int shown_ = 0;
  CheckedFiles files_;
  Program* program_ = nullptr;
  WindowHandle nextHandle_ = 100;
  int shownBefore_ = 0;
  std::set<WindowHandle> restyled_;
};

class EventStorm : public ::testing::TestWithParam<unsigned> {};

TEST_P(EventStorm, SettlesWithOneTabPerWindowNoTornFileAndNoStrandedWindow) {
  Storm storm(GetParam());
  const StormLog& log = storm.Run();
  EXPECT_EQ(log.count, 0) << "seed " << GetParam() << "\n" << log.faults;
}

INSTANTIATE_TEST_SUITE_P(Seeds, EventStorm, ::testing::ValuesIn(StormSeeds()));

}  // namespace
}  // namespace wendrel::sim
