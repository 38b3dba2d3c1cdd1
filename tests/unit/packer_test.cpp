// Tables of JavaScript and what the packer makes of it with both optional stages
// off: statement ends, separators, and the faults the semicolon rules must avoid.
#include <gtest/gtest.h>

#include "pack_test_util.h"
#include "packer.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

using testutil::ExpectPacked;
using testutil::Row;

void ExpectRows(const Row* begin, const Row* end) {
  for (const Row* row = begin; row != end; ++row) ExpectPacked(row->input, row->expected);
}

TEST(PackerTest, StatementEndsAtLineBreaks) {
  const Row rows[] = {
      {"a\nb", "a;b"},
      {"var x\ny = 1", "var x;y=1"},
      {"var x = {a: 1}\ny()", "var x={a:1};y()"},
      {"var x = {a: 1}, y", "var x={a:1},y"},
      {"var a = 1, b\n(c)", "var a=1,b;(c)"},
      {"var a, b\n[c].forEach(f)", "var a,b;[c].forEach(f)"},
      {"var a = f(x, y), b = [1, 2], c\n(d)", "var a=f(x,y),b=[1,2],c;(d)"},
      {"for (var i = 0, n = a.length, j; i < n; i++) f(i)", "for(var i=0,n=a.length,j;i<n;i++)f(i)"},
      {"for (var k in o) f(k)", "for(var k in o)f(k)"},
      {"switch (a) { case 1: break\ncase 2: break\ndefault: f() }",
       "switch(a){case 1:break;case 2:break;default:f()}"},
      {"l: for (;;) break l", "l:for(;;)break l"},
      {"if (a) b\nc", "if(a)b;c"},
      {"if (a) b\nelse c", "if(a)b;else c"},
      {"f()\ng()", "f();g()"},
      {"f()\n(g)", "f()(g)"},
      {"a\n[0]", "a[0]"},
      {"a\n.b", "a.b"},
      {"a\n++b", "a;++b"},
      {"a++\nb", "a++;b"},
      {"a++ + b", "a+++b"},
      {"f()\n++b", "f();++b"},
      {"a[0]\n--b", "a[0];--b"},
      {"x = 1\n--y", "x=1;--y"},
      {"this\nf()", "this;f()"},
      {"x = this\n++y", "x=this;++y"},
      {"x = 1\n/re/i.test(s)", "x=1/re/i.test(s)"},
      {"x = {}\n/re/ i", "x={}/re/i"},
      {"{}\n/re/.test(s)", "{}/re/.test(s)"},
      {"var a = function () {}\n/x/g", "var a=function(){}/x/g"},
      {"function a() {}\n/x/g.test(s)", "function a(){};/x/g.test(s)"},
      {"x = [function () {}\n/2]", "x=[function(){}/2]"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(PackerTest, TokensThatCannotContinueAnExpression) {
  const Row rows[] = {
      {"g()\n!g()", "g();!g()"},
      {"x = 7\n\"abc\".length", "x=7;\"abc\".length"},
      {"x = 0\n{ f() }", "x=0;{f()}"},
      {"x = a\n~b", "x=a;~b"},
      {"x = a\n/b/ c", "x=a/b/c"},
      {"if (a) { b }", "if(a){b}"},
      {"function f() { }", "function f(){}"},
      {"try { a } catch (e) { b } finally { c }", "try{a}catch(e){b}finally{c}"},
      {"x = [1]\n{ f() }", "x=[1];{f()}"},
      {"x = y\nfunction f() {}", "x=y;function f(){}"},
      {"do x++; while (x < 3) f()", "do x++;while(x<3);f()"},
      {"f()\n{\n  g()\n}", "f();{g()}"},
      {"!function () {}()\n{}", "!function(){}();{}"},
      {"switch (a) { case 1: f() }", "switch(a){case 1:f()}"},
      {"function f(a)\n{ g() }", "function f(a){g()}"},
      {"try {} catch (e)\n{}", "try{}catch(e){}"},
      {"o = {get x()\n{ }, set y(v)\n{ }}", "o={get x(){},set y(v){}}"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(PackerTest, InAndInstanceofContinueExpressions) {
  const Row rows[] = {
      {"a instanceof B", "a instanceof B"},
      {"x = k in o", "x=k in o"},
      {"function f(o) { return \"x\" in o }", "function f(o){\nreturn \"x\" in o}"},
      {"f() instanceof F", "f()instanceof F"},
      {"x = [] instanceof Array", "x=[]instanceof Array"},
      {"x = {} instanceof Object", "x={}instanceof Object"},
      {"if (a in b) c", "if(a in b)c"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(PackerTest, RestrictedStatements) {
  const Row rows[] = {
      {"function f() { return\nx }", "function f(){\nreturn;x}"},
      {"function f() { return }", "function f(){\nreturn}"},
      {"function f() { return; }", "function f(){\nreturn;}"},
      {"for (;;) { break\nf() }", "for(;;){break;f()}"},
      {"a: for (;;) { continue\na }", "a:for(;;){continue;a}"},
      {"a: for (;;) { continue a }", "a:for(;;){continue a}"},
      {"function f() { if (a) return\nelse b() }", "function f(){if(a)\nreturn;else b()}"},
      {"function f() { throw e }", "function f(){throw e}"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(PackerTest, FunctionBodiesAndObjectLiterals) {
  const Row rows[] = {
      {"var f = function () { }\ng()", "var f=function(){};g()"},
      {"f = function () { }\ng()", "f=function(){};g()"},
      {"function f() { var g = function () { }\nh() }", "function f(){var g=function(){};h()}"},
      {"function f() { }\n(g)", "function f(){}(g)"},
      {"x = function () { }.bind(y)", "x=function(){}.bind(y)"},
      {"(function () { }())", "(function(){}())"},
      {"(function () { })()", "(function(){})()"},
      {"f(function () { }, 1)", "f(function(){},1)"},
      {"x = [function () { }]", "x=[function(){}]"},
      {"o = {a: function () { }, b: 1}", "o={a:function(){},b:1}"},
      {"o = {a: function () { }}\nf()", "o={a:function(){}};f()"},
      {"o = {\n a: 1\n}\n[1].map(f)", "o={a:1}[1].map(f)"},
      {"o = {}\nx = 1", "o={};x=1"},
      {"x = c ? function () { } : 1", "x=c?function(){}:1"},
      {"x = c ? {} : {}\nf()", "x=c?{}:{};f()"},
      {"l: {}\n/re/.test(s)", "l:{}/re/.test(s)"},
      {"switch (a) { case 1: {}\n/re/.test(s) }", "switch(a){case 1:{}/re/.test(s)}"},
      {"x = {a: {}\n/2}", "x={a:{}/2}"},
      {"if (a) x = function () { }\nelse y()", "if(a)x=function(){};else y()"},
      {"o = {get x() { return 1 }, set x(v) { }}",
       "o={get x(){\nreturn 1},set x(v){}}"},
      {"o = {get 'x'() { }, get 1() { }}", "o={get 'x'(){},get 1(){}}"},
      {"o = {default: 1, if: 2, in: 3}", "o={default:1,if:2,in:3}"},
      {"x = {function: {function: 1}}\ntry {} catch (e) {}", "x={function:{function:1}};try{}catch(e){}"},
      {"x = {get function() {}}\ntry {} catch (e) {}", "x={get function(){}};try{}catch(e){}"},
      {"x = o.if\ny = p.catch(f)", "x=o.if;y=p.catch(f)"},
      {"x = a.delete\ny()", "x=a.delete;y()"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(PackerTest, Separators) {
  const Row rows[] = {
      {"a + +b", "a+ +b"},
      {"a + ++b", "a+ ++b"},
      {"a - -b", "a- -b"},
      {"a - --b", "a- --b"},
      {"a++ + b", "a+++b"},
      {"a / /re/.exec(b).length", "a/ /re/.exec(b).length"},
      {"x = /re/ / 2", "x=/re/ /2"},
      {"x = a < !--b", "x=a< !--b"},
      {"x = a-- > b", "x=a-- >b"},
      {"x = a < /script/.test(b)", "x=a< /script/.test(b)"},
      {"a /\n/b/", "a/ /b/"},
      {"a = a\n/* x */ /b/g", "a=a/b/g"},
      {"1 .toString()", "1 .toString()"},
      {"1.5.toFixed()", "1.5.toFixed()"},
      {"x = /re/g in o", "x=/re/g in o"},
      {"x = typeof y", "x=typeof y"},
      {"function f() { return\"x\" }", "function f(){\nreturn \"x\"}"},
      {"a = b[0]\nif (a) c()", "a=b[0];if(a)c()"},
      {"new F", "new F"},
      {"x", "x"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

// Licence comments stay where they stand, between the same tokens; a line
// comment ends at a line break, and "/" keeps a space before a comment.
TEST(PackerTest, LicenceCommentsAreKept) {
  const Row rows[] = {
      {"/*! lib v1 */\nvar a = 1 // @license MIT\nvar b = a / /*! x */ 2",
       "/*! lib v1 */var a=1;// @license MIT\nvar b=a/ /*! x */2"},
      {"if (a) b() /*! why */\nelse c()", "if(a)b();/*! why */else c()"},
      {"x = 1 // note\n/* plain */ y = 2 /** @preserve */", "x=1;y=2/** @preserve */"},
      {"// @preserve\n", "// @preserve\n"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
  pack::PackOptions all = testutil::NoStages();
  all.comments = pack::KeepComments::All;
  testutil::ExpectPacked("x = 1 // note\n/* plain */ y = 2\n<!-- old\n", "x=1;// note\n/* plain */y=2//<!-- old\n", all);
  pack::PackOptions none = testutil::NoStages();
  none.comments = pack::KeepComments::None;
  testutil::ExpectPacked("/*! lib */ x = 1 // @license\n", "x=1", none);
}

TEST(PackerTest, EmptyInputsGiveEmptyOutput) {
  trimlet packer;
  EXPECT_FALSE(packer.AddSource(u"", 0, nullptr));
  packer.Process();
  ASSERT_TRUE(packer.Output().has_value());
  EXPECT_EQ(*packer.Output(), u"");
  ExpectPacked("/* only a comment */", "");
}

TEST(PackerTest, SourcesJoinIntoOneList) {
  trimlet packer;
  packer.AddSource(u"var a = 1\nf(a)", 1, nullptr);
  packer.AddSource(u"g()", 2, nullptr);
  packer.AddSource(u"x = f\n", 3, nullptr);
  packer.AddSource(u"(function () {})()", 4, nullptr);
  packer.AddSource(u"/re/.test(s);", 5, nullptr);
  packer.AddSource(u"y = 1", 6, nullptr);
  packer.Process();
  EXPECT_EQ(*packer.Output(), u"var a=1;f(a);g();x=f;(function(){})();/re/.test(s);y=1");
}

TEST(PackerTest, SkipToStepsOverGroups) {
  trimlet packer;
  packer.AddSource(u"x = f(a, b); y", 0, nullptr);
  pack::TokenIterator it = 0;
  packer.SkipTo(it, pack::kComma, pack::kSemicolon, pack::kCloseBrace);
  EXPECT_EQ(it, 8u);  // the ";" after the call: the "," inside it is stepped over
  packer.SkipTo(it, pack::kSemicolon);
  EXPECT_EQ(it, 8u);  // a stop does not move
  trimlet object;
  object.AddSource(u"f(a, { b })", 0, nullptr);
  it = 5;
  object.SkipTo(it, pack::kCloseBrace);
  EXPECT_EQ(it, 6u);
  it = 0;
  object.SkipTo(it, pack::kCloseBrace);
  EXPECT_EQ(it, object.Tokens().Size());  // the "}" inside the call is stepped over
}

// What a packer writes does not depend on what else the process packs: each
// packer has texts of its own unless it shares a page's.
TEST(PackerTest, EachOutputHasItsOwnTexts) {
  const std::u16string source = u"function f(){var x=1;return x}";
  trimlet alone;
  alone.AddSource(source, 0, nullptr);
  alone.ChangeVars();
  trimlet busy;
  busy.AddSource(u"a; b; c", 0, nullptr);
  busy.ChangeVars();
  trimlet again;
  again.AddSource(source, 0, nullptr);
  again.ChangeVars();
  EXPECT_EQ(again.Output(), alone.Output());
  EXPECT_EQ(*alone.Output(), u"function f(){var n=1;return n}");
  EXPECT_EQ(trimlet::LivePackers(), 3);
}

// Input that is not JavaScript is refused with where and why, and nothing is packed.
TEST(PackerTest, InvalidInputIsRefused) {
  struct ErrorRow {
    const char* input;
    int32_t line;
    int32_t column;
    const char* message;
  };
  const ErrorRow rows[] = {
      {"var", 1, 4, "unexpected end of input"},
      {"var x =", 1, 8, "unexpected end of input"},
      {"if (a", 1, 6, "unexpected end of input"},
      {"function f() {", 1, 15, "unexpected end of input"},
      {"}}} a\nb", 1, 1, "unexpected token"},
      {"x y", 1, 3, "expected \";\""},
      {"a\n  b c", 2, 5, "expected \";\""},
      {"let x; let x;", 1, 12, "this name is already declared in this scope"},
      {"'use strict'; with (o) {}", 1, 15, "with is not allowed in strict code"},
      {"x = `a${b`", 1, 10, "unterminated template"},
      {"x = /a", 1, 5, "unterminated regular expression"},
      {"return 1", 1, 1, "return outside a function"},
      {"// note:\x1A console.log('x')\n\x1A", 2, 1, "unexpected character"},
      {"@dec class A {}", 1, 1, "decorators are a proposal, not yet part of the language"},
  };
  for (const ErrorRow& row : rows) {
    SCOPED_TRACE(row.input);
    const pack::PackResult result = pack::PackDocument(row.input, testutil::NoStages());
    ASSERT_EQ(result.status, pack::PackStatus::InvalidSource);
    EXPECT_TRUE(result.bytes.empty());
    EXPECT_EQ(result.problem->line, row.line);
    EXPECT_EQ(result.problem->column, row.column);
    EXPECT_EQ(result.problem->message, row.message);
  }
}

// Every copy of a snippet gets its semicolons, however many there are.
TEST(PackerTest, ManyFunctionsAndVarListsEachGetTheirEnds) {
  const std::string snippet = "var f = function () {}\ng()\nvar a = 1, b\n(c)\n";
  const std::string packed = "var f=function(){};g();var a=1,b;(c)";
  constexpr int kCopies = 9000;
  std::string source;
  std::string expected;
  for (int k = 0; k < kCopies; ++k) {
    source += snippet;
    expected += (k > 0 ? ";" : "") + packed;
  }
  EXPECT_TRUE(testutil::Pack(source) == expected);
}

}  // namespace
