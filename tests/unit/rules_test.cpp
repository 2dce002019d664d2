// The program's rules on text and names: captions, characters, numbers, group and file names,
// what a group file's lines hold, browser windows and their titles, tab keys and removal.
#include <gtest/gtest.h>

#include <limits>

#include "dialog/options_page.h"
#include "platform/types.h"
#include "platform/utf8.h"
#include "store/app_windows.h"
#include "store/groups.h"
#include "store/settings.h"
#include "strip/caption.h"
#include "strip/strip_controller.h"
#include "strip/tab_strip.h"
#include "support/test_world.h"

namespace wendrel {
namespace {

TEST(CaptionFromURL, ShortensAfterTheHostsFirstLabelCountingCharacters) {
  EXPECT_EQ(CaptionFromURL("http://aaa.bbbbbbb.cc/dd", 8), "bbbbbbb...");
  EXPECT_EQ(CaptionFromURL("abcdefghijk", 8), "abcdefgh..");
  EXPECT_EQ(CaptionFromURL("abcdefgh", 8), "abcdefgh");
  // A negative width shortens as zero would.
  EXPECT_EQ(CaptionFromURL("http://www.example.com/", -5), "..");
  EXPECT_EQ(CaptionFromURL("ab", -1), "ab");
  // Eight Cyrillic letters are 16 bytes but fit a caption width of 8 whole.
  const std::string eight = "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\xD1\x8B\xD0\xB9";
  EXPECT_EQ(CaptionFromURL(eight, 8), eight);
  // A Greek host whose rest is cut inside the Greek: whole letters only.
  EXPECT_EQ(
      CaptionFromURL("http://www.\xCE\xB5\xCE\xB9\xCE\xB4\xCE\xAE\xCF\x83\xCE\xB5\xCE\xB9\xCF\x82.gr/", 5),
      "\xCE\xB5\xCE\xB9\xCE\xB4\xCE\xAE\xCF\x83..");
  // Chinese, three bytes a character: four characters are cut only when more than width + 2.
  const std::string chinese = "\xE6\x96\xB0\xE9\x97\xBB\xE7\xBD\x91\xE7\xAB\x99";  // 新闻网站
  EXPECT_EQ(CaptionFromURL(chinese, 1), "\xE6\x96\xB0..");
  EXPECT_EQ(CaptionFromURL(chinese, 2), chinese);
}

TEST(Characters, CountCutAndTrimWholeCharacters) {
  const std::string mixed = "a\xC3\xA9\xE6\x96\xB0\xF0\x9F\x98\x80z";  // a é 新 😀 z
  EXPECT_EQ(CharacterCount(mixed), 5u);
  EXPECT_EQ(FirstCharacters(mixed, 2), "a\xC3\xA9");
  EXPECT_EQ(FirstCharacters(mixed, 4), "a\xC3\xA9\xE6\x96\xB0\xF0\x9F\x98\x80");
  EXPECT_EQ(FirstCharacters(mixed, 99), mixed);
  // A malformed byte counts as one character of its own.
  EXPECT_EQ(CharacterCount("\xE6\x96z"), 3u);
  EXPECT_EQ(ValidUtf8("\xE6\x96z"), "\xEF\xBF\xBD\xEF\xBF\xBDz");
  EXPECT_EQ(TrimSpaces("  \xE6\x96\xB0 \xE9\x97\xBB  "), "\xE6\x96\xB0 \xE9\x97\xBB");
  EXPECT_EQ(TrimSpaces("\xC2\xA0x "), "\xC2\xA0x");  // a no-break space is not a blank
}

TEST(Numbers, CaptionWidthReadsOnlyNumberFormsAndRoundsHalfToEven) {
  for (const auto& [text, value] : {std::pair<const char*, double>{" 13.5 ", 13.5},
                                    {"\t-2\t", -2.0},
                                    {"+7", 7.0},
                                    {".5", 0.5},
                                    {"3.", 3.0},
                                    {"25E-1", 2.5},
                                    {"-1.5e+1", -15.0}})
    EXPECT_EQ(ParseNumber(text), value) << text;
  for (const char* text : {"", "   ", "twelve", "+", ".", "e5", "1e", "1e+", "12abc", "1 2", "--3", "0x10",
                           "1.2.3", "inf", "nan", "١٢"})
    EXPECT_EQ(ParseNumber(text), std::nullopt) << '"' << text << '"';
  EXPECT_EQ(RoundHalfEven(-67.5), -68);
  EXPECT_EQ(RoundHalfEven(247.6), 248);
  EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundUpToPixels(350, 15), 360);
  EXPECT_EQ(RoundUpToPixels(346, 12), 348);
}

TEST(IsValidName, TrimsInPlaceAndRefusesTheSeparatorsAndControlCharacters) {
  std::string name = "  My Work  ";
  EXPECT_TRUE(IsValidName(name));
  EXPECT_EQ(name, "My Work");
  std::string blanks = "   ";
  EXPECT_FALSE(IsValidName(blanks));
  EXPECT_EQ(blanks, "");
  for (std::string bad : {std::string(";Work"), std::string("Wo:rk"), std::string("Work'"),
                          std::string("a,b"), std::string("say \"hi\""), std::string("a\tb"),
                          std::string("a\rb"), std::string("a\nb"), std::string("a\0b", 3)})
    EXPECT_FALSE(IsValidName(bad)) << bad;
}

TEST(IsPlainFileName, RefusesOnlyWhatCannotBeAFileInsideTheGroupsFolder) {
  for (const char* bad : {"",           "..\\x",       "a/b",
                          "C:x",        "*",           "what?",
                          "<a>",        "a|b",         "say \"hi\"",
                          "dots.",      ".",           "..",
                          "trailing ",  "tab\there",   "CON",
                          "con.txt",    "Nul",         "PRN",
                          "aux .wdx",   "COM0",        "COM1",
                          "lpt9.wdx",   "LPT0",        "CONIN$",
                          "conout$.x",  "COM\xC2\xB9", "com\xC2\xB2.txt",
                          "LPT\xC2\xB3"})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
  // A default group edited into the options file needs only to be a file name.
  for (const char* good : {"COM", "COM10", "Console", "CONIN", "LPT\xC2\xB4", "COM\xC2\xB9x", "NULL", "A,B",
                           "Bob's", "semi;colon", " leading", "A.B", "a..b", "Caf\xC3\xA9"})
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  // Windows counts a name's UTF-16 code units.
  EXPECT_EQ(Utf16Length("abc"), 3u);
  EXPECT_EQ(Utf16Length("Caf\xC3\xA9"), 4u);               // e acute: one unit
  EXPECT_EQ(Utf16Length("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);  // two CJK characters
  EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);          // beyond the basic plane: a pair
}

TEST(GroupFile, FirstCommaSplitsLinesEndAtCrLfOrALoneCrAndLinesWithoutACommaAreSkipped) {
  EXPECT_EQ(ParseGroupFile("Home,h/x\r\n\r\nno comma\r\nx,y,z\r\n,rest\r\nend,\r\n"),
            (std::vector<SiteRef>{{"Home", "h/x"}, {"x", "y,z"}, {"", "rest"}, {"end", ""}}));
  EXPECT_EQ(
      ParseGroupFile("A\tB,http://a/\tx\r\nC,http://c/\rb,2\r\nc,3\nd,4"),
      (std::vector<SiteRef>{{"A\tB", "http://a/\tx"}, {"C", "http://c/"}, {"b", "2"}, {"c", "3\nd,4"}}));
}

TEST(BrowserWindowRules, TitlesAddressesAndWhichWindowsCount) {
  EXPECT_EQ(WithoutBrowserSuffix("Inbox - Google Chrome"), "Inbox");
  EXPECT_EQ(WithoutBrowserSuffix("Nachrichten - Persönlich - Microsoft\xE2\x80\x8B Edge"),
            "Nachrichten - Persönlich");
  EXPECT_EQ(WithoutBrowserSuffix("Google Chrome"), "Google Chrome");
  EXPECT_EQ(WithoutBrowserSuffix("main.cpp - Code"), "main.cpp - Code");
  // https:// goes before an address without a scheme; "+", "-", "." and digits may follow its first letter.
  EXPECT_EQ(AddressWithScheme("example.com/a?b=1"), "https://example.com/a?b=1");
  EXPECT_EQ(AddressWithScheme("localhost:8080/x"), "https://localhost:8080/x");
  EXPECT_EQ(AddressWithScheme(" http://a.example/ "), "http://a.example/");
  EXPECT_EQ(AddressWithScheme("edge://settings"), "edge://settings");
  EXPECT_EQ(AddressWithScheme("chrome-extension://abc/options.html"), "chrome-extension://abc/options.html");
  EXPECT_EQ(AddressWithScheme("about:blank"), "about:blank");
  EXPECT_EQ(AddressWithScheme("  "), "");
  // Which windows count is followed through the whole program by the browser_windows scenario;
  // full screen (no caption, no frame) is not shown there.
  const AppWindowFacts frame{
      201, "Chrome_WidgetWin_1", "chrome.exe", "Inbox - Google Chrome", true, false, false, 0x8};
  EXPECT_TRUE(CountsAsBrowserWindow(frame, Settings(), false));
  EXPECT_EQ(ImageNameOf("C:\\Program Files\\Mozilla Firefox\\firefox.exe"), "firefox.exe");
}

TEST(TabStrip, KeysAndRemovingMarkedTabsEndsAsRemovingThemOneByOne) {
  EXPECT_EQ(HandleOfKey(KeyOf(-5)), -5);
  for (const char* bad : {"H", "H12x", "H99999999999"}) EXPECT_FALSE(HandleOfKey(bad)) << bad;
  // Every subset of six tabs, with every tab selected: one sweep leaves the same tabs and the
  // same selection as removing them one at a time, from the first or from the last.
  constexpr int kTabs = 6;
  for (int mask = 0; mask < (1 << kTabs); ++mask) {
    for (int selected = 1; selected <= kTabs; ++selected) {
      for (const bool fromLast : {false, true}) {
        test::BlankTabs view;
        TabStrip swept(view), oneByOne(view);
        for (int i = 1; i <= kTabs; ++i) {
          swept.SetKey(swept.Add(), KeyOf(i));
          oneByOne.SetKey(oneByOne.Add(), KeyOf(i));
        }
        swept.Select(selected);
        oneByOne.Select(selected);
        std::vector<bool> marked;
        for (int i = 0; i < kTabs; ++i) marked.push_back((mask >> i & 1) != 0);
        swept.RemoveMarked(marked);
        for (int k = 0; k < kTabs; ++k) {
          const int i = fromLast ? kTabs - k : k + 1;
          if (marked[static_cast<size_t>(i - 1)]) oneByOne.Remove(oneByOne.Find(KeyOf(i)));
        }
        ASSERT_EQ(swept.Count(), oneByOne.Count()) << mask;
        for (int i = 1; i <= swept.Count(); ++i) EXPECT_EQ(swept.At(i).Key, oneByOne.At(i).Key);
        EXPECT_EQ(swept.SelectedIndex(), oneByOne.SelectedIndex())
            << "mask " << mask << " selected " << selected;
      }
    }
  }
}

}  // namespace
}  // namespace wendrel
