// The commands of the popup menu's "Active Tab" submenu.
#pragma once

namespace wendrel {

class BrowserOps;
class IPrompts;
class MainForm;
class StripHooks;
struct Options;

class ActiveTabCommands {
 public:
  ActiveTabCommands(MainForm& mainForm, BrowserOps& browsers, const Options& options, IPrompts& prompts,
                    StripHooks& hooks);

  void m_ShortName_Click();
  void m_Refresh_Click();
  void m_Stop_Click();
  void m_CloseTab_Click();

 private:
  MainForm& mainForm_;
  BrowserOps& browsers_;
  const Options& options_;
  IPrompts& prompts_;
  StripHooks& hooks_;
};

}  // namespace wendrel
