#include "strip/caption.h"

#include "platform/utf8.h"

namespace wendrel {

// Lengths count characters, not bytes: a caption is never cut inside a character. "//" and "."
// are found bytewise, as no byte of a longer UTF-8 sequence is ASCII.
std::string CaptionFromURL(const std::string& url, std::int32_t width) {
  // A negative width shortens as a width of zero would: the caption is never longer than
  // the text it comes from plus "..".
  const size_t w = width < 0 ? 0 : static_cast<size_t>(width);
  if (CharacterCount(url) <= w) return url;
  std::string s = url;
  const size_t slashes = url.find("//");
  if (slashes != std::string::npos) {
    s = url.substr(slashes + 2);
    const size_t dot = s.find('.');
    if (dot != std::string::npos) s = s.substr(dot + 1);
  }
  if (CharacterCount(s) > w + 2) s = std::string(FirstCharacters(s, w)) + "..";
  return s;
}

}  // namespace wendrel
