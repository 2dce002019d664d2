#include "store/settings.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(SettingsFileFormat, ReadsBlanksBomCaseAndListsLeavingTheRestAtDefaults) {
  const SettingsText read = ParseSettings(
      "\xEF\xBB\xBF  trackbrowsers\t=  NO \r\nBrowsers = Chrome.exe,firefox.exe  code.exe\r\n"
      "; a remark\r\nSitesAsTabs=yes");
  EXPECT_TRUE(read.byteOrderMark);
  EXPECT_TRUE(read.unreadable.empty());
  EXPECT_FALSE(read.settings.TrackBrowsers);
  EXPECT_TRUE(read.settings.SitesAsTabs);
  EXPECT_TRUE(read.settings.ReadAddresses);
  EXPECT_EQ(read.settings.OpenIn, OpenInChoice::kDefault);
  EXPECT_EQ(read.settings.Browsers, (std::vector<std::string>{"Chrome.exe", "firefox.exe", "code.exe"}));
  EXPECT_TRUE(read.settings.IsListedBrowser("CHROME.EXE"));
  EXPECT_FALSE(read.settings.IsListedBrowser("msedge.exe"));
  EXPECT_EQ(ParseSettings("").settings, Settings{});
}

TEST(SettingsFileFormat, AnUnreadableValueIsNamedAndKeepsItsDefault) {
  const SettingsText read = ParseSettings(
      "OpenIn=shell\nOpenIn=browser\nReadAddresses=maybe\nSitesAsTabs=yes\n"
      "Browsers=C:\\x\\chrome.exe\n");
  EXPECT_EQ(read.unreadable, (std::vector<std::string>{"OpenIn", "ReadAddresses", "Browsers"}));
  EXPECT_EQ(read.settings.OpenIn, OpenInChoice::kDefault);
  EXPECT_TRUE(read.settings.ReadAddresses);
  EXPECT_EQ(read.settings.Browsers, Settings{}.Browsers);
  EXPECT_TRUE(read.settings.SitesAsTabs);
}

TEST(SettingsFileFormat, WritingKeepsUnknownLinesInPlaceAndAddsMissingKeys) {
  SettingsText read = ParseSettings("Theme = dark\r\nsitesastabs=no\nZoom=2\n");
  read.settings.SitesAsTabs = true;
  read.settings.OpenIn = OpenInChoice::kShell;
  EXPECT_EQ(SerializeSettings(read.settings, read),
            "Theme = dark\r\nSitesAsTabs=yes\r\nZoom=2\r\nTrackBrowsers=yes\r\nReadAddresses=yes\r\n"
            "OpenIn=shell\r\nBrowsers=msedge.exe chrome.exe brave.exe vivaldi.exe opera.exe firefox.exe\r\n"
            "StartWithWindows=no\r\n");
}

TEST(SettingsFileFormat, SetSettingRefusesWhatItCannotRead) {
  Settings settings;
  EXPECT_TRUE(SetSetting(settings, "Browsers", " a.exe , b.exe "));
  EXPECT_EQ(SettingValue(settings, "browsers"), "a.exe b.exe");
  EXPECT_FALSE(SetSetting(settings, "TrackBrowsers", "on"));
  EXPECT_FALSE(SetSetting(settings, "Colour", "red"));
  EXPECT_TRUE(settings.TrackBrowsers);
}

}  // namespace
}  // namespace wendrel
