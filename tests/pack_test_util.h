// Helpers for tables of input text and expected packed text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <vector>

#include "pack_document.h"
#include "packer.h"
#include "source_text.h"

namespace testutil {

inline pack::PackOptions NoStages() { return {false, false}; }

// Packs UTF-8 sources with one packer object, running `stage` (none: null) after
// the statement ends, and returns the packed text as UTF-8.
inline std::string PackSources(const std::vector<std::string_view>& sources,
                               void (trimlet::*stage)()) {
  trimlet packer;
  int32_t index = 0;
  for (std::string_view source : sources) {
    packer.AddSource(pack::DecodeSource(source).text, index++, nullptr, pack::SourceGoal::Detect);
  }
  packer.Process();
  if (stage != nullptr) (packer.*stage)();
  return pack::EncodeOutput(packer.Output().value_or(u"<out of memory>"),
                            pack::TextEncoding::Utf8, false);
}

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

// Rows whose input, packed with `stage`, gives what the expected text gives
// packed without it: the rows are written as plain JavaScript.
inline void ExpectStageRows(const std::vector<Row>& rows, void (trimlet::*stage)()) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.input);
    const std::string expected = PackSources({row.expected}, nullptr);
    EXPECT_FALSE(expected.empty()) << "the expected text does not parse";
    EXPECT_EQ(PackSources({row.input}, stage), expected);
  }
}

}  // namespace testutil
