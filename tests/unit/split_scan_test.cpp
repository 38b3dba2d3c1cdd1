#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform.h"
#include "scanner.h"
#include "text_tables.h"

namespace {

// Everything a scan leaves behind: each token with its text, line, source,
// line-break mark and flags, and the size of each text table.
std::string Record(const pack::TokenList& tokens) {
  std::string out;
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    out += std::to_string(t.kind) + ':' + platform::WideToUtf8(pack::TokenText(t)) + '@' +
           std::to_string(t.line) + '/' + std::to_string(t.source) + (t.newLine ? "^" : "") +
           '#' + std::to_string(t.flags) + ' ';
  }
  return out + "| " + std::to_string(pack::IdentifierTable().Count()) + ' ' +
         std::to_string(pack::LiteralTable().Count()) + ' ' +
         std::to_string(pack::RegExpTable().Count());
}

// Scans `before` (when not empty) as source 0 and then `text` as source 1, cut at
// `split` when it is not npos.
std::string ScanBoth(const std::u16string& before, const std::u16string& text, size_t split,
                     bool* joined = nullptr) {
  pack::Scanner scanner;
  if (!before.empty()) scanner.AddSource(before, 0, nullptr);
  if (split == std::u16string::npos) {
    scanner.AddSource(text, 1, nullptr);
  } else {
    const bool together = scanner.AddSourceInTwo(text, 1, nullptr, split);
    if (joined != nullptr) *joined = together;
  }
  std::string record = Record(scanner.Tokens());
  pack::ReleaseTextTables();
  return record;
}

std::vector<size_t> LineStarts(const std::u16string& text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'\n' || text[i] == u'\r' || text[i] == 0x2028) starts.push_back(i + 1);
  }
  return starts;
}

struct Case {
  const char* source;
  const char* joinsAfter;  // the text the cut follows when checking the join
  bool joins;              // whether a cut there is joined or scanned again
};

// A cut at every line start (and the middle of every line) gives the tokens of
// one scan; at the marked place the two parts are joined, or deliberately not.
const Case kCases[] = {
    {"var a = 1;\nb = a / 2 / 3;\nc = /re[/]x/g.test(s);\n", "1;\n", true},
    {"f(x, function () {\n  return y;\n}) / 2 / 3;\n", "y;\n", true},
    // The second part reads `} / 2 /` as a regular expression: the `}` closes a
    // function body opened before the cut, after which a slash divides.
    {"var f = function () {\n  a();\n} / 2 / 3;\n", "a();\n", false},
    {"if (a) {\n  b();\n}\n/x/.test(s);\n", "b();\n", true},
    // `default` is a key only inside the object opened before the cut.
    {"x = {a: 1;\n b: 2, default: 3, get if() {} };\n", "1;\n", false},
    {"x = {a: 1,\n b: {default: 3}};\ny = 2;\n", "3}};\n", true},
    {"/* a comment;\n spanning lines */ x = 1;\n", "a comment;\n", false},
    {"s = 'a string\\\ncontinued;\ngoes on';\n", "continued;\n", false},
    {"a = b;\n--> an HTML comment\nc = d;\n", "b;\n", true},
    {"switch (a) {\ncase 1:\n  x = c ? d;\n  : e;\n}\n", "d;\n", true},
    {"l: for (;;) {\n  break l;\n}\n\\u0078yz = {if: 1};\n", "l;\n", true},
    {"a = [1,\n2];\r\nb = c\r\n/d/g;\r\n", "2];\r\n", true},
    {"x = y;\u2028/z/.exec(s);\n", "y;\u2028", true},
    {"// only a comment;\nx = 1;\n", "comment;\n", false},
    // The `?` before the cut makes `{a: 1}` an object, which the second part
    // alone reads as a block after a label: the group is read again, not copied.
    {"x = c ? d;\n : {a: 1, b: [2]};\ny = 2;\n", "d;\n", true},
    {"x = c ? d;\n : {a: 1}\n/re/g.test(s);\n", "d;\n", false},
    // The second part keeps its own table of names: `get` there has another
    // index than in the first part's table, and must still begin an accessor.
    {"a1 = b1 + c1 + d1;\n(function () {\n  o = {get total() { return 1 }, set v(x) {}};\n})();\n",
     "d1;\n", true},
    // Groups the second part opens and closes at its first level are copied.
    {"a();\n(function () {\n  var s = /x/g;\n  return {get: 1, if: 2};\n})();\n"
     "f(function (a) { return a / 2 / 3 }, [1, {b: c}]);\n", "a();\n", true},
};

TEST(SplitScanTest, EveryCutGivesTheTokensOfOneScan) {
  for (const Case& c : kCases) {
    const std::u16string text = platform::Utf8ToWide(c.source);
    SCOPED_TRACE(c.source);
    const std::string whole = ScanBoth(u"", text, std::u16string::npos);
    std::vector<size_t> cuts = LineStarts(text);
    for (size_t i = 1; i < text.size(); i += 3) cuts.push_back(i);
    for (const size_t cut : cuts) {
      SCOPED_TRACE(cut);
      EXPECT_EQ(ScanBoth(u"", text, cut), whole);
    }
  }
}

TEST(SplitScanTest, JoinsOnlyWhereTheSecondPartReadsAlike) {
  for (const Case& c : kCases) {
    const std::u16string text = platform::Utf8ToWide(c.source);
    const std::u16string marker = platform::Utf8ToWide(c.joinsAfter);
    SCOPED_TRACE(c.source);
    const size_t at = text.find(marker);
    ASSERT_NE(at, std::u16string::npos);
    bool joined = !c.joins;
    ScanBoth(u"", text, at + marker.size(), &joined);
    EXPECT_EQ(joined, c.joins);
  }
}

// Thousands of groups at the second part's first level are copied in two
// halves at once once the join has placed them all.
TEST(SplitScanTest, ManyCopiedGroupsComeOutAsOneScan) {
  std::u16string text = u"a();\n";
  for (int k = 0; k < 6000; ++k) {
    text += u"(function (a" + platform::Utf8ToWide(std::to_string(k)) +
            u") {\n  var s = /x/g;\n  return {get: 1, if: a / 2};\n})();\n";
  }
  bool joined = false;
  EXPECT_TRUE(ScanBoth(u"", text, 5, &joined) == ScanBoth(u"", text, std::u16string::npos));
  EXPECT_TRUE(joined);
}

TEST(SplitScanTest, ASourceAfterOthersKeepsItsOwnStart) {
  const std::u16string before = u"x = {a: (1\n";
  const std::u16string text = u"y = 1;\nz = a / 2 / 3;\n";
  bool joined = false;
  EXPECT_EQ(ScanBoth(before, text, 7, &joined), ScanBoth(before, text, std::u16string::npos));
  EXPECT_TRUE(joined);
}

TEST(SplitScanTest, SplitPoint) {
  struct Row {
    const char16_t* text;
    size_t expected;
  };
  const Row rows[] = {
      {u"a;\nb;\nc;\nd", 6},          // the first ";" line end from the middle on
      {u"aaaaaa\nb;\nc", 10},
      {u"a;\nbbbbbbbbb\nc", 0},       // none after the middle
      {u"aaaaaaaa;  \r\nb", 13},      // blanks and CR before the line feed
      {u"aaaaaaaaaaa;\n", 0},         // nothing after the cut
      {u"", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(platform::WideToUtf8(row.text));
    EXPECT_EQ(pack::Scanner::SplitPoint(row.text), row.expected);
  }
}

}  // namespace

namespace {

// Progress reports, collected by a plain function as the callback must be.
std::vector<int32_t> reports;
void Collect(int32_t position) { reports.push_back(position); }

// The tokens and reports of UTF-8 bytes scanned as they are, whole or cut at
// `cut` bytes, against those of the same text decoded to UTF-16 first.
std::string ScanUtf8(const std::string& bytes, size_t cut, std::vector<int32_t>& seen) {
  reports.clear();
  pack::Scanner scanner;
  if (cut == std::string::npos) {
    scanner.AddSourceUtf8(bytes, 0, Collect);
  } else {
    scanner.AddSourceUtf8InTwo(bytes, 0, Collect, cut);
  }
  seen = reports;
  std::string record = Record(scanner.Tokens());
  pack::ReleaseTextTables();
  return record;
}

std::string ScanWide(const std::string& bytes, std::vector<int32_t>& seen) {
  reports.clear();
  pack::Scanner scanner;
  scanner.AddSource(platform::Utf8ToWide(bytes), 0, Collect);
  seen = reports;
  std::string record = Record(scanner.Tokens());
  pack::ReleaseTextTables();
  return record;
}

// Characters beyond ASCII in every place a scan treats apart: names (two, three
// and four bytes), blanks (U+00A0, U+FEFF, U+3000), line ends (U+2028, U+2029)
// in code, strings, comments and regular expressions, escapes before them.
const char* const kUtf8Sources[] = {
    "var \xC3\xA9t\xC3\xA9 = '\xE2\x82\xAC', \xF0\x9F\x98\x80x = 1;\n",
    "a\xC2\xA0=\xEF\xBB\xBF" "b\xE3\x80\x80+c\xE2\x80\xA8" "d()\xE2\x80\xA9" "e()\n",
    "s = 'one\\\xE2\x80\xA8two'\nt = \"\xE2\x80\xA8\xE2\x80\xA9\"\nu = 2\n",
    "/* \xD0\x96\xE2\x80\xA8\xE2\x80\xA9 */ x = 1 // \xD0\x96\xE2\x80\xA9-->\xD0\x96\ny = 2\n",
    "r = /\xD0\x96[\xE2\x82\xAC/]\\\xD0\x96/g.test(s); q = a /\xE2\x80\xA8/ b\n",
    "o = {\xD0\xB8\xD0\xBC\xD1\x8F: 1, get \xD0\x96() {}}; \\u0078\xD0\x96 = 1.5e+3\xD0\x96\n",
};

TEST(Utf8ScanTest, BytesScanAsTheirDecodedText) {
  for (const char* source : kUtf8Sources) {
    std::string bytes = source;
    for (int k = 0; k < 300; ++k) bytes += source;  // long enough for several reports
    SCOPED_TRACE(source);
    std::vector<int32_t> wideReports;
    const std::string wide = ScanWide(bytes, wideReports);
    std::vector<int32_t> utf8Reports;
    EXPECT_EQ(ScanUtf8(bytes, std::string::npos, utf8Reports), wide);
    EXPECT_EQ(utf8Reports, wideReports);
    EXPECT_GT(wideReports.size(), size_t{3});
    // Cut at every line start of the first copies, and inside characters too.
    for (size_t cut = 1; cut < 3 * std::string(source).size(); ++cut) {
      SCOPED_TRACE(cut);
      std::vector<int32_t> cutReports;
      EXPECT_EQ(ScanUtf8(bytes, cut, cutReports), wide);
      EXPECT_EQ(cutReports, wideReports);
    }
  }
}

}  // namespace
