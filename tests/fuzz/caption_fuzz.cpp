// The caption rule on any URL and width: it never fails, leaves a URL that fits alone, and a
// shortened caption is a piece of the URL of the width asked for, followed by "..".
#include <cstring>

#include "fuzz_check.h"
#include "strip/caption.h"

void FuzzText(const std::string& text) {
  if (text.size() < 2) return;
  // The first two bytes give the width, signed, so that small and negative widths come up often.
  std::int16_t raw = 0;
  std::memcpy(&raw, text.data(), sizeof raw);
  const std::int32_t width = raw > 30000 ? INT32_MAX : raw;
  const std::string url = text.substr(2);
  const std::string caption = wendrel::CaptionFromURL(url, width);
  const std::int64_t w = width < 0 ? 0 : width;
  // Characters counted as UTF-8 sequences: never more than the bytes.
  std::int64_t characters = 0;
  for (const char c : caption) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  FUZZ_CHECK(caption == url || characters <= w + 2);
  const bool shortened = caption.ends_with("..") && caption != url && url.find(caption) == std::string::npos;
  const std::string piece = shortened ? caption.substr(0, caption.size() - 2) : caption;
  FUZZ_CHECK(url.find(piece) != std::string::npos);
  bool ascii = true;
  for (const char c : url) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    if (static_cast<std::int64_t>(url.size()) <= w) FUZZ_CHECK(caption == url);
    if (shortened) FUZZ_CHECK(static_cast<std::int64_t>(piece.size()) == w);
    FUZZ_CHECK(static_cast<std::int64_t>(caption.size()) <= w + 2 || caption == url);
  }
  FUZZ_CHECK(wendrel::CaptionFromURL(url, width) == caption);  // nothing but its inputs counts
}
