#include "strip/tab_strip.h"

#include <gtest/gtest.h>

#include "platform/tab_strip_view.h"

namespace wendrel {
namespace {

// Draws nothing; remembers which tab it was last told is selected.
class BlankView : public ITabStripView {
 public:
  void InsertTab(int) override {}
  void RemoveTab(int) override {}
  void SetCaption(int, const std::string&) override {}
  void SetToolTip(int, const std::string&) override {}
  void SetSelected(int index) override { shown = index; }
  void SetMultiRow(bool) override {}
  TabRect TabRectangle(int) override { return {}; }
  int shown = 0;
};

TEST(TabKeys, HoldTheSignedHandleInDecimal) {
  EXPECT_EQ(KeyOf(1311042), "H1311042");
  EXPECT_EQ(KeyOf(-5), "H-5");
  EXPECT_EQ(HandleOfKey("H-5"), -5);
  EXPECT_EQ(HandleOfKey("H2147483647"), 2147483647);
  EXPECT_FALSE(HandleOfKey("H"));
  EXPECT_FALSE(HandleOfKey("H12x"));
  EXPECT_FALSE(HandleOfKey("H99999999999"));
}

TEST(TabStrip, FirstTabIsSelectedAndRemovalKeepsTheSelectionOnItsTab) {
  BlankView view;
  TabStrip tabs(view);
  for (int i = 0; i < 4; ++i) tabs.SetKey(tabs.Add(), KeyOf(100 + i));
  EXPECT_EQ(tabs.SelectedIndex(), 1);
  tabs.Select(3);
  tabs.Remove(1);  // before the selected tab: the same tab stays selected
  EXPECT_EQ(tabs.SelectedIndex(), 2);
  EXPECT_EQ(tabs.At(2).Key, "H102");
  tabs.Remove(2);  // the selected tab: the one taking its index
  EXPECT_EQ(tabs.SelectedIndex(), 2);
  EXPECT_EQ(tabs.At(2).Key, "H103");
  EXPECT_EQ(view.shown, 2);
  tabs.Remove(2);  // the selected last tab: the new last tab
  EXPECT_EQ(tabs.SelectedIndex(), 1);
  tabs.Remove(1);
  EXPECT_EQ(tabs.SelectedIndex(), 0);
  EXPECT_THROW(tabs.At(1), std::out_of_range);
}

TEST(TabStrip, FindsTheFirstTabWithAKeyExactly) {
  BlankView view;
  TabStrip tabs(view);
  tabs.SetKey(tabs.Add(), "H7");
  tabs.SetKey(tabs.Add(), "H70");
  tabs.SetKey(tabs.Add(), "H7");
  EXPECT_EQ(tabs.Find("H7"), 1);
  EXPECT_EQ(tabs.Find("H70"), 2);
  EXPECT_EQ(tabs.Find("h7"), 0);
}

}  // namespace
}  // namespace wendrel
