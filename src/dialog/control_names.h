// The names the dialog's controls go by. The model keys its state by them and spells them only
// here; the views and the scenario runner name the controls by the same texts.
#pragma once

#include <string>
#include <vector>

namespace wendrel::controls {

// The page tabs along the top of the dialog, which hold the focus after the load.
inline constexpr char kPageTabs[] = "pageTabs";

// Page frames, and the two frames that share the lower right of the Group Management page.
inline constexpr char kOptionsFrame[] = "optionsFrame";
inline constexpr char kTabsFrame[] = "tabsFrame";
inline constexpr char kGroupsFrame[] = "groupsFrame";
inline constexpr char kHintFrame[] = "hintFrame";
inline constexpr char kLineEditFrame[] = "lineEditFrame";

// Options page.
inline constexpr char kSaveOptions[] = "saveOptions";
inline constexpr char kResetOptions[] = "resetOptions";
inline constexpr char kCaptionWidthBox[] = "captionWidthBox";
inline constexpr char kDefaultGroupBox[] = "defaultGroupBox";
inline constexpr char kDefaultNameBox[] = "defaultNameBox";

// Tab Management page.
inline constexpr char kTabsGrid[] = "tabsGrid";
inline constexpr char kSelectAllTabs[] = "selectAllTabs";
inline constexpr char kDeselectAllTabs[] = "deselectAllTabs";
inline constexpr char kNameSelectedTab[] = "nameSelectedTab";
inline constexpr char kAddSelectedToGroup[] = "addSelectedToGroup";
inline constexpr char kSaveSelectedAsGroup[] = "saveSelectedAsGroup";
inline constexpr char kRefreshSelectedBrowsers[] = "refreshSelectedBrowsers";
inline constexpr char kRefreshTabs[] = "refreshTabs";
inline constexpr char kCloseSelectedBrowsers[] = "closeSelectedBrowsers";
inline constexpr char kTargetGroupBox[] = "targetGroupBox";

// Group Management page: the group list.
inline constexpr char kGroupNamesGrid[] = "groupNamesGrid";
inline constexpr char kAddGroup[] = "addGroup";
inline constexpr char kDeleteGroup[] = "deleteGroup";
inline constexpr char kOpenGroup[] = "openGroup";

// Group Management page: the lines of the selected group and their editor.
inline constexpr char kGroupLinesGrid[] = "groupLinesGrid";
inline constexpr char kGroupLabel[] = "groupLabel";
inline constexpr char kHintLabel[] = "hintLabel";
inline constexpr char kAddLine[] = "addLine";
inline constexpr char kModifyLine[] = "modifyLine";
inline constexpr char kDeleteLine[] = "deleteLine";
inline constexpr char kSelectAllLines[] = "selectAllLines";
inline constexpr char kDeselectAllLines[] = "deselectAllLines";
inline constexpr char kOpenSelectedLines[] = "openSelectedLines";
inline constexpr char kSaveLine[] = "saveLine";
inline constexpr char kCancelLine[] = "cancelLine";
inline constexpr char kLineGroupBox[] = "lineGroupBox";
inline constexpr char kLineShortNameBox[] = "lineShortNameBox";
inline constexpr char kLineUrlBox[] = "lineUrlBox";

// Every control of a kind, in the order the views list them.
const std::vector<std::string>& Buttons();
const std::vector<std::string>& Frames();
const std::vector<std::string>& TextBoxes();

}  // namespace wendrel::controls
