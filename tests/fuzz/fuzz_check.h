// What every fuzz target shares: a check that stops the run with a message, so
// that libFuzzer records the input as a finding, the way option bits map to
// packing options, and raw UTF-16 input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

// Bytes as UTF-16 code units, two bytes each, low byte first: the form that
// reaches lone surrogates, U+2028 and any NUL.
inline std::u16string RawUnits(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                    (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  }
  return text;
}

}  // namespace fuzz
