// The group routines and the program's files folder on the simulated desktop.
#include <gtest/gtest.h>

#include "store/files_folder.h"
#include "support/test_world.h"

namespace wendrel::sim {
namespace {

class Desktop : public ::testing::Test {
 protected:
  Desktop()
      : world_(::testing::UnitTest::GetInstance()->current_test_info()->name(), false),
        desktop_(world_.desktop()) {}

  Program& Start() {
    Program& program = world_.Start();
    desktop_.Wait(100);
    return program;
  }
  int Count(const std::string& line) const { return world_.Occurrences(line + "\n"); }

  test::SimWorld world_;
  SimDesktop& desktop_;
};

TEST_F(Desktop, ClosingWalksTheBrowsersOnceKeepsTheOtherTabsAndRetriesARefusedQuitOnce) {
  std::vector<WindowHandle> windows{102, 103, 999};
  for (int i = 0; i < 300; ++i) {
    desktop_.OpenWindow(101 + i, "http://site" + std::to_string(i) + ".example.com/", "");
    if (i > 3) windows.insert(windows.begin(), 101 + i);  // the last window first
  }
  desktop_.AddFault(103, WindowFault::kQuit);
  Program& program = Start();
  program.strip().SelectTab(2);
  const std::int64_t before = desktop_.BrowserCalls();
  program.groups().CloseWindows(windows);
  // One enumeration, one handle read and one quit per window (a refused one twice): no walk per window.
  EXPECT_LE(desktop_.BrowserCalls() - before, 2 * 300 + 4);
  EXPECT_EQ(Count("browser 102 quit"), 1);
  EXPECT_EQ(Count("browser 103 quit failed"), 2);
  TabStrip& tabs = program.strip().Tabs();
  ASSERT_EQ(tabs.Count(), 2);
  EXPECT_EQ(tabs.At(1).Key, "H101");
  EXPECT_EQ(tabs.At(2).Key, "H104");
  EXPECT_EQ(tabs.SelectedIndex(), 2);  // the tab after the removed selected one
  EXPECT_TRUE(program.strip().Watching());
}

TEST_F(Desktop, AGroupsFilePathMayHave259CodeUnitsAndNoMore) {
  GroupFiles& groups = Start().groupFiles();
  // The folder, "\Groups\" and ".WDX" around the name.
  const size_t around = world_.Folder().size() + 8 + 4;
  ASSERT_LT(around, 200u);
  const std::string fits(259 - around, 'a');
  EXPECT_EQ(groups.GroupFilePath(fits).size(), 259u);
  EXPECT_THROW(groups.GroupFilePath(fits + "a"), PlatformError);
  // Windows counts UTF-16 code units: an e acute is one, though it takes two bytes here.
  std::string accented;
  for (size_t i = 0; i < fits.size(); ++i) accented += "\xC3\xA9";
  EXPECT_NO_THROW(groups.GroupFilePath(accented));
  EXPECT_THROW(groups.GroupFilePath(accented + "\xC3\xA9"), PlatformError);
  EXPECT_THROW(groups.GroupFilePath("..\\x"), PlatformError);
  EXPECT_THROW(groups.GroupFilePath("COM\xC2\xB3"), PlatformError);
}

TEST_F(Desktop, AReadOnlyProgramFolderMovesTheFilesToAppDataOnceAndForAll) {
  SimFileSystem& files = desktop_.files();
  files.SetLocalAppData("AppData");
  EXPECT_EQ(ChooseFilesFolder(files).path, world_.Folder());  // a folder that can be written stays
  files.AddReadOnlyFolder(".");
  EXPECT_EQ(Start().filesFolder().path, world_.Folder() + "\\AppData\\Wendrel");
  // The next start reads the folder it chose and says nothing more; the files beside the
  // program are not read again.
  world_.Stop();
  world_.transcript().str("");
  files.Put("Wendrel.CFG", "\"BESIDE\",\"x\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n");
  files.Put("AppData/Wendrel/Wendrel.CFG",
            "\"MOVED\",\"x\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n");
  EXPECT_EQ(Start().options().DefaultGroup, "MOVED");
  EXPECT_EQ(world_.transcript().str().find("cannot write in its own folder"), std::string::npos);
}

}  // namespace
}  // namespace wendrel::sim
