#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packer.h"
#include "platform.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

// Tokens as "kind(text)" separated by spaces: I identifier, K keyword, P
// punctuator, L literal, R regular expression; a leading "^" marks newLine.
std::string Describe(const pack::TokenList& tokens) {
  std::string out;
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    if (!out.empty()) out += ' ';
    if (t.newLine && i > 0) out += '^';
    switch (t.kind) {
      case pack::Identifier: out += 'I'; break;
      case pack::Keyword: out += 'K'; break;
      case pack::Punctuator: out += 'P'; break;
      case pack::Literal: out += 'L'; break;
      case pack::RegExp: out += 'R'; break;
      default: out += '?'; break;
    }
    out += '(' + platform::WideToUtf8(pack::TokenText(t)) + ')';
  }
  return out;
}

std::string Scan(const std::string& source) {
  trimlet packer;
  packer.AddSource(platform::Utf8ToWide(source), 0, nullptr);
  return Describe(packer.Tokens());
}

struct Row {
  const char* input;
  const char* tokens;
};

void ExpectScans(const Row* begin, const Row* end) {
  for (const Row* row = begin; row != end; ++row) {
    SCOPED_TRACE(row->input);
    EXPECT_EQ(Scan(row->input), row->tokens);
  }
}

TEST(ScannerTest, TokenKinds) {
  const Row rows[] = {
      {"a.b", "I(a) P(.) I(b)"},
      {".5", "L(.5)"},
      {"a>>>=b", "I(a) P(>>>=) I(b)"},
      {"a--->b", "I(a) P(--) P(->) I(b)"},
      {"a**b", "I(a) P(*) P(*) I(b)"},
      {"...", "P(.) P(.) P(.)"},
      {"'it\\'s'", "L('it\\'s')"},
      {"'open", "L('open)"},
      {"return\"x\"", "K(return) L(\"x\")"},
      {"a\"b\"", "I(a) L(\"b\")"},
      {"undefined NaN Infinity null true false", "L(undefined) L(NaN) L(Infinity) L(null) L(true) L(false)"},
      {"Undefined nan this", "I(Undefined) I(nan) K(this)"},
      {"const let class import", "I(const) I(let) I(class) I(import)"},
      {"x=1.", "I(x) P(=) L(1.)"},
      {"0x1F 1.5e+3 1e-5 5..toString", "L(0x1F) L(1.5e+3) L(1e-5) L(5..toString)"},
      {"a-1e+5", "I(a) P(-) L(1e+5)"},
      {"x", "I(x)"},
      {"$_ \\u0061b caf\xC3\xA9", "I($_) I(ab) I(caf\xC3\xA9)"},
      {"\\u0078yz xyz \\u00e9t\\u00e9 \\u0030a", "I(xyz) I(xyz) I(\\u00e9t\\u00e9) I(\\u0030a)"},
  };
  ExpectScans(std::begin(rows), std::end(rows));
}

TEST(ScannerTest, RegularExpressionOrDivision) {
  const Row rows[] = {
      {"x=/ab+c/gi;", "I(x) P(=) R(/ab+c/gi) P(;)"},
      {"a=b/c/d", "I(a) P(=) I(b) P(/) I(c) P(/) I(d)"},
      {"x=/[(]/;", "I(x) P(=) R(/[(]/) P(;)"},
      {"x=/[/]/", "I(x) P(=) R(/[/]/)"},
      {"x=/a\\/b/", "I(x) P(=) R(/a\\/b/)"},
      {"if(a)return/x/;", "K(if) P(() I(a) P()) K(return) R(/x/) P(;)"},
      {"f()/2", "I(f) P(() P()) P(/) L(2)"},
      {"a[0]/2", "I(a) P([) L(0) P(]) P(/) L(2)"},
      {"this/2", "K(this) P(/) L(2)"},
      {"i++/2", "I(i) P(++) P(/) L(2)"},
      {"x={}/2", "I(x) P(=) P({) P(}) P(/) L(2)"},
      {"{}/x/", "P({) P(}) R(/x/)"},
      {"if(s)/x/.test(s)", "K(if) P(() I(s) P()) R(/x/) P(.) I(test) P(() I(s) P())"},
      {"/x/g.test(s)", "R(/x/g) P(.) I(test) P(() I(s) P())"},
      {"a=!/x/", "I(a) P(=) P(!) R(/x/)"},
      {"a=b\n/c/d", "I(a) P(=) I(b) ^P(/) I(c) P(/) I(d)"},
      {"x=/a\nb/", "I(x) P(=) P(/) I(a) ^I(b) P(/)"},
      {"x=/=/", "I(x) P(=) R(/=/)"},
      {"typeof/x/", "K(typeof) R(/x/)"},
  };
  ExpectScans(std::begin(rows), std::end(rows));
}

TEST(ScannerTest, CommentsAndBlanks) {
  const Row rows[] = {
      {"a // x\nb", "I(a) ^I(b)"},
      {"a /* x */ b", "I(a) I(b)"},
      {"a /* x\n */ b", "I(a) ^I(b)"},
      {"a /*/ b */ c", "I(a) I(c)"},
      {"a /* open", "I(a)"},
      {"x=//", "I(x) P(=)"},
      {"a\x0B b\x0C c", "I(a) I(b) I(c)"},
      {"a\xC2\xA0" "b\xEF\xBB\xBF" "c\xE2\x80\x83" "d", "I(a) I(b) I(c) I(d)"},
      {"a\xE2\x80\xA8" "b\xE2\x80\xA9" "c", "I(a) ^I(b) ^I(c)"},
      {"a\rb\r\nc", "I(a) ^I(b) ^I(c)"},
      {"<!-- Begin\na\n--> end\nb", "I(a) ^I(b)"},
      {"x<!--y\nz", "I(x) ^I(z)"},
      {"a-->b", "I(a) P(--) P(>) I(b)"},
      {"'a\\\nb' c", "L('a\\\nb') I(c)"},
      {" ", ""},
  };
  ExpectScans(std::begin(rows), std::end(rows));
}

TEST(ScannerTest, KeywordSpellingsAsNames) {
  const Row rows[] = {
      {"o.if", "I(o) P(.) I(if)"},
      {"p.catch(f)", "I(p) P(.) I(catch) P(() I(f) P())"},
      {"x.delete", "I(x) P(.) I(delete)"},
      {"x={default:1,if:2}", "I(x) P(=) P({) I(default) P(:) L(1) P(,) I(if) P(:) L(2) P(})"},
      {"x={get if(){}}", "I(x) P(=) P({) I(get) I(if) P(() P()) P({) P(}) P(})"},
      {"switch(a){default:b}", "K(switch) P(() I(a) P()) P({) K(default) P(:) I(b) P(})"},
  };
  ExpectScans(std::begin(rows), std::end(rows));
}

TEST(ScannerTest, BraceKindsAndHeaders) {
  trimlet packer;
  packer.AddSource(u"x={a:{}};if(a){}return{b:1}\nf(function(){})", 0, nullptr);
  const pack::TokenList& t = packer.Tokens();
  std::string kinds;
  for (size_t i = 0; i < t.Size(); ++i) {
    if (t[i].IsPunct(pack::kOpenBrace)) kinds += t[i].Has(pack::kObjectBrace) ? 'O' : 'B';
    if (t[i].IsPunct(pack::kCloseParen)) kinds += t[i].Has(pack::kHeaderClose) ? 'H' : 'p';
  }
  EXPECT_EQ(kinds, "OOHBOpBp");
}

TEST(ScannerTest, LinesAndSources) {
  trimlet packer;
  EXPECT_FALSE(packer.AddSource(u"", 0, nullptr));
  EXPECT_TRUE(packer.AddSource(u"if(a)b\nelse c", 3, nullptr));
  EXPECT_TRUE(packer.AddSource(u"d", 4, nullptr));
  const pack::TokenList& t = packer.Tokens();
  ASSERT_EQ(t.Size(), 8u);
  EXPECT_EQ(t[4].line, 1);
  EXPECT_EQ(t[5].line, 2);  // else
  EXPECT_EQ(t[5].newLine, 1);
  EXPECT_EQ(t[5].source, 3);
  EXPECT_EQ(t[7].source, 4);
  EXPECT_EQ(t[7].newLine, 1);  // the start of a source counts as a line break
  EXPECT_EQ(t[6].newLine, 0);
}

std::vector<int32_t> reported;
void Record(int32_t position) { reported.push_back(position); }

TEST(ScannerTest, ProgressAtEveryMultipleOf1024) {
  std::u16string text;
  for (int i = 0; i < 1500; ++i) text += u"a ";
  reported.clear();
  trimlet packer;
  packer.AddSource(text, 0, Record);
  EXPECT_EQ(reported, (std::vector<int32_t>{0, 1024, 2048}));
}

TEST(ScannerTest, IdenticalNamesShareOneEntry) {
  trimlet first;
  trimlet second;
  first.AddSource(u"x y x", 0, nullptr);
  second.AddSource(u"y", 0, nullptr);
  EXPECT_EQ(first.Tokens()[0].value, first.Tokens()[2].value);
  EXPECT_EQ(first.Tokens()[1].value, second.Tokens()[0].value);
  EXPECT_EQ(pack::IdentifierTable().Count(), 2);
}

TEST(ScannerTest, DeepNestingDoesNotRecurse) {
  std::u16string text(200000, u'(');
  text += std::u16string(200000, u')');
  text += u"{[";
  trimlet packer;
  EXPECT_TRUE(packer.AddSource(text, 0, nullptr));
  packer.Process();
  EXPECT_TRUE(packer.Output().has_value());
}

}  // namespace

namespace {

// Each copy of `piece` in `text` (pieces only, one after another) described alike.
void ExpectCopiesAlike(const pack::TokenList& tokens, size_t copies) {
  ASSERT_EQ(tokens.Size() % copies, 0u);
  const size_t per = tokens.Size() / copies;
  for (size_t c = 1; c < copies; ++c) {
    for (size_t i = 0; i < per; ++i) {
      const pack::Token& first = tokens[i];
      const pack::Token& later = tokens[c * per + i];
      SCOPED_TRACE("copy " + std::to_string(c) + ", token " + std::to_string(i));
      ASSERT_EQ(later.kind, first.kind);
      ASSERT_EQ(later.value, first.value);
      ASSERT_EQ(later.flags, first.flags);
    }
  }
}

}  // namespace

// A long text reads the words and short literals it has seen before from a
// cache: a word must come out as the same token however often it recurs, with
// and without a `.` before it, in words of 8, 9, 16 and 17 bytes, beside names
// that differ from it only in length or in the bytes past the first eight, and
// beside strings and numbers.
TEST(ScannerTest, RecurringWordsScanAlike) {
  const std::string piece =
      "if(a.if)return this.return;var x1=null,x12=true,abcdefgh=1,abcdefghi=2,"
      "abcdefghijklmnop=3,abcdefghijklmnopq=4,abcdefghijklmnoq=5;o.null=o.true;"
      "caf\xC3\xA9=r\xC3\xA9sum\xC3\xA9+instanceof1;function f(){}\n"
      "x=\"abc\",y='abc',z=12,w=.5,h=0x1F,q=\"abcdefghijklmn\",r=\"abcdefghijklmno\",abc=1;\n";
  const size_t copies = 400;
  std::string text;
  for (size_t c = 0; c < copies; ++c) text += piece;
  trimlet alone;
  alone.AddSource(platform::Utf8ToWide(piece), 0, nullptr);
  const std::string once = Describe(alone.Tokens());
  EXPECT_NE(once.find("K(return) K(this) P(.) I(return)"), std::string::npos);
  EXPECT_NE(once.find("L(\"abc\") P(,) I(y) P(=) L('abc')"), std::string::npos);
  trimlet bytes;
  bytes.AddSourceUtf8(text, 0, nullptr);
  ExpectCopiesAlike(bytes.Tokens(), copies);
  EXPECT_EQ(Describe(bytes.Tokens()).substr(0, once.size()), once);
  trimlet wide;
  wide.AddSource(platform::Utf8ToWide(text), 0, nullptr);
  ExpectCopiesAlike(wide.Tokens(), copies);
  EXPECT_EQ(Describe(wide.Tokens()).substr(0, once.size()), once);
}

// Comments are skipped eight bytes at a time up to a `*`, a line end or a byte
// beyond ASCII: whatever stands where, in either text form, the tokens after a
// comment come out as they would one character at a time, on the right lines.
TEST(ScannerTest, CommentsOfEveryLengthEndWhereTheyEnd) {
  const char* const ends[] = {"\n", "\r\n", "\r", "\x1A", "\xE2\x80\xA8", "\xE2\x80\xA9"};
  for (size_t k = 0; k < 20; ++k) {
    for (const char* end : ends) {
      const std::string fill(k, 'x');
      const std::string text = "a/*" + fill + "*" + end + "**/b/*" + fill + "\xC3\xA9*/c//" + fill +
                               "*" + end + "d//" + fill;
      SCOPED_TRACE(text);
      trimlet bytes;
      bytes.AddSourceUtf8(text, 0, nullptr);
      EXPECT_EQ(Describe(bytes.Tokens()), "I(a) ^I(b) I(c) ^I(d)");
      ASSERT_EQ(bytes.Tokens().Size(), 4u);
      EXPECT_EQ(bytes.Tokens()[1].line, 2);
      EXPECT_EQ(bytes.Tokens()[3].line, 3);
      trimlet wide;
      wide.AddSource(platform::Utf8ToWide(text), 0, nullptr);
      EXPECT_EQ(Describe(wide.Tokens()), Describe(bytes.Tokens()));
    }
  }
}
