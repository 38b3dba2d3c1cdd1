// The language since ES2015 as the parser reads it: tables of input text and
// the packed text (both optional stages off unless a table says otherwise).
// Every expected text is packed again and must come out the same, which also
// proves it is JavaScript: invalid input packs to nothing.
#include <gtest/gtest.h>

#include "pack_test_util.h"
#include "packer.h"

namespace {

using testutil::ExpectPacked;
using testutil::Row;

void ExpectRows(std::initializer_list<Row> rows, const pack::PackOptions& options = testutil::NoStages()) {
  for (const Row& row : rows) ExpectPacked(row.input, row.expected, options);
}

TEST(ParserTest, DeclarationsAndBlocks) {
  ExpectRows({
      {"const a = 1; let b = 2", "const a=1;let b=2"},
      {"function f(n){ let t = n*2; return t }", "function f(n){let t=n*2;\nreturn t}"},
      {"let\nx = 1", "let x=1"},
      {"var let = 1\nlet\n[a] = [2]", "var let=1;let[a]=[2]"},
      {"{ let a = 1 } { let a = 2 }", "{let a=1}{let a=2}"},
      {"for (let i = 0; i < 3; i++) f(() => i)", "for(let i=0;i<3;i++)f(()=>i)"},
      {"for (const x of xs) f(x)", "for(const x of xs)f(x)"},
      {"for (const [k, v] of m) f(k)\nfor (let k in o) g(k)", "for(const[k,v]of m)f(k);for(let k in o)g(k)"},
      {"for (var x = 1 in o) f(x)", "for(var x=1 in o)f(x)"},
      {"async function f(){ for await (const x of y) g(x) }", "async function f(){for await(const x of y)g(x)}"},
      {"if (a) function f(){}\nelse g()", "if(a)function f(){}else g()"},
      {"l: function f(){}", "l:function f(){}"},
  });
}

TEST(ParserTest, Classes) {
  ExpectRows({
      {"class P { m() { return 1 } }", "class P{m(){\nreturn 1}}"},
      {"class A extends B { constructor() { super(); this.x = super.y } }",
       "class A extends B{constructor(){super();this.x=super.y}}"},
      {"class C { #x = 1\n static y\n [z] = 2\n get #w() { return this.#x }\n static { this.q = #x in this } }",
       "class C{#x=1;static y;[z]=2;get#w(){\nreturn this.#x}static{this.q=#x in this}}"},
      {"class C { a = 1\n ['b'] = 2 }", "class C{a=1['b']=2}"},
      {"class C { get\n x() {} }", "class C{get x(){}}"},
      {"class C { static\n x }", "class C{static x}"},
      {"class C { static async *gen() { yield 1 } 'str'() {} 1() {} }",
       "class C{static async*gen(){yield 1}'str'(){}1(){}}"},
      {"x = class { static x = new.target }", "x=class{static x=new.target}"},
  });
}

TEST(ParserTest, FunctionsArrowsGeneratorsAsync) {
  ExpectRows({
      {"f = (a,\n b = 2,\n {c, d: [e] = []},\n ...r) =>\n a + b", "f=(a,b=2,{c,d:[e]=[]},...r)=>a+b"},
      {"f = x => ({a: x})\ng()", "f=x=>({a:x});g()"},
      {"f = async x => await x\nf = async (a) => a", "f=async x=>await x;f=async(a)=>a"},
      {"x = async\nfunction f() {}", "x=async;function f(){}"},
      {"async(a, b)\nf()", "async(a,b);f()"},
      {"function* g() { yield\n1; yield* h() }", "function*g(){yield;1;yield*h()}"},
      {"async function f() { var v = await p }", "async function f(){var v=await p}"},
      // after await a "/" starts a regular expression, also where a statement begins
      {"async function f() { await /x\\/y/.test(s) }", "async function f(){await/x\\/y/.test(s)}"},
      {"o = { async *g() {}, get [k]() {}, set x(v) {}, m() {} }",
       "o={async*g(){},get[k](){},set x(v){},m(){}}"},
      {"function f(a = 1) { return new.target }", "function f(a=1){\nreturn new.target}"},
  });
}

TEST(ParserTest, TemplatesAndRegularExpressions) {
  ExpectRows({
      {"console.log(`hi ${name}!`)", "console.log(`hi ${name}!`)"},
      {"var u = `https://x.com/${p}`; f(u)", "var u=`https://x.com/${p}`;f(u)"},
      {"x = `a${`b${c}` /* c */}d`", "x=`a${`b${c}`}d`"},
      {"x = tag`\\unicode and \\u{` + String.raw`\\n`", "x=tag`\\unicode and \\u{`+String.raw`\\n`"},
      {"x = `line\nbreak\r\n`", "x=`line\nbreak\r\n`"},
      {"x = {}\n/1/g", "x={}/1/g"},
      {"{}\n/foo/g.test(s)", "{}/foo/g.test(s)"},
      {"x = a\n/b/g", "x=a/b/g"},
      {"x = /[/]\\//u.test(s)", "x=/[/]\\//u.test(s)"},
      {"x = y => /a/d", "x=y=>/a/d"},
      {"x = a ? /b/ : c / 2", "x=a?/b/:c/2"},
  });
}

TEST(ParserTest, OperatorsAndLiterals) {
  ExpectRows({
      {"x = a?.b ?? c?.[d]?.(e)", "x=a?.b??c?.[d]?.(e)"},
      {"x = a ?.5 : 1", "x=a?.5:1"},
      {"x = (-a) ** 2 ** b", "x=(-a)**2**b"},
      {"a ||= b; c &&= d; e ?\?= f", "a||=b;c&&=d;e?\?=f"},
      {"x = 1_000n + 0b1_0 + 0o7 + 0xF_F + .5e1_0", "x=1_000n+0b1_0+0o7+0xF_F+.5e1_0"},
      {"x = 1_0 .toString()", "x=1_0 .toString()"},
      {"x = {a, b: [c, ...d], ...e}", "x={a,b:[c,...d],...e}"},
      {"[a, b = 1] = [b, a]; ({x, y: {z}} = o)", "[a,b=1]=[b,a];({x,y:{z}}=o)"},
      {"x = \\u{61}b + caf\\u00e9", "x=ab+caf\\u00e9"},
      // a name that would read as a word keeps its escapes: for (async of is an error
      {"for (\\u0061sync of [7]); l\\u0065t = 1", "for(\\u0061sync of[7]);l\\u0065t=1"},
      {"x = a\n++\nb", "x=a;++b"},
  });
}

TEST(ParserTest, Modules) {
  const pack::PackOptions module{false, false, pack::SourceGoal::Module};
  ExpectRows({
      {"import x from './y.js'\nimport {a as b, 'c d' as e} from 'm'",
       "import x from './y.js';import{a as b,'c d' as e}from 'm'"},
      {"import * as ns from 'm' with { type: 'json' }", "import*as ns from 'm' with{type:'json'}"},
      {"export default function () {}\nexport const q = 1", "export default function(){};export const q=1"},
      {"export { a as default, b }\nvar a, b", "export{a as default,b};var a,b"},
      {"export * as n from 'm'\nexport * from 'o'", "export*as n from 'm';export*from 'o'"},
      {"const u = import.meta.url\nawait f(u)", "const u=import.meta.url;await f(u)"},
  }, module);
  // found by its import or export, or import.meta; import() alone makes none
  ExpectRows({
      {"import x from 'y'\nx()", "import x from 'y';x()"},
      {"f(import.meta)", "f(import.meta)"},
      {"import('x').then(f)\n<!-- a comment in a script\nf()", "import('x').then(f);f()"},
  });
}

TEST(ParserTest, HashbangIsKept) {
  ExpectRows({
      {"#!/usr/bin/env node\nconsole.log(1)", "#!/usr/bin/env node\nconsole.log(1)"},
  });
}

// What the language refuses, and what is still a proposal, is refused with a
// reason; the parser, not a guess, decides each of these.
TEST(ParserTest, RefusedInput) {
  struct ErrorRow {
    const char* input;
    const char* message;
  };
  const ErrorRow rows[] = {
      {"let let = 1", "let cannot be a lexically bound name"},
      {"const a", "a const declaration needs an initialiser"},
      {"class A { constructor() {} constructor() {} }", "a class may have only one constructor"},
      {"function f() { super.x }", "super is only allowed in methods"},
      {"a ?? b || c", "?? cannot be mixed with && or || without parentheses"},
      {"-a ** 2", "a unary expression before ** needs parentheses"},
      {"x = `${a`", "unterminated template"},
      {"x = /a/gg", "invalid regular expression flags"},
      {"x = /(?<n>a)(?<n>b)/", "invalid regular expression: duplicate capture group name"},
      {"function* g() { var yield }", "yield cannot be a name here"},
      {"a?.b = 1", "an optional chain cannot be assigned to"},
      {"for (let x of y, z) ;", "expected \")\""},
      {"x = 08n", "a name cannot follow a number directly"},
      {"'use strict'; x = 010", "legacy octal literals are not allowed in strict code"},
      {"import source x from 'y'", "source and deferred imports are proposals, not yet part of the language"},
      {"class A { @dec m() {} }", "decorators are a proposal, not yet part of the language"},
  };
  for (const ErrorRow& row : rows) {
    SCOPED_TRACE(row.input);
    const pack::PackResult result = pack::PackDocument(row.input, testutil::NoStages());
    ASSERT_EQ(result.status, pack::PackStatus::InvalidSource);
    EXPECT_EQ(result.problem->message, row.message);
  }
}

TEST(ParserTest, EncodingLeavesWhatMustStayAlone) {
  testutil::ExpectStageRows({
      {"x = `a${'b'}`", "x=`a${unescape(\"%62\")}`"},
      {"var m = require('./x')", "var m=require('./x')"},
      {"import('./y').then(f)", "import('./y').then(f)"},
      {"'use strict'; x = 'a'", "'use strict';x=unescape(\"%61\")"},
      {"class A { 'm'() {} }", "class A{'m'(){}}"},
      {"import a from './a.js'; export * from './b.js'; x = 'c'",
       "import a from './a.js';export*from './b.js';x=unescape(\"%63\")"},
  }, &trimlet::EncodeStrings);
}

}  // namespace
