#include "platform/win32/text.h"

#include <algorithm>
#include <optional>

namespace wendrel::win32 {
namespace {

// The conversion calls take int lengths; longer text is converted in pieces that never split a
// UTF-8 sequence or a surrogate pair.
constexpr size_t kPiece = 1u << 24;

size_t Utf8Piece(std::string_view text) {
  if (text.size() <= kPiece) return text.size();
  size_t end = kPiece;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) --end;
  return end;
}

size_t WidePiece(std::wstring_view text) {
  if (text.size() <= kPiece) return text.size();
  return (text[kPiece - 1] >= 0xD800 && text[kPiece - 1] <= 0xDBFF) ? kPiece - 1 : kPiece;
}

std::wstring ToWide(UINT codePage, DWORD flags, std::string_view bytes) {
  std::wstring wide;
  while (!bytes.empty()) {
    const size_t piece = codePage == CP_UTF8 ? Utf8Piece(bytes) : std::min(bytes.size(), kPiece);
    const int in = static_cast<int>(piece);
    const int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), in, nullptr, 0);
    const size_t at = wide.size();
    wide.resize(at + static_cast<size_t>(length));
    if (length > 0) ::MultiByteToWideChar(codePage, flags, bytes.data(), in, wide.data() + at, length);
    bytes.remove_prefix(piece);
  }
  return wide;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, 0, utf8); }

std::string Narrow(std::wstring_view wide) {
  std::string text;
  while (!wide.empty()) {
    const size_t piece = WidePiece(wide);
    const int in = static_cast<int>(piece);
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, nullptr, 0, nullptr, nullptr);
    const size_t at = text.size();
    text.resize(at + static_cast<size_t>(length));
    if (length > 0)
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, text.data() + at, length, nullptr, nullptr);
    wide.remove_prefix(piece);
  }
  return text;
}

std::string AnsiCodePage::ToUtf8(std::string_view bytes) const { return Narrow(ToWide(CP_ACP, 0, bytes)); }

std::optional<std::string> AnsiCodePage::FromUtf8(std::string_view utf8) const {
  // A system whose code page is UTF-8 holds every text as it is.
  if (::GetACP() == CP_UTF8) return std::string(utf8);
  const std::wstring wide = Widen(utf8);
  std::string bytes;
  std::wstring_view rest = wide;
  while (!rest.empty()) {
    const size_t piece = WidePiece(rest);
    const int in = static_cast<int>(piece);
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, rest.data(), in, nullptr, 0,
                                             nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    const size_t at = bytes.size();
    bytes.resize(at + static_cast<size_t>(length));
    if (length > 0) {
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, rest.data(), in, bytes.data() + at, length, nullptr,
                            &usedDefault);
    }
    if (usedDefault) return std::nullopt;
    rest.remove_prefix(piece);
  }
  // Malformed UTF-8 has become U+FFFD, which no 8-bit code page holds; the round trip shows it.
  if (ToUtf8(bytes) != utf8) return std::nullopt;
  return bytes;
}

}  // namespace wendrel::win32
