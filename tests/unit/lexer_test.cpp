#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packer.h"
#include "platform.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

// Tokens as "kind(text)" separated by spaces: I identifier, K keyword, P
// punctuator, L literal, R regular expression, T template part, H hashbang;
// a leading "^" marks newLine.
std::string Describe(const trimlet& packer) {
  const pack::TokenList& tokens = packer.Tokens();
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
      case pack::Template: out += 'T'; break;
      case pack::Hashbang: out += 'H'; break;
      default: out += '?'; break;
    }
    out += '(' + platform::WideToUtf8(packer.Texts().TokenText(t)) + ')';
  }
  return out;
}

std::string Scan(const std::string& source) {
  trimlet packer;
  packer.AddSource(platform::Utf8ToWide(source), 0, nullptr);
  return Describe(packer);
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

TEST(LexerTest, TokenKinds) {
  const Row rows[] = {
      {"a.b", "I(a) P(.) I(b)"},
      {".5", "L(.5)"},
      {"a>>>=b", "I(a) P(>>>=) I(b)"},
      {"a-->b", "I(a) P(--) P(>) I(b)"},
      {"a**b", "I(a) P(**) I(b)"},
      {"a?.b", "I(a) P(?.) I(b)"},
      {"a?.5:1", "I(a) P(?) L(.5) P(:) L(1)"},
      {"a?\?=b", "I(a) P(?\?=) I(b)"},
      {"a&&=b", "I(a) P(&&=) I(b)"},
      {"[...a]", "P([) P(...) I(a) P(])"},
      {"x=>x", "I(x) P(=>) I(x)"},
      {"'it\\'s'", "L('it\\'s')"},
      {"o.if", "I(o) P(.) I(if)"},
      {"p.catch(f)", "I(p) P(.) I(catch) P(() I(f) P())"},
      {"x.delete", "I(x) P(.) I(delete)"},
      {"x={default:1,if:2}", "I(x) P(=) P({) I(default) P(:) L(1) P(,) I(if) P(:) L(2) P(})"},
      {"x={get if(){}}", "I(x) P(=) P({) I(get) I(if) P(() P()) P({) P(}) P(})"},
      {"switch(a){default:b}", "K(switch) P(() I(a) P()) P({) K(default) P(:) I(b) P(})"},
      {"const x=let", "K(const) I(x) P(=) I(let)"},
      {"class A extends B{}", "K(class) I(A) K(extends) I(B) P({) P(})"},
      {"x=1_000n+0x1Fn+0b11+0o7", "I(x) P(=) L(1_000n) P(+) L(0x1Fn) P(+) L(0b11) P(+) L(0o7)"},
      {"x=`a${b}c${d}e`", "I(x) P(=) T(`a${) I(b) T(}c${) I(d) T(}e`)"},
      {"x=`a${`b${c}`}`", "I(x) P(=) T(`a${) T(`b${) I(c) T(}`) T(}`)"},
      {"x=`//${y}/*`", "I(x) P(=) T(`//${) I(y) T(}/*`)"},
      {"class A{#x;m(){return #x in this}}",
       "K(class) I(A) P({) I(#x) P(;) I(m) P(() P()) P({) K(return) I(#x) K(in) K(this) P(}) P(})"},
      {"#!/usr/bin/env node\nx", "H(#!/usr/bin/env node) ^I(x)"},
      {"x=/[/]/dgimsuy", "I(x) P(=) R(/[/]/dgimsuy)"},
      {"x=a/b/c", "I(x) P(=) I(a) P(/) I(b) P(/) I(c)"},
      {"if(x)/a/.test(b)", "K(if) P(() I(x) P()) R(/a/) P(.) I(test) P(() I(b) P())"},
      {"x={}/1", "I(x) P(=) P({) P(}) P(/) L(1)"},
      {"{}/1/g", "P({) P(}) R(/1/g)"},
      {"x=y<!--z\n-->w\n", "I(x) P(=) I(y)"},
      {"caf\\u00e9=\\u0061", "I(caf\\u00e9) P(=) I(a)"},
  };
  ExpectScans(std::begin(rows), std::end(rows));
}

// In a module "<!--" and "-->" are operators, not comments.
TEST(LexerTest, ModulesReadHtmlCommentsAsOperators) {
  trimlet packer;
  EXPECT_TRUE(packer.AddSource(u"export const x = y <!--z;", 0, nullptr, pack::SourceGoal::Module));
  EXPECT_EQ(Describe(packer),
            "K(export) K(const) I(x) P(=) I(y) P(<) P(!) P(--) I(z) P(;)");
}

TEST(LexerTest, LinesAndSources) {
  trimlet packer;
  EXPECT_FALSE(packer.AddSource(u"", 0, nullptr));
  EXPECT_TRUE(packer.AddSource(u"if(a)b\nelse c", 3, nullptr));
  EXPECT_TRUE(packer.AddSource(u"d", 4, nullptr));
  const pack::TokenList& t = packer.Tokens();
  ASSERT_EQ(t.Size(), 10u);  // ";" after b, and between the sources
  EXPECT_EQ(t[4].line, 1);
  EXPECT_EQ(t[6].line, 2);  // else
  EXPECT_EQ(t[6].newLine, 1);
  EXPECT_EQ(t[6].source, 3);
  EXPECT_EQ(t[8].source, -1);  // the ";" that ends the first source
  EXPECT_EQ(t[9].source, 4);
  EXPECT_EQ(t[9].newLine, 1);  // the start of a source counts as a line break
  EXPECT_EQ(t[7].newLine, 0);
}

std::vector<int32_t> reported;
void Record(int32_t position) { reported.push_back(position); }

TEST(LexerTest, ProgressAtEveryMultipleOf1024) {
  std::u16string text;
  for (int i = 0; i < 1500; ++i) text += u"a;";
  reported.clear();
  trimlet packer;
  packer.AddSource(text, 0, Record);
  EXPECT_EQ(reported, (std::vector<int32_t>{0, 1024, 2048}));
}

// Packers that share a session share its entries; others are independent.
TEST(LexerTest, IdenticalNamesShareOneEntry) {
  auto session = std::make_shared<pack::Session>();
  trimlet first(session);
  trimlet second(session);
  trimlet apart;
  first.AddSource(u"x;y;x", 0, nullptr);
  second.AddSource(u"y", 0, nullptr);
  apart.AddSource(u"y", 0, nullptr);
  EXPECT_EQ(first.Tokens()[0].value, first.Tokens()[4].value);
  EXPECT_EQ(first.Tokens()[2].value, second.Tokens()[0].value);
  EXPECT_EQ(session->identifiers.Count(), 2);
  EXPECT_EQ(apart.Texts().identifiers.Count(), 1);
}

// Nesting 10,000 deep packs; far deeper is refused, never a crash.
TEST(LexerTest, DeepNesting) {
  const auto nested = [](size_t depth, std::u16string_view open, std::u16string_view close) {
    std::u16string text = u"x=";
    for (size_t i = 0; i < depth; ++i) text += open;
    text += u"1";
    for (size_t i = 0; i < depth; ++i) text += close;
    return text;
  };
  const std::u16string shapes[][2] = {
      {u"(", u")"}, {u"[", u"]"}, {u"{a:", u"}"}, {u"`${", u"}`"}, {u"()=>", u""},
      {u"function(){return ", u"}"}, {u"!", u""},
  };
  // Under AddressSanitizer every frame is several times larger, and the parse
  // may use less of the stack (an exception thrown deeper would escape it):
  // there the same shapes are checked 2,000 deep.
#if defined(__SANITIZE_ADDRESS__)
  constexpr size_t kDepth = 2000;
#else
  constexpr size_t kDepth = 10000;
#endif
  for (const auto& shape : shapes) {
    SCOPED_TRACE(platform::WideToUtf8(shape[0]));
    trimlet deep;
    EXPECT_TRUE(deep.AddSource(nested(kDepth, shape[0], shape[1]), 0, nullptr));
  }
  trimlet deeper;
  EXPECT_FALSE(deeper.AddSource(nested(1000000, u"(", u")"), 0, nullptr));
  ASSERT_TRUE(deeper.Problem().has_value());
  EXPECT_EQ(deeper.Problem()->message, "nesting too deep");
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
TEST(LexerTest, RecurringWordsScanAlike) {
  const std::string piece =
      "if(a.if)x=this.return;var x1=null,x12=true,abcdefgh=1,abcdefghi=2,"
      "abcdefghijklmnop=3,abcdefghijklmnopq=4,abcdefghijklmnoq=5;o.null=o.true;"
      "caf\xC3\xA9=r\xC3\xA9sum\xC3\xA9+instanceof1;function f(){}\n"
      "x=\"abc\",y='abc',z=12,w=.5,h=0x1F,q=\"abcdefghijklmn\",r=\"abcdefghijklmno\",abc=1;\n";
  const size_t copies = 400;
  std::string text;
  for (size_t c = 0; c < copies; ++c) text += piece;
  trimlet alone;
  alone.AddSource(platform::Utf8ToWide(piece), 0, nullptr);
  const std::string once = Describe(alone);
  EXPECT_NE(once.find("K(this) P(.) I(return)"), std::string::npos);
  EXPECT_NE(once.find("L(\"abc\") P(,) I(y) P(=) L('abc')"), std::string::npos);
  trimlet bytes;
  bytes.AddSourceUtf8(text, 0, nullptr);
  ExpectCopiesAlike(bytes.Tokens(), copies);
  EXPECT_EQ(Describe(bytes).substr(0, once.size()), once);
  trimlet wide;
  wide.AddSource(platform::Utf8ToWide(text), 0, nullptr);
  ExpectCopiesAlike(wide.Tokens(), copies);
  EXPECT_EQ(Describe(wide).substr(0, once.size()), once);
}

// Comments are skipped eight bytes at a time up to a `*`, a line end or a byte
// beyond ASCII: whatever stands where, in either text form, the tokens after a
// comment come out as they would one character at a time, on the right lines.
TEST(LexerTest, CommentsOfEveryLengthEndWhereTheyEnd) {
  const char* const ends[] = {"\n", "\r\n", "\r", "\xE2\x80\xA8", "\xE2\x80\xA9"};
  for (size_t k = 0; k < 20; ++k) {
    for (const char* end : ends) {
      const std::string fill(k, 'x');
      const std::string text = "a/*" + fill + "*" + end + "**/b/*" + fill + "\xC3\xA9*/+c//" + fill +
                               "*" + end + "d//" + fill;
      SCOPED_TRACE(text);
      trimlet bytes;
      bytes.AddSourceUtf8(text, 0, nullptr);
      EXPECT_EQ(Describe(bytes), "I(a) ^P(;) ^I(b) P(+) I(c) ^P(;) ^I(d)");
      ASSERT_EQ(bytes.Tokens().Size(), 7u);
      EXPECT_EQ(bytes.Tokens()[2].line, 2);
      EXPECT_EQ(bytes.Tokens()[6].line, 3);
      trimlet wide;
      wide.AddSource(platform::Utf8ToWide(text), 0, nullptr);
      EXPECT_EQ(Describe(wide), Describe(bytes));
    }
  }
}
