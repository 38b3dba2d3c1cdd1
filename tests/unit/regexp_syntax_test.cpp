// The pattern check by mode: tables of patterns with the problem each must
// raise (none for a valid one), the offsets of a few problems, nesting far
// deeper than any native stack would take, and tables that match the script.
#include <gtest/gtest.h>

#include <algorithm>  // std::remove
#include <cstdlib>    // std::system
#include <filesystem>
#include <fstream>
#include <random>  // std::random_device
#include <sstream>
#include <string>

#include "platform.h"
#include "regexp_syntax.h"

namespace {

struct Row {
  const char* body;  // UTF-8, converted to UTF-16
  const char* flags;
  const char* problem;  // nullptr: valid
};

void ExpectVerdicts(const Row* begin, const Row* end) {
  for (const Row* row = begin; row != end; ++row) {
    SCOPED_TRACE(testing::Message() << "/" << row->body << "/" << row->flags);
    pack::RegExpProblem problem;
    const bool valid = pack::CheckRegExpPattern(platform::Utf8ToWide(row->body),
                                                platform::Utf8ToWide(row->flags), problem);
    EXPECT_EQ(valid, row->problem == nullptr);
    if (!valid) {
      EXPECT_EQ(problem.message, row->problem == nullptr ? "" : row->problem);
    }
  }
}

template <size_t N>
void ExpectVerdicts(const Row (&rows)[N]) {
  ExpectVerdicts(rows, rows + N);
}

constexpr const char* kNothingToRepeat = "nothing to repeat";
constexpr const char* kLoneBrackets = "lone quantifier brackets";
constexpr const char* kBadEscape = "invalid escape";
constexpr const char* kOutOfOrder = "range out of order in character class";
constexpr const char* kBadSetOperation = "invalid set operation in character class";
constexpr const char* kBadSetCharacter = "invalid character in character class";
constexpr const char* kBadName = "invalid capture group name";
constexpr const char* kDuplicateName = "duplicate capture group name";
constexpr const char* kBadProperty = "invalid property name";

}  // namespace

TEST(RegExpSyntaxTest, WebGrammarWithoutFlags) {
  ExpectVerdicts({
      {"{", "", nullptr},
      {"}]", "", nullptr},
      {"a{,5}", "", nullptr},
      {"a{1", "", nullptr},
      {"\\u{41}", "", nullptr},  // `u` repeated 41 times
      {"x{2,}?", "", nullptr},
      {"\\c", "", nullptr},
      {"[\\c]", "", nullptr},
      {"[\\c1\\c_]", "", nullptr},
      {"\\8\\1\\00\\x4\\u12\\a\\-\\p{L}\\q\\k", "", nullptr},
      {"[\\1-\\7\\k]", "", nullptr},
      {"[\\d-z]", "", nullptr},
      {"(?=a)*(?!b){2}", "", nullptr},
      {"(?<=a)(?<!b)|()|[]|[^]", "", nullptr},
      {"{1}", "", kNothingToRepeat},
      {"x{2}{3}", "", kNothingToRepeat},
      {"a**", "", kNothingToRepeat},
      {"^*", "", kNothingToRepeat},
      {"\\b+", "", kNothingToRepeat},
      {"(?<=a)*", "", kNothingToRepeat},
      {"a{2,1}", "", "numbers out of order in {} quantifier"},
      {"a{0010,9}", "", "numbers out of order in {} quantifier"},
      {"a{9,0010}", "", nullptr},
      {"[z-a]", "", kOutOfOrder},
      {"[\\c-a]", "", kOutOfOrder},  // `\c` is a backslash, then `c-a`
      {"[😀-😂]", "", kOutOfOrder},  // units: \uDE00-\uD83D
      {"[\\uD83D\\uDE00-\\uD83D\\uDE02]", "", kOutOfOrder},
      {"(a", "", "unterminated group"},
      {"a)", "", "unmatched ')'"},
      {"(?a)", "", "invalid group"},
      {"[a", "", "unterminated character class"},
      {"a\\", "", "\\ at end of pattern"},
      // Once a group is named, `\k` must be a reference.
      {"(?<a>.)\\k", "", "invalid named reference"},
      {"(?<a>.)[\\k]", "", kBadEscape},
      {"(?<a>.)\\k<b>", "", "invalid named capture referenced"},
      {"(?<a>.)\\k<a>", "", nullptr},
  });
}

TEST(RegExpSyntaxTest, UnicodeMode) {
  ExpectVerdicts({
      {"\\u{1F600}\\u{0000000041}", "u", nullptr},
      {"[😀-😂]", "u", nullptr},
      {"[\\uD83D\\uDE00-\\uD83D\\uDE02]", "u", nullptr},
      {"\\1(a)", "u", nullptr},
      {"[\\-\\b]\\/\\^", "u", nullptr},
      {"{", "u", kLoneBrackets},
      {"]", "u", kLoneBrackets},
      {"a{,5}", "u", kLoneBrackets},
      {"\\c", "u", kBadEscape},
      {"\\-", "u", kBadEscape},
      {"\\a", "u", kBadEscape},
      {"\\x4", "u", kBadEscape},
      {"\\q", "u", kBadEscape},
      {"\\u{110000}", "u", "invalid unicode escape"},
      {"\\u12", "u", "invalid unicode escape"},
      {"\\2(a)", "u", "invalid backreference"},
      {"\\00", "u", "invalid decimal escape"},
      {"[\\1]", "u", "invalid class escape"},
      {"[\\d-z]", "u", "invalid character class"},
      {"(?=a)*", "u", kNothingToRepeat},
      {"\\k", "u", "invalid named reference"},
      {"[\\q{a}]", "u", kBadEscape},
      {"a", "uv", "invalid regular expression flags"},
      {"a", "gg", "invalid regular expression flags"},
  });
}

TEST(RegExpSyntaxTest, ClassSets) {
  ExpectVerdicts({
      {"[\\w--\\d--_]", "v", nullptr},
      {"[[a-z]&&\\p{L}&&[^q]]", "v", nullptr},
      {"[\\q{ab|c|}]", "v", nullptr},
      {"[^\\q{a|b}]", "v", nullptr},
      {"[\\p{RGI_Emoji}--\\q{x}]\\p{RGI_Emoji}", "v", nullptr},
      {"[^[\\p{RGI_Emoji}&&a]]", "v", nullptr},  // an intersection with `a` matches no string
      {"[a&b!c\\&\\&]", "v", nullptr},
      {"[[[[a]]]][][^]", "v", nullptr},
      {"[a-]", "v", kBadSetCharacter},
      {"[(]", "v", kBadSetCharacter},
      {"[a&&&b]", "v", kBadSetCharacter},
      {"[ab&&c]", "v", kBadSetOperation},
      {"[a&&b--c]", "v", kBadSetOperation},
      {"[a-z&&b]", "v", kBadSetOperation},
      {"[&&a]", "v", kBadSetOperation},
      {"[a&&]", "v", kBadSetOperation},
      {"[a&&bc]", "v", kBadSetOperation},
      {"[a!!b]", "v", kBadSetOperation},
      {"[z-a]", "v", kOutOfOrder},
      {"[^\\q{ab}]", "v", "negated character class may contain strings"},
      {"[^\\q{}]", "v", "negated character class may contain strings"},
      {"[^\\p{RGI_Emoji}]", "v", "negated character class may contain strings"},
      {"[^[\\p{RGI_Emoji}--a]]", "v", "negated character class may contain strings"},
      {"\\P{RGI_Emoji}", "v", kBadProperty},
      {"[[a]", "v", "unterminated character class"},
      {"[\\q{a", "v", "unterminated class string"},
      {"[\\q{a]", "v", kBadSetCharacter},
  });
}

TEST(RegExpSyntaxTest, GroupNames) {
  ExpectVerdicts({
      {"(?<a>x)|(?<a>y)", "", nullptr},
      {"((?<a>x)|(?<a>y))\\k<a>", "u", nullptr},
      {"(?<a>x)|((?<a>y)|(?<a>z))", "", nullptr},
      {"(?<$_é>.)", "", nullptr},
      {"(?<\\u0061>.)\\k<a>", "", nullptr},
      {"(?<a\\uD835\\uDC00𝐀>.)", "", nullptr},
      {"\\k<a>(?<a>.)", "u", nullptr},
      {"(?<a>x)(?<a>y)", "", kDuplicateName},
      {"(?:(?<a>x)|y)(?<a>z)", "", kDuplicateName},
      {"(?<a>x|(?<a>y))", "", kDuplicateName},
      {"(?<a>x)|((?<a>y)|(?<a>z))(?<a>w)", "", kDuplicateName},
      {"(?<a>.)(?<\\u{61}>.)", "u", kDuplicateName},
      {"(?<1a>.)", "", kBadName},
      {"(?<>.)", "", kBadName},
      {"(?<a.)", "", kBadName},
      {"(?<a", "", kBadName},
      {"(?<\\u0031>.)", "", kBadName},
      {"(?<\\uD835>.)", "", kBadName},
      {"\\k<a>", "u", "invalid named capture referenced"},
  });
}

TEST(RegExpSyntaxTest, PropertyEscapes) {
  ExpectVerdicts({
      {"\\p{Lu}\\p{gc=Lu}\\p{General_Category=Letter}\\p{punct}", "u", nullptr},
      {"\\p{Script=Latin}\\p{sc=Latn}\\p{scx=Grek}\\p{Script_Extensions=Zyyy}", "u", nullptr},
      {"\\P{ASCII}\\p{Any}\\p{Alpha}", "u", nullptr},
      {"[\\p{L}--\\p{Lu}]", "v", nullptr},
      {"\\p{Latin}", "u", kBadProperty},
      {"\\p{lu}", "u", kBadProperty},
      {"\\p{gc=Latin}", "u", kBadProperty},
      {"\\p{sc=Lu}", "u", kBadProperty},
      {"\\p{Block=Basic_Latin}", "u", kBadProperty},
      {"\\p{RGI_Emoji}", "u", kBadProperty},
      {"\\p{ Lu}", "u", kBadProperty},
      {"\\p{gc=Lu=Lu}", "u", kBadProperty},
      {"\\p{L", "u", kBadProperty},
      {"\\p{}", "u", kBadProperty},
      {"\\p", "u", kBadProperty},
  });
}

TEST(RegExpSyntaxTest, Modifiers) {
  ExpectVerdicts({
      {"(?i:a)(?-i:a)(?i-ms:a)(?s-:a)", "", nullptr},
      {"(?m:^a)*", "u", nullptr},
      {"(?-:a)", "", "invalid group"},
      {"(?x:a)", "", "invalid group"},
      {"(?i)a", "", "invalid group"},
      {"(?ii:a)", "", "repeated flag in group"},
      {"(?i-i:a)", "", "repeated flag in group"},
  });
}

TEST(RegExpSyntaxTest, OffsetsOfProblems) {
  const struct {
    const char* body;
    const char* flags;
    size_t offset;
  } rows[] = {
      {"ab)", "", 2},
      {"x((a)", "", 1},  // the group left open
      {"a{2,1}", "", 1},
      {"(?<a>x)(?<a>y)", "", 7},
      {"\\2(a)", "u", 0},
      {"[a&&b--c]", "v", 5},
      {"é[z-a]", "", 2},
      {"a", "uv", 1},  // flags: just past the body
      {"😀\\k<b>", "u", 2},  // in UTF-16 units
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "/" << row.body << "/" << row.flags);
    pack::RegExpProblem problem;
    EXPECT_FALSE(pack::CheckRegExpPattern(platform::Utf8ToWide(row.body),
                                          platform::Utf8ToWide(row.flags), problem));
    EXPECT_EQ(problem.offset, row.offset);
  }
}

// Groups and v-mode classes are kept on the heap, so depth is no hazard.
TEST(RegExpSyntaxTest, DeepNesting) {
  constexpr size_t kDepth = 100000;
  const std::u16string groups = std::u16string(kDepth, u'(') + std::u16string(kDepth, u')');
  const std::u16string classes = std::u16string(kDepth, u'[') + std::u16string(kDepth, u']');
  pack::RegExpProblem problem;
  EXPECT_TRUE(pack::CheckRegExpPattern(groups, u"u", problem));
  EXPECT_TRUE(pack::CheckRegExpPattern(classes, u"v", problem));
  EXPECT_FALSE(pack::CheckRegExpPattern(groups.substr(1), u"", problem));
  EXPECT_EQ(problem.message, "unmatched ')'");
  EXPECT_FALSE(pack::CheckRegExpPattern(classes.substr(0, 2 * kDepth - 1), u"v", problem));
  EXPECT_EQ(problem.offset, 0u);
}

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

}  // namespace

// Runs the script into a temporary file and compares it with the source;
// skipped where node or the unpacked test262 suite is missing.
TEST(RegExpSyntaxTest, PropertyTablesAreWhatTheScriptMakes) {
  const std::filesystem::path source =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  const std::filesystem::path suite = source / "build" / "test262" / "test262";
  if (!std::filesystem::exists(suite / "test")) GTEST_SKIP() << "no test262 at " << suite;
  if (std::system("node -e \"\"") != 0) GTEST_SKIP() << "node is not available";
  const std::filesystem::path made = std::filesystem::temp_directory_path() /
      ("trimlet-regexp-" + std::to_string(std::random_device{}()) + ".cpp");
  const std::string command = "node \"" +
                              (source / "scripts" / "make-regexp-properties.js").string() +
                              "\" --test262 \"" + suite.string() + "\" --out \"" +
                              made.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string expected = ReadFile(made);
  std::filesystem::remove(made);
  EXPECT_TRUE(expected == ReadFile(source / "engine" / "regexp_syntax.cpp"))
      << "the tables are stale: run node scripts/make-regexp-properties.js";
}
