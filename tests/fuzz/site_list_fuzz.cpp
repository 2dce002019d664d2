// What a group file's text opens: one site per entry line, in file order, the short name
// trimmed of spaces and the URL exactly as written, whatever characters the lines hold (a tab
// or a comma inside a URL changes no other site).
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "platform/utf8.h"
#include "store/groups.h"

namespace {

using Sites = std::vector<std::pair<std::string, std::string>>;

// The road from the file's text to the sites handed to the browser opener, as the program
// takes it when it opens a group.
Sites SitesOpenedFrom(const std::string& text) {
  Sites sites;
  for (const wendrel::SiteRef& site : wendrel::ParseGroupFile(text)) {
    sites.emplace_back(std::string(wendrel::TrimSpaces(site.shortName)), std::string(site.url));
  }
  return sites;
}

// The oracle: lines end at CR LF or a lone CR; an entry is a line with a comma.
Sites ExpectedSites(const std::string& text) {
  Sites expected;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\r', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (const size_t comma = line.find(','); comma != std::string::npos) {
      expected.emplace_back(std::string(wendrel::TrimSpaces(line.substr(0, comma))), line.substr(comma + 1));
    }
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Sites sites = SitesOpenedFrom(text);
  const Sites expected = ExpectedSites(text);
  FUZZ_CHECK(sites.size() == expected.size());
  for (size_t i = 0; i < sites.size(); ++i) {
    FUZZ_CHECK(sites[i].first == expected[i].first);
    FUZZ_CHECK(sites[i].second == expected[i].second);
  }
  return 0;
}
