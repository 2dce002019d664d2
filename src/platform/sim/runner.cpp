#include "platform/sim/runner.h"

#include <algorithm>
#include <exception>
#include <set>

#include "dialog/control_names.h"
#include "dialog/options_dialog.h"
#include "platform/sim/vocabulary.h"
#include "tray/tray_menu.h"

namespace wendrel::sim {

bool ScenarioRunner::IsGrid(const std::string& name) {
  return name == controls::kTabsGrid || name == controls::kGroupNamesGrid ||
         name == controls::kGroupLinesGrid;
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
    // Address reads the program asked for come back once the command is done.
    desktop_.DeliverAddressReads();
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
  if (command == "screen" || command == "workarea" || command == "running" || command == "appdata") {
    if (program_) throw SimError{command + " is only allowed before start"};
    if (command == "screen") {
      Arity(words, 4, 4);
      desktop_.SetScreen(Int32(words[1]), Int32(words[2]), Int32(words[3]));
    } else if (command == "appdata") {
      // appdata PATH: the user's local application-data folder, a folder under DIR.
      Arity(words, 2, 2);
      desktop_.files().SetLocalAppData(words[1].text);
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
             command == "delete" || command == "exstyle" || command == "signin" || IsAppCommand(command)) {
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
  } else if (IsAppCommand(command)) {
    RunApp(words);
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
  } else if (command == "signin") {
    // signin none | signin "COMMAND": the user changed the programs started at sign-in elsewhere.
    Arity(words, 2, 2);
    desktop_.SetSignInEntry(
        words[1].quoted || !Is(words[1], "none") ? std::optional<std::string>(words[1].text) : std::nullopt);
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
      if (Is(words[3], "create")) {
        desktop_.files().AddFolderCreateFault(words[2].text);
      } else if (Is(words[3], "write")) {
        desktop_.files().AddReadOnlyFolder(words[2].text);
      } else {
        throw SimError{"a folder can fail to be created or to be written"};
      }
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
      } else if (op == "address") {
        desktop_.AddFault(window, WindowFault::kAddress);
      } else if (op == "close") {
        desktop_.AddFault(window, WindowFault::kClose);
      } else {
        throw SimError{"unknown window operation " + op};
      }
    }
  } else {
    throw SimError{"unknown command " + command};
  }
}

bool ScenarioRunner::IsAppCommand(const std::string& command) {
  return command == "app" || command == "title" || command == "address" || command == "cloak" ||
         command == "visible" || command == "linger" || command == "default-browser";
}

// Other programs' top-level windows, and the program registered for https links.
void ScenarioRunner::RunApp(const Words& words) {
  const std::string& command = words[0].text;
  if (command == "app") {
    if (words.size() < 5) throw SimError{"app takes H EXE CLASS TITLE [owned] [tool] [cloaked]"};
    SimWindow window;
    window.handle = Int32(words[1]);
    window.image = words[2].text;
    window.windowClass = words[3].text;
    window.title = words[4].text;
    for (size_t i = 5; i < words.size(); ++i) {
      if (Is(words[i], "owned")) {
        window.owned = true;
      } else if (Is(words[i], "tool")) {
        window.exstyle |= kWsExToolWindow;
      } else if (Is(words[i], "cloaked")) {
        window.cloaked = true;
      } else {
        throw SimError{"unknown window flag " + words[i].text};
      }
    }
    desktop_.OpenApp(window);
  } else if (command == "title") {
    Arity(words, 3, 3);
    desktop_.SetAppTitle(Int32(words[1]), words[2].text);
  } else if (command == "address") {
    Arity(words, 3, 3);
    const bool none = Is(words[2], "none");
    desktop_.SetAddress(Int32(words[1]), none ? std::nullopt : std::optional<std::string>(words[2].text));
  } else if (command == "cloak" || command == "visible") {
    Arity(words, 3, 3);
    const bool on = command == "cloak" ? Is(words[2], "on") : Is(words[2], "1");
    if (command == "cloak" ? !on && !Is(words[2], "off") : !on && !Is(words[2], "0")) {
      throw SimError{command == "cloak" ? "cloak takes on or off" : "visible takes 0 or 1"};
    }
    if (command == "cloak") {
      desktop_.CloakApp(Int32(words[1]), on);
    } else {
      desktop_.ShowApp(Int32(words[1]), on);
    }
  } else if (command == "linger") {
    Arity(words, 2, 2);
    desktop_.MakeLinger(Int32(words[1]));
  } else {
    Arity(words, 2, 2);
    desktop_.SetDefaultBrowser(Is(words[1], "none") ? std::string() : words[1].text);
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
      command != "wait" && command != "exstyle" && !IsAppCommand(command)) {
    throw SimError{
        "only open, close, navigate, minimize, exstyle, wait and other programs' windows' commands can "
        "be pending"};
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
    // The user logs off or the machine shuts down: the system announces the end of the session,
    // then tells the program it ends.
    Arity(words, 1, 1);
    program.SessionEndAnnounced();
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
  } else if (action == "setting") {
    Arity(words, 4, 4);
    if (!dialog.SetSettingText(words[2].text, words[3].text))
      throw SimError{"there is no setting " + words[2].text};
  } else if (action == "grid") {
    Arity(words, 4, 4);
    const std::string& word = words[2].text;
    const std::string name = ProgramName(word);
    if (!IsGrid(name)) throw SimError{"the dialog has no grid " + word};
    const std::int32_t row = Int32(words[3]);
    if (row < 0 || row >= dialog.GridNamed(name).Rows())
      throw SimError{"grid " + word + " has no row " + words[3].text};
    dialog.GridClick(name, row);
  } else if (action == "setting") {
    Arity(words, 4, 4);
    if (!dialog.SetSettingText(words[2].text, words[3].text))
      throw SimError{"there is no setting " + words[2].text};
  } else if (action == "close") {
    Arity(words, 2, 2);
    Running().dialog().Unload();
  } else {
    throw SimError{"unknown dialog action " + action};
  }
}

}  // namespace wendrel::sim
