// The options reader on any text: it never fails other than by its error text, and every
// record it reads is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "store/options.h"

namespace {

// The writer puts string values between double quotes without escaping, so only values free
// of quotes can come back.
bool Writable(const wendrel::Options& options) {
  return options.DefaultGroup.find('"') == std::string::npos &&
         options.DefaultName.find('"') == std::string::npos;
}

void CheckRoundTrip(const wendrel::Options& options) {
  const std::string text = wendrel::SerializeOptions(options);
  wendrel::Options again;
  again.DefaultGroup = "?";  // every field must come from the text
  again.CaptionWidth = -12345;
  again.MultiLine = !options.MultiLine;
  FUZZ_CHECK(!wendrel::ParseOptions(text, again).has_value());
  FUZZ_CHECK(again == options);
  FUZZ_CHECK(wendrel::SerializeOptions(again) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  wendrel::Options options;
  const auto error = wendrel::ParseOptions(text, options);
  if (error) FUZZ_CHECK(!error->empty());
  if (Writable(options)) CheckRoundTrip(options);
  return 0;
}
