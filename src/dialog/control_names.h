// The names the dialog's controls go by. The model keys its state by them and spells them only
// here; the views and the scenario runner name the controls by the same texts.
#pragma once

#include <string>
#include <vector>

namespace wendrel::controls {

// The page tabs along the top of the dialog, which hold the focus after the load.
inline constexpr char kPageTabs[] = "TabStrip1";

// Page frames, and the two frames that share the lower right of the Group Management page.
inline constexpr char kOptionsFrame[] = "Fr_options";
inline constexpr char kTabsFrame[] = "Fr_Tabs";
inline constexpr char kGroupsFrame[] = "Fr_Groups";
inline constexpr char kHintFrame[] = "FR_Message";
inline constexpr char kLineEditFrame[] = "Fr_Update";

// Options page.
inline constexpr char kSaveOptions[] = "cb_Update";
inline constexpr char kResetOptions[] = "cb_Reset";
inline constexpr char kCaptionWidthBox[] = "tx_ChrCount";
inline constexpr char kDefaultGroupBox[] = "tx_defaultName";
inline constexpr char kDefaultNameBox[] = "tx_UnknownName";

// Tab Management page.
inline constexpr char kTabsGrid[] = "Gr_Tabs";
inline constexpr char kSelectAllTabs[] = "cb_TSelAll";
inline constexpr char kDeselectAllTabs[] = "cb_TDeselAll";
inline constexpr char kNameSelectedTab[] = "cb_TShort";
inline constexpr char kAddSelectedToGroup[] = "cb_TAddGroup";
inline constexpr char kSaveSelectedAsGroup[] = "cb_TSaveGroup";
inline constexpr char kRefreshSelectedBrowsers[] = "cb_TRefreshIE";
inline constexpr char kRefreshTabs[] = "cb_TRefreshTab";
inline constexpr char kCloseSelectedBrowsers[] = "cb_TCloseIE";
inline constexpr char kTargetGroupBox[] = "CM_GroupName";

// Group Management page: the group list.
inline constexpr char kGroupNamesGrid[] = "GR_GNames";
inline constexpr char kAddGroup[] = "cb_GAddG";
inline constexpr char kDeleteGroup[] = "CB_GDelG";
inline constexpr char kOpenGroup[] = "cb_GOpenG";

// Group Management page: the lines of the selected group and their editor.
inline constexpr char kGroupLinesGrid[] = "GR_GLines";
inline constexpr char kGroupLabel[] = "Lab_GrName";
inline constexpr char kHintLabel[] = "lb_Message";
inline constexpr char kAddLine[] = "cb_GAdd";
inline constexpr char kModifyLine[] = "cb_GModify";
inline constexpr char kDeleteLine[] = "cb_GDel";
inline constexpr char kSelectAllLines[] = "cb_GSelect";
inline constexpr char kDeselectAllLines[] = "CB_GDesel";
inline constexpr char kOpenSelectedLines[] = "cb_GOpenSel";
inline constexpr char kSaveLine[] = "cb_GUpdate";
inline constexpr char kCancelLine[] = "cb_GCancel";
inline constexpr char kLineGroupBox[] = "tx_Group";
inline constexpr char kLineShortNameBox[] = "tx_Short";
inline constexpr char kLineUrlBox[] = "tx_URL";

// Every control of a kind, in the order the views list them.
const std::vector<std::string>& Buttons();
const std::vector<std::string>& Frames();
const std::vector<std::string>& TextBoxes();

}  // namespace wendrel::controls
