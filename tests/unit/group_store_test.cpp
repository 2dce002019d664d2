// The group routines and the dialogs on the simulated desktop: closing many tabs walks the
// browsers once, and the input boxes get texts that a pass running while they are up cannot free.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/control_names.h"
#include "dialog/options_dialog.h"
#include "platform/sim/sim_desktop.h"
#include "program.h"
#include "store/files_folder.h"

namespace wendrel::sim {
namespace {

constexpr char kQuietOptions[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n";

// Runs a hook inside the next input box before the box reads its default text, as a pass may
// run while a real box is up; every default text the boxes showed is kept.
class PromptsWithPass : public IPrompts {
 public:
  explicit PromptsWithPass(IPrompts& inner) : inner_(inner) {}
  Answer MessageBox(const std::string& text, Buttons buttons, const std::string& title) override {
    return inner_.MessageBox(text, buttons, title);
  }
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override {
    if (whileUp) std::exchange(whileUp, nullptr)();
    defaults.push_back(defaultText);
    return inner_.InputBox(prompt, title, defaultText);
  }
  std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) override {
    return inner_.PopupMenu(menu);
  }

  std::function<void()> whileUp;
  std::vector<std::string> defaults;

 private:
  IPrompts& inner_;
};

class Desktop : public ::testing::Test {
 protected:
  Desktop()
      : folder_(std::filesystem::temp_directory_path() /
                ("wendrel-unit-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                 std::to_string(::getpid()))),
        desktop_(transcript_, (std::filesystem::create_directories(folder_), folder_.string())),
        prompts_(desktop_.platform().prompts) {
    desktop_.files().Put("Wendrel.CFG", kQuietOptions);
  }
  ~Desktop() override {
    program_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  Program& Start() {
    const Platform base = desktop_.platform();
    program_ = std::make_unique<Program>(Platform{base.windows, base.strip, base.tabStrip, base.timer,
                                                  base.shell, base.tray, prompts_, base.files, base.dialogs,
                                                  base.appWindows, base.programs, base.signIn});
    program_->Start();
    desktop_.Wait(100);
    return *program_;
  }

  int Count(const std::string& line) const {
    std::istringstream lines(transcript_.str());
    int count = 0;
    for (std::string l; std::getline(lines, l);) count += l == line ? 1 : 0;
    return count;
  }

  std::filesystem::path folder_;
  std::ostringstream transcript_;
  SimDesktop desktop_;
  PromptsWithPass prompts_;
  std::unique_ptr<Program> program_;
};

TEST_F(Desktop, ClosingManyTabsWalksTheBrowsersOnce) {
  constexpr int kWindows = 300;
  std::vector<WindowHandle> windows;
  for (int i = 0; i < kWindows; ++i) {
    desktop_.OpenWindow(1000 + i, "http://site" + std::to_string(i) + ".example.com/", "");
    windows.insert(windows.begin(), 1000 + i);  // the last window first
  }
  Program& program = Start();
  ASSERT_EQ(program.strip().Tabs().Count(), kWindows);
  const std::int64_t before = desktop_.BrowserCalls();
  program.groups().CloseWindows(windows);
  // One enumeration, one handle read and one quit per window: no walk per window.
  EXPECT_LE(desktop_.BrowserCalls() - before, 2 * kWindows + 2);
  EXPECT_EQ(program.strip().Tabs().Count(), 0);
  EXPECT_TRUE(desktop_.Collection().empty());
}

TEST_F(Desktop, ClosingKeepsTheOtherTabsAndRetriesARefusedQuitOnce) {
  for (const WindowHandle window : {101, 102, 103, 104}) desktop_.OpenWindow(window, "http://a.b/", "");
  desktop_.AddFault(103, WindowFault::kQuit);
  Program& program = Start();
  program.strip().SelectTab(2);
  const std::vector<WindowHandle> closing = {102, 103, 999};
  program.groups().CloseWindows(closing);
  EXPECT_EQ(Count("browser 102 quit"), 1);
  EXPECT_EQ(Count("browser 103 quit failed"), 2);
  TabStrip& tabs = program.strip().Tabs();
  ASSERT_EQ(tabs.Count(), 2);
  EXPECT_EQ(tabs.At(1).Key, "H101");
  EXPECT_EQ(tabs.At(2).Key, "H104");
  EXPECT_EQ(tabs.SelectedIndex(), 2);  // the tab after the removed selected one
  EXPECT_EQ(desktop_.SelectedTabView(), 2);
  EXPECT_EQ(desktop_.TabViews().size(), 2u);
  EXPECT_TRUE(program.strip().Watching());
  EXPECT_TRUE(desktop_.TimerEnabled());
  EXPECT_EQ(desktop_.TimerInterval(), 100);
}

TEST_F(Desktop, TheTabPagesShortNameBoxKeepsItsTextWhenAPassRefillsTheGrid) {
  desktop_.OpenWindow(101, "http://one.example.com/a", "");
  Program& program = Start();
  program.dialog().Show("T");
  OptionsDialog& dialog = *program.dialog().Loaded();
  dialog.GridClick(controls::kTabsGrid, 1);
  prompts_.whileUp = [this] {
    for (int i = 0; i < 20; ++i) desktop_.OpenWindow(200 + i, "http://more.example.com/", "");
    desktop_.Wait(500);  // the pass refills the grid while the box is up
  };
  dialog.Click(controls::kNameSelectedTab);
  ASSERT_EQ(prompts_.defaults.size(), 1u);
  EXPECT_EQ(prompts_.defaults[0], "http://one.example.com/a");
}

TEST_F(Desktop, TheActiveTabsShortNameBoxKeepsItsTextWhenAPassAddsTabs) {
  desktop_.OpenWindow(101, "http://one.example.com/a", "");
  Program& program = Start();
  const std::string caption = program.strip().Tabs().At(1).Caption;
  prompts_.whileUp = [this] {
    for (int i = 0; i < 20; ++i) desktop_.OpenWindow(200 + i, "http://more.example.com/", "");
    desktop_.Wait(500);  // the pass adds tabs while the box is up
  };
  desktop_.QueueAnswer(ScriptedAnswer{ScriptedAnswer::Kind::kMenu, Answer::kOk, "nameActiveTab"});
  program.trayMenu().ShowTrayMenu();
  ASSERT_EQ(prompts_.defaults.size(), 1u);
  EXPECT_EQ(prompts_.defaults[0], caption);
}

TEST_F(Desktop, AGroupsFilePathMayHave259CodeUnitsAndNoMore) {
  Program& program = Start();
  GroupFiles& groups = program.groupFiles();
  // The folder, "\Groups\" and ".WDX" around the name.
  const size_t around = folder_.string().size() + 8 + 4;
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

TEST_F(Desktop, APassThatRaisesATabReadsItAfreshWithinThreeCallsPerWindow) {
  constexpr int kWindows = 100;
  for (int i = 0; i < kWindows; ++i) desktop_.OpenWindow(1000 + i, "http://a.example.com/", "");
  Program& program = Start();
  desktop_.OpenWindow(5000, "http://new.example.com/", "");
  const std::int64_t before = desktop_.BrowserCalls();
  program.strip().Reconcile();  // adds the new window's tab and raises it
  EXPECT_EQ(program.strip().Tabs().SelectedIndex(), kWindows + 1);
  EXPECT_LE(desktop_.BrowserCalls() - before, 3 * (kWindows + 1) + 3);
}

TEST_F(Desktop, AReadOnlyProgramFolderMovesTheFilesToAppDataOnceCopyingNeverMoving) {
  SimFileSystem& files = desktop_.files();
  files.Put("Groups/Work.WDX", "Mail,http://mail.example.com/\r\n");
  files.SetLocalAppData("AppData");
  // Where the program's folder can be written nothing changes.
  EXPECT_EQ(ChooseFilesFolder(files).path, folder_.string());
  files.AddReadOnlyFolder(".");
  const auto told = [this] {
    return static_cast<int>(transcript_.str().find("cannot write in its own folder") != std::string::npos);
  };
  Program& first = Start();
  EXPECT_EQ(first.filesFolder().path, folder_.string() + "\\AppData\\Wendrel");
  EXPECT_EQ(told(), 1);
  EXPECT_EQ(files.Peek("AppData/Wendrel/Wendrel.CFG"), kQuietOptions);
  EXPECT_EQ(files.Peek("AppData/Wendrel/Groups/Work.WDX"), "Mail,http://mail.example.com/\r\n");
  EXPECT_EQ(files.Peek("Groups/Work.WDX"), "Mail,http://mail.example.com/\r\n");
  // The next start reads the folder it chose and says nothing more; the files beside the
  // program are not read again.
  program_.reset();
  transcript_.str("");
  files.Put("Wendrel.CFG", "\"BESIDE\",\"x\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n");
  files.Put("AppData/Wendrel/Wendrel.CFG",
            "\"MOVED\",\"x\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,8\r\n");
  EXPECT_EQ(Start().options().DefaultGroup, "MOVED");
  EXPECT_EQ(told(), 0);
}

}  // namespace
}  // namespace wendrel::sim
