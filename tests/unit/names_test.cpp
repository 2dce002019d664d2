#include <gtest/gtest.h>

#include "store/groups.h"

namespace wendrel {
namespace {

TEST(IsValidName, TrimsInPlaceAndRefusesTheSeparators) {
  std::string name = "  Work  ";
  EXPECT_TRUE(IsValidName(name));
  EXPECT_EQ(name, "Work");
  std::string blanks = "   ";
  EXPECT_FALSE(IsValidName(blanks));
  EXPECT_EQ(blanks, "");
  for (std::string bad : {";Work", "Wo:rk", "Work'", "a,b", "say \"hi\""})
    EXPECT_FALSE(IsValidName(bad)) << bad;
  std::string inner = "My Work";
  EXPECT_TRUE(IsValidName(inner));
}

TEST(IsValidName, RefusesControlCharactersThatWouldSplitListsAndLines) {
  for (std::string bad :
       {std::string("a\tb"), std::string("a\rb"), std::string("a\nb"), std::string("a\0b", 3)})
    EXPECT_FALSE(IsValidName(bad));
}

TEST(IsValidGroupName, RefusesNamesThatCouldEscapeTheFolderOrOpenADevice) {
  for (std::string bad : {"..\\x", "a/b", "*", "what?", "<a>", "a|b", "dots.", "CON", "con.txt", "Nul",
                          "COM1", "lpt9.wdx", "aux "}) {
    EXPECT_FALSE(IsValidGroupName(bad)) << bad;
  }
  for (std::string good : {"COM", "COM10", "Console", "A.B", "LPT0", " Work "}) {
    EXPECT_TRUE(IsValidGroupName(good)) << good;
  }
}

TEST(NextField, TakesFieldsUntilTheTextIsEmpty) {
  std::string rest = "one\t two ";
  EXPECT_EQ(NextField(rest, "\t"), "one");
  EXPECT_EQ(rest, " two ");
  EXPECT_EQ(NextField(rest, "\t"), "two");
  EXPECT_EQ(rest, "");
  std::string kept = " a \tb";
  EXPECT_EQ(NextField(kept, "\t"), " a ");
}

TEST(GroupFile, FirstCommaSplitsAndLinesWithoutOneAreSkipped) {
  const auto entries = ParseGroupFile("Home,h/x\r\n\r\nno comma\r\nx,y,z\r\n,rest\r\nend,\r\n");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], std::make_pair(std::string("Home"), std::string("h/x")));
  EXPECT_EQ(entries[1], std::make_pair(std::string("x"), std::string("y,z")));
  EXPECT_EQ(entries[2], std::make_pair(std::string(""), std::string("rest")));
  EXPECT_EQ(entries[3], std::make_pair(std::string("end"), std::string("")));
}

TEST(GroupFile, LinesEndAtCrLfOrALoneCr) {
  EXPECT_EQ(SplitLines("a\r\nb\rc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\nb\r\n"), (std::vector<std::string>{"a\nb"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
}

}  // namespace
}  // namespace wendrel
