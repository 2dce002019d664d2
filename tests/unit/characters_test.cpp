// The caption rule, and text as UTF-8 inside the program: lengths and cuts count characters,
// never bytes.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "strip/caption.h"

namespace wendrel {
namespace {

TEST(CaptionFromURL, ShortensAfterTheHostsFirstLabel) {
  EXPECT_EQ(CaptionFromURL("http://aaa.bbbbbbb.cc/dd", 8), "bbbbbbb...");
  EXPECT_EQ(CaptionFromURL("http://intranet/", 8), "intranet/");
  EXPECT_EQ(CaptionFromURL("abcdefghijk", 8), "abcdefgh..");
  EXPECT_EQ(CaptionFromURL("http://a.b", 8), "b");
  EXPECT_EQ(CaptionFromURL("*", 8), "*");
  EXPECT_EQ(CaptionFromURL("abcdefgh", 8), "abcdefgh");
  // A negative width shortens as zero would.
  EXPECT_EQ(CaptionFromURL("http://www.example.com/", -5), "..");
  EXPECT_EQ(CaptionFromURL("ab", -1), "ab");
  EXPECT_EQ(CaptionFromURL("", -1), "");
}

TEST(Characters, CountAndCutWholeCharacters) {
  const std::string mixed = "a\xC3\xA9\xE6\x96\xB0\xF0\x9F\x98\x80z";  // a é 新 😀 z
  EXPECT_EQ(CharacterCount(mixed), 5u);
  EXPECT_EQ(FirstCharacters(mixed, 2), "a\xC3\xA9");
  EXPECT_EQ(FirstCharacters(mixed, 3), "a\xC3\xA9\xE6\x96\xB0");
  EXPECT_EQ(FirstCharacters(mixed, 4), "a\xC3\xA9\xE6\x96\xB0\xF0\x9F\x98\x80");
  EXPECT_EQ(FirstCharacters(mixed, 99), mixed);
  // A malformed byte counts as one character of its own.
  EXPECT_EQ(CharacterCount("\xE6\x96z"), 3u);
  EXPECT_EQ(ValidUtf8("\xE6\x96z"), "\xEF\xBF\xBD\xEF\xBF\xBDz");
}

TEST(CaptionFromURL, CountsCharactersNotBytes) {
  // Eight Cyrillic letters are 16 bytes but fit a caption width of 8 whole.
  const std::string eight = "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\xD1\x8B\xD0\xB9";  // приветый
  EXPECT_EQ(CaptionFromURL(eight, 8), eight);
  // http://новости.example.ru/страница: the first label goes, then 8 characters and "..".
  const std::string url =
      "http://\xD0\xBD\xD0\xBE\xD0\xB2\xD0\xBE\xD1\x81\xD1\x82\xD0\xB8.example.ru/"
      "\xD1\x81\xD1\x82\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8\xD1\x86\xD0\xB0";
  EXPECT_EQ(CaptionFromURL(url, 8), "example...");
  // A Greek host whose rest is cut inside the Greek: whole letters only.
  const std::string greek = "http://www.\xCE\xB5\xCE\xB9\xCE\xB4\xCE\xAE\xCF\x83\xCE\xB5\xCE\xB9\xCF\x82.gr/";
  const std::string caption = CaptionFromURL(greek, 5);
  EXPECT_EQ(caption, "\xCE\xB5\xCE\xB9\xCE\xB4\xCE\xAE\xCF\x83..");
  EXPECT_EQ(ValidUtf8(caption), caption);
  // Chinese, three bytes a character: four characters are cut only when more than width + 2.
  const std::string chinese = "\xE6\x96\xB0\xE9\x97\xBB\xE7\xBD\x91\xE7\xAB\x99";  // 新闻网站
  EXPECT_EQ(CaptionFromURL(chinese, 1), "\xE6\x96\xB0..");
  EXPECT_EQ(CaptionFromURL(chinese, 2), chinese);
}

TEST(TrimSpaces, KeepsCharactersWhole) {
  EXPECT_EQ(TrimSpaces("  \xE6\x96\xB0 \xE9\x97\xBB  "), "\xE6\x96\xB0 \xE9\x97\xBB");
  // No-break space (U+00A0) is not a blank.
  EXPECT_EQ(TrimSpaces("\xC2\xA0x "), "\xC2\xA0x");
}

}  // namespace
}  // namespace wendrel
