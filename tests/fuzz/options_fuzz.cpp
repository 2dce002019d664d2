// The options reader on any text: it never fails other than by its error text, and every record
// it reads whose strings hold no quote (the writer does not escape them) is written and read back
// unchanged.
#include "fuzz_check.h"
#include "store/options.h"

void FuzzText(const std::string& text) {
  wendrel::Options options;
  if (const auto error = wendrel::ParseOptions(text, options)) FUZZ_CHECK(!error->empty());
  if (options.DefaultGroup.find('"') != std::string::npos ||
      options.DefaultName.find('"') != std::string::npos)
    return;
  const std::string written = wendrel::SerializeOptions(options);
  wendrel::Options again{.MultiLine = !options.MultiLine, .DefaultGroup = "?", .CaptionWidth = -12345};
  FUZZ_CHECK(!wendrel::ParseOptions(written, again).has_value());
  FUZZ_CHECK(again == options);
  FUZZ_CHECK(wendrel::SerializeOptions(again) == written);
}
