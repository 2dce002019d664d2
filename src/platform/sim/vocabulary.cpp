#include "platform/sim/vocabulary.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "dialog/control_names.h"

namespace wendrel::sim {
namespace {

using Entry = std::pair<const char*, const char*>;  // script word, program name

constexpr Entry kWords[] = {
    // Dialog controls.
    {"TabStrip1", controls::kPageTabs},
    {"Fr_options", controls::kOptionsFrame},
    {"Fr_Tabs", controls::kTabsFrame},
    {"Fr_Groups", controls::kGroupsFrame},
    {"FR_Message", controls::kHintFrame},
    {"Fr_Update", controls::kLineEditFrame},
    {"cb_Update", controls::kSaveOptions},
    {"cb_Reset", controls::kResetOptions},
    {"tx_ChrCount", controls::kCaptionWidthBox},
    {"tx_defaultName", controls::kDefaultGroupBox},
    {"tx_UnknownName", controls::kDefaultNameBox},
    {"Gr_Tabs", controls::kTabsGrid},
    {"cb_TSelAll", controls::kSelectAllTabs},
    {"cb_TDeselAll", controls::kDeselectAllTabs},
    {"cb_TShort", controls::kNameSelectedTab},
    {"cb_TAddGroup", controls::kAddSelectedToGroup},
    {"cb_TSaveGroup", controls::kSaveSelectedAsGroup},
    {"cb_TRefreshIE", controls::kRefreshSelectedBrowsers},
    {"cb_TRefreshTab", controls::kRefreshTabs},
    {"cb_TCloseIE", controls::kCloseSelectedBrowsers},
    {"CM_GroupName", controls::kTargetGroupBox},
    {"GR_GNames", controls::kGroupNamesGrid},
    {"cb_GAddG", controls::kAddGroup},
    {"CB_GDelG", controls::kDeleteGroup},
    {"cb_GOpenG", controls::kOpenGroup},
    {"GR_GLines", controls::kGroupLinesGrid},
    {"Lab_GrName", controls::kGroupLabel},
    {"lb_Message", controls::kHintLabel},
    {"cb_GAdd", controls::kAddLine},
    {"cb_GModify", controls::kModifyLine},
    {"cb_GDel", controls::kDeleteLine},
    {"cb_GSelect", controls::kSelectAllLines},
    {"CB_GDesel", controls::kDeselectAllLines},
    {"cb_GOpenSel", controls::kOpenSelectedLines},
    {"cb_GUpdate", controls::kSaveLine},
    {"cb_GCancel", controls::kCancelLine},
    {"tx_Group", controls::kLineGroupBox},
    {"tx_Short", controls::kLineShortNameBox},
    {"tx_URL", controls::kLineUrlBox},
    // Popup menu items, in menu order.
    {"mPopUpSys", "root"},
    {"mAbout", "about"},
    {"m_Info", "info"},
    {"m1", "separator1"},
    {"m_OptionsEtc", "options"},
    {"m2", "separator2"},
    {"m_OpenIE", "openBrowser"},
    {"mSaveGroup", "saveDefaultGroup"},
    {"m4", "separator3"},
    {"m_CloseAllIE", "closeAllWindows"},
    {"m6", "separator4"},
    {"mClosePgm", "closeProgram"},
    {"m5", "separator5"},
    {"m_activeTab", "activeTab"},
    {"m_AddToDefault", "addToDefaultGroup"},
    {"m_ShortName", "nameActiveTab"},
    {"m_Refresh", "refreshActiveTab"},
    {"m_Stop", "stopActiveTab"},
    {"m_CloseTab", "closeActiveTab"},
};

template <typename Match, typename Pick>
std::string Look(const std::string& text, Match match, Pick pick) {
  const auto found =
      std::find_if(std::begin(kWords), std::end(kWords), [&](const Entry& e) { return match(e) == text; });
  return found != std::end(kWords) ? pick(*found) : text;
}

}  // namespace

std::string ProgramName(const std::string& scriptWord) {
  return Look(
      scriptWord, [](const Entry& e) { return std::string(e.first); },
      [](const Entry& e) { return std::string(e.second); });
}

std::string ScriptWord(const std::string& programName) {
  return Look(
      programName, [](const Entry& e) { return std::string(e.second); },
      [](const Entry& e) { return std::string(e.first); });
}

}  // namespace wendrel::sim
