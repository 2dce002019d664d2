#include "tray/tray_menu.h"

#include "dialog/dialog_slot.h"
#include "platform/platform.h"
#include "store/groups.h"
#include "strip/main_form.h"
#include "tray/active_tab.h"
#include "tray/shutdown.h"

namespace wendrel {

std::vector<MenuItem> PopupMenuTree() {
  return {
      {"mPopUpSys", "&sysTray", 0},
      {"mAbout", "About...", 1},
      {"m_Info", "Info...", 1},
      {"m1", "-", 1},
      {"m_OptionsEtc", "&Options, Tabs and Groups...", 1},
      {"m2", "-", 1},
      {"m_OpenIE", "Open Single & IE", 1},
      {"mSaveGroup", "&Save (Default Group)", 1},
      {"m4", "-", 1},
      {"m_CloseAllIE", "Close &All IE", 1},
      {"m6", "-", 1},
      {"mClosePgm", "C&lose Wendrel", 1},
      {"m5", "-", 1},
      {"m_activeTab", "Active Tab", 1},
      {"m_AddToDefault", "Add to Default Group", 2},
      {"m_ShortName", "Short Name ...", 2},
      {"m_Refresh", "Refresh", 2},
      {"m_Stop", "Stop", 2},
      {"m_CloseTab", "Close", 2},
  };
}

TrayMenu::TrayMenu(const Platform& platform, MainForm& mainForm, GroupStore& groups,
                   ActiveTabCommands& activeTab, Shutdown& shutdown, DialogSlot& dialog)
    : platform_(platform),
      mainForm_(mainForm),
      groups_(groups),
      activeTab_(activeTab),
      shutdown_(shutdown),
      dialog_(dialog),
      mPopUpSys_(PopupMenuTree()) {}

void TrayMenu::Form_MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float x, float /*y*/) {
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
      mainForm_.TabStrip1_Click();
      break;
    case 0x205:  // right button released
      platform_.windows.SetForegroundWindow(platform_.strip.Handle());
      mainForm_.TabStrip1_Click();
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

void TrayMenu::SetEnabled(const std::string& item, bool enabled) {
  for (MenuItem& entry : mPopUpSys_) {
    if (entry.name == item) entry.enabled = enabled;
  }
}

void TrayMenu::ShowTrayMenu() {
  const bool any = mainForm_.Tabs().Count() != 0;
  SetEnabled("mSaveGroup", any);
  SetEnabled("m_CloseAllIE", any);
  SetEnabled("m_activeTab", any);
  PopUp();
}

void TrayMenu::Form_MouseUp(std::int16_t, std::int16_t, float, float) { PopUp(); }

void TrayMenu::Image1_Click() { ShowTrayMenu(); }

void TrayMenu::PopUp() {
  if (const auto chosen = platform_.prompts.PopupMenu(mPopUpSys_)) Run(*chosen);
}

void TrayMenu::Run(const std::string& item) {
  if (item == "mAbout") mAbout_Click();
  if (item == "m_Info") m_Info_Click();
  if (item == "m_OptionsEtc") m_OptionsEtc_Click();
  if (item == "m_OpenIE") groups_.m_OpenIE_Click();
  if (item == "mSaveGroup") groups_.mSaveGroup_Click();
  if (item == "m_CloseAllIE") shutdown_.CloseAllIE();
  if (item == "mClosePgm") mClosePgm_Click();
  if (item == "m_AddToDefault") groups_.m_AddToDefault_Click();
  if (item == "m_ShortName") activeTab_.m_ShortName_Click();
  if (item == "m_Refresh") activeTab_.m_Refresh_Click();
  if (item == "m_Stop") activeTab_.m_Stop_Click();
  if (item == "m_CloseTab") activeTab_.m_CloseTab_Click();
}

void TrayMenu::mAbout_Click() {
  platform_.prompts.MessageBox(
      "You are using Wendrel V1.1. \r\rFor feedback / queries, contact "
      "feedback@wendrel.example.org",
      Buttons::kOk, "Wendrel");
}

void TrayMenu::m_Info_Click() {
  const std::string page = platform_.files.ProgramFolder() + "\\WENDREL.HTM";
  const SiteRef info[] = {{"Info", page}};
  groups_.StartGroupStr(info);
}

void TrayMenu::m_OptionsEtc_Click() { dialog_.Show("T"); }

void TrayMenu::mClosePgm_Click() { shutdown_.Close(); }

}  // namespace wendrel
