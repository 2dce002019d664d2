// Benchmarks over N = 10^3 to 10^5: the pass on the simulated desktop (time and browser calls grow
// linearly), opening a group of N sites, closing N tabs, and the heap that opening a 100 MB group
// needs. For the group figures browsers, tab control and files are O(1) stand-ins that keep nothing.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#include "support/test_world.h"

// Every byte the heap hands out through operator new, and the most ever held at once.
static std::atomic<std::size_t> heapNow{0}, heapPeak{0};
void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  const std::size_t now = heapNow += malloc_usable_size(block);
  for (std::size_t peak = heapPeak; now > peak && !heapPeak.compare_exchange_weak(peak, now);) {
  }
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
  if (block) heapNow -= malloc_usable_size(block);
  std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace wendrel::sim {
namespace {

// The pass: over matching tabs (range 1 = 0), or the first one, adding every tab (range 1 = 1).
void BM_Pass(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::int64_t calls = 0;
  std::unique_ptr<test::SimWorld> world;
  const auto start = [&] {
    world = std::make_unique<test::SimWorld>("bench");
    for (int i = 0; i < n; ++i)
      world->desktop().OpenWindow(1000 + i, "http://site" + std::to_string(i) + ".example.com/page", "Page");
    world->Start();
  };
  if (state.range(1) == 0) start(), world->desktop().Wait(100);
  for (auto _ : state) {
    if (state.range(1) == 1) state.PauseTiming(), start(), state.ResumeTiming();
    const std::int64_t before = world->desktop().BrowserCalls();
    world->program().strip().Reconcile();
    calls += world->desktop().BrowserCalls() - before;
    if (world->program().strip().Tabs().Count() != n) state.SkipWithError("a window has no tab");
    // Each window's handle, name and address are read once, and a few calls besides.
    if (world->desktop().BrowserCalls() - before > 3 * n + 3)
      state.SkipWithError("more than 3N + 3 browser calls");
  }
  state.counters["browser_calls_per_pass"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
  state.SetComplexityN(n);
}

// A real browser's page lives in its own process: these answer in O(1) and keep no page.
class QuickShell : public IShell {
 public:
  struct Browser : IBrowser {
    Browser(QuickShell& shell, WindowHandle window) : shell(shell), window(window) {}
    WindowHandle Hwnd() override { return Reach(); }
    std::string LocationName() override { return Reach(), std::string(); }
    std::string LocationURL() override { return Reach(), std::string(); }
    void Navigate(const std::string&) override { Reach(); }
    void Refresh() override { Reach(); }
    void Stop() override { Reach(); }
    void Quit() override { shell.alive[static_cast<size_t>(Reach() - kFirst)] = false; }
    void SetVisible(bool) override { Reach(); }
    WindowHandle Reach() {
      if (!shell.alive.at(static_cast<size_t>(window - kFirst))) throw PlatformError("gone");
      return window;
    }
    QuickShell& shell;
    WindowHandle window;
  };
  struct Windows : IShellWindows {
    explicit Windows(QuickShell& shell) : shell(shell) {}
    std::vector<std::unique_ptr<IBrowser>> Items() override {
      std::vector<std::unique_ptr<IBrowser>> items;
      for (size_t i = 0; i < shell.alive.size(); ++i)
        if (shell.alive[i]) items.push_back(std::make_unique<Browser>(shell, kFirst + static_cast<int>(i)));
      return items;
    }
    QuickShell& shell;
  };
  std::unique_ptr<IShellWindows> CreateShellWindows() override { return std::make_unique<Windows>(*this); }
  std::unique_ptr<IShellEvents> Subscribe(ShellEventHandler, ShellEventHandler) override {
    return std::make_unique<IShellEvents>();
  }
  std::unique_ptr<IBrowser> CreateBrowser() override {
    alive.push_back(true);
    return std::make_unique<Browser>(*this, kFirst + static_cast<int>(alive.size()) - 1);
  }
  static constexpr WindowHandle kFirst = 9001;
  std::vector<bool> alive;
};

// The program on the stand-ins with a group "Big" of `sites` lines, URLs padded to `urlLength`.
struct QuickProgram {
  QuickProgram(int sites, size_t urlLength) : desktop(silent, ".") {
    files.files[files.ProgramFolder() + "\\Wendrel.CFG"] = test::kQuietOptions;
    shell.alive.reserve(static_cast<size_t>(sites));
    program = std::make_unique<Program>(
        test::Replace(desktop.platform(), {.files = &files, .tabs = &tabs, .shell = &shell}));
    program->Start();
    std::string& text = files.files[program->groupFiles().GroupFilePath("Big")];
    text.reserve(static_cast<size_t>(sites) * (urlLength + 16));
    for (int i = 0; i < sites; ++i) {
      std::string url = "http://site" + std::to_string(i) + ".example.com/";
      url.resize(std::max(url.size(), urlLength), 'p');
      text += "Site" + std::to_string(i) + "," + url + "\r\n";
    }
    size = static_cast<double>(text.size());
  }
  std::ostream silent{nullptr};
  SimDesktop desktop;
  QuickShell shell;
  test::BlankTabs tabs;
  test::MemoryFiles files;
  std::unique_ptr<Program> program;
  double size = 0;
};

// Opening a group of range(0) sites (range 1 = 0), closing its tabs (1), or (2) the heap while
// opening a group file of about range(0) kB, in multiples of its size: peak_x the most held beyond
// what was held before, kept_x what the tabs keep (their URLs), working_x what opening needs.
void BM_Group(benchmark::State& state) {
  const auto sites = static_cast<int>(state.range(0));
  const bool close = state.range(1) == 1, memory = state.range(1) == 2;
  double peak = 0, kept = 0, size = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto quick = std::make_unique<QuickProgram>(sites, memory ? 1000 : 40);
    TabStrip& tabs = quick->program->strip().Tabs();
    std::vector<WindowHandle> opened;
    if (close) quick->program->groups().OpenGroup("Big");
    for (int i = 1; i <= tabs.Count(); ++i) opened.push_back(tabs.HandleAt(i));
    size = quick->size;
    state.ResumeTiming();
    const std::size_t before = heapNow;
    heapPeak = before;
    close ? quick->program->groups().CloseWindows(opened) : quick->program->groups().OpenGroup("Big");
    peak = static_cast<double>(heapPeak - before);
    kept = static_cast<double>(heapNow - before);
    state.PauseTiming();
    if (tabs.Count() != (close ? 0 : sites)) state.SkipWithError("tabs do not match");
    quick.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(sites);
  if (!memory) return;
  state.counters["file_MB"] = size / 1e6;
  state.counters["peak_x"] = peak / size;
  state.counters["kept_x"] = kept / size;
  state.counters["working_x"] = (peak - kept) / size;
}

const std::vector<std::int64_t> kSizes = {1000, 10000, 100000};
BENCHMARK(BM_Pass)->ArgsProduct({kSizes, {0}})->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Pass)->ArgsProduct({kSizes, {1}})->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Group)->ArgsProduct({kSizes, {0}})->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Group)->ArgsProduct({kSizes, {1}})->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Group)->ArgsProduct({{1000, 100000}, {2}})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wendrel::sim

BENCHMARK_MAIN();
