// The group-file reader on any text: lines and entries survive being written out again the
// way the program writes them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "store/groups.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const auto lines = wendrel::SplitLines(text);
  std::string joined;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find('\r') == std::string::npos);
    joined += line + "\r\n";
  }
  FUZZ_CHECK(wendrel::SplitLines(joined) == lines);
  FUZZ_CHECK(joined.size() <= text.size() + 2 * lines.size());

  const auto entries = wendrel::ParseGroupFile(text);
  FUZZ_CHECK(entries.size() <= lines.size());
  std::string written;
  for (const auto& [shortName, url] : entries) {
    FUZZ_CHECK(shortName.find(',') == std::string::npos);
    FUZZ_CHECK(shortName.find('\r') == std::string::npos && url.find('\r') == std::string::npos);
    written += shortName + "," + url + "\r\n";
  }
  FUZZ_CHECK(wendrel::ParseGroupFile(written) == entries);
  return 0;
}
