// Variable renaming: the name generator and ChangeVars, as tables of source
// text and the text it packs to.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "pack_test_util.h"
#include "packer.h"
#include "platform.h"
#include "source_text.h"
#include "text_tables.h"

namespace {

std::string Narrow(std::u16string_view text) {
  return pack::EncodeOutput(text, pack::TextEncoding::Utf8, false);
}

// Packs the sources with one packer object, renaming when asked.
std::string Pack(const std::vector<std::string_view>& sources, bool rename) {
  return testutil::PackSources(sources, rename ? &trimlet::ChangeVars : nullptr);
}

void ExpectRows(const std::vector<testutil::Row>& rows) {
  testutil::ExpectStageRows(rows, &trimlet::ChangeVars);
}

std::vector<std::string> Generated(trimlet& packer, int count) {
  std::vector<std::string> names;
  for (int k = 0; k < count; ++k) {
    names.push_back(Narrow(packer.Texts().identifiers.Text(packer.NewVarName())));
  }
  return names;
}

std::vector<std::string> traceLines;
void CollectTrace(std::string_view text) { traceLines.emplace_back(text); }

}  // namespace

TEST(NewVarNameTest, SkipsNamesInTheTable) {
  trimlet packer;
  packer.AddSource(u"a; b; d; A", 0, nullptr);  // `A` does not block `a`, taken already
  EXPECT_EQ(Generated(packer, 3), (std::vector<std::string>{"c", "e", "f"}));
}

TEST(NewVarNameTest, NumbersFollowTheAlphabet) {
  {
    trimlet packer;
    const std::vector<std::string> names = Generated(packer, 54);
    EXPECT_EQ(names[0], "a");
    EXPECT_EQ(names[25], "z");
    EXPECT_EQ(names[26], "a1");
    EXPECT_EQ(names[51], "z1");
    EXPECT_EQ(names[52], "a2");
    EXPECT_EQ(names[53], "b2");
  }
  trimlet packer;
  packer.AddSource(u"a1", 0, nullptr);
  const std::vector<std::string> names = Generated(packer, 27);
  EXPECT_EQ(names[25], "z");
  EXPECT_EQ(names[26], "b1");
}

// The packers of one session (the blocks of a page) never share a new name.
TEST(NewVarNameTest, PackersOfASessionNeverShareANewName) {
  auto session = std::make_shared<pack::Session>();
  trimlet first(session);
  EXPECT_EQ(Generated(first, 2), (std::vector<std::string>{"a", "b"}));
  trimlet second(session);
  EXPECT_EQ(Generated(second, 1), (std::vector<std::string>{"c"}));
  EXPECT_EQ(Generated(first, 1), (std::vector<std::string>{"d"}));
  // A later packer starts after the names all earlier ones took, and still
  // skips a name that a source holds.
  session->identifiers.Intern(u"f");
  trimlet third(session);
  EXPECT_EQ(Generated(third, 2), (std::vector<std::string>{"e", "g"}));
  trimlet apart;
  EXPECT_EQ(Generated(apart, 1), (std::vector<std::string>{"a"}));
}

TEST(RenamerTest, DeclarationsInsideFunctions) {
  ExpectRows({
      {"function f(){var x=1;return x}", "function f(){var a=1;return a}"},
      {"function f(p){var i,j;for(var k in p)i=j+k}",
       "function f(p){var a,b;for(var c in p)a=b+c}"},
      {"var g=1;function f(){return g}", "var g=1;function f(){return g}"},
      {"function f(){var o=x.o;return o.o}", "function f(){var a=x.o;return a.o}"},
      // an initialiser is stepped over whole, a function expression in it included
      {"function f(){var a=function(){var b=1}}", "function f(){var c=function(){var b=1}}"},
      {"function f(){var x=1} function g(){y=2}", "function f(){var a=1} function g(){y=2}"},
      {"function f(){ if (c) { var x; } g(x) } h(x)", "function f(){ if (c) { var a; } g(a) } h(x)"},
      {"function f(){var x=1,\ny=2\nreturn x+y}", "function f(){var a=1,\nb=2\nreturn a+b}"},
      {"function f(){for(var i=0,n=3;i<n;i++)g(i)}", "function f(){for(var a=0,b=3;a<b;a++)g(a)}"},
      {"function f(){var x\ny=x}", "function f(){var a\ny=a}"},
      {"g(function(x){var y=x;return y})", "g(function(x){var a=x;return a})"},
  });
}

TEST(RenamerTest, ReachIsTheWholeFunction) {
  ExpectRows({
      {"function f(){x=1;var x}", "function f(){a=1;var a}"},
      {"function f(x){var x=x||1;return x}", "function f(a){var a=a||1;return a}"},
      {"function f(){function g(){return x}var x=1;return g()}",
       "function f(){function g(){return a}var a=1;return g()}"},
      {"function f(){var x=1;function g(x){return x}return g(x)}",
       "function f(){var a=1;function g(a){return a}return g(a)}"},
      // the inner declaration is met first, and takes the name of the outer one
      {"function f(){function g(){var x;return x}var x=1;return x}",
       "function f(){function g(){var a;return a}var a=1;return a}"},
      {"function f(){var e=1;try{}catch(e){e}return e}",
       "function f(){var a=1;try{}catch(a){a}return a}"},
      {"function f(){var g;function g(){}return g}", "function f(){var a;function a(){}return a}"},
      {"function x(){var x;return x}", "function x(){var a;return a}"},
      {"function f(){var x}function g(){var x}", "function f(){var a}function g(){var b}"},
      // each function keeps what it declares to itself
      {"function f(){return x}function g(){var x;return x}",
       "function f(){return x}function g(){var a;return a}"},
      {"function f(){var x;return function(){var y;return x+y}}",
       "function f(){var a;return function(){var b;return a+b}}"},
  });
}

TEST(RenamerTest, GlobalsKeepTheirNames) {
  ExpectRows({
      {"if (a) { var x; } x", "if (a) { var x; } x"},
      {"for (;;) { var i = 1; break } i", "for (;;) { var i = 1; break } i"},
      {"{ var x = function(){ return x } }", "{ var x = function(){ return x } }"},
      {"var f = function(){ var y = 2; return y }", "var f = function(){ var a = 2; return a }"},
  });
}

TEST(RenamerTest, PropertyNamesAndLabels) {
  ExpectRows({
      {"function f(){var x=1;return {x: x}}", "function f(){var a=1;return {x: a}}"},
      {"function f(){var x,y;return {y: 1, x: c ? -x : y}}",
       "function f(){var a,b;return {y: 1, x: c ? -a : b}}"},
      {"function f(){var x=1;return {get x(){return x}, set x(v){x=v}}}",
       "function f(){var a=1;return {get x(){return a}, set x(v){a=v}}}"},
      {"function f(){var get=1;return {get: get}}", "function f(){var a=1;return {get: a}}"},
      {"function f(){var o={};o.o=o;return o.o}", "function f(){var a={};a.o=a;return a.o}"},
      {"function f(){var x;switch(x){case x: break}}", "function f(){var a;switch(a){case a: break}}"},
      // a label and every break or continue naming it keep their names
      {"function f(){var x;x:for(;;){break x}}", "function f(){var x;x:for(;;){break x}}"},
      {"function f(){var y;x:for(;;){break x}return y}",
       "function f(){var a;x:for(;;){break x}return a}"},
      // a label in a nested function pins the name in the functions around it only
      {"function f(){var x;function g(){x:for(;;)break x}return x}",
       "function f(){var x;function g(){x:for(;;)break x}return x}"},
      {"function f(){function g(){var x;x:for(;;)break x}var x;return x}",
       "function f(){function g(){var x;x:for(;;)break x}var x;return x}"},
      // a block after a label or case is a block: the calls in it are uses
      {"function f(){var g=h;l:{g(3)}switch(1){case 1:{g(4)}}return g}",
       "function f(){var a=h;l:{a(3)}switch(1){case 1:{a(4)}}return a}"},
      // a method's name is a property name, no use of the variable
      {"function f(){var g=h;return {g(){return g}}}", "function f(){var a=h;return {g(){return a}}}"},
      // a getter's body is a function of its own: its var is not the outer y
      {"function f(){return {get v(){var y=1;return y},w:y}}",
       "function f(){return {get v(){var a=1;return a},w:y}}"},
  });
}

TEST(RenamerTest, RunTimeLookupKeepsNames) {
  ExpectRows({
      {"function f(){var x=1;return eval(\"x\")}", "function f(){var x=1;return eval(\"x\")}"},
      {"function f(){var x=1;return function(){return eval(\"x\")}}",
       "function f(){var x=1;return function(){return eval(\"x\")}}"},
      {"function f(o){var x;with(o){x=1}}", "function f(o){var x;with(o){x=1}}"},
      {"function f(){var x;return x}function g(){eval(s)}",
       "function f(){var a;return a}function g(){eval(s)}"},
      {"function f(){var x;return o.eval(x)}", "function f(){var a;return o.eval(a)}"},
      // eval inside sees the outer function, not the reverse
      {"function f(){var x;function g(){var y;eval(s)}return x}",
       "function f(){var x;function g(){var y;eval(s)}return x}"},
      {"function f(){var x;eval(s);function g(){var y;return y}}",
       "function f(){var x;eval(s);function g(){var a;return a}}"},
      {"function f(){var arguments;return arguments}", "function f(){var arguments;return arguments}"},
  });
}

TEST(RenamerTest, SeveralSourcesFormOneScript) {
  EXPECT_EQ(Pack({"function f(){var x=1;return x}", "function g(){var x;return x}"}, true),
            Pack({"function f(){var a=1;return a}", "function g(){var b;return b}"}, false));
  EXPECT_EQ(Pack({"if (c) { var x = 1 }", "function g(){ return x }"}, true),
            Pack({"if (c) { var x = 1 }", "function g(){ return x }"}, false));
}

// A later pass goes on from the next name, and leaves the names an earlier
// pass gave as they are.
TEST(RenamerTest, LaterPassesContinueTheSequence) {
  std::string packed;
  {
    trimlet packer;
    packer.AddSource(u"function f(){var x;return x};", 0, nullptr);
    packer.ChangeVars();
    packer.AddSource(u"function g(){var y;return y};", 1, nullptr);
    packer.ChangeVars();
    packed = Narrow(packer.Output().value_or(u""));
  }
  EXPECT_EQ(packed, Pack({"function f(){var a;return a};function g(){var b;return b};"}, false));
}

TEST(RenamerTest, TheTraceLineTellsTheFinalLevel) {
  const platform::TraceSink previous = platform::CurrentTraceSink();
  platform::SetTraceSink(CollectTrace);
  traceLines.clear();
  ExpectRows({{"function f(){var x=1;{return x}}", "function f(){var a=1;{return a}}"}});
  ASSERT_EQ(traceLines.size(), 1u);
  EXPECT_EQ(traceLines[0], "\ntrimlet::ChangeVars() : Level = 0\n");
  platform::SetTraceSink(previous);
}

TEST(RenamerTest, DeepNestingNeedsNoDeepStack) {
  constexpr int kDepth = 10000;
  std::string braces = "function f(){var x;";
  braces.append(kDepth, '{');
  braces += "x=1";
  braces.append(kDepth, '}');
  braces += "return x}";
  std::string expected = braces;
  expected.replace(expected.find("var x"), 5, "var a");
  expected.replace(expected.find("x=1"), 1, "a");
  expected.replace(expected.find("return x"), 8, "return a");
  EXPECT_EQ(Pack({braces}, true), Pack({expected}, false));

  constexpr int kFunctions = 5000;
  std::string functions;
  std::string renamed;
  for (int k = 0; k < kFunctions; ++k) {
    functions += "function f(){var x;";
    renamed += "function f(){var a;";
  }
  functions.append(kFunctions, '}');
  renamed.append(kFunctions, '}');
  const std::string packed = Pack({functions}, true);
  EXPECT_FALSE(packed.empty());
  EXPECT_EQ(packed, Pack({renamed}, false));
}

// One long function around thousands of others that declare its names again:
// every one shares the new name, and the outer uses after them keep theirs.
TEST(RenamerTest, ManyNestedFunctionsShareTheOuterNames) {
  std::string source = "function outer(p){var a1=p,b1=2;";
  std::string expected = "function outer(p){var a=p,b=2;";
  for (int k = 0; k < 12000; ++k) {
    const std::string g = "g" + std::to_string(k);
    source += "function " + g + "(){var a1=b1;return a1+p+o.a1}";
    expected += "function " + g + "(){var a=b;return a+p+o.a1}";
  }
  source += "return a1+b1}";
  expected += "return a+b}";
  EXPECT_EQ(Pack({source}, true), Pack({expected}, false));
}
