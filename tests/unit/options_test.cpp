#include "store/options.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace wendrel {
namespace {

const char kDefaultFile[] =
    "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,8\r\n"
    "\"Default Group Default Name MultiLine ConfirmGroup LeaveOnExit SaveOnExit ShowWarnings StartGroup "
    "CaptionWidth\"\r\n";

TEST(OptionsFileFormat, DefaultsSerializeByteForByte) {
  EXPECT_EQ(SerializeOptions(Options{}), kDefaultFile);
}

// The record in the order of the file's line.
Options Read(const std::string& group, const std::string& name, std::vector<bool> flags, std::int32_t width) {
  return Options{.MultiLine = flags[0],
                 .LeaveOnExit = flags[2],
                 .SaveOnExit = flags[3],
                 .ShowWarnings = flags[4],
                 .StartGroup = flags[5],
                 .ConfirmGroup = flags[1],
                 .DefaultGroup = group,
                 .DefaultName = name,
                 .CaptionWidth = width};
}

TEST(OptionsFileFormat, ReadsEveryValueInFileOrderAndStopsAtTheFirstThatDoesNotFit) {
  Options options;
  EXPECT_FALSE(
      ParseOptions("\"Work\",\"Untitled\",#FALSE#,#FALSE#,#FALSE#,#TRUE#,#FALSE#,#TRUE#,12\r\n", options));
  EXPECT_EQ(options, Read("Work", "Untitled", {false, false, false, true, false, true}, 12));
  // A short file keeps the defaults for the rest and reports it.
  options = Options{};
  EXPECT_TRUE(ParseOptions("\"Home\",\"Blank\",#FALSE#,#FALSE#\r\n\"header\"\r\n", options));
  EXPECT_EQ(options, Read("Home", "Blank", {false, false, true, true, true, false}, 8));
  options = Options{};
  EXPECT_TRUE(ParseOptions("\"A\",\"B\",maybe,#FALSE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#,3\r\n", options));
  EXPECT_EQ(options, Read("A", "B", {true, true, true, true, true, false}, 8));
  options = Options{};
  EXPECT_TRUE(ParseOptions("\"A\",\"B\",#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,99999999999\r\n", options));
  EXPECT_EQ(options.CaptionWidth, 8);
  // Blanks and unquoted strings are tolerated.
  options = Options{};
  EXPECT_FALSE(
      ParseOptions("  Work ,  \"Name\" , #true#,#False#,TRUE,false,#TRUE#,#FALSE#, 7 \r\n", options));
  EXPECT_EQ(options, Read("Work", "Name", {true, false, true, false, true, false}, 7));
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
