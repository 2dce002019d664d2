// Event storms: for each seed, ten thousand random events on the simulated desktop — windows
// opening, closing and navigating, timer waits, tray and menu commands, dialog actions, groups
// opened and saved, random answers to every box, world events arriving while boxes and menus
// are up, and window and file faults. After the storm settles the strip must hold one tab per
// open window with the caption the rule gives, no file may have been torn, and closing the
// program must give every window it restyled its taskbar button back.
//
// WENDREL_STORM_SEEDS=N runs seeds 1..N (20 by default; 100 or more for a long soak).
// WENDREL_STORM_SEED=S runs only seed S, to replay a failure.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/control_names.h"
#include "dialog/options_dialog.h"
#include "platform/sim/sim_desktop.h"
#include "platform/utf8.h"
#include "program.h"
#include "store/groups.h"
#include "strip/caption.h"

namespace wendrel::sim {
namespace {

constexpr int kEventsPerStorm = 10000;

// Faults of the program that the storm finds and that are being mended elsewhere. Each switch
// lets the storm pass over one of them; set it to false once the fault is mended.
// An append whose write fails part-way leaves the part it wrote.
constexpr bool kPassOverTornAppends = false;
// A window whose handle can no longer be read loses its tab while it stays restyled.
constexpr bool kPassOverUnreadableHandles = false;
// At exit with the windows to be closed, a browser that refuses to quit stays restyled.
constexpr bool kPassOverRefusedQuits = false;
// The group line editor rewrites the file from a grid read earlier, dropping entries added
// since, and a tab inside a line shifts the entries it reads.
constexpr bool kPassOverLineEditLosses = false;

constexpr std::int32_t kToolWindow = 0x80;

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
}

std::vector<unsigned> StormSeeds() {
  if (const unsigned only = EnvNumber("WENDREL_STORM_SEED", 0); only != 0) return {only};
  std::vector<unsigned> seeds;
  for (unsigned seed = 1; seed <= EnvNumber("WENDREL_STORM_SEEDS", 20); ++seed) seeds.push_back(seed);
  return seeds;
}

std::string Lower(std::string text) {
  for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

// Everything a storm needs to report a fault: the seed, the step and the latest events.
class StormLog {
 public:
  explicit StormLog(unsigned seed) : seed_(seed) {}
  void Event(int step, std::string what) {
    step_ = step;
    if (recent_.size() == 12) recent_.pop_front();
    recent_.push_back("#" + std::to_string(step) + " " + std::move(what));
  }
  void Fault(const std::string& what) {
    if (faults_.empty()) beforeFirst_ = recent_;
    if (faults_.size() < 20) faults_.push_back("step " + std::to_string(step_) + ": " + what);
  }
  const std::vector<std::string>& Faults() const { return faults_; }
  std::string Report() const {
    std::string text = "storm seed " + std::to_string(seed_) +
                       " (replay with WENDREL_STORM_SEED=" + std::to_string(seed_) + ")\n";
    for (const std::string& fault : faults_) text += "  fault: " + fault + "\n";
    text += "  the events up to the first fault:\n";
    for (const std::string& event : beforeFirst_) text += "    " + event + "\n";
    return text;
  }

 private:
  unsigned seed_;
  int step_ = 0;
  std::deque<std::string> recent_;
  std::deque<std::string> beforeFirst_;
  std::vector<std::string> faults_;
};

// Random texts the user types and the world shows.
class Texts {
 public:
  explicit Texts(std::mt19937& random) : random_(random) {}
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
    static const std::vector<std::string> kNumbers = {"8", "0", "-3", "12", "x", "", "99999999999", "3"};
    return From(kNumbers);
  }
  // A group file's text as another program or the user might leave it.
  std::string GroupText() {
    std::string text;
    for (int i = Pick(5); i > 0; --i) {
      switch (Pick(5)) {
        case 0:
          text += "\r\n";
          break;
        case 1:
          text += "no comma\r\n";
          break;
        default:
          text += Name() + "," + Url() + (Pick(6) == 0 ? "\r" : "\r\n");
      }
    }
    return text;
  }

 private:
  std::mt19937& random_;
};

// The user at the boxes and menus: random answers, and the world goes on meanwhile.
class StormPrompts : public IPrompts {
 public:
  StormPrompts(SimDesktop& desktop, Texts& texts) : desktop_(desktop), texts_(texts) {}

  // At exit every question is answered so that the program ends.
  void SetClosing(bool closing) { closing_ = closing; }
  int Shown() const { return shown_; }

  Answer MessageBox(const std::string&, Buttons buttons, const std::string&) override {
    ++shown_;
    Answer answer = Answer::kOk;
    switch (buttons) {
      case Buttons::kOk:
        answer = Answer::kOk;
        break;
      case Buttons::kOkCancel:
        answer = texts_.Pick(2) == 0 ? Answer::kOk : Answer::kCancel;
        break;
      case Buttons::kYesNo:
        answer = closing_ || texts_.Pick(3) != 0 ? Answer::kYes : Answer::kNo;
        break;
    }
    if (!closing_) desktop_.Pump(PumpKind::kMsgBox);
    return answer;
  }

  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string& defaultText) override {
    ++shown_;
    std::optional<std::string> answer = defaultText;
    const int choice = texts_.Pick(5);
    if (choice == 0) answer.reset();
    if (choice >= 3) answer = texts_.Name();
    desktop_.Pump(PumpKind::kInputBox);
    return answer;
  }

  std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) override {
    ++shown_;
    // What a user can reach: enabled items, in an enabled submenu, that are not submenus.
    std::vector<std::string> reachable;
    bool parentEnabled = true;
    for (size_t i = 0; i < menu.size(); ++i) {
      const MenuItem& item = menu[i];
      if (item.level == 1) parentEnabled = item.enabled;
      const bool hasChildren = i + 1 < menu.size() && menu[i + 1].level > item.level;
      if (item.level < 1 || item.caption == "-" || hasChildren || !item.enabled) continue;
      if (item.level == 2 && !parentEnabled) continue;
      // The storm closes the program itself, at its end.
      if (item.name == "closeProgram") continue;
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
  bool closing_ = false;
  int shown_ = 0;
};

// The program's files, each write checked as it happens: a file is afterwards either its old
// content or the new one whole, and a write that failed leaves the old content.
class CheckedFiles : public IFileSystem {
 public:
  CheckedFiles(SimFileSystem& files, StormLog& log) : files_(files), log_(log) {}

  std::string ProgramFolder() override { return files_.ProgramFolder(); }
  std::string LocalAppDataFolder() override { return files_.LocalAppDataFolder(); }
  bool CanWriteIn(const std::string& folder) override { return files_.CanWriteIn(folder); }
  std::string ReadFile(const std::string& path) override { return files_.ReadFile(path); }
  std::string ReadFileHead(const std::string& path, std::size_t limit) override {
    return files_.ReadFileHead(path, limit);
  }
  // A write that went through is read back as the program would read it; one that failed must
  // leave the bytes on disk as they were.
  void ReplaceFile(const std::string& path, std::string_view content) override {
    const auto before = Peek(path);
    if (lineEdit_) {
      if (const auto text = Read(path)) CheckLineEdit(path, *text, std::string(content));
    }
    Checked(/*tell=*/true, [&] { files_.ReplaceFile(path, content); },
            [&](bool done) {
              if (done && Read(path) != std::optional<std::string>(content)) {
                log_.Fault("replacing " + Name(path) + " left other content");
              }
              if (!done && Peek(path) != before)
                log_.Fault("a failed replace of " + Name(path) + " changed the file");
            });
  }
  void AppendFile(const std::string& path, std::string_view content) override {
    const auto before = Peek(path);
    const auto text = Read(path);
    Checked(/*tell=*/true, [&] { files_.AppendFile(path, content); },
            [&](bool done) {
              if (done && Read(path) != text.value_or("") + std::string(content)) {
                log_.Fault("appending to " + Name(path) + " left other content");
              }
              const auto after = Peek(path);
              if (!done && after != before) {
                const std::string old = before.value_or("");
                const bool torn = after && after->starts_with(old) && after->size() > old.size();
                if (!(torn && kPassOverTornAppends)) {
                  log_.Fault("a failed append to " + Name(path) + " changed the file");
                }
              }
            });
  }
  void AppendInOneStep(const std::string& path, std::string_view content) override {
    const auto before = Peek(path);
    const auto text = Read(path);
    Checked(/*tell=*/true, [&] { files_.AppendInOneStep(path, content); },
            [&](bool done) {
              if (done && Read(path) != text.value_or("") + std::string(content))
                log_.Fault("appending to " + Name(path) + " left other content");
              if (!done && Peek(path) != before)
                log_.Fault("a failed append to " + Name(path) + " changed the file");
            });
  }
  void CreateFolder(const std::string& path) override { files_.CreateFolder(path); }
  void DeleteFile(const std::string& path) override {
    const auto before = Peek(path);
    // A delete that fails leaves the group in the dialog's list for the user to see; it is not
    // told otherwise.
    Checked(/*tell=*/false, [&] { files_.DeleteFile(path); },
            [&](bool done) {
              const auto after = Peek(path);
              if (done && after) log_.Fault("deleting " + Name(path) + " left the file");
              if (!done && after != before)
                log_.Fault("a failed delete of " + Name(path) + " changed the file");
            });
  }
  bool FileExists(const std::string& path) override { return files_.FileExists(path); }
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) override {
    return files_.ListFiles(folder, extension);
  }

  // While set, a rewrite of a group file is one line edit: it keeps every entry of the file but
  // the one changed or deleted, also entries added since the editor read the file.
  void SetLineEdit(bool on) { lineEdit_ = on; }
  int Writes() const { return writes_; }
  int FailedWrites() const { return failedWrites_; }
  // Failed writes not yet followed by any box: the user was not told.
  int UntoldFailures() const { return untold_; }
  const std::string& LastFailure() const { return lastFailure_; }
  void Told() { untold_ = 0; }

 private:
  std::string Relative(const std::string& path) {
    const std::string folder = files_.ProgramFolder();
    return path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size()) : path;
  }
  void CheckLineEdit(const std::string& path, const std::string& before, const std::string& after) {
    std::multiset<std::pair<std::string, std::string>> kept;
    for (const auto& [shortName, url] : ParseGroupFile(after))
      kept.emplace(std::string(TrimSpaces(shortName)), url);
    int lost = 0;
    std::string first;
    for (const auto& [shortName, url] : ParseGroupFile(before)) {
      const auto found = kept.find({std::string(TrimSpaces(shortName)), std::string(url)});
      if (found == kept.end()) {
        if (++lost == 2) first = std::string(shortName.substr(0, 20)) + "," + std::string(url.substr(0, 40));
      } else {
        kept.erase(found);
      }
    }
    if (lost > 1 && !kPassOverLineEditLosses) {
      log_.Fault("a line edit of " + Name(path) + " drops " + std::to_string(lost) + " entries, such as " +
                 Quoted(first));
    }
  }
  std::string Name(const std::string& path) { return Lower(Relative(path)).substr(0, 60); }
  std::optional<std::string> Peek(const std::string& path) { return files_.Peek(Relative(path)); }
  std::optional<std::string> Read(const std::string& path) {
    try {
      return files_.ReadFile(path);
    } catch (const PlatformError&) {
      return std::nullopt;
    }
  }
  // Runs a write, then checks the file whether the write went through or failed; a failure
  // still reaches the program, which must tell the user of it when `tell` says so.
  template <typename Write, typename Check>
  void Checked(bool tell, Write write, Check check) {
    ++writes_;
    try {
      write();
    } catch (const PlatformError& error) {
      ++failedWrites_;
      if (tell) ++untold_;
      lastFailure_ = error.Description();
      check(false);
      throw;
    }
    check(true);
  }

  SimFileSystem& files_;
  StormLog& log_;
  int untold_ = 0;
  bool lineEdit_ = false;
  int writes_ = 0;
  int failedWrites_ = 0;
  std::string lastFailure_;
};

// One storm: a desktop, the program on it, and the events thrown at it.
class Storm {
 public:
  explicit Storm(unsigned seed)
      : folder_(std::filesystem::temp_directory_path() /
                ("wendrel-storm-" + std::to_string(seed) + "-" + std::to_string(::getpid()))),
        log_(seed),
        random_(seed),
        texts_(random_),
        desktop_(transcript_, Prepare(folder_)),
        prompts_(desktop_, texts_),
        files_(desktop_.files(), log_) {
    desktop_.Silence();
    desktop_.SetTickObserver([this] {
      if (program_ && !program_->strip().Reconciling()) ++passes_;
    });
    const Platform base = desktop_.platform();
    platform_ = std::make_unique<Platform>(Platform{base.windows, base.strip, base.tabStrip, base.timer,
                                                    base.shell, base.tray, prompts_, files_, base.dialogs,
                                                    base.appWindows, base.programs, base.signIn});
    desktop_.files().Put("Wendrel.CFG", RandomOptions());
    desktop_.files().Put("Groups/DEFAULT.WDX", texts_.GroupText());
    desktop_.files().Put("Groups/Work.WDX", texts_.GroupText());
    for (int i = texts_.Pick(4); i > 0; --i) OpenNow();
  }

  ~Storm() {
    program_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Run() {
    Guarded("start", [&] {
      program_ = std::make_unique<Program>(*platform_);
      program_->Start();
    });
    for (int step = 1; step <= kEventsPerStorm && program_ && !desktop_.Ended(); ++step) {
      Step(step);
      if (log_.Faults().size() >= 5) return;
    }
    if (desktop_.Ended()) {
      log_.Fault("the program ended before the storm closed it");
      return;
    }
    Settle();
    CheckTabs();
    Close();
  }

  const StormLog& log() const { return log_; }
  // What the storm did, to see that it reached the program's corners.
  std::string Summary() const {
    return std::to_string(passes_) + " passes, " + std::to_string(prompts_.Shown()) + " boxes and menus, " +
           std::to_string(files_.Writes()) + " writes (" + std::to_string(files_.FailedWrites()) +
           " failed), up to " + std::to_string(mostTabs_) + " tabs, " + std::to_string(restyled_.size()) +
           " windows restyled";
  }

 private:
  static std::string Prepare(const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
  }

  std::string RandomOptions() {
    auto flag = [&] { return texts_.Pick(2) == 0 ? "#TRUE#" : "#FALSE#"; };
    std::string line = "\"DEFAULT\",\"**UNKNOWN**\"";
    for (int i = 0; i < 6; ++i) line += std::string(",") + flag();
    return line + "," + std::to_string(texts_.Pick(16)) + "\r\n";
  }

  // Runs one piece of the storm; whatever escapes from the program is a fault.
  void Guarded(const std::string& what, const std::function<void()>& action) {
    log_.Event(step_, what);
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

  // ---- the world ----

  WindowHandle FreeHandle() {
    while (desktop_.Window(nextHandle_) && desktop_.Window(nextHandle_)->alive) ++nextHandle_;
    return nextHandle_++;
  }

  std::vector<WindowHandle> Open() const { return desktop_.Collection(); }

  void OpenNow() { desktop_.OpenWindow(FreeHandle(), texts_.Url(), texts_.Name()); }

  // One change of the world, as a closure that still makes sense when it runs later.
  std::pair<std::string, std::function<void()>> WorldChange() {
    const std::vector<WindowHandle> open = Open();
    int kind = open.empty() ? 0 : texts_.Pick(4);
    if (open.size() > 40 && kind == 0) kind = 1;  // keep the desktop to a size a user has
    if (kind == 0) {
      const std::string url = texts_.Url();
      return {"open " + url.substr(0, 40),
              [this, url] { desktop_.OpenWindow(FreeHandle(), url, texts_.Name()); }};
    }
    const WindowHandle window = texts_.From(open);
    const auto alive = [this, window] { return desktop_.Window(window) && desktop_.Window(window)->alive; };
    if (kind == 1) {
      return {"close " + std::to_string(window), [this, window, alive] {
                if (alive()) desktop_.CloseWindow(window);
              }};
    }
    if (kind == 2) {
      const std::string url = texts_.Url();
      const std::string title = texts_.Name();
      return {"navigate " + std::to_string(window) + " " + url.substr(0, 40),
              [this, window, alive, url, title] {
                if (alive()) desktop_.NavigateWindow(window, url, title);
              }};
    }
    return {"minimize " + std::to_string(window), [this, window, alive] {
              if (alive()) desktop_.MinimizeWindow(window);
            }};
  }

  void WindowFault() {
    const std::vector<WindowHandle> open = Open();
    if (open.empty()) return;
    const WindowHandle window = texts_.From(open);
    if (texts_.Pick(3) == 0) {
      log_.Event(step_, "heal " + std::to_string(window));
      desktop_.ClearFaults(window);
      return;
    }
    static const std::vector<sim::WindowFault> kFaults = {WindowFault::kDetails, WindowFault::kQuit,
                                                          WindowFault::kRefresh, WindowFault::kStop,
                                                          WindowFault::kHandle};
    const sim::WindowFault fault = texts_.From(kFaults);
    log_.Event(step_, "fail " + std::to_string(window) + " " + std::to_string(static_cast<int>(fault)));
    desktop_.AddFault(window, fault);
  }

  void FileChange() {
    SimFileSystem& files = desktop_.files();
    static const std::vector<std::string> kFiles = {"Groups/DEFAULT.WDX", "Groups/Work.WDX",
                                                    "Groups/News.WDX", "Wendrel.CFG"};
    const std::string& file = texts_.From(kFiles);
    switch (texts_.Pick(6)) {
      case 0:
        log_.Event(step_, "fail file " + file);
        files.AddFault(file, texts_.Pick(3) == 0   ? FileFault::kOpen
                             : texts_.Pick(2) == 0 ? FileFault::kWrite
                                                   : FileFault::kDelete);
        break;
      case 1:
        log_.Event(step_, "fail dir Groups create");
        files.AddFolderCreateFault("Groups");
        break;
      case 2:
      case 3:
        log_.Event(step_, "heal files");
        files.ClearFaults();
        break;
      case 4:
        if (file != "Wendrel.CFG") {
          log_.Event(step_, "write " + file);
          files.Put(file, texts_.GroupText());
        }
        break;
      default:
        if (file != "Wendrel.CFG") {
          log_.Event(step_, "remove " + file);
          files.Remove(file);
        }
        break;
    }
  }

  // ---- the user ----

  void TrayEvent() {
    static const std::vector<std::int32_t> kMessages = {0x200, 0x201, 0x202, 0x203, 0x205, 0x205, 0x205};
    const std::int32_t message = texts_.From(kMessages);
    Guarded("tray " + std::to_string(message), [&] {
      program_->trayMenu().OnTrayNotification(0, 0, static_cast<float>(message * desktop_.TwipsPerPixelX()),
                                              0);
    });
  }

  void TabEvent() {
    StripController& form = program_->strip();
    const int count = form.Tabs().Count();
    const int kind = texts_.Pick(5);
    if (kind == 3) {
      Guarded("image click", [&] { program_->trayMenu().OnImageClick(); });
      return;
    }
    if (kind == 4) {
      Guarded("strip mouseup", [&] { program_->trayMenu().OnStripMouseUp(1, 0, 0, 0); });
      return;
    }
    if (count == 0) return;
    const int index = 1 + texts_.Pick(count);
    if (kind == 0) {
      Guarded("click tab " + std::to_string(index), [&] { form.SelectTab(index); });
    } else {
      const TabRect r = desktop_.TabRectangle(index);
      const std::int16_t button = kind == 1 ? 2 : 1;
      Guarded("mouseup " + std::to_string(button) + " on tab " + std::to_string(index),
              [&] { form.OnTabStripMouseUp(button, 0, r.left + r.width / 2, r.top + r.height / 2); });
    }
  }

  void DialogEvent() {
    DialogSlot& slot = program_->dialog();
    OptionsDialog* dialog = slot.Loaded();
    if (!dialog) {
      const std::string page = texts_.Pick(2) == 0 ? "T" : "D";
      Guarded("dialog show " + page, [&] { slot.Show(page); });
      return;
    }
    switch (texts_.Pick(12)) {
      case 0: {
        const int page = 1 + texts_.Pick(3);
        Guarded("dialog tab " + std::to_string(page), [&] { dialog->ShowPage(page); });
        break;
      }
      case 1:
      case 2:
      case 3:
      case 4: {
        const std::string& button = texts_.From(OptionsDialog::ButtonNames());
        files_.SetLineEdit(button == controls::kModifyLine || button == controls::kDeleteLine ||
                           button == controls::kSaveLine);
        Guarded("dialog click " + button, [&] { dialog->Click(button); });
        files_.SetLineEdit(false);
        break;
      }
      case 5:
      case 6: {
        std::vector<std::string> boxes = OptionsDialog::TextBoxNames();
        boxes.push_back(controls::kTargetGroupBox);
        boxes.push_back(controls::kTargetGroupBox);
        const std::string box = texts_.From(boxes);
        const std::string text = box == controls::kCaptionWidthBox ? texts_.Number()
                                 : box == controls::kLineUrlBox    ? texts_.Url()
                                                                   : texts_.Name();
        Guarded("dialog set " + box + " " + text.substr(0, 30), [&] { dialog->SetText(box, text); });
        break;
      }
      case 7: {
        const int question = texts_.Pick(6);
        const bool yes = texts_.Pick(2) == 0;
        Guarded("dialog option " + std::to_string(question), [&] { dialog->ChooseOption(question, yes); });
        break;
      }
      case 8:
      case 9:
      case 10: {
        static const std::vector<std::string> kGrids = {controls::kTabsGrid, controls::kGroupNamesGrid,
                                                        controls::kGroupLinesGrid};
        const std::string& grid = texts_.From(kGrids);
        const int rows = dialog->GridNamed(grid).Rows();
        if (rows < 1) break;
        const int row = texts_.Pick(rows);
        Guarded("dialog grid " + grid + " " + std::to_string(row), [&] { dialog->GridClick(grid, row); });
        break;
      }
      default:
        Guarded("dialog close", [&] { slot.Unload(); });
        break;
    }
  }

  // ---- the storm ----

  void Step(int step) {
    step_ = step;
    const int kind = texts_.Pick(100);
    if (kind < 22) {
      auto [what, action] = WorldChange();
      Guarded(what, action);
    } else if (kind < 30) {
      auto [what, action] = WorldChange();
      static const std::vector<PumpKind> kKinds = {PumpKind::kAny, PumpKind::kAny, PumpKind::kMsgBox,
                                                   PumpKind::kInputBox, PumpKind::kMenu};
      const PumpKind at = texts_.From(kKinds);
      if (texts_.Pick(4) == 0) {
        const std::int64_t ms = texts_.Pick(700);
        what = "wait " + std::to_string(ms);
        action = [this, ms] { desktop_.Wait(ms); };
      }
      log_.Event(step_, "pending " + what);
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
    AfterStep();
  }

  // Between events nothing of the program runs: what it drew must match what it holds.
  void AfterStep() {
    if (desktop_.Ended()) return;
    for (const WindowHandle window : desktop_.Collection()) {
      if (desktop_.Window(window)->exstyle & kToolWindow) restyled_.insert(window);
    }
    StripController& form = program_->strip();
    mostTabs_ = std::max(mostTabs_, form.Tabs().Count());
    if (form.Reconciling()) log_.Fault("a pass is still marked as running between events");
    const auto& drawn = desktop_.TabViews();
    TabStrip& tabs = form.Tabs();
    if (static_cast<int>(drawn.size()) != tabs.Count() ||
        desktop_.SelectedTabView() != tabs.SelectedIndex()) {
      log_.Fault("the drawn strip has " + std::to_string(drawn.size()) + " tabs (selected " +
                 std::to_string(desktop_.SelectedTabView()) + "), the program " +
                 std::to_string(tabs.Count()) + " (selected " + std::to_string(tabs.SelectedIndex()) + ")");
    }
    if (files_.UntoldFailures() != 0) {
      if (prompts_.Shown() == shownBefore_)
        log_.Fault("a write failed (" + files_.LastFailure() + ") and the user was not told");
      files_.Told();
    }
    shownBefore_ = prompts_.Shown();
  }

  // Lets every queued event happen and every pass run. Then half the windows show other pages
  // and one more window opens: the pass that follows must bring every caption up to date.
  void Settle() {
    step_ = kEventsPerStorm + 1;
    Guarded("settle", [&] {
      desktop_.Pump(PumpKind::kMsgBox);
      desktop_.Pump(PumpKind::kInputBox);
      desktop_.Pump(PumpKind::kMenu);
      desktop_.Wait(10000);
      for (const WindowHandle window : Open()) {
        if (texts_.Pick(2) == 0) desktop_.NavigateWindow(window, texts_.Url(), texts_.Name());
      }
      desktop_.OpenWindow(FreeHandle(), texts_.Url(), "");
      desktop_.Wait(10000);
    });
    AfterStep();
  }

  bool Unreadable(WindowHandle window) const { return desktop_.HasFault(window, WindowFault::kHandle); }
  bool HasTaskbarButton(const SimWindow& window) const {
    return !(window.exstyle & kToolWindow) && window.visible;
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
      const bool readable = !desktop_.HasFault(*window, WindowFault::kDetails);
      const std::string url = readable ? shown->url : "*";
      std::string expected = tab.Tag;
      if (TrimSpaces(tab.Tag).empty()) {
        expected = TrimSpaces(url).empty() ? options.DefaultName : CaptionFromURL(url, options.CaptionWidth);
      }
      if (tab.Caption != expected) {
        log_.Fault("tab " + tab.Key + " reads \"" + tab.Caption.substr(0, 40) +
                   "\" where its window gives \"" + expected.substr(0, 40) + "\"");
      }
      if (desktop_.TabViews()[static_cast<size_t>(i - 1)].caption != tab.Caption) {
        log_.Fault("tab " + tab.Key + " is drawn with another caption");
      }
    }
    for (const WindowHandle window : desktop_.Collection()) {
      if (tabbed.count(window) != 0) continue;
      if (Unreadable(window)) {
        const bool stranded = !HasTaskbarButton(*desktop_.Window(window));
        if (stranded && !kPassOverUnreadableHandles) {
          log_.Fault("window " + std::to_string(window) +
                     ", whose handle cannot be read, lost its tab and its taskbar button");
        }
        continue;
      }
      log_.Fault("open window " + std::to_string(window) + " has no tab");
    }
  }

  void Close() {
    if (desktop_.Ended()) return;
    step_ = kEventsPerStorm + 2;
    const bool closeWindows = !program_->options().LeaveOnExit;
    prompts_.SetClosing(true);
    Guarded("close the program", [&] { program_->CloseStrip(); });
    if (!desktop_.Ended()) {
      log_.Fault("closing the program did not end it");
      return;
    }
    for (const WindowHandle window : desktop_.Collection()) {
      const SimWindow& shown = *desktop_.Window(window);
      const bool stranded =
          (shown.exstyle & kToolWindow) != 0 || (restyled_.count(window) != 0 && !shown.visible);
      if (!stranded) continue;
      if (kPassOverUnreadableHandles && Unreadable(window)) continue;
      if (kPassOverRefusedQuits && closeWindows && desktop_.HasFault(window, WindowFault::kQuit)) continue;
      log_.Fault("window " + std::to_string(window) + " was left without its taskbar button (exstyle " +
                 std::to_string(shown.exstyle) + (shown.visible ? ", shown" : ", hidden") +
                 (desktop_.HasFault(window, WindowFault::kQuit) ? ", refuses to quit" : "") +
                 (Unreadable(window) ? ", handle unreadable" : "") + (closeWindows ? ", closing all" : "") +
                 ")");
    }
  }

  std::filesystem::path folder_;
  StormLog log_;
  std::mt19937 random_;
  Texts texts_;
  std::ostringstream transcript_;
  SimDesktop desktop_;
  StormPrompts prompts_;
  CheckedFiles files_;
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<Program> program_;
  WindowHandle nextHandle_ = 100;
  int step_ = 0;
  int shownBefore_ = 0;
  std::set<WindowHandle> restyled_;
  int passes_ = 0;
  int mostTabs_ = 0;
};

class EventStorm : public ::testing::TestWithParam<unsigned> {};

TEST_P(EventStorm, SettlesWithOneTabPerWindowNoTornFileAndNoStrandedWindow) {
  Storm storm(GetParam());
  storm.Run();
  std::cout << "storm seed " << GetParam() << ": " << kEventsPerStorm << " events, " << storm.Summary()
            << "\n";
  EXPECT_TRUE(storm.log().Faults().empty()) << storm.log().Report();
}

INSTANTIATE_TEST_SUITE_P(Seeds, EventStorm, ::testing::ValuesIn(StormSeeds()));

}  // namespace
}  // namespace wendrel::sim
