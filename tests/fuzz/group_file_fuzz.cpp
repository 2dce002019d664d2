// The group-file reader on any text: its entries are views of the text's own lines, and they
// survive being written out again the way the program writes them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "store/groups.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const auto entries = wendrel::ParseGroupFile(text);
  FUZZ_CHECK(entries.size() <= text.size());
  std::string written;
  for (const auto& [shortName, url] : entries) {
    // Views into the text itself, never past its end.
    FUZZ_CHECK(shortName.data() >= text.data() && url.data() + url.size() <= text.data() + text.size());
    FUZZ_CHECK(shortName.find(',') == std::string::npos);
    FUZZ_CHECK(shortName.find('\r') == std::string::npos && url.find('\r') == std::string::npos);
    written += std::string(shortName) + "," + std::string(url) + "\r\n";
  }
  const auto again = wendrel::ParseGroupFile(written);
  FUZZ_CHECK(again.size() == entries.size());
  for (size_t i = 0; i < again.size(); ++i) {
    FUZZ_CHECK(again[i].shortName == entries[i].shortName && again[i].url == entries[i].url);
  }
  return 0;
}
