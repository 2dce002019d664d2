// The reconciliation pass on the simulated desktop with N windows: a pass over a strip whose
// tabs already match the open windows, and the first pass that gives every window its tab.
// Time and browser calls must both grow linearly with N.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "platform/sim/sim_desktop.h"
#include "program.h"

namespace wendrel::sim {
namespace {

constexpr char kQuietOptions[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n";

// A desktop with N open windows and the program started on it, before its first pass.
class Desktop {
 public:
  explicit Desktop(int windows)
      : folder_(std::filesystem::temp_directory_path() / ("wendrel-bench-" + std::to_string(::getpid()))),
        desktop_(transcript_, (std::filesystem::create_directories(folder_), folder_.string())) {
    desktop_.Silence();
    desktop_.files().Put("Wendrel.CFG", kQuietOptions);
    for (int i = 0; i < windows; ++i) {
      desktop_.OpenWindow(1000 + i, "http://site" + std::to_string(i) + ".example.com/page", "Page");
    }
    program_ = std::make_unique<Program>(desktop_.platform());
    program_->Start();
  }
  ~Desktop() {
    program_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  SimDesktop& desktop() { return desktop_; }
  Program& program() { return *program_; }

 private:
  std::filesystem::path folder_;
  std::ostringstream transcript_;
  SimDesktop desktop_;
  std::unique_ptr<Program> program_;
};

void Report(benchmark::State& state, std::int64_t calls) {
  state.counters["browser_calls_per_pass"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
  state.SetComplexityN(state.range(0));
}

void BM_PassOverMatchingTabs(benchmark::State& state) {
  const auto windows = static_cast<int>(state.range(0));
  Desktop world(windows);
  world.desktop().Wait(100);  // the first pass gives every window its tab
  if (world.program().strip().Tabs().Count() != windows)
    state.SkipWithError("the tabs do not match the windows");
  std::int64_t calls = 0;
  for (auto _ : state) {
    const std::int64_t before = world.desktop().BrowserCalls();
    world.program().strip().Reconcile();
    calls += world.desktop().BrowserCalls() - before;
  }
  Report(state, calls);
}

void BM_FirstPassAddsEveryTab(benchmark::State& state) {
  const auto windows = static_cast<int>(state.range(0));
  std::int64_t calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto world = std::make_unique<Desktop>(windows);
    const std::int64_t before = world->desktop().BrowserCalls();
    state.ResumeTiming();
    world->program().strip().Reconcile();
    state.PauseTiming();
    calls += world->desktop().BrowserCalls() - before;
    if (world->program().strip().Tabs().Count() != windows) state.SkipWithError("a window got no tab");
    world.reset();
    state.ResumeTiming();
  }
  Report(state, calls);
}

BENCHMARK(BM_PassOverMatchingTabs)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_FirstPassAddsEveryTab)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity();

}  // namespace
}  // namespace wendrel::sim

BENCHMARK_MAIN();
