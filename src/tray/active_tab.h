// The commands of the popup menu's "Active Tab" submenu.
#pragma once

namespace wendrel {

class Browsers;
class IPrompts;
class StripController;
class StripHooks;
struct Options;

class ActiveTabCommands {
 public:
  ActiveTabCommands(StripController& strip, Browsers& browsers, const Options& options, IPrompts& prompts,
                    StripHooks& hooks);

  void NameActiveTab();
  void RefreshActiveTab();
  void StopActiveTab();
  void CloseActiveTab();

 private:
  StripController& strip_;
  Browsers& browsers_;
  const Options& options_;
  IPrompts& prompts_;
  StripHooks& hooks_;
};

}  // namespace wendrel
