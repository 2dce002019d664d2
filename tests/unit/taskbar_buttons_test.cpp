#include "strip/taskbar_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "platform/window_system.h"
#include "support/test_world.h"

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
  EXPECT_EQ(StyleWithButton(0), kWsExAppWindow);
}

TEST(TakenWindowsList, ReadsBackWhatItWrites) {
  const TakenWindows taken = {{-5, {0, "", ""}},
                              {0, {1, "IEFrame", ""}},
                              {1311042, {kLayoutRtl | kAcceptFiles, "Chrome_WidgetWin_1", "msedge.exe"}},
                              {2147483647, {INT32_MIN, "A class%\r\n \x01\xc3\xa9", "my app.exe"}}};
  const std::string text = SerializeTakenWindows(4242, taken);
  EXPECT_EQ(ParseTakenWindows(text), (TakenList{4242, taken}));
  EXPECT_NE(text.find("+ 2147483647 0x80000000 A%20class%25%0D%0A%20%01%C3%A9 my%20app.exe\r\n"),
            std::string::npos);
  EXPECT_EQ(TakenLine(1311042, {kLayoutRtl | kAcceptFiles, "IEFrame", "iexplore.exe"}),
            "+ 1311042 0x400010 IEFrame iexplore.exe\r\n");
  EXPECT_EQ(TakenLine(7, {0, "A b%", ""}), "+ 7 0x0 A%20b%25\r\n");
  EXPECT_EQ(GivenBackLine(-5), "- -5\r\n");
  EXPECT_EQ(OwnerLine(12), "= 12\r\n");
}

TEST(TakenWindowsList, ReplaysChangesInOrder) {
  const std::string text =
      "= 7\r\n"
      "+ 101 0x10\r\n"  // an older version's line
      "+ 102 0x0 IEFrame\r\n"
      "+ 101 0x80 X\r\n"  // taken again while held: the first style stays
      "- 102\r\n"
      "+ 103 0x400000\n"  // a bare line feed ends a line too
      "- 103\r\n"
      "+ 103 0x40000 C%41 b.exe\r\n";
  EXPECT_EQ(ParseTakenWindows(text),
            (TakenList{7, {{101, {0x10, "", ""}}, {103, {0x40000, "CA", "b.exe"}}}}));
}

TEST(TakenWindowsList, PassesOverLinesThatAreNotWhole) {
  const TakenWindows twoWindows = {{1, {0, "", ""}}, {2, {0, "", ""}}};
  // A write cut short leaves a line without its end; damaged lines leave their neighbours be.
  EXPECT_EQ(ParseTakenWindows("+ 101 0x10\r\n+ 102 0x4").windows, (TakenWindows{{101, {0x10, "", ""}}}));
  EXPECT_EQ(ParseTakenWindows("+ 101 0x10\r\n+ 102 0x4+ 103 0x0\r\n+ 104 0x0\r\n").windows,
            (TakenWindows{{101, {0x10, "", ""}}, {104, {0, "", ""}}}));
  for (const char* bad : {"+ 7\r\n",
                          "+ 7 16\r\n",
                          "+ x 0x0\r\n",
                          "+7 0x0\r\n",
                          "* 7 0x0\r\n",
                          "- 7 0x0\r\n",
                          "+ 7 0x\r\n",
                          "+ 7 0x1g\r\n",
                          "+ 99999999999 0x0\r\n",
                          "+ 7 0x100000000\r\n",
                          "\r\n",
                          "-\r\n",
                          "+ 7 0x0 \r\n",
                          "+ 7 0x0  a.exe\r\n",
                          "+ 7 0x0 A%4\r\n",
                          "+ 7 0x0 A%G1\r\n",
                          "+ 7 0x0 A\tB\r\n",
                          "+ 7 0x0 A b c\r\n",
                          "= x\r\n",
                          "= 1 2\r\n",
                          "+ 7 0x0 A% 1\r\n"}) {
    EXPECT_EQ(ParseTakenWindows(std::string("= 5\r\n+ 1 0x0\r\n") + bad + "+ 2 0x0\r\n"),
              (TakenList{5, twoWindows}))
        << bad;
  }
  EXPECT_EQ(ParseTakenWindows("+ 1 0x0\r\n- 9\r\n- 1 \r\n").windows, (TakenWindows{{1, {0, "", ""}}}));
}

// Windows with styles; every style write is counted, a window that has gone answers 0.
class FakeWindows final : public IWindowSystem {
 public:
  std::map<WindowHandle, std::int32_t> styles;
  std::map<WindowHandle, bool> visible;
  int writes = 0;
  std::uint32_t session = 1;

  std::map<WindowHandle, std::string> classes;
  std::map<WindowHandle, std::string> images;

  bool PreviousInstance() override { return false; }
  std::uint32_t SessionId() override { return session; }
  std::uint32_t ProcessId() override { return 100; }
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
  std::string WindowClass(WindowHandle window) override {
    return styles.count(window) ? classes.try_emplace(window, "IEFrame").first->second : "";
  }
  std::string ProcessImage(WindowHandle window) override {
    return styles.count(window) ? images[window] : "";
  }
  bool IsVisible(WindowHandle window) override {
    return styles.count(window) && visible.try_emplace(window, true).first->second;
  }
  void AwaitHiddenOrGone(std::span<const WindowHandle>, std::int32_t) override {}
  void EndProcess() override {}
};

using test::MemoryFiles;

const std::string kList = "C:\\Wendrel\\Wendrel.Session1.Taskbar";
const std::string kOlderList = "C:\\Wendrel\\Wendrel.Taskbar";

size_t LineCount(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class TaskbarButtonsTest : public ::testing::Test {
 protected:
  FakeWindows windows;
  MemoryFiles files;
  TaskbarButtons taskbar{windows, files, files.ProgramFolder(), 100};
};

TEST_F(TaskbarButtonsTest, AWindowGetsBackTheStyleItHadTheFirstTimeShownOrHidden) {
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
  // A window not taken by this run keeps its own bits.
  windows.styles[102] = kLayoutRtl | kWsExToolWindow;
  taskbar.GiveBack(102);
  EXPECT_EQ(windows.styles[102], kLayoutRtl | kWsExAppWindow);
  // Windows their browsers hid, asked to close, get their buttons back without being shown.
  windows.styles[103] = windows.styles[104] = 0;
  taskbar.TakeAway(103);
  taskbar.TakeAway(104);
  windows.visible[103] = windows.visible[104] = false;
  taskbar.GiveBack(104);
  taskbar.GiveAllBack();
  for (const WindowHandle window : {103, 104}) {
    EXPECT_EQ(windows.styles[window], kWsExAppWindow);
    EXPECT_FALSE(windows.visible[window]);
  }
}

TEST_F(TaskbarButtonsTest, GivingAllBackTouchesOnlyWindowsStillWithoutTheirButtons) {
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

TEST_F(TaskbarButtonsTest, AWindowGetsItsStyleBackOnlyWhileItIsTheWindowTaken) {
  for (const WindowHandle window : {101, 102, 103, 104}) {
    windows.styles[window] = kLayered;
    windows.images[window] = "iexplore.exe";
    taskbar.TakeAway(window);
  }
  // Each closes, and a window of another class or program gets its handle, itself a tool window.
  windows.classes[101] = "Notepad";
  windows.images[102] = "notepad.exe";
  windows.classes[103] = "Notepad";
  windows.styles[101] = windows.styles[102] = windows.styles[103] = kWsExToolWindow;
  taskbar.GiveBack(103);  // as the exit that leaves the windows open does
  taskbar.GiveAllBack();
  for (const WindowHandle window : {101, 102, 103}) EXPECT_EQ(windows.styles[window], kWsExToolWindow);
  EXPECT_EQ(windows.styles[104], kLayered | kWsExAppWindow);
}

TEST(TaskbarButtons, WindowsAnEarlierRunLeftBehindGetTheirOwnStylesBack) {
  FakeWindows windows;
  MemoryFiles files;
  files.files[kList] =
      "= 9\r\n+ 101 0x400010 IEFrame\r\n+ 102 0x0 IEFrame\r\n+ 103 0x0\r\n+ 104 0x10 IEFrame\r\n- 104\r\n"
      "+ 105 0x0 CabinetWClass\r\n+ 107 0x0 IEFrame\r\n";
  files.files[kOlderList] = "+ 106 0x0\r\n+ 108 0x0\r\n";
  for (const WindowHandle window : {101, 102, 103, 104, 105, 106, 107, 108})
    windows.styles[window] = kWsExToolWindow;
  windows.styles[101] |= kLayoutRtl | kAcceptFiles;
  windows.styles[107] = 0;  // it has its button: another window now
  TaskbarButtons taskbar(windows, files, files.ProgramFolder(), 100);
  // The shell lists 102 and 106 only: it cannot read the others. Lines that tell the window
  // need no listing; an older version's lines (103, 106, 108) do.
  taskbar.GiveBackLeftBehind(std::vector<WindowHandle>{102, 106});
  EXPECT_EQ(windows.styles[101], kLayoutRtl | kAcceptFiles | kWsExAppWindow);
  EXPECT_EQ(windows.styles[102], kWsExAppWindow);
  EXPECT_EQ(windows.styles[106], kWsExAppWindow);
  for (const WindowHandle kept : {103, 104, 105, 108})
    EXPECT_EQ(windows.styles[kept], kWsExToolWindow) << kept;
  EXPECT_EQ(windows.styles[107], 0);
  EXPECT_FALSE(files.FileExists(kList));
  EXPECT_FALSE(files.FileExists(kOlderList));
  // The shell's windows cannot be walked at all.
  files.files[kList] = "+ 101 0x0 IEFrame\r\n+ 103 0x0\r\n";
  windows.styles[101] = kWsExToolWindow;
  taskbar.GiveBackLeftBehind(std::nullopt);
  EXPECT_EQ(windows.styles[101], kWsExAppWindow);
  EXPECT_EQ(windows.styles[103], kWsExToolWindow);
}

TEST(TaskbarButtons, EachSessionKeepsItsOwnListAndAGuardActsOnlyOnItsProgramsList) {
  FakeWindows windows;
  MemoryFiles files;
  windows.styles[7] = 0;
  TaskbarButtons running(windows, files, files.ProgramFolder(), 100);
  running.TakeAway(7);
  // Another session starts from the same folder, and a guard of another run there ends.
  windows.session = 2;
  TaskbarButtons otherSession(windows, files, files.ProgramFolder(), 200);
  EXPECT_NE(otherSession.ListPath(), running.ListPath());
  otherSession.GiveBackLeftBehind(std::vector<WindowHandle>{7});
  windows.session = 1;
  TaskbarButtons otherGuard(windows, files, files.ProgramFolder(), 300);
  otherGuard.GiveBackForOwner();
  EXPECT_EQ(windows.styles[7], kWsExToolWindow);
  ASSERT_TRUE(files.FileExists(kList));
  // Its own guard gives the window back, but not one its line cannot tell from another window;
  // without a list there is nothing to do.
  windows.styles[8] = kWsExToolWindow;
  files.files[kList] += "+ 8 0x0\r\n";
  TaskbarButtons guard(windows, files, files.ProgramFolder(), 100);
  guard.GiveBackForOwner();
  EXPECT_EQ(windows.styles[7], kWsExAppWindow);
  EXPECT_EQ(windows.styles[8], kWsExToolWindow);
  EXPECT_FALSE(files.FileExists(kList));
  const int writes = windows.writes;
  guard.GiveBackForOwner();
  EXPECT_EQ(windows.writes, writes);
}

TEST(TaskbarButtons, TheListFollowsEveryChangeAndStaysSmall) {
  FakeWindows windows;
  MemoryFiles files;
  // A list from an earlier run is replaced by this run's first change.
  files.files[kList] = "+ 999 0x0\r\n";
  TaskbarButtons taskbar(windows, files, files.ProgramFolder(), 100);
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
    EXPECT_EQ(ParseTakenWindows(list->second), (TakenList{100, taskbar.Taken()})) << "step " << step;
    EXPECT_LE(LineCount(list->second), 2 * taskbar.Taken().size() + 18) << "step " << step;
  }
  // Writing grows with the changes, never with their square.
  EXPECT_LT(files.bytesWritten, changes * 200);
}

}  // namespace
}  // namespace wendrel
