// What every fuzz target shares: a check that stops the run with a message, so
// that libFuzzer records the input as a finding, and the way option bits map to
// packing options.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "pack_document.h"

#define FUZZ_CHECK(condition, what)                                              \
  do {                                                                           \
    if (!(condition)) {                                                          \
      std::fprintf(stderr, "%s:%d: %s (%s)\n", __FILE__, __LINE__, what, #condition); \
      std::abort();                                                              \
    }                                                                            \
  } while (0)

namespace fuzz {

// The two low bits of `bits` switch string encoding and renaming on.
inline pack::PackOptions OptionsFrom(uint8_t bits) {
  pack::PackOptions options;
  options.encodeStrings = (bits & 1) != 0;
  options.changeVariableNames = (bits & 2) != 0;
  return options;
}

}  // namespace fuzz
