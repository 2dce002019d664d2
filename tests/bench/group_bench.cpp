// Opening a group of N sites and closing N selected tabs, and the heap that opening a 100 MB
// group needs. The browsers, the tab control and the files are stand-ins that cost O(1) per
// call and keep nothing, so the figures are the program's own.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "program.h"

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

constexpr char kQuietOptions[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n";

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
    void Quit() override { shell_.alive_[Reach() - kFirst] = false; }
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

// A tab control that draws nothing and keeps no text.
class BlankTabs : public ITabStripView {
 public:
  void InsertTab(int) override {}
  void RemoveTab(int) override {}
  void SetCaption(int, const std::string&) override {}
  void SetToolTip(int, const std::string&) override {}
  void SetSelected(int) override {}
  void SetMultiRow(bool) override {}
  TabRect TabRectangle(int) override { return {}; }
};

// Files held in memory, keyed by their full path.
class MemoryFiles : public IFileSystem {
 public:
  std::string ProgramFolder() override { return "C:\\Wendrel"; }
  std::string LocalAppDataFolder() override { return {}; }
  bool CanWriteIn(const std::string&) override { return true; }
  std::string ReadFile(const std::string& path) override {
    const auto found = files_.find(path);
    if (found == files_.end()) throw PlatformError("File not found");
    return found->second;
  }
  std::string ReadFileHead(const std::string& path, std::size_t limit) override {
    return ReadFile(path).substr(0, limit);
  }
  void ReplaceFile(const std::string& path, std::string_view content) override { files_[path] = content; }
  void AppendFile(const std::string& path, std::string_view content) override { files_[path] += content; }
  void AppendInOneStep(const std::string& path, std::string_view content) override {
    files_[path] += content;
  }
  void CreateFolder(const std::string&) override {}
  void DeleteFile(const std::string& path) override { files_.erase(path); }
  bool FileExists(const std::string& path) override { return files_.contains(path); }
  std::vector<std::string> ListFiles(const std::string&, const std::string&) override { return {}; }

 private:
  std::map<std::string, std::string> files_;
};

// One program on the stand-ins, started with no dialog, no question and no group.
class QuickProgram {
 public:
  QuickProgram() : desktop_(silent_, ".") {
    files_.ReplaceFile(files_.ProgramFolder() + "\\Wendrel.CFG", kQuietOptions);
    const Platform sim = desktop_.platform();
    program_ = std::make_unique<Program>(Platform{sim.windows, sim.strip, tabs_, sim.timer, shell_, sim.tray,
                                                  sim.prompts, files_, sim.dialogs, sim.appWindows,
                                                  sim.programs, sim.signIn});
    program_->Start();
  }

  Program& program() { return *program_; }
  MemoryFiles& files() { return files_; }
  QuickShell& shell() { return shell_; }

 private:
  std::ostream silent_{nullptr};
  SimDesktop desktop_;
  QuickShell shell_;
  BlankTabs tabs_;
  MemoryFiles files_;
  std::unique_ptr<Program> program_;
};

// A group file of `sites` lines, each a short name and a URL padded to `urlLength` characters.
std::string GroupText(int sites, size_t urlLength) {
  std::string text;
  text.reserve(static_cast<size_t>(sites) * (urlLength + 16));
  for (int i = 0; i < sites; ++i) {
    std::string url = "http://site" + std::to_string(i) + ".example.com/";
    url.resize(std::max(url.size(), urlLength), 'p');
    text += "Site" + std::to_string(i) + "," + url + "\r\n";
  }
  return text;
}

void BM_OpenGroup(benchmark::State& state) {
  const auto sites = static_cast<int>(state.range(0));
  const std::string text = GroupText(sites, 40);
  for (auto _ : state) {
    state.PauseTiming();
    {
      auto quick = std::make_unique<QuickProgram>();
      quick->files().ReplaceFile(quick->program().groupFiles().GroupFilePath("Big"), text);
      state.ResumeTiming();
      quick->program().groups().OpenGroup("Big");
      state.PauseTiming();
      if (quick->program().strip().Tabs().Count() != sites) state.SkipWithError("not every site opened");
    }
    state.ResumeTiming();
  }
  state.SetComplexityN(sites);
}

void BM_CloseSelectedTabs(benchmark::State& state) {
  const auto sites = static_cast<int>(state.range(0));
  const std::string text = GroupText(sites, 40);
  for (auto _ : state) {
    state.PauseTiming();
    {
      auto quick = std::make_unique<QuickProgram>();
      quick->files().ReplaceFile(quick->program().groupFiles().GroupFilePath("Big"), text);
      quick->program().groups().OpenGroup("Big");
      TabStrip& tabs = quick->program().strip().Tabs();
      std::vector<WindowHandle> selected;
      for (int i = 1; i <= tabs.Count(); ++i) selected.push_back(tabs.HandleAt(i));
      state.ResumeTiming();
      quick->program().groups().CloseWindows(selected);
      state.PauseTiming();
      if (tabs.Count() != 0) state.SkipWithError("tabs left behind");
    }
    state.ResumeTiming();
  }
  state.SetComplexityN(sites);
}

// The heap while opening a group file of the given size in MB (sites of about 1 kB each):
// peak_x is the most held at once beyond what was held before, as a multiple of the file's
// size; kept_x what the opened tabs keep afterwards (each tab holds its URL); working_x the
// difference, what the opening itself needs on top.
void BM_OpenGroupPeakMemory(benchmark::State& state) {
  const auto megabytes = static_cast<size_t>(state.range(0));
  const int sites = static_cast<int>(megabytes * 1000);
  double peak = 0;
  double kept = 0;
  double size = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto quick = std::make_unique<QuickProgram>();
    quick->shell().Reserve(static_cast<size_t>(sites));
    const std::string path = quick->program().groupFiles().GroupFilePath("Big");
    quick->files().ReplaceFile(path, GroupText(sites, 1000));
    size = static_cast<double>(quick->files().ReadFile(path).size());
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
