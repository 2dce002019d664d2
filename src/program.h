// The composition root: one running Wendrel, built on the platform it is given.
#pragma once

#include <memory>
#include <string>

#include "dialog/dialog_slot.h"
#include "platform/platform.h"
#include "session/group_session.h"
#include "store/browsers.h"
#include "store/files_folder.h"
#include "store/groups.h"
#include "store/options.h"
#include "store/settings.h"
#include "strip/strip_controller.h"
#include "tray/active_tab.h"
#include "tray/shutdown.h"
#include "tray/tray_icon.h"
#include "tray/tray_menu.h"

namespace wendrel {

class OptionsDialog;

class Program : private StripHooks {
 public:
  explicit Program(const Platform& platform);
  ~Program() override;

  // Runs the start-up sequence; false when another instance runs (the process has ended).
  bool Start();
  // The strip window is being closed by other means than the menu: asks, then ends.
  void CloseStrip() { shutdown_.Close(); }
  // The end of the user's session (log-off or shutdown) is announced: the windows are stored.
  void SessionEndAnnounced() { shutdown_.SessionEndAnnounced(); }
  // The user's session is ending: every window gets its button back.
  void EndSession() { shutdown_.EndSession(); }
  // Every window the program took off the taskbar gets its button back (the program is ending
  // by other means than its own closing).
  void GiveWindowsBack() { strip_.Taskbar().GiveAllBack(); }

  Options& options() { return options_; }
  Settings& settings() { return settings_; }
  StripController& strip() { return strip_; }
  TrayMenu& trayMenu() { return trayMenu_; }
  GroupSession& groups() { return groups_; }
  GroupFiles& groupFiles() { return groupFiles_; }
  Browsers& browsers() { return browsers_; }
  DialogSlot& dialog() { return dialog_; }
  const TrayIcon& trayIcon() const { return trayIcon_; }
  const FilesFolder& filesFolder() const { return filesFolder_; }

 private:
  void PrepareFilesFolder() override {
    wendrel::PrepareFilesFolder(filesFolder_, platform_.files, platform_.prompts);
  }
  void ReadSettings() override { settingsFile_.Read(); }
  void PrepareTrayIcon() override { trayIcon_.Prepare(); }
  void AddTrayIcon() override { trayIcon_.Add(); }
  void ShowTrayMenu() override { trayMenu_.ShowTrayMenu(); }
  void ShowDialogAtStart() override { dialog_.Show("D"); }
  void OpenGroup(const std::string& name) override { groups_.OpenGroup(name); }
  void RefreshTabDialog() override;

  Platform platform_;
  const FilesFolder filesFolder_;
  Options options_;
  OptionsFile optionsFile_;
  Settings settings_;
  SettingsFile settingsFile_;
  Browsers browsers_;
  StripController strip_;
  GroupFiles groupFiles_;
  GroupSession groups_;
  TrayIcon trayIcon_;
  ActiveTabCommands activeTab_;
  Shutdown shutdown_;
  DialogSlot dialog_;
  TrayMenu trayMenu_;
};

}  // namespace wendrel
