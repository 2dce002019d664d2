#include "dialog/control_names.h"

namespace wendrel::controls {

const std::vector<std::string>& Buttons() {
  static const std::vector<std::string> names = {
      // Options page.
      kSaveOptions, kResetOptions,
      // Tab Management page.
      kSelectAllTabs, kDeselectAllTabs, kNameSelectedTab, kAddSelectedToGroup, kSaveSelectedAsGroup,
      kRefreshSelectedBrowsers, kRefreshTabs, kCloseSelectedBrowsers,
      // The group list.
      kAddGroup, kDeleteGroup, kOpenGroup,
      // The line editor.
      kAddLine, kModifyLine, kDeleteLine, kSelectAllLines, kDeselectAllLines, kOpenSelectedLines, kSaveLine,
      kCancelLine};
  return names;
}

const std::vector<std::string>& Frames() {
  static const std::vector<std::string> names = {kOptionsFrame, kTabsFrame, kGroupsFrame, kHintFrame,
                                                 kLineEditFrame};
  return names;
}

const std::vector<std::string>& TextBoxes() {
  static const std::vector<std::string> names = {kCaptionWidthBox, kDefaultGroupBox,  kDefaultNameBox,
                                                 kLineGroupBox,    kLineShortNameBox, kLineUrlBox};
  return names;
}

}  // namespace wendrel::controls
