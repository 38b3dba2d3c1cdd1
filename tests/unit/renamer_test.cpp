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
    names.push_back(Narrow(pack::IdentifierTable().Text(packer.NewVarName())));
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

TEST(NewVarNameTest, LivePackersNeverShareANewName) {
  trimlet first;
  EXPECT_EQ(Generated(first, 2), (std::vector<std::string>{"a", "b"}));
  trimlet second;
  EXPECT_EQ(Generated(second, 1), (std::vector<std::string>{"c"}));
  EXPECT_EQ(Generated(first, 1), (std::vector<std::string>{"d"}));
  // A later packer starts after the names all earlier ones took, and still
  // skips a name that a source holds.
  pack::IdentifierTable().Intern(u"f");
  trimlet third;
  EXPECT_EQ(Generated(third, 2), (std::vector<std::string>{"e", "g"}));
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
      {"function f(){var g=h;return {g(){return g}}}", "function f(){var g=h;return {g(){return g}}}"},
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

// A later pass goes on from the next name. It cannot tell the names an earlier
// pass generated from names of sources added since, so it renames those again,
// all uses together.
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
  EXPECT_EQ(packed, Pack({"function f(){var b;return b};function g(){var c;return c};"}, false));
}

TEST(RenamerTest, UnbalancedBracketsAndTheTraceLine) {
  const platform::TraceSink previous = platform::CurrentTraceSink();
  platform::SetTraceSink(CollectTrace);
  const std::vector<std::pair<std::vector<testutil::Row>, const char*>> cases = {
      {{{"function f(){var x=1;return x}", "function f(){var a=1;return a}"}}, "Level = 0"},
      {{{"function f(){var x=1;{return x}", "function f(){var a=1;{return a}"}}, "Level = 1"},
      {{{"}}function f(){var x=1;return x}", "}}function f(){var x=1;return x}"}}, "Level = -2"},
      {{{"function f(){var x=g(1;return x}", "function f(){var a=g(1;return a}"}}, "Level = 1"},
      {{{"function f(){var x=1,y=[x", "function f(){var a=1,b=[a"}}, "Level = 1"},
  };
  for (const auto& [rows, level] : cases) {
    traceLines.clear();
    ExpectRows(rows);
    ASSERT_EQ(traceLines.size(), 1u);
    EXPECT_EQ(traceLines[0], std::string("\ntrimlet::ChangeVars() : ") + level + "\n");
  }
  platform::SetTraceSink(previous);
}

TEST(RenamerTest, DeepNestingNeedsNoDeepStack) {
  constexpr int kDepth = 1000000;
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

  constexpr int kFunctions = 100000;
  std::string functions;
  std::string renamed;
  for (int k = 0; k < kFunctions; ++k) {
    functions += "function f(){var x;";
    renamed += "function f(){var a;";
  }
  functions.append(kFunctions, '}');
  renamed.append(kFunctions, '}');
  EXPECT_EQ(Pack({functions}, true), Pack({renamed}, false));
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

// A long list's functions are found, its names swept and rewritten in two parts
// at once. Cut at every token of a text with functions, methods, accessors,
// groups, eval, with and labels across the cut, the renaming is that of one walk.
TEST(RenamerTest, FunctionsFoundInTwoPartsAsInOne) {
  const std::u16string text =
      u"function f(x){var y=x;return function(){var z=y;return [z,{m(){var w;return w}}]}}"
      u"o={get g(){var v=1;return v},set g(s){var t=s}};l:{h(q)}"
      u"var k=function(a,b){var c=(a+b)*[a][0];return c};(function(){var u;with(o){u}})();"
      u"function p(){var m=1;function n(){var m2=eval(\"m\");return m2}return m}"
      u"function r(){var lab=1,z1;function s(){var z1;lab:for(;;){break lab}}return lab+z1}";
  const auto renamed = [&](size_t split) {
    trimlet packer;
    packer.AddSource(text, 0, nullptr);
    packer.Process();
    packer.ChangeVarsInTwo(split);
    return Narrow(packer.Output().value_or(u""));
  };
  const std::string whole = renamed(0);
  ASSERT_NE(whole.find("function f(x){var d=x;"), std::string::npos);
  size_t count = 0;
  {
    trimlet scanned;  // gone before the others, so that each starts from name "a"
    scanned.AddSource(text, 0, nullptr);
    scanned.Process();
    count = scanned.Tokens().Size();
  }
  for (size_t split = 1; split < count; ++split) {
    SCOPED_TRACE(split);
    EXPECT_EQ(renamed(split), whole);
  }
}
