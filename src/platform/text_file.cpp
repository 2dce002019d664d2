#include "platform/text_file.h"

#include <array>

#include "platform/utf8.h"

namespace wendrel {
namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the unassigned ones stand for themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool StartsWithBom(std::string_view bytes) { return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom; }

std::string WithBom(std::string_view utf8) { return std::string(kUtf8Bom) + ValidUtf8(utf8); }

}  // namespace

std::string Windows1252::ToUtf8(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80u] : char32_t{b});
  }
  return out;
}

std::optional<std::string> Windows1252::FromUtf8(std::string_view utf8) const {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const size_t start = at;
    const char32_t c = NextCharacter(utf8, at);
    if (c == kReplacementCharacter && at - start == 1) return std::nullopt;  // malformed
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    bool found = false;
    for (size_t i = 0; i < kHighControls.size() && !found; ++i) {
      if (kHighControls[i] == c) {
        out += static_cast<char>(0x80 + i);
        found = true;
      }
    }
    if (!found) return std::nullopt;
  }
  return out;
}

std::string EncodeTextFile(std::string_view utf8, const ICodePage& codePage) {
  const std::optional<std::string> narrow = codePage.FromUtf8(utf8);
  // Code-page text that happens to begin with the mark's bytes would read back as UTF-8.
  if (narrow && !StartsWithBom(*narrow)) return *narrow;
  return WithBom(utf8);
}

std::string DecodeTextFile(std::string_view bytes, const ICodePage& codePage) {
  if (StartsWithBom(bytes)) return ValidUtf8(bytes.substr(kUtf8Bom.size()));
  return codePage.ToUtf8(bytes);
}

std::optional<std::string> AppendBytes(std::optional<std::string_view> head, std::string_view utf8,
                                       const ICodePage& codePage) {
  if (!head || head->empty()) return EncodeTextFile(utf8, codePage);
  if (StartsWithBom(*head)) return ValidUtf8(utf8);
  return codePage.FromUtf8(utf8);
}

TextAppend AppendTextFile(std::optional<std::string_view> existing, std::string_view utf8,
                          const ICodePage& codePage) {
  const bool whole = !existing || existing->empty();
  const auto head = existing ? std::optional(existing->substr(0, kTextFileHeadSize)) : std::nullopt;
  if (std::optional<std::string> bytes = AppendBytes(head, utf8, codePage)) return {whole, std::move(*bytes)};
  return {true, WithBom(codePage.ToUtf8(*existing) + std::string(utf8))};
}

std::string AppendedTextFile(std::optional<std::string_view> existing, std::string_view utf8,
                             const ICodePage& codePage) {
  TextAppend append = AppendTextFile(existing, utf8, codePage);
  if (append.rewrite) return std::move(append.bytes);
  return std::string(*existing) + append.bytes;
}

}  // namespace wendrel
