#include "strip/caption.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(CaptionFromURL, ShortensAfterTheHostsFirstLabel) {
  EXPECT_EQ(CaptionFromURL("http://aaa.bbbbbbb.cc/dd", 8), "bbbbbbb...");
  EXPECT_EQ(CaptionFromURL("http://intranet/", 8), "intranet/");
  EXPECT_EQ(CaptionFromURL("abcdefghijk", 8), "abcdefgh..");
  EXPECT_EQ(CaptionFromURL("http://a.b", 8), "b");
  EXPECT_EQ(CaptionFromURL("*", 8), "*");
  EXPECT_EQ(CaptionFromURL("abcdefgh", 8), "abcdefgh");
}

TEST(CaptionFromURL, NegativeWidthShortensAsZeroWould) {
  EXPECT_EQ(CaptionFromURL("http://www.example.com/", -5), "..");
  EXPECT_EQ(CaptionFromURL("ab", -1), "ab");
  EXPECT_EQ(CaptionFromURL("", -1), "");
}

}  // namespace
}  // namespace wendrel
