#include "strip/tab_strip.h"

#include <gtest/gtest.h>

#include "support/test_world.h"

namespace wendrel {
namespace {

using BlankView = test::BlankTabs;

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

TEST(TabStrip, RemovingMarkedTabsEndsAsRemovingThemOneByOne) {
  // Every subset of six tabs, with every tab selected: one sweep leaves the same tabs and the
  // same selection as removing them one at a time, from the first or from the last.
  constexpr int kTabs = 6;
  for (int mask = 0; mask < (1 << kTabs); ++mask) {
    for (int selected = 1; selected <= kTabs; ++selected) {
      for (const bool fromLast : {false, true}) {
        BlankView view;
        TabStrip swept(view);
        TabStrip oneByOne(view);
        for (int i = 1; i <= kTabs; ++i) {
          swept.SetKey(swept.Add(), KeyOf(i));
          oneByOne.SetKey(oneByOne.Add(), KeyOf(i));
        }
        swept.Select(selected);
        oneByOne.Select(selected);
        std::vector<bool> marked;
        for (int i = 0; i < kTabs; ++i) marked.push_back((mask >> i & 1) != 0);
        swept.RemoveMarked(marked);
        for (int k = 0; k < kTabs; ++k) {
          const int i = fromLast ? kTabs - k : k + 1;
          if (marked[static_cast<size_t>(i - 1)]) oneByOne.Remove(oneByOne.Find(KeyOf(i)));
        }
        ASSERT_EQ(swept.Count(), oneByOne.Count()) << mask;
        for (int i = 1; i <= swept.Count(); ++i) EXPECT_EQ(swept.At(i).Key, oneByOne.At(i).Key);
        EXPECT_EQ(swept.SelectedIndex(), oneByOne.SelectedIndex())
            << "mask " << mask << " selected " << selected;
      }
    }
  }
}

}  // namespace
}  // namespace wendrel
