#include <gtest/gtest.h>

#include "platform/utf8.h"
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
  // Control characters would split lists and lines.
  for (std::string bad :
       {std::string("a\tb"), std::string("a\rb"), std::string("a\nb"), std::string("a\0b", 3)})
    EXPECT_FALSE(IsValidName(bad));
}

TEST(IsPlainFileName, RefusesWhatCannotBeAFileInsideTheGroupsFolder) {
  for (const char* bad : {"", "..\\x", "a/b", "C:x", "a:stream", "*", "what?", "<a>", "a|b", "say \"hi\"",
                          "dots.", ".", "..", "trailing ", "tab\there"}) {
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  }
  EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
  // Device names, with or without an extension, in any case.
  for (const char* bad :
       {"CON", "con.txt", "Nul", "PRN", "aux .wdx", "COM0", "COM1", "lpt9.wdx", "LPT0", "CONIN$", "conout$.x",
        "COM\xC2\xB9", "com\xC2\xB2.txt", "LPT\xC2\xB3", "lpt\xC2\xB9"}) {
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  }
  for (const char* good : {"COM", "COM10", "Console", "CONIN", "LPT\xC2\xB4", "COM\xC2\xB9x", "NULL"}) {
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  }
}

TEST(IsPlainFileName, AcceptsNamesThatAreOnlyRefusedAsTypedNames) {
  // A default group edited into the options file needs only to be a file name.
  for (const char* good : {"A,B", "Bob's", "semi;colon", " leading", "A.B", "a..b", "Caf\xC3\xA9"}) {
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  }
  std::string typed = "A,B";
  EXPECT_FALSE(IsValidName(typed));
}

TEST(Utf16Length, CountsCodeUnitsAsWindowsDoes) {
  EXPECT_EQ(Utf16Length(""), 0u);
  EXPECT_EQ(Utf16Length("abc"), 3u);
  EXPECT_EQ(Utf16Length("Caf\xC3\xA9"), 4u);               // e acute: one unit
  EXPECT_EQ(Utf16Length("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);  // two CJK characters
  EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);          // beyond the basic plane: a pair
}

TEST(GroupFile, FirstCommaSplitsAndLinesWithoutOneAreSkipped) {
  const auto entries = ParseGroupFile("Home,h/x\r\n\r\nno comma\r\nx,y,z\r\n,rest\r\nend,\r\n");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], (SiteRef{"Home", "h/x"}));
  EXPECT_EQ(entries[1], (SiteRef{"x", "y,z"}));
  EXPECT_EQ(entries[2], (SiteRef{"", "rest"}));
  EXPECT_EQ(entries[3], (SiteRef{"end", ""}));
}

TEST(GroupFile, ATabInsideALineStaysInThatLinesSite) {
  const auto entries = ParseGroupFile("A\tB,http://a/\tx\r\nC,http://c/\r\nlast,http://l/");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (SiteRef{"A\tB", "http://a/\tx"}));
  EXPECT_EQ(entries[1], (SiteRef{"C", "http://c/"}));
  EXPECT_EQ(entries[2], (SiteRef{"last", "http://l/"}));
}

TEST(GroupFile, EntriesEndAtCrLfOrALoneCr) {
  const auto entries = ParseGroupFile("a,1\rb,2\r\nc,3\nd,4");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1], (SiteRef{"b", "2"}));
  EXPECT_EQ(entries[2], (SiteRef{"c", "3\nd,4"}));
}

}  // namespace
}  // namespace wendrel
