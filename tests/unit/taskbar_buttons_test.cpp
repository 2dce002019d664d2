#include "strip/taskbar_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/window_system.h"
#include "support/test_world.h"

namespace wendrel {
namespace {

constexpr std::int32_t kLayoutRtl = 0x400000;
constexpr std::int32_t kAcceptFiles = 0x10;
constexpr std::int32_t kLayered = 0x80000;
const std::string kList = "C:\\Wendrel\\Wendrel.Session1.Taskbar";

TEST(TakenWindowsList, ReadsBackWhatItWritesAndPassesOverLinesThatAreNotWhole) {
  const TakenWindows taken = {{-5, {0, "", ""}},
                              {1311042, {kLayoutRtl | kAcceptFiles, "Chrome_WidgetWin_1", "msedge.exe"}},
                              {2147483647, {INT32_MIN, "A class%\r\n \x01\xc3\xa9", "my app.exe"}}};
  const std::string text = SerializeTakenWindows(4242, taken);
  EXPECT_EQ(ParseTakenWindows(text), (TakenList{4242, taken}));
  EXPECT_NE(text.find("+ 2147483647 0x80000000 A%20class%25%0D%0A%20%01%C3%A9 my%20app.exe\r\n"),
            std::string::npos);
  // Changes replay in order: an older version's line, a window taken again while held keeps its
  // first style, a bare line feed ends a line too.
  EXPECT_EQ(ParseTakenWindows("= 7\r\n+ 101 0x10\r\n+ 102 0x0 IEFrame\r\n+ 101 0x80 X\r\n- 102\r\n"
                              "+ 103 0x400000\n- 103\r\n+ 103 0x40000 C%41 b.exe\r\n"),
            (TakenList{7, {{101, {0x10, "", ""}}, {103, {0x40000, "CA", "b.exe"}}}}));
  // A write cut short leaves a line without its end; damaged lines leave their neighbours be.
  EXPECT_EQ(ParseTakenWindows("+ 101 0x10\r\n+ 102 0x4+ 103 0x0\r\n+ 104 0x0\r\n").windows,
            (TakenWindows{{101, {0x10, "", ""}}, {104, {0, "", ""}}}));
  for (const char* bad : {"+ 7\r\n", "+ 7 16\r\n", "+ x 0x0\r\n", "+7 0x0\r\n", "- 7 0x0\r\n", "+ 7 0x1g\r\n",
                          "+ 99999999999 0x0\r\n", "+ 7 0x100000000\r\n", "-\r\n", "+ 7 0x0  a.exe\r\n",
                          "+ 7 0x0 A%4\r\n", "+ 7 0x0 A\tB\r\n", "+ 7 0x0 A b c\r\n", "= 1 2\r\n"}) {
    EXPECT_EQ(ParseTakenWindows(std::string("= 5\r\n+ 1 0x0\r\n") + bad + "+ 2 0x0\r\n"),
              (TakenList{5, {{1, {0, "", ""}}, {2, {0, "", ""}}}}))
        << bad;
  }
}

// Windows of other programs on the simulated desktop, every call to them in the transcript; the
// program's files in memory.
class TaskbarButtonsTest : public ::testing::Test {
 protected:
  TaskbarButtonsTest() { world.desktop().SetTrace(true); }
  void Open(WindowHandle window, std::int32_t exstyle, std::string windowClass = "IEFrame",
            std::string image = "iexplore.exe") {
    sim::SimWindow opened;
    opened.handle = window;
    opened.exstyle = exstyle;
    opened.windowClass = std::move(windowClass);
    opened.image = std::move(image);
    world.desktop().OpenApp(opened);
  }
  // A window closes and another program's window gets its handle.
  void Reuse(WindowHandle window, std::int32_t exstyle, std::string windowClass, std::string image) {
    world.desktop().CloseWindow(window);
    Open(window, exstyle, std::move(windowClass), std::move(image));
  }
  std::int32_t Style(WindowHandle window) { return world.desktop().Window(window)->exstyle; }
  bool Visible(WindowHandle window) { return world.desktop().Window(window)->visible; }
  int Writes() const { return world.Occurrences("call SetWindowLongA"); }

  test::SimWorld world{"taskbar", false};
  IWindowSystem& windows = world.desktop().platform().windows;
  test::MemoryFiles files;
  TaskbarButtons taskbar{windows, files, files.ProgramFolder(), 100};
};

TEST_F(TaskbarButtonsTest, AWindowGetsBackTheStyleItHadOnlyWhileItIsTheWindowTaken) {
  Open(101, kLayoutRtl | kAcceptFiles | kWsExAppWindow);
  taskbar.TakeAway(101);
  EXPECT_EQ(Style(101), kLayoutRtl | kAcceptFiles | kWsExToolWindow);
  EXPECT_TRUE(Visible(101));
  taskbar.TakeAway(101);  // taken again, as a pass does with a window whose tab was lost
  taskbar.GiveBack(101);
  EXPECT_EQ(Style(101), kLayoutRtl | kAcceptFiles | kWsExAppWindow);
  EXPECT_TRUE(Visible(101));
  EXPECT_FALSE(taskbar.Holds(101));
  EXPECT_FALSE(files.FileExists(kList));
  // A window not taken by this run keeps its own bits.
  Open(102, kLayoutRtl | kWsExToolWindow);
  taskbar.GiveBack(102);
  EXPECT_EQ(Style(102), kLayoutRtl | kWsExAppWindow);
  // Windows their browsers hid, asked to close, get their buttons back without being shown.
  for (const WindowHandle window : {103, 104}) {
    Open(window, 0);
    taskbar.TakeAway(window);
    world.desktop().ShowApp(window, false);
  }
  taskbar.GiveBack(104);
  taskbar.GiveAllBack();
  for (const WindowHandle window : {103, 104}) {
    EXPECT_EQ(Style(window), kWsExAppWindow);
    EXPECT_FALSE(Visible(window));
  }
  // Windows taken, then closed and their handles reused by another class or program, a closed one
  // and one that gave itself a button, are left alone.
  for (const WindowHandle window : {201, 202, 203, 204, 205, 206}) {
    Open(window, kLayered);
    taskbar.TakeAway(window);
  }
  Reuse(201, kWsExToolWindow, "Notepad", "iexplore.exe");
  Reuse(202, kWsExToolWindow, "IEFrame", "notepad.exe");
  Reuse(203, kWsExToolWindow, "Notepad", "iexplore.exe");
  world.desktop().CloseWindow(205);
  world.desktop().SetWindowStyle(206, kWsExAppWindow);
  taskbar.GiveBack(203);  // as the exit that leaves the windows open does
  const int writesBefore = Writes();
  taskbar.GiveAllBack();
  EXPECT_EQ(Writes() - writesBefore, 1);
  for (const WindowHandle window : {201, 202, 203}) EXPECT_EQ(Style(window), kWsExToolWindow);
  EXPECT_EQ(Style(204), kLayered | kWsExAppWindow);
  EXPECT_EQ(Style(206), kWsExAppWindow);
  EXPECT_TRUE(taskbar.Taken().empty());
  EXPECT_FALSE(files.FileExists(kList));
}

TEST_F(TaskbarButtonsTest, WindowsAnEarlierRunLeftBehindGetTheirOwnStylesBack) {
  const std::string olderList = "C:\\Wendrel\\Wendrel.Taskbar";
  files.files[kList] =
      "= 9\r\n+ 101 0x400010 IEFrame\r\n+ 102 0x0 IEFrame\r\n+ 103 0x0\r\n+ 104 0x10 IEFrame\r\n- 104\r\n"
      "+ 105 0x0 CabinetWClass\r\n+ 107 0x0 IEFrame\r\n";
  files.files[olderList] = "+ 106 0x0\r\n+ 108 0x0\r\n";
  for (const WindowHandle window : {102, 103, 104, 105, 106, 108}) Open(window, kWsExToolWindow);
  Open(101, kLayoutRtl | kAcceptFiles | kWsExToolWindow);
  Open(107, 0);  // it has its button: another window now
  // The shell lists 102 and 106 only: it cannot read the others. Lines that tell the window
  // need no listing; an older version's lines (103, 106, 108) do.
  taskbar.GiveBackLeftBehind(std::vector<WindowHandle>{102, 106});
  EXPECT_EQ(Style(101), kLayoutRtl | kAcceptFiles | kWsExAppWindow);
  EXPECT_EQ(Style(102), kWsExAppWindow);
  EXPECT_EQ(Style(106), kWsExAppWindow);
  for (const WindowHandle kept : {103, 104, 105, 108}) EXPECT_EQ(Style(kept), kWsExToolWindow) << kept;
  EXPECT_EQ(Style(107), 0);
  EXPECT_FALSE(files.FileExists(kList));
  EXPECT_FALSE(files.FileExists(olderList));
  // The shell's windows cannot be walked at all.
  files.files[kList] = "+ 101 0x0 IEFrame\r\n+ 103 0x0\r\n";
  world.desktop().SetWindowStyle(101, kWsExToolWindow);
  taskbar.GiveBackLeftBehind(std::nullopt);
  EXPECT_EQ(Style(101), kWsExAppWindow);
  EXPECT_EQ(Style(103), kWsExToolWindow);
}

TEST_F(TaskbarButtonsTest, EachSessionKeepsItsOwnListAndAGuardActsOnlyOnItsProgramsList) {
  Open(7, 0);
  TaskbarButtons& running = taskbar;
  running.TakeAway(7);
  // Another session starts from the same folder, and a guard of another run there ends.
  world.desktop().SetSessionId(2);
  TaskbarButtons otherSession(windows, files, files.ProgramFolder(), 200);
  EXPECT_NE(otherSession.ListPath(), running.ListPath());
  otherSession.GiveBackLeftBehind(std::vector<WindowHandle>{7});
  world.desktop().SetSessionId(1);
  TaskbarButtons otherGuard(windows, files, files.ProgramFolder(), 300);
  otherGuard.GiveBackForOwner();
  EXPECT_EQ(Style(7), kWsExToolWindow);
  ASSERT_TRUE(files.FileExists(kList));
  // Its own guard gives the window back, but not one its line cannot tell from another window;
  // without a list there is nothing to do.
  Open(8, kWsExToolWindow);
  files.files[kList] += "+ 8 0x0\r\n";
  TaskbarButtons guard(windows, files, files.ProgramFolder(), 100);
  guard.GiveBackForOwner();
  EXPECT_EQ(Style(7), kWsExAppWindow);
  EXPECT_EQ(Style(8), kWsExToolWindow);
  EXPECT_FALSE(files.FileExists(kList));
  const int writes = Writes();
  guard.GiveBackForOwner();
  EXPECT_EQ(Writes(), writes);
}

TEST_F(TaskbarButtonsTest, TheListFollowsEveryChangeAndStaysSmall) {
  files.files[kList] = "+ 999 0x0\r\n";  // an earlier run's, replaced by this run's first change
  std::mt19937 random(11);
  long changes = 0;
  for (int step = 0; step < 5000; ++step) {
    const WindowHandle window = 100 + static_cast<WindowHandle>(random() % 64);
    files.failWrites = random() % 50 == 0;
    const TakenWindows before = taskbar.Taken();
    if (random() % 2 == 0) {
      if (!world.desktop().Window(window))
        Open(window, static_cast<std::int32_t>(random() % 4) * kAcceptFiles);
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
    EXPECT_LE(std::count(list->second.begin(), list->second.end(), '\n'), 2 * taskbar.Taken().size() + 18);
  }
  // Writing grows with the changes, never with their square.
  EXPECT_LT(files.bytesWritten, changes * 200);
}

}  // namespace
}  // namespace wendrel
