// The Wendrel.ini reader on any bytes: what it reads is written and read back unchanged, and the
// lines it does not know survive the writing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "store/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const wendrel::SettingsText read = wendrel::ParseSettings(bytes);
  const std::string written = wendrel::SerializeSettings(read.settings, read);
  const wendrel::SettingsText again = wendrel::ParseSettings(written);
  FUZZ_CHECK(again.settings == read.settings);
  FUZZ_CHECK(again.unreadable.empty() || !read.unreadable.empty());
  FUZZ_CHECK(wendrel::SerializeSettings(again.settings, again) == written);
  return 0;
}
