// How the program's text files are stored: text the system code page can hold is written in
// that code page, exactly as older versions wrote it; any other text is written as UTF-8
// behind a byte-order mark. Readers take both.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wendrel {

// The system's 8-bit code page.
class ICodePage {
 public:
  ICodePage() = default;
  ICodePage(const ICodePage&) = delete;
  ICodePage& operator=(const ICodePage&) = delete;
  virtual ~ICodePage() = default;

  // The code page's bytes as UTF-8.
  virtual std::string ToUtf8(std::string_view bytes) const = 0;
  // The text in the code page, or nothing when some character has no byte of its own there.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
};

// Windows-1252 (Western European), with the five bytes it leaves unassigned standing for the
// control characters of the same value, as Windows converts them: every byte round-trips.
class Windows1252 final : public ICodePage {
 public:
  std::string ToUtf8(std::string_view bytes) const override;
  std::optional<std::string> FromUtf8(std::string_view utf8) const override;
};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The bytes of a file holding the text.
std::string EncodeTextFile(std::string_view utf8, const ICodePage& codePage);
// The text of a file's bytes: UTF-8 after a byte-order mark, the code page otherwise.
// Malformed UTF-8 reads as U+FFFD.
std::string DecodeTextFile(std::string_view bytes, const ICodePage& codePage);

// What appending text to a file takes: bytes added at its end when the file's own form can hold
// the text, or else the whole file written anew (a code-page file that now needs UTF-8).
struct TextAppend {
  bool rewrite = false;
  std::string bytes;
};
// How many bytes of a file's beginning tell its form.
inline constexpr size_t kTextFileHeadSize = 3;
// The bytes that append the text to a file beginning with `head` (its first bytes, at most
// kTextFileHeadSize; nothing when the file does not exist yet), or nothing when the whole file
// must be written anew. Appending then costs the text, not the file.
std::optional<std::string> AppendBytes(std::optional<std::string_view> head, std::string_view utf8,
                                       const ICodePage& codePage);
// `existing` is the file's content, nothing when the file does not exist yet.
TextAppend AppendTextFile(std::optional<std::string_view> existing, std::string_view utf8,
                          const ICodePage& codePage);
// The whole file once the text is appended: every byte `existing` holds, as it is, then the
// text in the file's form; or, when the code page cannot hold the text of a code-page file,
// the file anew in UTF-8.
std::string AppendedTextFile(std::optional<std::string_view> existing, std::string_view utf8,
                             const ICodePage& codePage);

}  // namespace wendrel
