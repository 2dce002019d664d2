#include "strip/caption.h"

namespace wendrel {

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string CaptionFromURL(const std::string& url, std::int32_t width) {
  // A negative width shortens as a width of zero would: the caption is never longer than
  // the text it comes from plus "..".
  const size_t w = width < 0 ? 0 : static_cast<size_t>(width);
  if (url.size() <= w) return url;
  std::string s = url;
  const size_t slashes = url.find("//");
  if (slashes != std::string::npos) {
    s = url.substr(slashes + 2);
    const size_t dot = s.find('.');
    if (dot != std::string::npos) s = s.substr(dot + 1);
  }
  if (s.size() > w + 2) s = s.substr(0, w) + "..";
  return s;
}

}  // namespace wendrel
