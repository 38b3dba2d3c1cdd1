// Helpers for tables of input text and expected packed text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "pack_document.h"

namespace testutil {

inline pack::PackOptions NoStages() { return {false, false}; }

// Packs UTF-8 (or ASCII) JavaScript and returns the packed bytes.
inline std::string Pack(std::string_view input, const pack::PackOptions& options = NoStages()) {
  const pack::PackResult result = pack::PackDocument(input, options);
  return result.bytes;
}

// One row of a table: the input packs to `expected`, and the expected text is
// stable (packing it again leaves it unchanged).
inline void ExpectPacked(std::string_view input, std::string_view expected,
                         const pack::PackOptions& options = NoStages()) {
  SCOPED_TRACE(testing::Message() << "input: " << input);
  EXPECT_EQ(Pack(input, options), expected);
  if (!expected.empty()) {
    EXPECT_EQ(Pack(expected, options), expected) << "not stable";
  }
}

struct Row {
  const char* input;
  const char* expected;
};

}  // namespace testutil
