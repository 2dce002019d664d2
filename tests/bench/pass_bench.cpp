// One reconciliation pass over a strip whose tabs already match the open windows: its time and
// how many browser calls it makes, which must grow linearly with the number of windows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "platform/sim/sim_desktop.h"
#include "program.h"

namespace wendrel::sim {
namespace {

void BM_PassOverMatchingTabs(benchmark::State& state) {
  const auto windows = static_cast<int>(state.range(0));
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("wendrel-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::ostringstream transcript;
  {
    SimDesktop desktop(transcript, folder.string());
    desktop.files().Put("Wendrel.CFG",
                        "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n");
    for (int i = 0; i < windows; ++i) {
      desktop.OpenWindow(1000 + i, "http://site" + std::to_string(i) + ".example.com/page", "Page");
    }
    Program program(desktop.platform());
    program.Start();
    desktop.Wait(100);  // the first pass gives every window its tab
    if (program.mainForm().Tabs().Count() != windows)
      state.SkipWithError("the tabs do not match the windows");

    std::int64_t calls = 0;
    for (auto _ : state) {
      const std::int64_t before = desktop.BrowserCalls();
      program.mainForm().HandleIE();
      calls += desktop.BrowserCalls() - before;
      transcript.str("");
    }
    state.counters["browser_calls_per_pass"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
    state.counters["windows"] = windows;
  }
  std::filesystem::remove_all(folder);
}

BENCHMARK(BM_PassOverMatchingTabs)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wendrel::sim

BENCHMARK_MAIN();
