// Windows open, close and navigate at random times, some of them while a pass runs; once the
// desktop is quiet the strip must hold exactly one tab per open window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "program.h"

namespace wendrel::sim {
namespace {

// A program folder of the test's own, removed afterwards.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("wendrel-sim-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// No dialog at start and no questions, so nothing waits for an answer.
constexpr char kQuietOptions[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n";

class RandomDesktop {
 public:
  explicit RandomDesktop(unsigned seed)
      : folder_("random-" + std::to_string(seed)), desktop_(transcript_, folder_.Path()), random_(seed) {
    desktop_.files().Put("Wendrel.CFG", kQuietOptions);
    program_ = std::make_unique<Program>(desktop_.platform());
    program_->Start();
  }

  void Run(int events) {
    for (int i = 0; i < events; ++i) Step();
  }

  void Quiet() { desktop_.Wait(5000); }

  std::vector<std::string> TabKeys() {
    std::vector<std::string> keys;
    TabStrip& tabs = program_->strip().Tabs();
    for (int i = 1; i <= tabs.Count(); ++i) keys.push_back(tabs.At(i).Key);
    return keys;
  }

  std::vector<std::string> WindowKeys() const {
    std::vector<std::string> keys;
    for (const WindowHandle window : desktop_.Collection()) keys.push_back(KeyOf(window));
    return keys;
  }

  SimDesktop& desktop() { return desktop_; }
  Program& program() { return *program_; }

 private:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  std::string RandomUrl() {
    static const std::vector<std::string> kUrls = {
        "http://www.example.com/",      "http://intranet/", "",
        "file:///C:/Users/x/Documents", "abcdefghijk",      "http://a.b"};
    return kUrls[static_cast<size_t>(Pick(static_cast<int>(kUrls.size())))];
  }

  // One world change, now or at the next point where the program lets the desktop run.
  void Change(bool now) {
    const std::vector<WindowHandle> open = desktop_.Collection();
    const int kind = open.empty() ? 0 : Pick(3);
    std::function<void()> action;
    if (kind == 0) {
      const WindowHandle window = nextHandle_++;
      const std::string url = RandomUrl();
      action = [this, window, url] { desktop_.OpenWindow(window, url, ""); };
    } else {
      const WindowHandle window = open[static_cast<size_t>(Pick(static_cast<int>(open.size())))];
      if (kind == 1) {
        action = [this, window] {
          if (desktop_.Window(window)->alive) desktop_.CloseWindow(window);
        };
      } else {
        const std::string url = RandomUrl();
        action = [this, window, url] {
          if (desktop_.Window(window)->alive) desktop_.NavigateWindow(window, url, std::nullopt);
        };
      }
    }
    if (now) {
      action();
    } else {
      desktop_.QueuePending(PumpKind::kAny, action);
    }
  }

  void Step() {
    switch (Pick(8)) {
      case 0:
      case 1:
      case 2:
        Change(true);
        break;
      case 3:
        Change(false);
        break;
      case 4: {
        TabStrip& tabs = program_->strip().Tabs();
        if (tabs.Count() > 0) program_->strip().SelectTab(1 + Pick(tabs.Count()));
        break;
      }
      default:
        desktop_.Wait(Pick(700));
        break;
    }
  }

  ProgramFolder folder_;
  std::ostringstream transcript_;
  SimDesktop desktop_;
  std::unique_ptr<Program> program_;
  std::mt19937 random_;
  WindowHandle nextHandle_ = 100;
};

class RandomWindows : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomWindows, QuietDesktopHasOneTabPerOpenWindow) {
  RandomDesktop world(GetParam());
  world.Run(300);
  world.Quiet();

  std::vector<std::string> tabs = world.TabKeys();
  std::vector<std::string> windows = world.WindowKeys();
  std::sort(tabs.begin(), tabs.end());
  std::sort(windows.begin(), windows.end());
  EXPECT_EQ(std::adjacent_find(tabs.begin(), tabs.end()), tabs.end()) << "a window has two tabs";
  EXPECT_EQ(tabs, windows);
  EXPECT_FALSE(world.desktop().TimerEnabled()) << "a quiet desktop leaves the refresh timer off";
  EXPECT_FALSE(world.program().strip().Reconciling());
}

TEST_P(RandomWindows, DrawnStripMirrorsTheTabs) {
  RandomDesktop world(GetParam() + 1000);
  world.Run(300);
  world.Quiet();

  TabStrip& tabs = world.program().strip().Tabs();
  const auto& drawn = world.desktop().TabViews();
  ASSERT_EQ(static_cast<int>(drawn.size()), tabs.Count());
  EXPECT_EQ(world.desktop().SelectedTabView(), tabs.SelectedIndex());
  for (int i = 1; i <= tabs.Count(); ++i) {
    EXPECT_EQ(drawn[static_cast<size_t>(i - 1)].caption, tabs.At(i).Caption) << "tab " << i;
  }
  if (tabs.Count() > 0) {
    EXPECT_GE(tabs.SelectedIndex(), 1);
    EXPECT_LE(tabs.SelectedIndex(), tabs.Count());
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomWindows, ::testing::Range(1u, 21u));

}  // namespace
}  // namespace wendrel::sim
