// The group-file reader on any text: its entries are views of the text's own lines, and they
// survive being written out again the way the program writes them.
#include "fuzz_check.h"
#include "store/groups.h"

void FuzzText(const std::string& text) {
  const auto entries = wendrel::ParseGroupFile(text);
  std::string written;
  for (const auto& [shortName, url] : entries) {
    FUZZ_CHECK(shortName.data() >= text.data() && url.data() + url.size() <= text.data() + text.size());
    FUZZ_CHECK(shortName.find(',') == std::string::npos);
    FUZZ_CHECK(shortName.find('\r') == std::string::npos && url.find('\r') == std::string::npos);
    written += std::string(shortName) + "," + std::string(url) + "\r\n";
  }
  FUZZ_CHECK(wendrel::ParseGroupFile(written) == entries);
}
