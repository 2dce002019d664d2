// Shared by the libFuzzer targets: the entry point hands the target's FuzzText its input, and a
// failed check stops the fuzzer with its reason (libFuzzer keeps the input that broke it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline void FuzzCheck(bool holds, const char* what, const char* file, int line) {
  if (!holds) std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what), std::abort();
}
#define FUZZ_CHECK(condition) FuzzCheck(condition, #condition, __FILE__, __LINE__)

void FuzzText(const std::string& text);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzText(std::string(reinterpret_cast<const char*>(data), size)), 0;
}
