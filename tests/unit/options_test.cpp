#include "store/options.h"

#include <gtest/gtest.h>

#include <random>

namespace wendrel {
namespace {

const char kDefaultFile[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,8\r\n"
    "\"Default Group Default Name MultiLine ConfirmGroup LeaveOnExit SaveOnExit ShowWarnings StartGroup "
    "CaptionWidth\"\r\n";

TEST(OptionsFileFormat, DefaultsSerializeByteForByte) {
  EXPECT_EQ(SerializeOptions(Options{}), kDefaultFile);
}

TEST(OptionsFileFormat, ReadsEveryValueInFileOrder) {
  Options options;
  const auto error =
      ParseOptions("\"Work\",\"Untitled\",#FALSE#,#FALSE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,12\r\n", options);
  EXPECT_FALSE(error);
  EXPECT_EQ(options.DefaultGroup, "Work");
  EXPECT_EQ(options.DefaultName, "Untitled");
  EXPECT_FALSE(options.MultiLine);
  EXPECT_FALSE(options.ConfirmGroup);
  EXPECT_FALSE(options.LeaveOnExit);
  EXPECT_TRUE(options.SaveOnExit);
  EXPECT_FALSE(options.ShowWarnings);
  EXPECT_TRUE(options.StartGroup);
  EXPECT_EQ(options.CaptionWidth, 12);
}

TEST(OptionsFileFormat, ShortFileKeepsDefaultsForTheRestAndReportsIt) {
  Options options;
  const auto error = ParseOptions("\"Home\",\"Blank\",#FALSE#,#FALSE#\r\n\"header\"\r\n", options);
  ASSERT_TRUE(error);
  EXPECT_EQ(options.DefaultGroup, "Home");
  EXPECT_EQ(options.DefaultName, "Blank");
  EXPECT_FALSE(options.MultiLine);
  EXPECT_FALSE(options.ConfirmGroup);
  EXPECT_TRUE(options.LeaveOnExit);
  EXPECT_TRUE(options.SaveOnExit);
  EXPECT_TRUE(options.ShowWarnings);
  EXPECT_FALSE(options.StartGroup);
  EXPECT_EQ(options.CaptionWidth, 8);
}

TEST(OptionsFileFormat, StopsAtAValueThatDoesNotFitItsField) {
  Options options;
  EXPECT_TRUE(ParseOptions("\"A\",\"B\",maybe,#FALSE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#,3\r\n", options));
  EXPECT_EQ(options.DefaultGroup, "A");
  EXPECT_TRUE(options.MultiLine);
  EXPECT_TRUE(options.ConfirmGroup);
  Options wide;
  EXPECT_TRUE(ParseOptions("\"A\",\"B\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,99999999999\r\n", wide));
  EXPECT_EQ(wide.CaptionWidth, 8);
}

TEST(OptionsFileFormat, QuotedValueKeepsItsCommaAndExtraTextIsDropped) {
  Options options;
  options.DefaultGroup = "Work, Home";
  options.CaptionWidth = -3;
  const std::string written = SerializeOptions(options);
  Options read;
  EXPECT_FALSE(ParseOptions(written + "trailing junk\r\n", read));
  EXPECT_EQ(read, options);

  Options extra;
  EXPECT_FALSE(
      ParseOptions("\"X\",\"Y\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,0,\"more\",stuff\r\n", extra));
  EXPECT_EQ(OptionsLine(extra), "\"X\",\"Y\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,0");
}

TEST(OptionsFileFormat, ToleratesBlanksAndUnquotedStrings) {
  Options options;
  EXPECT_FALSE(
      ParseOptions("  Work ,  \"Name\" , #true#,#False#,TRUE,false,#TRUE#,#FALSE#, 7 \r\n", options));
  EXPECT_EQ(options.DefaultGroup, "Work");
  EXPECT_EQ(options.DefaultName, "Name");
  EXPECT_TRUE(options.MultiLine);
  EXPECT_FALSE(options.ConfirmGroup);
  EXPECT_EQ(options.CaptionWidth, 7);
}

TEST(OptionsFileFormat, EverythingWrittenReadsBackUnchanged) {
  std::mt19937 random(7);
  const std::string alphabet = "abcXYZ 019,#*-_.!()";
  for (int round = 0; round < 500; ++round) {
    Options options;
    auto text = [&] {
      std::string s;
      const int length = static_cast<int>(random() % 12);
      for (int i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
      return s;
    };
    options.DefaultGroup = text();
    options.DefaultName = text();
    options.MultiLine = random() % 2 != 0;
    options.ShowWarnings = random() % 2 != 0;
    options.CaptionWidth = static_cast<std::int32_t>(random());
    Options read;
    ASSERT_FALSE(ParseOptions(SerializeOptions(options), read)) << SerializeOptions(options);
    ASSERT_EQ(read, options) << SerializeOptions(options);
  }
}

}  // namespace
}  // namespace wendrel
