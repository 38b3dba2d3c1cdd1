// String encoding: tables of source text and the text EncodeStrings packs it to.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "packer.h"
#include "source_text.h"
#include "pack_test_util.h"
#include "text_tables.h"

namespace {

// Packs UTF-8 sources with one packer object, encoding strings when asked.
std::string Pack(const std::vector<std::string_view>& sources, bool encode) {
  return testutil::PackSources(sources, encode ? &trimlet::EncodeStrings : nullptr);
}

void ExpectRows(const std::vector<testutil::Row>& rows) {
  testutil::ExpectStageRows(rows, &trimlet::EncodeStrings);
}

}  // namespace

TEST(StringEncoderTest, EveryCodeUnitIsEscaped) {
  ExpectRows({
      {"x=\"Hi\"", "x=unescape(\"%48%69\")"},
      {"x='Hi'", "x=unescape(\"%48%69\")"},
      {"x=\"a\\nb\"", "x=unescape(\"%61%0A%62\")"},
      {"x='it\\'s'", "x=unescape(\"%69%74%27%73\")"},
      {"x=\"\"", "x=unescape(\"\")"},
      {"x=\"a\tb\x7f\"", "x=unescape(\"%61%09%62%7F\")"},
      {"x=\"say \\\"\\\\\\\" \"", "x=unescape(\"%73%61%79%20%22%5C%22%20\")"},
      {"x=\"%41\"", "x=\"%41\""},
      {"x=1+0x1F+true+null+undefined+/\"re\"/", "x=1+0x1F+true+null+undefined+/\"re\"/"},
      {"x=\"a\"+'b'.length+[\"c\"][0]", "x=unescape(\"%61\")+unescape(\"%62\").length+[unescape(\"%63\")][0]"},
  });
}

TEST(StringEncoderTest, EscapesAreDecodedAsTheLanguageDoes) {
  ExpectRows({
      {"x=\"\\n\\t\\r\\f\\b\\v\"", "x=unescape(\"%0A%09%0D%0C%08%0B\")"},
      {"x=\"\\x41\\x7e\\xFF\"", "x=unescape(\"%41%7E%FF\")"},
      {"x=\"\\u0041\\u0416\\u00e9\"", "x=unescape(\"%41%u0416%E9\")"},
      {"x=\"\\u{41}\\u{1F680}\"", "x=unescape(\"%41%uD83D%uDE80\")"},
      {"x=\"\\0\\08\\7\\12\\101\\377\\400\"", "x=unescape(\"%00%00%38%07%0A%41%FF%20%30\")"},
      {"x=\"\\8\\9\\q\\'\"", "x=unescape(\"%38%39%71%27\")"},
      // a line continuation stands for nothing
      {"x=\"a\\\nb\\\r\nc\\\rd\\\xe2\x80\xa8" "e\"", "x=unescape(\"%61%62%63%64%65\")"},
  });
}

TEST(StringEncoderTest, WideCharacters) {
  ExpectRows({
      {"x=\"\xc3\xbf\xc4\x80\"", "x=unescape(\"%FF%u0100\")"},
      {"x=\"\xd0\x96\xd0\xb8\xd1\x82\xd1\x8c\"", "x=unescape(\"%u0416%u0438%u0442%u044C\")"},
      {"x=\"\xf0\x9f\x9a\x80\"", "x=unescape(\"%uD83D%uDE80\")"},
  });
}

TEST(StringEncoderTest, LiteralsThatMustStayLiterals) {
  ExpectRows({
      {"x={\"k\":\"v\",'j':'w'}", "x={\"k\":unescape(\"%76\"),'j':unescape(\"%77\")}"},
      {"switch(a){case \"x\":f(\"y\")}", "switch(a){case \"x\":f(unescape(\"%79\"))}"},
      {"x=c?\"a\":\"b\"", "x=c?\"a\":unescape(\"%62\")"},
      {"x={get \"k\"(){return \"v\"}}", "x={get \"k\"(){return unescape(\"%76\")}}"},
      // directives, and strings that form a whole statement
      {"\"use strict\";x=\"s\"", "\"use strict\";x=unescape(\"%73\")"},
      {"\"use strict\"\nx=1", "\"use strict\"\nx=1"},
      {"function f(){\"use strict\";return \"s\"}", "function f(){\"use strict\";return unescape(\"%73\")}"},
      {"a();\"b\";c()", "a();\"b\";c()"},
      {"\"only\"", "\"only\""},
      // a string that merely starts a statement is an expression
      {"\"a\"+b;", "unescape(\"%61\")+b;"},
      {"\"abc\".length", "unescape(\"%61%62%63\").length"},
      {"x;\"a\"==o", "x;unescape(\"%61\")==o"},
  });
}

TEST(StringEncoderTest, DirectivesAtTheStartOfEachSource) {
  EXPECT_EQ(Pack({"x=\"a\"", "\"use strict\"\nf(\"b\")"}, true),
            Pack({"x=unescape(\"%61\")", "\"use strict\"\nf(unescape(\"%62\"))"}, false));
}

TEST(StringEncoderTest, NothingIsEncodedWhenUnescapeIsRedefined) {
  ExpectRows({
      {"function unescape(s){return s}x=\"a\"", "function unescape(s){return s}x=\"a\""},
      {"var unescape=f;x=\"a\"", "var unescape=f;x=\"a\""},
      {"window.unescape=f;x=\"a\"", "window.unescape=f;x=\"a\""},
      {"function g(unescape){return \"a\"}", "function g(unescape){return \"a\"}"},
      {"x={unescape:1,k:\"a\"}", "x={unescape:1,k:\"a\"}"},
      // calls of it are what encoding writes itself
      {"x=unescape(\"%41\")+\"a\"", "x=unescape(\"%41\")+unescape(\"%61\")"},
      {"x=window.unescape(s)+\"a\"", "x=window.unescape(s)+unescape(\"%61\")"},
  });
}

// Script blocks of one page: a packer object alive beside this one that uses
// the name counts as a redefinition, since nothing here tells how it uses it.
TEST(StringEncoderTest, AnotherLiveBlockUsingUnescapeStopsEncoding) {
  auto page = std::make_shared<pack::Session>();
  trimlet otherBlock(page);
  otherBlock.AddSource(u"function unescape(s){return s}", 0, nullptr);
  trimlet packer(page);
  packer.AddSource(u"alert(\"hi\")", 1, nullptr);
  packer.EncodeStrings();
  EXPECT_EQ(packer.Output().value_or(u""), u"alert(\"hi\")");
}

TEST(StringEncoderTest, EqualTextsShareOneLiteralAndASecondRunChangesNothing) {
  trimlet packer;
  packer.AddSource(u"x=\"Hi\";y='Hi';z=\"Hi\\x21\"", 0, nullptr);
  packer.EncodeStrings();
  const pack::TokenList& tokens = packer.Tokens();
  ASSERT_EQ(tokens.Size(), 11u);
  EXPECT_EQ(tokens[2].value, tokens[6].value);
  EXPECT_NE(tokens[2].value, tokens[10].value);
  const std::u16string first = packer.Output().value_or(u"");
  packer.EncodeStrings();
  EXPECT_EQ(packer.Output().value_or(u""), first);
  EXPECT_EQ(packer.Texts().TokenText(tokens[10]), u"unescape(\"%48%69%21\")");
}
