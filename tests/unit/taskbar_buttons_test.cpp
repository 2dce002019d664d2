#include "strip/taskbar_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "platform/file_system.h"
#include "platform/window_system.h"

namespace wendrel {
namespace {

constexpr std::int32_t kLayoutRtl = 0x400000;
constexpr std::int32_t kAcceptFiles = 0x10;
constexpr std::int32_t kLayered = 0x80000;

TEST(TaskbarStyles, TakingTheButtonAwayKeepsEveryOtherBit) {
  EXPECT_EQ(StyleWithoutButton(0), kWsExToolWindow);
  EXPECT_EQ(StyleWithoutButton(kWsExAppWindow), kWsExToolWindow);
  EXPECT_EQ(StyleWithoutButton(kLayoutRtl | kAcceptFiles | kWsExAppWindow), kLayoutRtl | kAcceptFiles | 0x80);
  std::mt19937 random(7);
  for (int i = 0; i < 1000; ++i) {
    const auto style = static_cast<std::int32_t>(random());
    const std::int32_t taken = StyleWithoutButton(style);
    const std::int32_t back = StyleWithButton(style);
    constexpr std::int32_t kTaskbarBits = kWsExToolWindow | kWsExAppWindow;
    EXPECT_EQ(taken & ~kTaskbarBits, style & ~kTaskbarBits);
    EXPECT_EQ(back & ~kTaskbarBits, style & ~kTaskbarBits);
    EXPECT_EQ(taken & kTaskbarBits, kWsExToolWindow);
    EXPECT_EQ(back & kTaskbarBits, kWsExAppWindow);
  }
}

TEST(TaskbarStyles, GivingTheButtonBackToAWindowWithoutStylesWritesTheApplicationWindowStyle) {
  EXPECT_EQ(StyleWithButton(0), kWsExAppWindow);
  EXPECT_EQ(StyleWithButton(kLayoutRtl | kAcceptFiles), kLayoutRtl | kAcceptFiles | kWsExAppWindow);
}

TEST(TakenWindowsList, ReadsBackWhatItWrites) {
  const TakenWindows taken = {{-5, 0}, {0, 1}, {1311042, kLayoutRtl | kAcceptFiles}, {2147483647, INT32_MIN}};
  const std::string text = SerializeTakenWindows(taken);
  EXPECT_EQ(ParseTakenWindows(text), taken);
  EXPECT_EQ(TakenLine(1311042, kLayoutRtl | kAcceptFiles), "+ 1311042 0x400010\r\n");
  EXPECT_EQ(GivenBackLine(-5), "- -5\r\n");
}

TEST(TakenWindowsList, ReplaysChangesInOrder) {
  const std::string text =
      "+ 101 0x10\r\n"
      "+ 102 0x0\r\n"
      "+ 101 0x80\r\n"  // taken again while held: the first style stays
      "- 102\r\n"
      "+ 103 0x400000\n"  // a bare line feed ends a line too
      "- 103\r\n"
      "+ 103 0x40000\r\n";
  EXPECT_EQ(ParseTakenWindows(text), (TakenWindows{{101, 0x10}, {103, 0x40000}}));
}

TEST(TakenWindowsList, PassesOverLinesThatAreNotWhole) {
  // A write cut short leaves a line without its end; damaged lines leave their neighbours be.
  EXPECT_EQ(ParseTakenWindows("+ 101 0x10\r\n+ 102 0x4"), (TakenWindows{{101, 0x10}}));
  EXPECT_EQ(ParseTakenWindows("+ 101 0x10\r\n+ 102 0x4+ 103 0x0\r\n+ 104 0x0\r\n"),
            (TakenWindows{{101, 0x10}, {104, 0}}));
  for (const char* bad :
       {"+ 7\r\n", "+ 7 16\r\n", "+ x 0x0\r\n", "+7 0x0\r\n", "* 7 0x0\r\n", "- 7 0x0\r\n", "+ 7 0x\r\n",
        "+ 7 0x1g\r\n", "+ 99999999999 0x0\r\n", "+ 7 0x100000000\r\n", "\r\n", "-\r\n"}) {
    EXPECT_EQ(ParseTakenWindows(std::string("+ 1 0x0\r\n") + bad + "+ 2 0x0\r\n"),
              (TakenWindows{{1, 0}, {2, 0}}))
        << bad;
  }
  EXPECT_EQ(ParseTakenWindows("+ 1 0x0\r\n- 9\r\n- 1 \r\n"), (TakenWindows{{1, 0}}));
}

// Windows with styles; every style write is counted, a window that has gone answers 0.
class FakeWindows final : public IWindowSystem {
 public:
  std::map<WindowHandle, std::int32_t> styles;
  std::map<WindowHandle, bool> visible;
  int writes = 0;

  bool PreviousInstance() override { return false; }
  PixelRect WorkArea() override { return {}; }
  std::int32_t TwipsPerPixelX() override { return 15; }
  std::int32_t TwipsPerPixelY() override { return 15; }
  std::int32_t ScreenWidth() override { return 0; }
  std::int32_t ScreenHeight() override { return 0; }
  void ShowWindow(WindowHandle window, std::int32_t command) override {
    if (styles.count(window)) visible[window] = command != kSwHide;
  }
  void SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) override {
    ++writes;
    if (index == kGwlExStyle && styles.count(window)) styles[window] = value;
  }
  std::int32_t GetWindowLongA(WindowHandle window, std::int32_t index) override {
    const auto found = styles.find(window);
    return index == kGwlExStyle && found != styles.end() ? found->second : 0;
  }
  void SetWindowPos(WindowHandle, WindowHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::uint32_t) override {}
  void BringWindowToTop(WindowHandle) override {}
  void SetForegroundWindow(WindowHandle) override {}
  void EndProcess() override {}
};

// Files in memory; writes can be made to fail part-way.
class FakeFiles final : public IFileSystem {
 public:
  std::map<std::string, std::string> files;
  bool failWrites = false;
  long bytesWritten = 0;

  std::string ProgramFolder() override { return "C:\\Wendrel"; }
  std::string LocalAppDataFolder() override { return {}; }
  bool CanWriteIn(const std::string&) override { return true; }
  std::string ReadFile(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) throw PlatformError("File not found");
    return found->second;
  }
  void ReplaceFile(const std::string& path, std::string_view content) override {
    if (failWrites) throw PlatformError("Disk full");
    files[path] = content;
    bytesWritten += static_cast<long>(content.size());
  }
  void AppendFile(const std::string& path, std::string_view content) override {
    if (failWrites) {
      files[path] += content.substr(0, content.size() / 2);
      throw PlatformError("Disk full");
    }
    files[path] += content;
    bytesWritten += static_cast<long>(content.size());
  }
  void CreateFolder(const std::string&) override {}
  void DeleteFile(const std::string& path) override {
    if (files.erase(path) == 0) throw PlatformError("File not found");
  }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  std::vector<std::string> ListFiles(const std::string&, const std::string&) override { return {}; }
};

const std::string kList = "C:\\Wendrel\\Wendrel.Taskbar";

size_t LineCount(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(TaskbarButtons, AWindowGetsBackTheStyleItHadTheFirstTime) {
  FakeWindows windows;
  FakeFiles files;
  TaskbarButtons taskbar(windows, files, files.ProgramFolder());
  windows.styles[101] = kLayoutRtl | kAcceptFiles;
  taskbar.TakeAway(101);
  EXPECT_EQ(windows.styles[101], kLayoutRtl | kAcceptFiles | kWsExToolWindow);
  EXPECT_TRUE(windows.visible[101]);
  taskbar.TakeAway(101);  // taken again, as a pass does with a window whose tab was lost
  taskbar.GiveBack(101);
  EXPECT_EQ(windows.styles[101], kLayoutRtl | kAcceptFiles | kWsExAppWindow);
  EXPECT_TRUE(windows.visible[101]);
  EXPECT_FALSE(taskbar.Holds(101));
  EXPECT_FALSE(files.FileExists(kList));
}

TEST(TaskbarButtons, AWindowNotTakenByThisRunKeepsItsOwnBitsWhenGivenBack) {
  FakeWindows windows;
  FakeFiles files;
  TaskbarButtons taskbar(windows, files, files.ProgramFolder());
  windows.styles[101] = kLayoutRtl | kWsExToolWindow;
  taskbar.GiveBack(101);
  EXPECT_EQ(windows.styles[101], kLayoutRtl | kWsExAppWindow);
}

TEST(TaskbarButtons, GivingAllBackTouchesOnlyWindowsStillWithoutTheirButtons) {
  FakeWindows windows;
  FakeFiles files;
  TaskbarButtons taskbar(windows, files, files.ProgramFolder());
  for (const WindowHandle window : {101, 102, 103}) {
    windows.styles[window] = kLayered;
    taskbar.TakeAway(window);
  }
  windows.styles.erase(102);             // closed
  windows.styles[103] = kWsExAppWindow;  // the browser gave itself a button
  const int writesBefore = windows.writes;
  taskbar.GiveAllBack();
  EXPECT_EQ(windows.writes - writesBefore, 1);
  EXPECT_EQ(windows.styles[101], kLayered | kWsExAppWindow);
  EXPECT_EQ(windows.styles[103], kWsExAppWindow);
  EXPECT_TRUE(taskbar.Taken().empty());
  EXPECT_FALSE(files.FileExists(kList));
}

TEST(TaskbarButtons, WindowsAnEarlierRunLeftBehindGetTheirOwnStylesBack) {
  FakeWindows windows;
  FakeFiles files;
  files.files[kList] = "+ 101 0x400010\r\n+ 102 0x0\r\n+ 103 0x0\r\n+ 104 0x10\r\n- 104\r\n";
  for (const WindowHandle window : {101, 102, 103, 104}) windows.styles[window] = kWsExToolWindow;
  windows.styles[101] |= kLayoutRtl | kAcceptFiles;
  TaskbarButtons taskbar(windows, files, files.ProgramFolder());
  // 103 is not among the open browsers: after a restart its handle may be another window's.
  taskbar.GiveBackListed(std::vector<WindowHandle>{101, 102, 104});
  EXPECT_EQ(windows.styles[101], kLayoutRtl | kAcceptFiles | kWsExAppWindow);
  EXPECT_EQ(windows.styles[102], kWsExAppWindow);
  EXPECT_EQ(windows.styles[103], kWsExToolWindow);
  EXPECT_EQ(windows.styles[104], kWsExToolWindow);
  EXPECT_FALSE(files.FileExists(kList));
}

TEST(TaskbarButtons, TheGuardGivesBackEveryListedWindowAndNothingWithoutAList) {
  FakeWindows windows;
  FakeFiles files;
  windows.styles[7] = kWsExToolWindow;
  TaskbarButtons taskbar(windows, files, files.ProgramFolder());
  taskbar.GiveBackListed(std::nullopt);
  EXPECT_EQ(windows.writes, 0);
  files.files[kList] = "+ 7 0x0\r\n";
  taskbar.GiveBackListed(std::nullopt);
  EXPECT_EQ(windows.styles[7], kWsExAppWindow);
}

TEST(TaskbarButtons, TheListFollowsEveryChangeAndStaysSmall) {
  FakeWindows windows;
  FakeFiles files;
  // A list from an earlier run is replaced by this run's first change.
  files.files[kList] = "+ 999 0x0\r\n";
  TaskbarButtons taskbar(windows, files, files.ProgramFolder());
  std::mt19937 random(11);
  long changes = 0;
  for (int step = 0; step < 5000; ++step) {
    const WindowHandle window = static_cast<WindowHandle>(random() % 64);
    files.failWrites = random() % 50 == 0;
    const TakenWindows before = taskbar.Taken();
    if (random() % 2 == 0) {
      windows.styles.emplace(window, static_cast<std::int32_t>(random() % 4) * kAcceptFiles);
      taskbar.TakeAway(window);
    } else if (random() % 2 == 0) {
      taskbar.Forget(window);
    } else if (taskbar.Holds(window)) {
      taskbar.GiveBack(window);
    }
    if (taskbar.Taken() == before) continue;
    ++changes;
    if (files.failWrites) continue;  // the next change that can be written sets the list right
    const auto list = files.files.find(kList);
    if (taskbar.Taken().empty()) {
      EXPECT_EQ(list, files.files.end()) << "step " << step;
      continue;
    }
    ASSERT_NE(list, files.files.end()) << "step " << step;
    EXPECT_EQ(ParseTakenWindows(list->second), taskbar.Taken()) << "step " << step;
    EXPECT_LE(LineCount(list->second), 2 * taskbar.Taken().size() + 17) << "step " << step;
  }
  // Writing grows with the changes, never with their square.
  EXPECT_LT(files.bytesWritten, changes * 200);
}

}  // namespace
}  // namespace wendrel
