// The simulated file system answers hostile names as Windows would: with a PlatformError and a
// description, never with an exception of its own, and never outside the program's folder.
#include "platform/sim/sim_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_world.h"

namespace wendrel::sim {
namespace {

class SimFilesTest : public ::testing::Test {
 protected:
  SimFilesTest()
      : root_("simfiles"),
        files_((std::filesystem::create_directories(Root() / "dir"), (Root() / "dir").string())) {}
  std::filesystem::path Root() const { return root_.Path(); }
  std::string Path(const std::string& relative) { return files_.ProgramFolder() + "\\" + relative; }

  // The description of the PlatformError an operation throws, or "" when it succeeds.
  template <typename Operation>
  static std::string FailureOf(Operation operation) {
    try {
      operation();
    } catch (const PlatformError& error) {
      return error.Description();
    }
    return "";
  }

  test::TempFolder root_;
  SimFileSystem files_;
};

TEST_F(SimFilesTest, NamesWindowsRefusesFailEveryOperationWithADescription) {
  files_.Put("Groups/ok.WDX", "a,b\r\n");
  for (const std::string& name :
       {std::string(300, 'L'), std::string("a<b"), std::string("a|b"), std::string("a?b"), std::string("a*b"),
        std::string("tab\there"), std::string("nul\0in", 6),
        std::string(4000, 'x') + "\\" + std::string(4000, 'y')}) {
    SCOPED_TRACE(name.substr(0, 20));
    const std::string path = Path("Groups\\" + name + ".WDX");
    EXPECT_NE(FailureOf([&] { files_.ReadFile(path); }), "");
    EXPECT_NE(FailureOf([&] { files_.ReplaceFile(path, "x,y\r\n"); }), "");
    EXPECT_NE(FailureOf([&] { files_.AppendFile(path, "x,y\r\n"); }), "");
    EXPECT_NE(FailureOf([&] { files_.DeleteFile(path); }), "");
    EXPECT_NE(FailureOf([&] { files_.CreateFolder(Path(name)); }), "");
    EXPECT_FALSE(files_.FileExists(path));
    EXPECT_TRUE(files_.ListFiles(Path(name), ".WDX").empty());
  }
  EXPECT_EQ(files_.ListFiles(Path("Groups"), ".WDX"), std::vector<std::string>{"ok.WDX"});
}

TEST_F(SimFilesTest, NamesUpToTheLimitAndOddButAllowedCharactersWork) {
  files_.CreateFolder(Path("Groups"));
  for (const std::string& name :
       {std::string(251, 'L'), std::string("a b.c d"), std::string("\xC3\xA9t\xC3\xA9"),
        std::string("#%&()[]{}!~"), std::string(" lead")}) {
    SCOPED_TRACE(name);
    const std::string path = Path("GROUPS\\" + name + ".WDX");
    EXPECT_EQ(FailureOf([&] { files_.ReplaceFile(path, "x,y\r\n"); }), "");
    EXPECT_EQ(files_.ReadFile(path), "x,y\r\n");
    EXPECT_TRUE(files_.FileExists(path));
    EXPECT_EQ(FailureOf([&] { files_.DeleteFile(path); }), "");
  }
}

TEST_F(SimFilesTest, DotDotStaysInsideTheProgramFolder) {
  files_.Put("Wendrel.CFG", "cfg");
  EXPECT_EQ(files_.ReadFile(Path("Groups\\..\\Wendrel.CFG")), "cfg");
  // There is nothing above the program's folder on the simulated desktop.
  EXPECT_EQ(FailureOf([&] { files_.ReplaceFile(Path("..\\outside.WDX"), "x"); }), "Path not found");
  EXPECT_EQ(FailureOf([&] { files_.ReadFile(Path("Groups\\..\\..\\dir\\Wendrel.CFG")); }), "Path not found");
  EXPECT_FALSE(std::filesystem::exists(Root() / "outside.WDX"));
}

}  // namespace
}  // namespace wendrel::sim
