// Shared by the libFuzzer targets: a check that stops the fuzzer with a readable reason (the input
// that broke it is kept), and the entry point, which hands the target's FuzzText its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

void FuzzText(const std::string& text);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
