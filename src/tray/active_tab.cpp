#include "tray/active_tab.h"

#include "platform/prompts.h"
#include "store/browsers.h"
#include "store/groups.h"
#include "store/options.h"
#include "strip/strip_controller.h"

namespace wendrel {

ActiveTabCommands::ActiveTabCommands(StripController& strip, Browsers& browsers, const Options& options,
                                     IPrompts& prompts, StripHooks& hooks)
    : strip_(strip), browsers_(browsers), options_(options), prompts_(prompts), hooks_(hooks) {}

void ActiveTabCommands::NameActiveTab() {
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() == 0) return;
  // The box gets a copy of the caption, and the tab is found again by its key afterwards: a
  // pass that runs while the box is up may add, move or remove tabs.
  const std::string key = tabs.At(tabs.SelectedIndex()).Key;
  const std::string caption = tabs.At(tabs.SelectedIndex()).Caption;
  std::string name =
      prompts_
          .InputBox("Enter a short name without special characters for the active tab", "Wendrel", caption)
          .value_or("");
  if (!IsValidName(name)) {
    prompts_.MessageBox("Name ignored. Please retry with valid characters.", Buttons::kOk, "Wendrel");
    return;
  }
  const int index = tabs.Find(key);
  if (index == 0) return;
  tabs.SetTag(index, name);
  strip_.UpdateAllCaptions();
  strip_.FitToTabRows();
  hooks_.RefreshTabDialog();
}

void ActiveTabCommands::RefreshActiveTab() {
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() == 0) return;
  browsers_.Refresh(tabs.HandleAt(tabs.SelectedIndex()));
}

void ActiveTabCommands::StopActiveTab() {
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() == 0) return;
  browsers_.Stop(tabs.HandleAt(tabs.SelectedIndex()));
}

void ActiveTabCommands::CloseActiveTab() {
  TabStrip& tabs = strip_.Tabs();
  if (tabs.Count() == 0) return;
  if (options_.ShowWarnings && prompts_.MessageBox("Are you sure you want to delete the active tab?",
                                                   Buttons::kYesNo, "Wendrel") == Answer::kNo) {
    return;
  }
  // The tab stays until the watcher reports the window's end and a pass removes it.
  browsers_.Close(tabs.HandleAt(tabs.SelectedIndex()));
}

}  // namespace wendrel
