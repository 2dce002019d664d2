// Windows open, close and navigate at random times, some of them while a pass runs; once the
// desktop is quiet the strip holds exactly one tab per open window, drawn as the program holds
// it, and the refresh timer is off.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/test_world.h"

namespace wendrel::sim {
namespace {

class RandomWindows : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomWindows, QuietDesktopHasOneTabPerOpenWindow) {
  test::SimWorld world("random-" + std::to_string(GetParam()));
  SimDesktop& desktop = world.desktop();
  Program& program = world.Start();
  std::mt19937 random(GetParam());
  const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
  const std::vector<std::string> urls = {"http://www.example.com/",      "http://intranet/", "",
                                         "file:///C:/Users/x/Documents", "abcdefghijk",      "http://a.b"};
  WindowHandle next = 100;
  for (int event = 0; event < 300; ++event) {
    const int kind = pick(8);
    const std::vector<WindowHandle> open = desktop.Collection();
    if (kind <= 3) {
      // A world change, now or at the next point where the program lets the desktop run.
      const int change = open.empty() ? 0 : pick(3);
      const WindowHandle window =
          change == 0 ? next++ : open[static_cast<size_t>(pick(static_cast<int>(open.size())))];
      const std::string url = urls[static_cast<size_t>(pick(static_cast<int>(urls.size())))];
      const std::function<void()> action = [&desktop, change, window, url] {
        if (change == 0) return desktop.OpenWindow(window, url, "");
        if (!desktop.Window(window)->alive) return;
        if (change == 1) desktop.CloseWindow(window);
        if (change == 2) desktop.NavigateWindow(window, url, std::nullopt);
      };
      if (kind == 3) desktop.QueuePending(PumpKind::kAny, action);
      if (kind != 3) action();
    } else if (kind == 4) {
      if (program.strip().Tabs().Count() > 0)
        program.strip().SelectTab(1 + pick(program.strip().Tabs().Count()));
    } else {
      desktop.Wait(pick(700));
    }
  }
  desktop.Wait(5000);

  TabStrip& tabs = program.strip().Tabs();
  std::vector<std::string> keys, windows;
  for (int i = 1; i <= tabs.Count(); ++i) keys.push_back(tabs.At(i).Key);
  for (const WindowHandle window : desktop.Collection()) windows.push_back(KeyOf(window));
  const auto& drawn = desktop.TabViews();
  ASSERT_EQ(static_cast<int>(drawn.size()), tabs.Count());
  for (int i = 1; i <= tabs.Count(); ++i)
    EXPECT_EQ(drawn[static_cast<size_t>(i - 1)].caption, tabs.At(i).Caption);
  EXPECT_EQ(desktop.SelectedTabView(), tabs.SelectedIndex());
  std::sort(keys.begin(), keys.end());
  std::sort(windows.begin(), windows.end());
  EXPECT_EQ(keys, windows);
  EXPECT_FALSE(desktop.TimerEnabled()) << "a quiet desktop leaves the refresh timer off";
  EXPECT_FALSE(program.strip().Reconciling());
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomWindows, ::testing::Range(1u, 21u));

}  // namespace
}  // namespace wendrel::sim
