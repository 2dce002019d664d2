// What a group file's text opens: one site per entry line, in file order, the short name trimmed
// of spaces and the URL exactly as written, whatever the lines hold (a tab or a comma inside a URL
// changes no other site). The oracle: lines end at CR LF or a lone CR; an entry is a line with a
// comma.
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "platform/utf8.h"
#include "store/groups.h"

void FuzzText(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> sites, expected;
  for (const wendrel::SiteRef& site : wendrel::ParseGroupFile(text))
    sites.emplace_back(std::string(wendrel::TrimSpaces(site.shortName)), std::string(site.url));
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\r', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (const size_t comma = line.find(','); comma != std::string::npos)
      expected.emplace_back(std::string(wendrel::TrimSpaces(line.substr(0, comma))), line.substr(comma + 1));
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  FUZZ_CHECK(sites == expected);
}
