// The Options page takes the caption width only when its text reads as a number: blanks around it,
// an optional sign, digits with an optional decimal point, an optional exponent.
#include <gtest/gtest.h>

#include "dialog/options_page.h"

namespace wendrel {
namespace {

TEST(CaptionWidthNumber, ReadsTheNumberForms) {
  EXPECT_EQ(ParseNumber("12"), 12.0);
  EXPECT_EQ(ParseNumber("12.5"), 12.5);
  EXPECT_EQ(ParseNumber(" 13.5 "), 13.5);
  EXPECT_EQ(ParseNumber("\t-2\t"), -2.0);
  EXPECT_EQ(ParseNumber("+7"), 7.0);
  EXPECT_EQ(ParseNumber(".5"), 0.5);
  EXPECT_EQ(ParseNumber("3."), 3.0);
  EXPECT_EQ(ParseNumber("1e3"), 1000.0);
  EXPECT_EQ(ParseNumber("25E-1"), 2.5);
  EXPECT_EQ(ParseNumber("-1.5e+1"), -15.0);
  EXPECT_EQ(ParseNumber("3000000000"), 3000000000.0);
}

TEST(CaptionWidthNumber, RefusesWhatIsNoNumber) {
  for (const char* text : {"", "   ", "twelve", "+", "-", ".", "e5", "1e", "1e+", "12abc", "1 2", "--3",
                           "0x10", "1.2.3", "inf", "nan", "١٢"}) {
    EXPECT_EQ(ParseNumber(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace wendrel
