// The Wendrel.ini reader on any bytes: what it reads is written and read back unchanged, and the
// lines it does not know survive the writing.
#include "fuzz_check.h"
#include "store/settings.h"

void FuzzText(const std::string& text) {
  const wendrel::SettingsText read = wendrel::ParseSettings(text);
  const std::string written = wendrel::SerializeSettings(read.settings, read);
  const wendrel::SettingsText again = wendrel::ParseSettings(written);
  FUZZ_CHECK(again.settings == read.settings);
  FUZZ_CHECK(again.unreadable.empty() || !read.unreadable.empty());
  FUZZ_CHECK(wendrel::SerializeSettings(again.settings, again) == written);
}
