#include "platform/sim/runner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <set>

#include "dialog/control_names.h"
#include "dialog/options_dialog.h"
#include "platform/sim/vocabulary.h"
#include "store/options.h"
#include "tray/tray_menu.h"

namespace wendrel::sim {
namespace {

std::int64_t Number(const Word& word) {
  std::int64_t value = 0;
  const char* first = word.text.data();
  const char* last = first + word.text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (word.text.empty() || error != std::errc() || end != last) throw SimError{"not a number: " + word.text};
  return value;
}

std::int32_t Int32(const Word& word) {
  const std::int64_t value = Number(word);
  if (value < INT32_MIN || value > INT32_MAX) throw SimError{"number out of range: " + word.text};
  return static_cast<std::int32_t>(value);
}

// An extended style written as 0x and hex digits.
std::int32_t ExStyle(const Word& word) {
  std::uint32_t value = 0;
  const std::string& text = word.text;
  const char* first = text.data() + 2;
  const char* last = text.data() + text.size();
  if (text.size() < 3 || text.compare(0, 2, "0x") != 0) throw SimError{"not a style: " + text};
  const auto [end, error] = std::from_chars(first, last, value, 16);
  if (error != std::errc() || end != last) throw SimError{"not a style: " + text};
  return static_cast<std::int32_t>(value);
}

float Coordinate(const Word& word) {
  float value = 0;
  const char* first = word.text.data();
  const char* last = first + word.text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (word.text.empty() || error != std::errc() || end != last) throw SimError{"not a number: " + word.text};
  return value;
}

std::string Twips(float value) {
  if (value == std::floor(value) && std::fabs(value) < 1e9f)
    return std::to_string(static_cast<std::int64_t>(value));
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

void Arity(const std::vector<Word>& words, size_t least, size_t most) {
  if (words.size() < least || words.size() > most)
    throw SimError{"wrong number of words for " + words[0].text};
}

bool IsGrid(const std::string& name) {
  return name == controls::kTabsGrid || name == controls::kGroupNamesGrid ||
         name == controls::kGroupLinesGrid;
}

// A word that names a keyword must be written bare.
bool Is(const Word& word, const char* keyword) { return !word.quoted && word.text == keyword; }

}  // namespace

std::vector<Word> SplitWords(const std::string& line) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    Word word;
    if (line[i] == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          word.text += c;
          continue;
        }
        if (i >= line.size()) break;
        switch (const char escaped = line[i++]) {
          case '"':
          case '\\':
            word.text += escaped;
            break;
          case 't':
            word.text += '\t';
            break;
          case 'r':
            word.text += '\r';
            break;
          case 'n':
            word.text += '\n';
            break;
          default:
            throw SimError{std::string("unknown escape \\") + escaped};
        }
      }
      if (!closed) throw SimError{"unterminated quote"};
      if (i < line.size() && line[i] != ' ' && line[i] != '\t') throw SimError{"text after a closing quote"};
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word.text += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

ScenarioRunner::ScenarioRunner(std::ostream& out, std::string folder) : desktop_(out, std::move(folder)) {
  desktop_.SetTickObserver([this] {
    if (program_ && !program_->strip().Reconciling())
      desktop_.Print("pass t=" + std::to_string(desktop_.Now()));
  });
}

ScenarioRunner::~ScenarioRunner() {
  // Tearing down is not part of the transcript: a dialog still loaded closes unseen.
  desktop_.Silence();
  program_.reset();
}

int ScenarioRunner::Run(std::istream& script, std::ostream& err) {
  std::string line;
  line_ = 0;
  try {
    while (std::getline(script, line)) {
      ++line_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      RunLine(line);
    }
    if (!desktop_.Answers().empty()) {
      throw SimError{"answer left unused", desktop_.Answers().front().line};
    }
  } catch (const SimError& error) {
    err << "line " << (error.line != 0 ? error.line : line_) << ": " << error.reason << '\n';
    return 2;
  } catch (const std::exception& error) {
    err << "line " << line_ << ": the program failed: " << error.what() << '\n';
    return 2;
  }
  return 0;
}

void ScenarioRunner::RunLine(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') return;
  desktop_.Print("> " + line);
  const Words words = SplitWords(line);
  try {
    Execute(words);
  } catch (const ProcessEnded&) {
    // The program ended itself; the script goes on with the desktop alone.
  }
}

Program& ScenarioRunner::Running() {
  if (!program_) throw SimError{"the program has not started"};
  if (desktop_.Ended()) throw SimError{"the program has ended"};
  return *program_;
}

OptionsDialog& ScenarioRunner::Dialog() {
  OptionsDialog* dialog = Running().dialog().Loaded();
  if (!dialog) throw SimError{"the dialog is not loaded"};
  return *dialog;
}

void ScenarioRunner::Execute(const Words& words) {
  const std::string& command = words[0].text;
  if (command == "screen" || command == "workarea" || command == "running") {
    if (program_) throw SimError{command + " is only allowed before start"};
    if (command == "screen") {
      Arity(words, 4, 4);
      desktop_.SetScreen(Int32(words[1]), Int32(words[2]), Int32(words[3]));
    } else if (command == "workarea") {
      Arity(words, 5, 5);
      desktop_.SetWorkArea(PixelRect{Int32(words[1]), Int32(words[2]), Int32(words[3]), Int32(words[4])});
    } else {
      Arity(words, 1, 1);
      desktop_.SetPreviousInstance(true);
    }
  } else if (command == "start") {
    Arity(words, 1, 1);
    if (program_) throw SimError{"the program has started already"};
    program_ = std::make_unique<Program>(desktop_.platform());
    program_->Start();
  } else if (command == "open" || command == "close" || command == "navigate" || command == "minimize" ||
             command == "wait" || command == "fail" || command == "trace" || command == "write" ||
             command == "delete" || command == "exstyle") {
    RunWorld(words);
  } else if (command == "change") {
    // change workarea L T R B: the taskbar moved or the display changed under the running program.
    Arity(words, 6, 6);
    if (!Is(words[1], "workarea")) throw SimError{"change takes workarea L T R B"};
    if (!program_) throw SimError{"change workarea comes after start; before it, use workarea"};
    desktop_.SetWorkArea(PixelRect{Int32(words[2]), Int32(words[3]), Int32(words[4]), Int32(words[5])});
    if (!desktop_.Ended()) program_->strip().FollowWorkArea();
  } else if (command == "pending") {
    RunPending(words);
  } else if (command == "answer") {
    Running();
    RunAnswer(words);
  } else if (command == "dialog") {
    RunDialog(words);
  } else if (command == "show") {
    RunShow(words);
  } else {
    RunUser(words);
  }
}

void ScenarioRunner::RunWorld(const Words& words) {
  const std::string& command = words[0].text;
  if (command == "open") {
    Arity(words, 3, 4);
    desktop_.OpenWindow(Int32(words[1]), words[2].text, words.size() > 3 ? words[3].text : "");
  } else if (command == "close") {
    Arity(words, 2, 2);
    desktop_.CloseWindow(Int32(words[1]));
  } else if (command == "navigate") {
    Arity(words, 3, 4);
    desktop_.NavigateWindow(Int32(words[1]), words[2].text,
                            words.size() > 3 ? std::optional<std::string>(words[3].text) : std::nullopt);
  } else if (command == "minimize") {
    Arity(words, 2, 2);
    desktop_.MinimizeWindow(Int32(words[1]));
  } else if (command == "exstyle") {
    Arity(words, 3, 3);
    desktop_.SetWindowStyle(Int32(words[1]), ExStyle(words[2]));
  } else if (command == "wait") {
    Arity(words, 2, 2);
    const std::int64_t milliseconds = Number(words[1]);
    if (milliseconds < 0) throw SimError{"a wait cannot go back in time"};
    desktop_.Wait(milliseconds);
  } else if (command == "trace") {
    Arity(words, 2, 2);
    if (!Is(words[1], "on") && !Is(words[1], "off")) throw SimError{"trace takes on or off"};
    desktop_.SetTrace(words[1].text == "on");
  } else if (command == "write") {
    // write file PATH "CONTENT": a file in the program's folder before or while the program runs.
    Arity(words, 4, 4);
    if (!Is(words[1], "file")) throw SimError{"write takes file PATH CONTENT"};
    desktop_.files().Put(words[2].text, words[3].text);
  } else if (command == "delete") {
    // delete file PATH: a file removed behind the program's back.
    Arity(words, 3, 3);
    if (!Is(words[1], "file")) throw SimError{"delete takes file PATH"};
    desktop_.files().Remove(words[2].text);
  } else if (command == "fail") {
    if (words.size() >= 2 && Is(words[1], "file")) {
      Arity(words, 4, 4);
      const std::string& op = words[3].text;
      if (op == "open") {
        desktop_.files().AddFault(words[2].text, FileFault::kOpen);
      } else if (op == "write") {
        desktop_.files().AddFault(words[2].text, FileFault::kWrite);
      } else if (op == "delete") {
        desktop_.files().AddFault(words[2].text, FileFault::kDelete);
      } else {
        throw SimError{"unknown file operation " + op};
      }
    } else if (words.size() >= 2 && Is(words[1], "dir")) {
      Arity(words, 4, 4);
      if (!Is(words[3], "create")) throw SimError{"a folder can only fail to be created"};
      desktop_.files().AddFolderCreateFault(words[2].text);
    } else {
      Arity(words, 3, 3);
      const WindowHandle window = Int32(words[1]);
      const std::string& op = words[2].text;
      if (op == "handle") {
        desktop_.AddFault(window, WindowFault::kHandle);
      } else if (op == "details") {
        desktop_.AddFault(window, WindowFault::kDetails);
      } else if (op == "quit") {
        desktop_.AddFault(window, WindowFault::kQuit);
      } else if (op == "refresh") {
        desktop_.AddFault(window, WindowFault::kRefresh);
      } else if (op == "stop") {
        desktop_.AddFault(window, WindowFault::kStop);
      } else {
        throw SimError{"unknown window operation " + op};
      }
    }
  } else {
    throw SimError{"unknown command " + command};
  }
}

void ScenarioRunner::RunPending(const Words& words) {
  PumpKind kind = PumpKind::kAny;
  size_t first = 1;
  if (words.size() > 2 && Is(words[1], "at")) {
    const std::string& where = words[2].text;
    if (where == "msgbox") {
      kind = PumpKind::kMsgBox;
    } else if (where == "inputbox") {
      kind = PumpKind::kInputBox;
    } else if (where == "menu") {
      kind = PumpKind::kMenu;
    } else {
      throw SimError{"pending at takes msgbox, inputbox or menu"};
    }
    first = 3;
  }
  if (words.size() <= first) throw SimError{"pending needs a command"};
  const Words inner(words.begin() + static_cast<std::ptrdiff_t>(first), words.end());
  const std::string& command = inner[0].text;
  if (command != "open" && command != "close" && command != "navigate" && command != "minimize" &&
      command != "wait") {
    throw SimError{"only open, close, navigate, minimize and wait can be pending"};
  }
  const int line = line_;
  desktop_.QueuePending(kind, [this, inner, line] {
    try {
      RunWorld(inner);
    } catch (SimError& error) {
      if (error.line == 0) error.line = line;
      throw;
    }
  });
}

void ScenarioRunner::RunAnswer(const Words& words) {
  Arity(words, 2, 3);
  ScriptedAnswer answer;
  answer.line = line_;
  const std::string& kind = words[1].text;
  if (words.size() == 2) {
    answer.kind = ScriptedAnswer::Kind::kButton;
    if (kind == "yes") {
      answer.button = Answer::kYes;
    } else if (kind == "no") {
      answer.button = Answer::kNo;
    } else if (kind == "ok") {
      answer.button = Answer::kOk;
    } else if (kind == "cancel") {
      answer.button = Answer::kCancel;
    } else {
      throw SimError{"unknown answer " + kind};
    }
  } else if (kind == "input") {
    answer.kind = ScriptedAnswer::Kind::kInput;
    if (!Is(words[2], "cancel")) answer.text = words[2].text;
  } else if (kind == "menu") {
    answer.kind = ScriptedAnswer::Kind::kMenu;
    if (!Is(words[2], "none")) {
      const std::string item = ProgramName(words[2].text);
      const auto tree = PopupMenuTree();
      const bool known = std::any_of(tree.begin(), tree.end(), [&](const MenuItem& entry) {
        return entry.name == item && entry.level >= 1 && entry.caption != "-";
      });
      if (!known) throw SimError{"the menu has no item " + words[2].text};
      answer.text = item;
    }
  } else {
    throw SimError{"unknown answer " + kind};
  }
  desktop_.QueueAnswer(std::move(answer));
}

void ScenarioRunner::RunUser(const Words& words) {
  const std::string& command = words[0].text;
  static const std::set<std::string> kUserCommands = {"click", "mouseup", "rclick", "tray",
                                                      "image", "strip",   "unload", "endsession"};
  if (kUserCommands.count(command) == 0) throw SimError{"unknown command " + command};
  Program& program = Running();
  StripController& form = program.strip();
  if (command == "click" || command == "rclick") {
    Arity(words, 3, 3);
    if (!Is(words[1], "tab")) throw SimError{command + " takes tab I"};
    const std::int32_t index = Int32(words[2]);
    if (index < 1 || index > form.Tabs().Count()) throw SimError{"there is no tab " + words[2].text};
    if (command == "click") {
      form.SelectTab(index);
    } else {
      const TabRect r = desktop_.TabRectangle(index);
      form.OnTabStripMouseUp(2, 0, r.left + r.width / 2, r.top + r.height / 2);
    }
  } else if (command == "mouseup") {
    Arity(words, 4, 4);
    std::int16_t button = 0;
    if (Is(words[1], "left")) {
      button = 1;
    } else if (Is(words[1], "right")) {
      button = 2;
    } else if (Is(words[1], "middle")) {
      button = 4;
    } else {
      throw SimError{"mouseup takes left, right or middle"};
    }
    form.OnTabStripMouseUp(button, 0, Coordinate(words[2]), Coordinate(words[3]));
  } else if (command == "tray") {
    Arity(words, 2, 2);
    static const std::vector<std::pair<std::string, std::int32_t>> kMessages = {
        {"move", 0x200}, {"down", 0x201}, {"left", 0x202}, {"double", 0x203}, {"right", 0x205}};
    const auto found = std::find_if(kMessages.begin(), kMessages.end(),
                                    [&](const auto& entry) { return entry.first == words[1].text; });
    if (found == kMessages.end()) throw SimError{"unknown tray event " + words[1].text};
    program.trayMenu().OnTrayNotification(0, 0, static_cast<float>(found->second * desktop_.TwipsPerPixelX()),
                                          0);
  } else if (command == "image") {
    Arity(words, 2, 2);
    if (!Is(words[1], "click")) throw SimError{"image takes click"};
    program.trayMenu().OnImageClick();
  } else if (command == "strip") {
    Arity(words, 2, 2);
    if (!Is(words[1], "mouseup")) throw SimError{"strip takes mouseup"};
    program.trayMenu().OnStripMouseUp(1, 0, 0, 0);
  } else if (command == "unload") {
    Arity(words, 1, 1);
    program.CloseStrip();
  } else if (command == "endsession") {
    // The user logs off or the machine shuts down: the system tells the program the session ends.
    Arity(words, 1, 1);
    program.EndSession();
  }
}

void ScenarioRunner::RunDialog(const Words& words) {
  if (words.size() < 2) throw SimError{"dialog needs an action"};
  const std::string& action = words[1].text;
  OptionsDialog& dialog = Dialog();
  if (action == "tab") {
    Arity(words, 3, 3);
    const std::int32_t page = Int32(words[2]);
    if (page < 1 || page > 3) throw SimError{"the dialog has tabs 1 to 3"};
    dialog.ShowPage(page);
  } else if (action == "click") {
    Arity(words, 3, 3);
    const std::string button = ProgramName(words[2].text);
    const auto& names = OptionsDialog::ButtonNames();
    if (std::find(names.begin(), names.end(), button) == names.end()) {
      throw SimError{"the dialog has no button " + words[2].text};
    }
    if (!dialog.Click(button)) desktop_.Print("(" + words[2].text + " disabled)");
  } else if (action == "set") {
    Arity(words, 4, 4);
    const std::string box = ProgramName(words[2].text);
    const auto& names = OptionsDialog::TextBoxNames();
    if (box != controls::kTargetGroupBox && std::find(names.begin(), names.end(), box) == names.end()) {
      throw SimError{"the dialog has no text box " + words[2].text};
    }
    dialog.SetText(box, words[3].text);
  } else if (action == "option") {
    Arity(words, 4, 4);
    const std::int32_t question = Int32(words[2]);
    if (question < 0 || question > 5) throw SimError{"the questions are 0 to 5"};
    if (!Is(words[3], "yes") && !Is(words[3], "no")) throw SimError{"an option is yes or no"};
    dialog.ChooseOption(question, words[3].text == "yes");
  } else if (action == "grid") {
    Arity(words, 4, 4);
    const std::string& word = words[2].text;
    const std::string name = ProgramName(word);
    if (!IsGrid(name)) throw SimError{"the dialog has no grid " + word};
    const std::int32_t row = Int32(words[3]);
    if (row < 0 || row >= dialog.GridNamed(name).Rows())
      throw SimError{"grid " + word + " has no row " + words[3].text};
    dialog.GridClick(name, row);
  } else if (action == "close") {
    Arity(words, 2, 2);
    Running().dialog().Unload();
  } else {
    throw SimError{"unknown dialog action " + action};
  }
}

void ScenarioRunner::RunShow(const Words& words) {
  if (words.size() < 2) throw SimError{"show what?"};
  const std::string& what = words[1].text;
  if (what == "tabs") {
    Arity(words, 2, 2);
    ShowTabs();
  } else if (what == "strip") {
    Arity(words, 2, 2);
    const TwipBounds& s = desktop_.StripBounds();
    const TwipBounds& f = desktop_.FrameBounds();
    desktop_.Print("strip left=" + std::to_string(s.left) + " top=" + std::to_string(s.top) +
                   " width=" + std::to_string(s.width) + " height=" + std::to_string(s.height) +
                   " shown=" + (desktop_.StripShown() ? "1" : "0"));
    desktop_.Print("image left=" + std::to_string(desktop_.ImageLeft()) +
                   " top=" + std::to_string(desktop_.ImageTop()));
    desktop_.Print("frame left=" + std::to_string(f.left) + " top=" + std::to_string(f.top) +
                   " width=" + std::to_string(f.width) + " height=" + std::to_string(f.height));
  } else if (what == "window") {
    Arity(words, 3, 3);
    const SimWindow* w = desktop_.Window(Int32(words[2]));
    if (!w) throw SimError{"no window " + words[2].text + " was ever open"};
    char style[16];
    std::snprintf(style, sizeof style, "0x%x", static_cast<unsigned>(w->exstyle));
    desktop_.Print("window " + std::to_string(w->handle) + " alive=" + (w->alive ? "1" : "0") +
                   " visible=" + (w->visible ? "1" : "0") + " minimized=" + (w->minimized ? "1" : "0") +
                   " exstyle=" + style + " pos=" + std::to_string(w->x) + "," + std::to_string(w->y) + "," +
                   std::to_string(w->cx) + "," + std::to_string(w->cy) + " url=" + Quoted(w->url) +
                   " title=" + Quoted(w->title));
  } else if (what == "foreground") {
    Arity(words, 2, 2);
    const auto foreground = desktop_.Foreground();
    desktop_.Print("foreground " + (foreground ? desktop_.WindowName(*foreground) : std::string("none")));
  } else if (what == "zorder") {
    Arity(words, 2, 2);
    std::string line = "zorder";
    for (const WindowHandle window : desktop_.ZOrder()) line += " " + desktop_.WindowName(window);
    desktop_.Print(line);
  } else if (what == "timer") {
    Arity(words, 2, 2);
    desktop_.Print(std::string("timer enabled=") + (desktop_.TimerEnabled() ? "1" : "0") +
                   " interval=" + std::to_string(desktop_.TimerInterval()));
  } else if (what == "options") {
    Arity(words, 2, 2);
    desktop_.Print("options " + OptionsLine(program_ ? program_->options() : Options{}));
  } else if (what == "tray") {
    Arity(words, 2, 2);
    desktop_.Print(std::string("tray present=") + (desktop_.TrayPresent() ? "1" : "0") +
                   " tip=" + Quoted(desktop_.TrayTip()));
  } else if (what == "menu") {
    Arity(words, 2, 2);
    const std::vector<MenuItem> menu = program_ ? program_->trayMenu().Menu() : PopupMenuTree();
    for (const MenuItem& item : menu) {
      desktop_.Print("item " + ScriptWord(item.name) + " " + Quoted(item.caption) +
                     " enabled=" + (item.enabled ? "1" : "0"));
    }
  } else if (what == "grid") {
    Arity(words, 3, 3);
    ShowGrid(words[2].text);
  } else if (what == "dialog") {
    Arity(words, 2, 2);
    ShowDialog();
  } else if (what == "file") {
    Arity(words, 3, 3);
    const auto content = desktop_.files().Peek(words[2].text);
    desktop_.Print("file " + Quoted(words[2].text) + " " + (content ? Quoted(*content) : "missing"));
  } else if (what == "browsercalls") {
    Arity(words, 2, 2);
    desktop_.Print("browsercalls " + std::to_string(desktop_.BrowserCalls()));
  } else {
    throw SimError{"cannot show " + what};
  }
}

void ScenarioRunner::ShowTabs() {
  if (!program_) {
    desktop_.Print("tabs 0 selected=0");
    return;
  }
  TabStrip& tabs = program_->strip().Tabs();
  const auto& views = desktop_.TabViews();
  // The drawn strip must mirror the program's tabs; a difference is a fault worth stopping for.
  if (static_cast<int>(views.size()) != tabs.Count() || desktop_.SelectedTabView() != tabs.SelectedIndex()) {
    throw SimError{"the tab strip shows " + std::to_string(views.size()) + " tabs (selected " +
                   std::to_string(desktop_.SelectedTabView()) + ") but the program holds " +
                   std::to_string(tabs.Count()) + " (selected " + std::to_string(tabs.SelectedIndex()) + ")"};
  }
  desktop_.Print("tabs " + std::to_string(tabs.Count()) +
                 " selected=" + std::to_string(tabs.SelectedIndex()));
  for (int i = 1; i <= tabs.Count(); ++i) {
    const Tab& tab = tabs.At(i);
    const TabView& view = views[static_cast<size_t>(i - 1)];
    if (view.caption != tab.Caption || view.tip != tab.ToolTipText) {
      throw SimError{"tab " + std::to_string(i) + " is drawn as " + Quoted(view.caption) + " but is " +
                     Quoted(tab.Caption)};
    }
    const TabRect r = desktop_.TabRectangle(i);
    desktop_.Print("tab " + std::to_string(i) + " key=" + Quoted(tab.Key) + " tag=" + Quoted(tab.Tag) +
                   " caption=" + Quoted(tab.Caption) + " tip=" + Quoted(tab.ToolTipText) +
                   " left=" + Twips(r.left) + " top=" + Twips(r.top) + " width=" + Twips(r.width) +
                   " height=" + Twips(r.height));
  }
}

void ScenarioRunner::ShowGrid(const std::string& word) {
  const std::string name = ProgramName(word);
  if (!IsGrid(name)) throw SimError{"no grid " + word};
  Grid& grid = Dialog().GridNamed(name);
  desktop_.Print("grid " + word + " rows=" + std::to_string(grid.Rows()) +
                 " cols=" + std::to_string(grid.Cols()) + " fixedrows=" + std::to_string(grid.FixedRows()) +
                 " row=" + std::to_string(grid.Row()) + " col=" + std::to_string(grid.Col()));
  std::string widths = "widths";
  for (int c = 0; c < grid.Cols(); ++c) widths += " " + std::to_string(grid.ColWidth(c));
  desktop_.Print(widths);
  for (int r = 0; r < grid.Rows(); ++r) {
    std::string row = "row " + std::to_string(r);
    for (int c = 0; c < grid.Cols(); ++c) row += " " + Quoted(grid.Cell(r, c));
    desktop_.Print(row);
  }
}

void ScenarioRunner::ShowDialog() {
  OptionsDialog* dialog = program_ && !desktop_.Ended() ? program_->dialog().Loaded() : nullptr;
  if (!dialog) {
    desktop_.Print("dialog loaded=0 page=0 focus=");
    return;
  }
  desktop_.Print("dialog loaded=1 page=" + std::to_string(dialog->Page()) +
                 " focus=" + ScriptWord(dialog->Focus()));
  std::string visible = "visible";
  for (const std::string& frame : OptionsDialog::FrameNames()) {
    if (dialog->Visible(frame)) visible += " " + ScriptWord(frame);
  }
  desktop_.Print(visible);
  std::string enabled = "enabled";
  for (const std::string& button : OptionsDialog::ButtonNames()) {
    enabled += " " + ScriptWord(button) + "=" + (dialog->Enabled(button) ? "1" : "0");
  }
  desktop_.Print(enabled);
  desktop_.Print("label " + ScriptWord(controls::kGroupLabel) + " " + Quoted(dialog->GroupLabel()));
  std::vector<std::string> texts = OptionsDialog::TextBoxNames();
  if (std::find(texts.begin(), texts.end(), controls::kTargetGroupBox) == texts.end())
    texts.push_back(controls::kTargetGroupBox);
  for (const std::string& box : texts)
    desktop_.Print("text " + ScriptWord(box) + " " + Quoted(dialog->Text(box)));
  std::string list = "list " + ScriptWord(controls::kTargetGroupBox);
  for (const std::string& name : dialog->GroupNameList()) list += " " + Quoted(name);
  desktop_.Print(list);
  for (int i = 0; i < 6; ++i) {
    const OptionChoice choice = dialog->Option(i);
    desktop_.Print("option " + std::to_string(i) + " " +
                   (choice == OptionChoice::kYes  ? "yes"
                    : choice == OptionChoice::kNo ? "no"
                                                  : "none"));
  }
}

}  // namespace wendrel::sim
