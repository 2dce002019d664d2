// The one place where the program's UTF-8 text meets the system's UTF-16, and the system's
// 8-bit code page for the program's files.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_file.h"
#include "platform/win32/win.h"

namespace wendrel::win32 {

// UTF-8 to UTF-16; malformed UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);

// The system's ANSI code page (CP_ACP), without best-fit substitutes: a character the code page
// has no byte for makes the whole text not representable.
class AnsiCodePage final : public ICodePage {
 public:
  std::string ToUtf8(std::string_view bytes) const override;
  std::optional<std::string> FromUtf8(std::string_view utf8) const override;
};

}  // namespace wendrel::win32
