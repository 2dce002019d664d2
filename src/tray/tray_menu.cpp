#include "tray/tray_menu.h"

#include "dialog/dialog_slot.h"
#include "platform/platform.h"
#include "session/group_session.h"
#include "strip/strip_controller.h"
#include "tray/active_tab.h"
#include "tray/shutdown.h"

namespace wendrel {

std::vector<MenuItem> PopupMenuTree() {
  return {
      {"root", "&sysTray", 0},
      {"about", "About...", 1},
      {"info", "Info...", 1},
      {"separator1", "-", 1},
      {"options", "&Options, Tabs and Groups...", 1},
      {"separator2", "-", 1},
      {"openBrowser", "Open Single & IE", 1},
      {"saveDefaultGroup", "&Save (Default Group)", 1},
      {"separator3", "-", 1},
      {"closeAllWindows", "Close &All IE", 1},
      {"separator4", "-", 1},
      {"closeProgram", "C&lose Wendrel", 1},
      {"separator5", "-", 1},
      {"activeTab", "Active Tab", 1},
      {"addToDefaultGroup", "Add to Default Group", 2},
      {"nameActiveTab", "Short Name ...", 2},
      {"refreshActiveTab", "Refresh", 2},
      {"stopActiveTab", "Stop", 2},
      {"closeActiveTab", "Close", 2},
  };
}

TrayMenu::TrayMenu(const Platform& platform, StripController& strip, GroupSession& groups,
                   ActiveTabCommands& activeTab, Shutdown& shutdown, DialogSlot& dialog,
                   std::string filesFolder)
    : platform_(platform),
      strip_(strip),
      groups_(groups),
      activeTab_(activeTab),
      shutdown_(shutdown),
      dialog_(dialog),
      filesFolder_(std::move(filesFolder)),
      menu_(PopupMenuTree()) {}

void TrayMenu::OnTrayNotification(std::int16_t /*button*/, std::int16_t /*shift*/, float x, float /*y*/) {
  if (dialog_.Loaded()) {
    dialog_.Activate();
    return;
  }
  const std::int32_t message =
      scaleMode_ == kScalePixels ? RoundHalfEven(x)
                                 : RoundHalfEven(static_cast<double>(x) / platform_.windows.TwipsPerPixelX());
  switch (message) {
    case 0x202:  // left button released
    case 0x203:  // left button double-clicked
      platform_.strip.Restore();
      platform_.windows.SetForegroundWindow(platform_.strip.Handle());
      try {
        platform_.strip.Show();
      } catch (const PlatformError&) {
        // A strip that cannot be shown still lets the active tab's window come forward.
      }
      strip_.ActivateSelectedTab();
      break;
    case 0x205:  // right button released
      platform_.windows.SetForegroundWindow(platform_.strip.Handle());
      strip_.ActivateSelectedTab();
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

void TrayMenu::SetEnabled(const std::string& item, bool enabled) {
  for (MenuItem& entry : menu_) {
    if (entry.name == item) entry.enabled = enabled;
  }
}

void TrayMenu::ShowTrayMenu() {
  const bool any = strip_.Tabs().Count() != 0;
  SetEnabled("saveDefaultGroup", any);
  SetEnabled("closeAllWindows", any);
  SetEnabled("activeTab", any);
  PopUp();
}

void TrayMenu::OnStripMouseUp(std::int16_t, std::int16_t, float, float) { PopUp(); }

void TrayMenu::OnImageClick() { ShowTrayMenu(); }

void TrayMenu::PopUp() {
  if (const auto chosen = platform_.prompts.PopupMenu(menu_)) Run(*chosen);
}

void TrayMenu::Run(const std::string& item) {
  if (item == "about") ShowAbout();
  if (item == "info") OpenHelpPage();
  if (item == "options") ShowDialog();
  if (item == "openBrowser") groups_.OpenEmptyBrowser();
  if (item == "saveDefaultGroup") groups_.SaveDefaultGroup();
  if (item == "closeAllWindows") shutdown_.CloseAllWindows();
  if (item == "closeProgram") CloseProgram();
  if (item == "addToDefaultGroup") groups_.AddActiveTabToDefaultGroup();
  if (item == "nameActiveTab") activeTab_.NameActiveTab();
  if (item == "refreshActiveTab") activeTab_.RefreshActiveTab();
  if (item == "stopActiveTab") activeTab_.StopActiveTab();
  if (item == "closeActiveTab") activeTab_.CloseActiveTab();
}

void TrayMenu::ShowAbout() {
  platform_.prompts.MessageBox("You are using Wendrel V" WENDREL_VERSION
                               ". \r\rFor feedback / queries, contact "
                               "feedback@wendrel.example.org\r\rWendrel keeps its files in " +
                                   filesFolder_ + ".",
                               Buttons::kOk, "Wendrel");
}

void TrayMenu::OpenHelpPage() {
  const std::string page = platform_.files.ProgramFolder() + "\\WENDREL.HTM";
  const SiteRef info[] = {{"Info", page}};
  groups_.OpenSites(info, "Info");
}

void TrayMenu::ShowDialog() { dialog_.Show("T"); }

void TrayMenu::CloseProgram() { shutdown_.Close(); }

}  // namespace wendrel
