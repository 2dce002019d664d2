// The browser calls of one reconciliation pass grow linearly with the windows: reading a
// window's handle, name and address once each, and a few calls besides — for the first pass that
// adds every tab and raises the last, a pass over matching tabs, and one with windows coming and
// going.
#include <gtest/gtest.h>

#include "support/test_world.h"

namespace wendrel::sim {
namespace {

class PassCost : public ::testing::TestWithParam<int> {};

TEST_P(PassCost, ReadsEachWindowOnce) {
  const int n = GetParam();
  test::SimWorld world("passcost");
  SimDesktop& desktop = world.desktop();
  const auto open = [&](int count, WindowHandle first) {
    for (int i = 0; i < count; ++i)
      desktop.OpenWindow(first + i, "http://site" + std::to_string(i) + ".example.com/page", "Page");
  };
  Program& program = world.Start();
  const auto callsOfOnePass = [&] {
    const std::int64_t before = desktop.BrowserCalls();
    program.strip().Reconcile();
    return desktop.BrowserCalls() - before;
  };
  open(n, 1000);
  EXPECT_LE(callsOfOnePass(), 3 * n + 3);
  EXPECT_EQ(program.strip().Tabs().Count(), n);
  EXPECT_EQ(program.strip().Tabs().SelectedIndex(), n);
  EXPECT_LE(callsOfOnePass(), 3 * n + 3);
  // A tenth of the windows go and as many new ones come; one gone tab is removed per pass.
  const int gone = n / 10;
  for (int i = 0; i < gone; ++i) desktop.CloseWindow(1000 + 10 * i);
  open(gone, 1000 + n);
  EXPECT_LE(callsOfOnePass(), 3 * n + 3);
  EXPECT_EQ(program.strip().Tabs().Count(), n + gone - (gone > 0 ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Windows, PassCost, ::testing::Values(1, 100, 10000));

}  // namespace
}  // namespace wendrel::sim
