// The browser calls of one reconciliation pass grow linearly with the windows: reading a
// window's handle, name and address once each, and a few calls besides.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "platform/sim/sim_desktop.h"
#include "program.h"

namespace wendrel::sim {
namespace {

constexpr std::int64_t kFixedCalls = 10;

class PassCost : public ::testing::TestWithParam<int> {
 protected:
  PassCost()
      : folder_(std::filesystem::temp_directory_path() / ("wendrel-passcost-" + std::to_string(::getpid()))),
        desktop_(transcript_, (std::filesystem::create_directories(folder_), folder_.string())) {
    desktop_.Silence();
    desktop_.files().Put("Wendrel.CFG",
                         "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n");
  }
  ~PassCost() override {
    program_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  void OpenWindows(int count, WindowHandle first) {
    for (int i = 0; i < count; ++i) {
      desktop_.OpenWindow(first + i, "http://site" + std::to_string(i) + ".example.com/page", "Page");
    }
  }
  void Start() {
    program_ = std::make_unique<Program>(desktop_.platform());
    program_->Start();
  }
  std::int64_t CallsOfOnePass() {
    const std::int64_t before = desktop_.BrowserCalls();
    program_->strip().Reconcile();
    return desktop_.BrowserCalls() - before;
  }
  int Tabs() { return program_->strip().Tabs().Count(); }

  std::filesystem::path folder_;
  std::ostringstream transcript_;
  SimDesktop desktop_;
  std::unique_ptr<Program> program_;
};

TEST_P(PassCost, FirstPassThatAddsEveryTab) {
  const int n = GetParam();
  OpenWindows(n, 1000);
  Start();
  EXPECT_LE(CallsOfOnePass(), 3 * n + kFixedCalls);
  EXPECT_EQ(Tabs(), n);
}

TEST_P(PassCost, PassOverTabsThatMatchTheWindows) {
  const int n = GetParam();
  OpenWindows(n, 1000);
  Start();
  program_->strip().Reconcile();
  ASSERT_EQ(Tabs(), n);
  EXPECT_LE(CallsOfOnePass(), 3 * n + kFixedCalls);
}

TEST_P(PassCost, PassWithWindowsComingAndGoing) {
  const int n = GetParam();
  OpenWindows(n, 1000);
  Start();
  program_->strip().Reconcile();
  // A tenth of the windows go and as many new ones come: one pass still reads each window of
  // the collection once.
  for (int i = 0; i < n / 10; ++i) desktop_.CloseWindow(1000 + 10 * i);
  OpenWindows(n / 10, 1000 + n);
  EXPECT_LE(CallsOfOnePass(), 3 * n + kFixedCalls);
  const int gone = n / 10;
  EXPECT_EQ(Tabs(), n + gone - (gone > 0 ? 1 : 0)) << "one gone tab is removed per pass";
}

INSTANTIATE_TEST_SUITE_P(Windows, PassCost, ::testing::Values(1, 10, 100, 1000, 10000));

}  // namespace
}  // namespace wendrel::sim
