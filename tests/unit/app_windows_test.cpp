#include "store/app_windows.h"

#include <gtest/gtest.h>

#include "store/settings.h"

namespace wendrel {
namespace {

TEST(BrowserWindowRules, TitleLosesOnlyItsBrowsersSuffix) {
  EXPECT_EQ(WithoutBrowserSuffix("Inbox - Google Chrome"), "Inbox");
  EXPECT_EQ(WithoutBrowserSuffix("Nachrichten - Persönlich - Microsoft\xE2\x80\x8B Edge"),
            "Nachrichten - Persönlich");
  EXPECT_EQ(WithoutBrowserSuffix("新标签页 - Microsoft Edge"), "新标签页");
  EXPECT_EQ(WithoutBrowserSuffix("Über — Mozilla Firefox"), "Über");
  EXPECT_EQ(WithoutBrowserSuffix("Docs - Brave"), "Docs");
  EXPECT_EQ(WithoutBrowserSuffix("Google Chrome"), "Google Chrome");
  EXPECT_EQ(WithoutBrowserSuffix("main.cpp - Code"), "main.cpp - Code");
}

TEST(BrowserWindowRules, HttpsGoesBeforeAnAddressWithoutScheme) {
  EXPECT_EQ(AddressWithScheme("example.com/a?b=1"), "https://example.com/a?b=1");
  EXPECT_EQ(AddressWithScheme("localhost:8080/x"), "https://localhost:8080/x");
  EXPECT_EQ(AddressWithScheme(" http://a.example/ "), "http://a.example/");
  EXPECT_EQ(AddressWithScheme("edge://settings"), "edge://settings");
  // Digits, "+", "-" and "." may follow a scheme's first letter.
  EXPECT_EQ(AddressWithScheme("chrome-extension://abc/options.html"), "chrome-extension://abc/options.html");
  EXPECT_EQ(AddressWithScheme("about:blank"), "about:blank");
  EXPECT_EQ(AddressWithScheme("  "), "");
}

TEST(BrowserWindowRules, OnlyListedBrowsersVisibleFramesCount) {
  const Settings settings;
  AppWindowFacts frame{201, "Chrome_WidgetWin_1", "Chrome.EXE", "Inbox - Google Chrome", true, false, false,
                       0};
  EXPECT_TRUE(CountsAsBrowserWindow(frame, settings, false));
  // Full screen: no caption, no frame, still a browser window.
  frame.exStyle = 0x8;
  EXPECT_TRUE(CountsAsBrowserWindow(frame, settings, false));
  const auto with = [&](auto change) {
    AppWindowFacts facts = frame;
    change(facts);
    return CountsAsBrowserWindow(facts, settings, false);
  };
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.imageName = "code.exe"; }));
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.className = "Chrome_WidgetWin_2"; }));
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.owned = true; }));
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.cloaked = true; }));
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.visible = false; }));
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.title = "Picture in picture"; }));
  EXPECT_FALSE(with([](AppWindowFacts& f) { f.exStyle = 0x80; }));
  frame.exStyle = 0x80;
  EXPECT_TRUE(CountsAsBrowserWindow(frame, settings, true));
  EXPECT_EQ(ImageNameOf("C:\\Program Files\\Mozilla Firefox\\firefox.exe"), "firefox.exe");
}

}  // namespace
}  // namespace wendrel
