// Benchmarks over N = 10^3 to 10^5: the reconciliation pass on the simulated desktop (time and
// browser calls must both grow linearly with N), opening a group of N sites and closing N
// selected tabs, and the heap that opening a 100 MB group needs. For the group figures the
// browsers, the tab control and the files are stand-ins that cost O(1) per call and keep
// nothing, so the figures are the program's own.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "support/test_world.h"

namespace {

// Every byte the heap hands out through operator new, and the most ever held at once.
std::atomic<std::size_t> heapNow{0};
std::atomic<std::size_t> heapPeak{0};

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  const std::size_t now = heapNow += malloc_usable_size(block);
  for (std::size_t peak = heapPeak; now > peak && !heapPeak.compare_exchange_weak(peak, now);) {
  }
  return block;
}

void Release(void* block) {
  if (!block) return;
  heapNow -= malloc_usable_size(block);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }

namespace wendrel::sim {
namespace {

// ---- the pass ----

// A desktop with N open windows and the program started on it, before its first pass.
std::unique_ptr<test::SimWorld> DesktopWith(int windows) {
  auto world = std::make_unique<test::SimWorld>("bench");
  for (int i = 0; i < windows; ++i)
    world->desktop().OpenWindow(1000 + i, "http://site" + std::to_string(i) + ".example.com/page", "Page");
  world->Start();
  return world;
}

std::int64_t CallsOfOnePass(test::SimWorld& world) {
  const std::int64_t before = world.desktop().BrowserCalls();
  world.program().strip().Reconcile();
  return world.desktop().BrowserCalls() - before;
}

void Report(benchmark::State& state, std::int64_t calls) {
  state.counters["browser_calls_per_pass"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
  state.SetComplexityN(state.range(0));
}

void BM_PassOverMatchingTabs(benchmark::State& state) {
  const auto world = DesktopWith(static_cast<int>(state.range(0)));
  world->desktop().Wait(100);  // the first pass gives every window its tab
  if (world->program().strip().Tabs().Count() != state.range(0)) state.SkipWithError("tabs do not match");
  std::int64_t calls = 0;
  for (auto _ : state) calls += CallsOfOnePass(*world);
  Report(state, calls);
}

void BM_FirstPassAddsEveryTab(benchmark::State& state) {
  std::int64_t calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto world = DesktopWith(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    calls += CallsOfOnePass(*world);
    state.PauseTiming();
    if (world->program().strip().Tabs().Count() != state.range(0)) state.SkipWithError("a window got no tab");
    world.reset();
    state.ResumeTiming();
  }
  Report(state, calls);
}

// ---- groups ----

// Browsers that answer in O(1) and keep no page: a real browser's page lives in its own process.
class QuickShell : public IShell {
 public:
  class Browser : public IBrowser {
   public:
    Browser(QuickShell& shell, WindowHandle window) : shell_(shell), window_(window) {}
    WindowHandle Hwnd() override { return Reach(); }
    std::string LocationName() override { return Reach(), std::string(); }
    std::string LocationURL() override { return Reach(), std::string(); }
    void Navigate(const std::string&) override { Reach(); }
    void Refresh() override { Reach(); }
    void Stop() override { Reach(); }
    void Quit() override { shell_.alive_[static_cast<size_t>(Reach() - kFirst)] = false; }
    void SetVisible(bool) override { Reach(); }

   private:
    WindowHandle Reach() {
      if (!shell_.alive_.at(static_cast<size_t>(window_ - kFirst))) throw PlatformError("gone");
      return window_;
    }
    QuickShell& shell_;
    WindowHandle window_;
  };

  class Windows : public IShellWindows {
   public:
    explicit Windows(QuickShell& shell) : shell_(shell) {}
    std::vector<std::unique_ptr<IBrowser>> Items() override {
      std::vector<std::unique_ptr<IBrowser>> items;
      for (size_t i = 0; i < shell_.alive_.size(); ++i) {
        if (shell_.alive_[i])
          items.push_back(std::make_unique<Browser>(shell_, kFirst + static_cast<int>(i)));
      }
      return items;
    }

   private:
    QuickShell& shell_;
  };

  std::unique_ptr<IShellWindows> CreateShellWindows() override { return std::make_unique<Windows>(*this); }
  std::unique_ptr<IShellEvents> Subscribe(ShellEventHandler, ShellEventHandler) override {
    return std::make_unique<IShellEvents>();
  }
  std::unique_ptr<IBrowser> CreateBrowser() override {
    alive_.push_back(true);
    return std::make_unique<Browser>(*this, kFirst + static_cast<int>(alive_.size()) - 1);
  }
  void Reserve(size_t windows) { alive_.reserve(windows); }

 private:
  static constexpr WindowHandle kFirst = 9001;
  std::vector<bool> alive_;
};

// One program on the stand-ins, started with no dialog, no question and a group "Big" of
// `sites` lines, each a short name and a URL padded to `urlLength` characters.
class QuickProgram {
 public:
  QuickProgram(int sites, size_t urlLength) : desktop_(silent_, ".") {
    files_.files[files_.ProgramFolder() + "\\Wendrel.CFG"] = test::kQuietOptions;
    shell_.Reserve(static_cast<size_t>(sites));
    program_ = std::make_unique<Program>(
        test::Replace(desktop_.platform(), {.files = &files_, .tabs = &tabs_, .shell = &shell_}));
    program_->Start();
    std::string& text = files_.files[program_->groupFiles().GroupFilePath("Big")];
    text.reserve(static_cast<size_t>(sites) * (urlLength + 16));
    for (int i = 0; i < sites; ++i) {
      std::string url = "http://site" + std::to_string(i) + ".example.com/";
      url.resize(std::max(url.size(), urlLength), 'p');
      text += "Site" + std::to_string(i) + "," + url + "\r\n";
    }
    size = static_cast<double>(text.size());
  }
  Program& program() { return *program_; }
  double size = 0;

 private:
  std::ostream silent_{nullptr};
  SimDesktop desktop_;
  QuickShell shell_;
  test::BlankTabs tabs_;
  test::MemoryFiles files_;
  std::unique_ptr<Program> program_;
};

void BM_OpenGroup(benchmark::State& state) {
  const auto sites = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto quick = std::make_unique<QuickProgram>(sites, 40);
    state.ResumeTiming();
    quick->program().groups().OpenGroup("Big");
    state.PauseTiming();
    if (quick->program().strip().Tabs().Count() != sites) state.SkipWithError("not every site opened");
    quick.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(sites);
}

void BM_CloseSelectedTabs(benchmark::State& state) {
  const auto sites = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto quick = std::make_unique<QuickProgram>(sites, 40);
    quick->program().groups().OpenGroup("Big");
    TabStrip& tabs = quick->program().strip().Tabs();
    std::vector<WindowHandle> selected;
    for (int i = 1; i <= tabs.Count(); ++i) selected.push_back(tabs.HandleAt(i));
    state.ResumeTiming();
    quick->program().groups().CloseWindows(selected);
    state.PauseTiming();
    if (tabs.Count() != 0) state.SkipWithError("tabs left behind");
    quick.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(sites);
}

// The heap while opening a group file of the given size in MB (sites of about 1 kB each):
// peak_x is the most held at once beyond what was held before, as a multiple of the file's
// size; kept_x what the opened tabs keep afterwards (each tab holds its URL); working_x the
// difference, what the opening itself needs on top.
void BM_OpenGroupPeakMemory(benchmark::State& state) {
  const int sites = static_cast<int>(state.range(0) * 1000);
  double peak = 0, kept = 0, size = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto quick = std::make_unique<QuickProgram>(sites, 1000);
    size = quick->size;
    state.ResumeTiming();
    const std::size_t before = heapNow;
    heapPeak = before;
    quick->program().groups().OpenGroup("Big");
    peak = static_cast<double>(heapPeak - before);
    kept = static_cast<double>(heapNow - before);
    state.PauseTiming();
    if (quick->program().strip().Tabs().Count() != sites) state.SkipWithError("not every site opened");
    quick.reset();
    state.ResumeTiming();
  }
  state.counters["file_MB"] = size / 1e6;
  state.counters["peak_x"] = peak / size;
  state.counters["kept_x"] = kept / size;
  state.counters["working_x"] = (peak - kept) / size;
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
BENCHMARK(BM_OpenGroup)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_CloseSelectedTabs)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_OpenGroupPeakMemory)->Arg(1)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wendrel::sim

BENCHMARK_MAIN();
