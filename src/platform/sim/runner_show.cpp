#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dialog/control_names.h"
#include "dialog/options_dialog.h"
#include "platform/sim/runner.h"
#include "platform/sim/vocabulary.h"
#include "store/options.h"
#include "store/settings.h"
#include "tray/tray_menu.h"

// The runner's show commands: what the desktop and the program look like, as transcript lines.
namespace wendrel::sim {
namespace {

std::string Twips(float value) {
  if (value == std::floor(value) && std::fabs(value) < 1e9f)
    return std::to_string(static_cast<std::int64_t>(value));
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

}  // namespace

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
  } else if (what == "settings") {
    Arity(words, 2, 2);
    const Settings settings = program_ ? program_->settings() : Settings{};
    for (const std::string& key : SettingKeys())
      desktop_.Print("setting " + key + "=" + SettingValue(settings, key));
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
  } else if (what == "signin") {
    // The system's sign-in entry, and what the Options page shows for it when the dialog is loaded.
    Arity(words, 2, 2);
    const auto& entry = desktop_.SignInEntry();
    OptionsDialog* dialog = program_ && !desktop_.Ended() ? program_->dialog().Loaded() : nullptr;
    desktop_.Print("signin entry=" + (entry ? Quoted(*entry) : std::string("none")) +
                   " page=" + (dialog ? dialog->SettingText(kStartWithWindows) : std::string("none")));
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
