// The readers of the options file and of Wendrel.ini.
#include "store/options.h"

#include <gtest/gtest.h>

#include "store/settings.h"

namespace wendrel {
namespace {

TEST(OptionsFileFormat, ReadsEveryValueInFileOrderAndStopsAtTheFirstThatDoesNotFit) {
  const auto parse = [](const std::string& text, bool complete) {
    Options options;
    EXPECT_EQ(ParseOptions(text, options).has_value(), !complete) << text;
    return OptionsLine(options);
  };
  EXPECT_EQ(parse("\"Work\",\"Untitled\",#FALSE#,#FALSE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,12\r\n", true),
            "\"Work\",\"Untitled\",#FALSE#,#FALSE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,12");
  // A short file keeps the defaults for the rest and reports it.
  EXPECT_EQ(parse("\"Home\",\"Blank\",#FALSE#,#FALSE#\r\n\"header\"\r\n", false),
            "\"Home\",\"Blank\",#FALSE#,#FALSE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,8");
  EXPECT_EQ(parse("\"A\",\"B\",maybe,#FALSE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#,3\r\n", false),
            "\"A\",\"B\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,8");
  EXPECT_EQ(parse("\"A\",\"B\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,99999999999\r\n", false),
            "\"A\",\"B\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,8");
  // Blanks and unquoted strings are tolerated; extra values and lines are dropped; a quoted comma stays.
  EXPECT_EQ(parse("  Work ,  \"Name\" , #true#,#False#,TRUE,false,#TRUE#,#FALSE#, 7 \r\n", true),
            "\"Work\",\"Name\",#TRUE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,#FALSE#,7");
  EXPECT_EQ(
      parse("\"X, Y\",\"Y\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,-3,\"more\",stuff\r\njunk", true),
      "\"X, Y\",\"Y\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,-3");
}

TEST(SettingsFileFormat, ReadsBlanksBomCaseAndListsNamingWhatItCannotRead) {
  SettingsText read = ParseSettings(
      "\xEF\xBB\xBF  trackbrowsers\t=  NO \r\nBrowsers = Chrome.exe,firefox.exe  code.exe\r\n; a remark\r\n"
      "SitesAsTabs=yes\nOpenIn=browser\nReadAddresses=maybe");
  EXPECT_TRUE(read.byteOrderMark);
  EXPECT_EQ(read.unreadable, (std::vector<std::string>{"OpenIn", "ReadAddresses"}));
  EXPECT_FALSE(read.settings.TrackBrowsers);
  EXPECT_TRUE(read.settings.SitesAsTabs);
  EXPECT_TRUE(read.settings.ReadAddresses);
  EXPECT_EQ(read.settings.OpenIn, OpenInChoice::kDefault);
  EXPECT_TRUE(read.settings.IsListedBrowser("CHROME.EXE"));
  EXPECT_FALSE(read.settings.IsListedBrowser("msedge.exe"));
  EXPECT_EQ(ParseSettings("Browsers=C:\\x\\chrome.exe").settings, Settings{});
  // Writing keeps unknown lines in place and adds missing keys.
  read = ParseSettings("Theme = dark\r\nsitesastabs=no\nZoom=2\n");
  read.settings.SitesAsTabs = true;
  EXPECT_TRUE(SetSetting(read.settings, "OpenIn", "shell"));
  EXPECT_TRUE(SetSetting(read.settings, "Browsers", " a.exe , b.exe "));
  EXPECT_FALSE(SetSetting(read.settings, "TrackBrowsers", "on"));
  EXPECT_FALSE(SetSetting(read.settings, "Colour", "red"));
  EXPECT_EQ(SerializeSettings(read.settings, read),
            "Theme = dark\r\nSitesAsTabs=yes\r\nZoom=2\r\nTrackBrowsers=yes\r\nReadAddresses=yes\r\n"
            "OpenIn=shell\r\nBrowsers=a.exe b.exe\r\nStartWithWindows=no\r\n");
}

}  // namespace
}  // namespace wendrel
