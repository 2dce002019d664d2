// The caption rule on any URL and width: it never fails, leaves a URL that fits alone, and a
// shortened caption is a piece of the URL of the width asked for, followed by "..".
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "strip/caption.h"

namespace {

// Characters counted as UTF-8 sequences; for text in a one-byte code page that is one per
// byte except where bytes happen to form a sequence, never more than the bytes.
std::int64_t Characters(const std::string& text) {
  std::int64_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

bool IsAscii(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes give the width, as a signed number, so that small and negative widths
  // come up often; the rest is the URL.
  std::int16_t raw = 0;
  std::memcpy(&raw, data, sizeof raw);
  const std::int32_t width = raw > 30000 ? INT32_MAX : raw;
  const std::string url(reinterpret_cast<const char*>(data) + 2, size - 2);

  const std::string caption = wendrel::CaptionFromURL(url, width);
  const std::int64_t w = width < 0 ? 0 : width;

  FUZZ_CHECK(caption == url || Characters(caption) <= w + 2);
  const bool shortened = caption.size() >= 2 && caption.ends_with("..") && caption != url &&
                         url.find(caption) == std::string::npos;
  const std::string piece = shortened ? caption.substr(0, caption.size() - 2) : caption;
  FUZZ_CHECK(url.find(piece) != std::string::npos);
  if (IsAscii(url)) {
    const auto length = static_cast<std::int64_t>(url.size());
    if (length <= w) FUZZ_CHECK(caption == url);
    if (shortened) FUZZ_CHECK(static_cast<std::int64_t>(piece.size()) == w);
    FUZZ_CHECK(static_cast<std::int64_t>(caption.size()) <= w + 2 || caption == url);
  }
  // The caption depends on nothing but its inputs.
  FUZZ_CHECK(wendrel::CaptionFromURL(url, width) == caption);
  return 0;
}
