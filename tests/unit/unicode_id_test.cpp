// Identifier and space classes above ASCII: a table of code points and their
// classes, agreement with char_class.h, and tables that match node's data.
#include <gtest/gtest.h>

#include <algorithm>  // std::remove
#include <cstdint>
#include <cstdlib>     // std::system
#include <filesystem>  // std::filesystem::temp_directory_path
#include <fstream>
#include <random>      // std::random_device
#include <sstream>
#include <string>

#include "char_class.h"
#include "unicode_id.h"

namespace {

struct Row {
  char32_t cp;
  bool start;
  bool part;
  bool space;
};

const Row kRows[] = {
    // ASCII is char_class.h's; past the last code point and lone surrogates
    // there is nothing.
    {U'A', false, false, false},
    {0x110000, false, false, false},
    {0xD800, false, false, false},
    {0xDFFF, false, false, false},
    // Edges of ranges: ª, the letters around × and ÷, ˁ ˂ ˅ ˆ.
    {0x0080, false, false, false},
    {0x00A9, false, false, false},
    {0x00AA, true, true, false},
    {0x00AB, false, false, false},
    {0x00D6, true, true, false},
    {0x00D7, false, false, false},
    {0x00D8, true, true, false},
    {0x00F7, false, false, false},
    {0x02C1, true, true, false},
    {0x02C2, false, false, false},
    {0x02C5, false, false, false},
    {0x02C6, true, true, false},
    {0x4E00, true, true, false},
    {0x9FFF, true, true, false},
    // Letters past 0xFFFF: LINEAR B SYLLABLE B008 A, MATHEMATICAL BOLD CAPITAL A.
    {0x10000, true, true, false},
    {0x1D400, true, true, false},
    // Continue only: combining marks, digits of other scripts, joiners, the
    // connector ‿, a variation selector.
    {0x0300, false, true, false},
    {0x0660, false, true, false},
    {0x0966, false, true, false},
    {0xFF10, false, true, false},
    {0x1D7CE, false, true, false},
    {0x200C, false, true, false},
    {0x200D, false, true, false},
    {0x203F, false, true, false},
    {0xE0100, false, true, false},
    {0xE01F0, false, false, false},
    // Kept for old text: start (℘ ℮ ゛ ゜), continue (· · ፩ ᧚).
    {0x2118, true, true, false},
    {0x212E, true, true, false},
    {0x309B, true, true, false},
    {0x309C, true, true, false},
    {0x00B7, false, true, false},
    {0x0387, false, true, false},
    {0x1369, false, true, false},
    {0x19DA, false, true, false},
    // VERTICAL TILDE is a modifier letter, yet kept out of identifiers.
    {0x2E2F, false, false, false},
    // Neither: ², an emoji, non-characters, marks that are not blanks.
    {0x00B2, false, false, false},
    {0x1F600, false, false, false},
    {0xFDD0, false, false, false},
    {0xFFFF, false, false, false},
    {0x10FFFF, false, false, false},
    {0x180E, false, false, false},
    {0x200B, false, false, false},
    {0x2028, false, false, false},
    // Spaces, and the byte-order mark, which is no space separator.
    {0x00A0, false, false, true},
    {0x1680, false, false, true},
    {0x2000, false, false, true},
    {0x200A, false, false, true},
    {0x202F, false, false, true},
    {0x3000, false, false, true},
    {0xFEFF, false, false, true},
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

// The Unicode version the tables were made from: "17.0" from "// Unicode 17.0, as ...".
std::string UnicodeVersion(const std::string& text) {
  const std::string mark = "\n// Unicode ";
  const size_t at = text.find(mark);
  if (at == std::string::npos) return "";
  const size_t from = at + mark.size();
  return text.substr(from, text.find(',', from) - from);
}

}  // namespace

TEST(UnicodeIdTest, ClassesOfCodePoints) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<uint32_t>(row.cp));
    EXPECT_EQ(pack::IsIdStartWide(row.cp), row.start);
    EXPECT_EQ(pack::IsIdContinueWide(row.cp), row.part);
    EXPECT_EQ(pack::IsWideSpace(row.cp), row.space);
  }
}

// The scanner reads a start as the first part of a word, so no start may be
// refused as a part.
TEST(UnicodeIdTest, EveryStartAlsoContinues) {
  for (char32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
    if (pack::IsIdStartWide(cp) && !pack::IsIdContinueWide(cp)) {
      FAIL() << "U+" << std::hex << static_cast<uint32_t>(cp);
    }
  }
}

TEST(UnicodeIdTest, SpacesAreTheBlanksOfCharClass) {
  for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    ASSERT_EQ(pack::IsWideSpace(cp), pack::IsWideBlank(static_cast<char16_t>(cp)))
        << "U+" << std::hex << static_cast<uint32_t>(cp);
  }
}

// Runs the script into a temporary file and compares it with the source. A
// node of another Unicode version makes other tables, which is no fault here.
TEST(UnicodeIdTest, TablesAreWhatTheScriptMakes) {
  if (std::system("node -e \"\"") != 0) GTEST_SKIP() << "node is not available";
  const std::filesystem::path source = TRIMLET_SOURCE_DIR;
  const std::filesystem::path made = std::filesystem::temp_directory_path() /
      ("trimlet-unicode-id-" + std::to_string(std::random_device{}()) + ".cpp");
  const std::string command = "node \"" + (source / "scripts" / "make-unicode-id.js").string() +
                              "\" --out \"" + made.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string expected = ReadFile(made);
  std::filesystem::remove(made);
  const std::string actual = ReadFile(source / "engine" / "unicode_id.cpp");
  ASSERT_NE(UnicodeVersion(actual), "");
  if (UnicodeVersion(expected) != UnicodeVersion(actual)) {
    GTEST_SKIP() << "node has Unicode " << UnicodeVersion(expected) << ", the tables "
                 << UnicodeVersion(actual);
  }
  EXPECT_TRUE(expected == actual) << "the tables are stale: run node scripts/make-unicode-id.js";
}
