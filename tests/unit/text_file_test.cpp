#include "platform/text_file.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace wendrel {
namespace {

// Cyrillic, Greek and Chinese: none of them has a byte in Windows-1252.
const std::string kRussian = "\xD0\x9D\xD0\xBE\xD0\xB2\xD0\xBE\xD1\x81\xD1\x82\xD0\xB8";  // Новости
const std::string kGreek = "\xCE\x95\xCE\xB9\xCE\xB4\xCE\xAE\xCF\x83\xCE\xB5\xCE\xB9\xCF\x82";  // Ειδήσεις
const std::string kChinese = "\xE6\x96\xB0\xE9\x97\xBB";                                        // 新闻

TEST(TextFile, CodePageTextIsWrittenAsBeforeOtherTextAsUtf8WithAMarkAndMalformedTextReadsReplaced) {
  const Windows1252 codePage;
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(CharacterCount(codePage.ToUtf8(all)), 256u);
  EXPECT_EQ(codePage.FromUtf8(codePage.ToUtf8(all)), all);
  EXPECT_EQ(codePage.ToUtf8("\x80\xE9\x9F"), "\xE2\x82\xAC\xC3\xA9\xC5\xB8");  // € é Ÿ
  EXPECT_EQ(codePage.FromUtf8("a" + kChinese), std::nullopt);
  EXPECT_EQ(codePage.FromUtf8("\xC3"), std::nullopt);  // malformed UTF-8 is not code-page text
  const std::string options = "\"DEFAULT\",\"**UNKNOWN**\",#TRUE#,8\r\n\"Default Group\"\r\n";
  EXPECT_EQ(EncodeTextFile(options, codePage), options);
  EXPECT_EQ(EncodeTextFile("Caf\xC3\xA9,http://caf\xC3\xA9.fr/\r\n", codePage),
            "Caf\xE9,http://caf\xE9.fr/\r\n");
  EXPECT_EQ(EncodeTextFile("", codePage), "");
  EXPECT_EQ(DecodeTextFile("Caf\xE9\r\n", codePage), "Caf\xC3\xA9\r\n");
  // Emoji lie beyond the basic plane; code-page text that looks like the mark is stored as UTF-8.
  for (const std::string& text :
       {kRussian, kGreek, kChinese, "Caf\xC3\xA9 " + kGreek + ",\r\n", std::string("\xF0\x9F\x98\x80 smile"),
        std::string("\xC3\xAF\xC2\xBB\xC2\xBFname")}) {
    const std::string bytes = EncodeTextFile(text, codePage);
    EXPECT_EQ(bytes, std::string(kUtf8Bom) + text);
    EXPECT_EQ(DecodeTextFile(bytes, codePage), text);
  }
  // Malformed UTF-8 reads with replacement characters.
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(DecodeTextFile(std::string(kUtf8Bom) + "a\xC3(\xE6\x96\r\n\xED\xA0\x80\xF8z\xC0\xAF", codePage),
            "a" + r + "(" + r + r + "\r\n" + r + r + r + r + "z" + r + r);
}

TEST(TextFile, AppendKeepsTheFilesFormUnlessTheTextNeedsUtf8AndReadsOnlyItsFirstBytes) {
  const Windows1252 codePage;
  // A new file takes the form its first text needs.
  TextAppend append = AppendTextFile(std::nullopt, "\r\nA,http://a/\r\n", codePage);
  EXPECT_TRUE(append.rewrite);
  EXPECT_EQ(append.bytes, "\r\nA,http://a/\r\n");
  // Code-page text goes at the end of a code-page file, in the code page.
  append = AppendTextFile(std::string_view("A,http://a/\r\n"), "\r\nB,http://caf\xC3\xA9/\r\n", codePage);
  EXPECT_FALSE(append.rewrite);
  EXPECT_EQ(append.bytes, "\r\nB,http://caf\xE9/\r\n");
  // Text the code page cannot hold turns the whole file into UTF-8, old lines included.
  append =
      AppendTextFile(std::string_view("Caf\xE9,http://a/\r\n"), "\r\n" + kGreek + ",http://b/\r\n", codePage);
  EXPECT_TRUE(append.rewrite);
  EXPECT_EQ(append.bytes,
            std::string(kUtf8Bom) + "Caf\xC3\xA9,http://a/\r\n\r\n" + kGreek + ",http://b/\r\n");
  // A UTF-8 file takes UTF-8 at its end, whatever the text.
  const std::string utf8File = std::string(kUtf8Bom) + kChinese + ",x\r\n";
  append = AppendTextFile(std::string_view(utf8File), "\r\nCaf\xC3\xA9,y\r\n", codePage);
  EXPECT_FALSE(append.rewrite);
  EXPECT_EQ(append.bytes, "\r\nCaf\xC3\xA9,y\r\n");
  // Three bytes tell the form: appending costs the text, not the file.
  EXPECT_EQ(AppendBytes(std::string_view("A,h"), "B,http://caf\xC3\xA9/\r\n", codePage),
            "B,http://caf\xE9/\r\n");
  EXPECT_EQ(AppendBytes(std::string_view(kUtf8Bom), kGreek + "\r\n", codePage), kGreek + "\r\n");
  EXPECT_EQ(AppendBytes(std::nullopt, kGreek, codePage), std::string(kUtf8Bom) + kGreek);
  // Only a code-page file that now needs UTF-8 asks for the whole file.
  EXPECT_EQ(AppendBytes(std::string_view("A,h"), kGreek, codePage), std::nullopt);
}

}  // namespace
}  // namespace wendrel
