// Renaming: ChangeVars, as tables of source text and the text it packs to.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "generated_names.h"
#include "pack_test_util.h"
#include "packer.h"
#include "platform.h"
#include "source_text.h"
#include "text_tables.h"

namespace {


// Packs the sources with one packer object, renaming when asked.
std::string Pack(const std::vector<std::string_view>& sources, bool rename) {
  return testutil::PackSources(sources, rename ? &trimlet::ChangeVars : nullptr);
}

// Each input packs, renamed, to exactly the expected text, which parses.
void ExpectRows(const std::vector<testutil::Row>& rows) {
  for (const testutil::Row& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(Pack({row.input}, true), row.expected);
    EXPECT_FALSE(Pack({row.expected}, false).empty()) << "the expected text does not parse";
  }
}

std::vector<std::string> traceLines;
void CollectTrace(std::string_view text) { traceLines.emplace_back(text); }

}  // namespace

// Names are drawn by how often each character occurs in the rest of the
// output, so the expected names below follow from each input's own letters.
TEST(RenamerTest, EveryKindOfLocalBinding) {
  ExpectRows({
      {"function f(){var x=1;return x}", "function f(){var n=1;return n}"},
      {"function f(p,q){return p+q}", "function f(n,r){return n+r}"},
      {"function f(){let x=1;const y=2;class C{}function g(){}return [x,y,C,g]}",
       "function f(){let n=1;const t=2;class c{}function o(){}return[n,t,c,o]}"},
      {"function f(){try{g()}catch(err){return err}}", "function f(){try{g()}catch(t){return t}}"},
      {"g((first,second)=>first*second)", "g((a,b)=>a*b)"},
      {"g({method(arg){return arg}})", "g({method(e){return e}})"},
      // a shorthand whose name changes is written out, in literals and patterns
      {"function f(){var a=1,b=2;return {a,b:b,c(){return {a}}}}",
       "function f(){var r=1,n=2;return{a:r,b:n,c(){return{a:r}}}}"},
      {"function f(o){var a;({a}=o);const {b=a}=o;return b}",
       "function f(n){var r;({a:r}=n);const{b:t=r}=n;return t}"},
      // labels have names of their own
      {"function f(){outer:for(var i=0;i<3;i++){inner:for(;;){if(i)continue outer;break inner}}done:{break done}}",
       "function f(){n:for(var n=0;n<3;n++){e:for(;;){if(n)continue n;break e}}n:{break n}}"},
      // so have private names: an inner class takes numbers after its outer one's
      {"class A{#count=0;#x;f(){this.#count++;return class{#y;g(o){return o.#x+this.#y}}}}",
       "class A{#s=0;#t;f(){this.#s++;return class{#c;g(s){return s.#t+this.#c}}}}"},
      {"class A{#m(){}get #v(){return 1}set #v(x){}static #s=()=>1;f(o){this.#m();this.#v=o.#v;return A.#s()+(#m in o)}}class B{#z;f(){return this.#z}}",
       "class A{#t(){}get#s(){return 1}set#s(s){}static#r=()=>1;f(s){this.#t();this.#s=s.#s;return A.#r()+(#t in s)}}class B{#s;f(){return this.#s}}"},
      {"class A{#\\u{61}b=1;f(){return this.#ab}}", "class A{#a=1;f(){return this.#a}}"},
  });
}

// Renamed output is compact: no ";" before a "}" that ends its statement,
// but an empty statement stays where it is a statement's body.
TEST(RenamerTest, CompactOutputDropsNeedlessSemicolons) {
  ExpectRows({
      {"function f(a){if(a)return;for(;;);while(a);x:;if(a);else;do;while(0);let y=1;{g();}class C{x;y=1;get;m(){return 1;}}return y;}",
       "function f(e){if(e)return;for(;;);while(e);e:;if(e);else;do;while(0);let r=1;{g()}class t{x;y=1;get;m(){return 1}}return r}"},
  });
}

// Sibling scopes take the same names; a scope never sees two bindings of one name.
TEST(RenamerTest, NamesAreReused) {
  ExpectRows({
      {"function f(){{let x=1;g(x)}{let y=2;g(y)}}", "function f(){{let t=1;g(t)}{let t=2;g(t)}}"},
      // an inner scope takes an outer name that its code does not use
      {"function f(x){var y=x;{let y=1;g(y)}return y}",
       "function f(n){var r=n;{let n=1;g(n)}return r}"},
      {"function f(){var c=1;class C{m(c){return c}}return c}",
       "function f(){var r=1;class n{m(r){return r}}return r}"},
      {"function f(){var x=1;return function(){var y=2;return function(){var z=3;return x+y+z}}}",
       "function f(){var n=1;return function(){var r=2;return function(){var t=3;return n+r+t}}}"},
      {"function f(){let x=1;function g(){return x}{let x=2;return g()+x}}",
       "function f(){let n=1;function t(){return n}{let n=2;return t()+n}}"},
      // a var declared inside a block stands in that block: no let of it takes the var's name
      {"function f(p){for(let i=0;i<3;i++){var v=i}return v}",
       "function f(n){for(let n=0;n<3;n++){var r=n}return r}"},
  });
}

TEST(RenamerTest, WhatKeepsItsName) {
  ExpectRows({
      // globals, and the names the code uses without declaring them
      {"var top=1;let other=2;function visible(){return top}",
       "var top=1;let other=2;function visible(){return top}"},
      {"function f(){return a+b}", "function f(){return a+b}"},
      // eval and with look names up at run time, in their scope and those around it
      {"function f(){var x=1;return eval('x')}", "function f(){var x=1;return eval('x')}"},
      {"function f(){var x;function g(){var y;eval(s)}return x}",
       "function f(){var x;function g(){var y;eval(s)}return x}"},
      {"function f(){var x;eval(s);function g(){var y;return y}}",
       "function f(){var x;eval(s);function g(){var n;return n}}"},
      {"function f(o){var x;with(o){x=1}}", "function f(o){var x;with(o){x=1}}"},
      // a default does not see the body's vars; a var in a catch assigns the catch's name
      {"function f(a=()=>x){var x=1;return a()}", "function f(n=()=>x){var x=1;return n()}"},
      {"function g(){let x=5;function f(a=()=>x){var x=1;return [a(),x]}return f()}",
       "function g(){let x=5;function n(n=()=>x){var x=1;return[n(),x]}return n()}"},
      {"function f(){try{}catch(e){var e=1}return e}",
       "function f(){try{}catch(e){var e=1}return e}"},
      // a block function of sloppy code is also a var of the function around it
      {"function f(){var g=1;{function g(){}}return g}",
       "function f(){var g=1;{function g(){}}return g}"},
      {"function outer(){let x=0;function inner(){{function x(){}}return x}return inner}",
       "function outer(){let x=0;function n(){{function x(){}}return x}return n}"},
      {"function f(){var arguments;return arguments}",
       "function f(){var arguments;return arguments}"},
      // a function or class takes the name of a binding, or has its own: its .name
      {"function f(){var g=function(){},h=()=>1,k;k=class{};return [g,h,k,function named(){return named},class Named{m(){return Named}}]}",
       "function f(){var g=function(){},h=()=>1,k;k=class{};return[g,h,k,function named(){return named},class Named{m(){return Named}}]}"},
      // where it pays, the name is written into the function instead; an arrow cannot have it
      {"function f(){var handler=function(){return handler},Widget;Widget=class{};let arrowName=()=>1;handler.w=Widget;return[handler,Widget,new Widget,arrowName,arrowName]}",
       "function f(){var a=function handler(){return a},r;r=class Widget{};let arrowName=()=>1;a.w=r;return[a,r,new r,arrowName,arrowName]}"},
      // (f) = function () {} gives no name
      {"function f(){var longName,other;(longName)=function(){};other=function(){};return[longName,other,longName,other]}",
       "function f(){var n,t;(n)=function(){};t=function other(){};return[n,t,n,t]}"},
      // a function that is only called never shows its .name
      {"function f(){const isFunction=(v)=>typeof v==='function';return isFunction(1)||isFunction?.(f)}",
       "function f(){const n=(n)=>typeof n==='function';return n(1)||n?.(f)}"},
      // ... unless arguments.callee or f.caller may reach it
      {"function f(){var handlerName=function(){return arguments.callee.name};return handlerName()+handlerName()}",
       "function f(){var n=function handlerName(){return arguments.callee.name};return n()+n()}"},
      // ... which strict code cannot
      {"'use strict';function f(){var handlerName=function(){return arguments.length};return handlerName()+handlerName()+o.callee}",
       "'use strict';function f(){var n=function(){return arguments.length};return n()+n()+o.callee}"},
      // a name kept inside is one that the bindings its code uses may not take
      {"function f(){var v=1;function g(){var n=function(){};return v+n.name}return g}",
       "function f(){var r=1;function n(){var n=function(){};return r+n.name}return n}"},
      // a catch pattern's defaults do not see the block's names
      {"function f(){let x=1;try{throw[]}catch([p=()=>x]){let x=2;return p()+x}}",
       "function f(){let x=1;try{throw[]}catch([t=()=>x]){let x=2;return t()+x}}"},
      // a private method, or a field holding a function, read other than by a call: its .name
      {"class A{#m(){}#f=function(){};#g=1;f(){return[this.#m,this.#f,this.#g]}}",
       "class A{#m(){}#f=function(){};#s=1;f(){return[this.#m,this.#f,this.#s]}}"},
      {"class A{#m(){}f(){return new this.#m()}}", "class A{#m(){}f(){return new this.#m()}}"},
      {"class A{#a=1;#bb=2;f(){return eval('this.#bb')+this.#a}}",
       "class A{#a=1;#bb=2;f(){return eval('this.#bb')+this.#a}}"},
  });
}

TEST(RenamerTest, ModulesRenameTheirTopLevel) {
  const pack::PackOptions module = [] {
    pack::PackOptions options = testutil::NoStages();
    options.changeVariableNames = true;
    options.goal = pack::SourceGoal::Module;
    return options;
  }();
  const testutil::Row rows[] = {
      // exported names stay; import { named } would need "as" written out
      {"import def, {named, other as renamed} from \"m\"; import * as ns from \"n\"; const local = 1; export const shown = local + def + named + renamed + ns.x; let kept = 2; export { kept }; export default function main(){ return local }",
       "import o,{named,other as e}from\"m\";import*as n from\"n\";const t=1;export const shown=t+o+named+e+n.x;let kept=2;export{kept};export default function main(){return t}"},
      {"export function exported(param){ const inner = param; return inner } const helper = 1; export { helper as alias }",
       "export function exported(t){const o=t;return o}const t=1;export{t as alias}"},
      // a long name used often is written out once: import { x as a }, export { a as x }
      {"import {longImportedName, short} from \"m\"; const AnnotationType = {a:1}; export {AnnotationType, short}; AnnotationType.t = longImportedName(longImportedName, short);",
       "import{longImportedName as o,short}from\"m\";const t={a:1};export{t as AnnotationType,short};t.t=o(o,short);"},
  };
  for (const testutil::Row& row : rows) testutil::ExpectPacked(row.input, row.expected, module);
}

// 4,000 bindings take every name of one and two characters but the
// keywords do, if and in, and never a name the code uses undeclared.
TEST(RenamerTest, GeneratedNamesAreNeitherWordsNorFreeNames) {
  std::string source = "function f(){";
  for (int k = 0; k < 4000; ++k) source += "var v" + std::to_string(k) + "=" + std::to_string(k) + ";";
  source += "return n+t}";
  const std::string packed = Pack({source}, true);
  EXPECT_EQ(packed.find("v3999"), std::string::npos);
  EXPECT_FALSE(Pack({packed}, false).empty()) << "the packed text does not parse";
  for (const char* taken : {"var n=", "var t=", "var do=", "var if=", "var in="}) {
    EXPECT_EQ(packed.find(taken), std::string::npos) << taken;
  }
}

TEST(RenamerTest, SeveralSourcesKeepTheirGlobals) {
  EXPECT_EQ(Pack({"function f(){var x=1;return x}", "function g(){var y;return y}"}, true),
            "function f(){var n=1;return n};function g(){var n;return n}");
  EXPECT_EQ(Pack({"if (c) { var x = 1 }", "function g(){ return x }"}, true),
            "if(c){var x=1};function g(){return x}");
}

TEST(RenamerTest, TheTraceLineTellsTheFinalLevel) {
  const platform::TraceSink previous = platform::CurrentTraceSink();
  platform::SetTraceSink(CollectTrace);
  traceLines.clear();
  ExpectRows({{"function f(){var x=1;{return x}}", "function f(){var n=1;{return n}}"}});
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
  const std::string packed = Pack({braces}, true);
  EXPECT_EQ(packed.find("x"), std::string::npos);
  EXPECT_NE(packed.find("return"), std::string::npos);

  // 5,000 nested functions whose innermost uses the var of every one: past
  // the budget of that count, each function's names follow all outer names
  constexpr int kFunctions = 5000;
  std::string functions;
  std::string uses = "g(0";
  for (int k = 0; k < kFunctions; ++k) {
    functions += "function f(){var v" + std::to_string(k) + ";";
    uses += ",v" + std::to_string(k);
  }
  functions += uses + ")";
  functions.append(kFunctions, '}');
  const std::string nested = Pack({functions}, true);
  std::set<std::string> names;
  for (size_t at = nested.find("var "); at != std::string::npos; at = nested.find("var ", at)) {
    at += 4;
    names.insert(nested.substr(at, nested.find(';', at) - at));
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(kFunctions));
}

// Names by number and numbers by name agree at the boundaries of each length;
// the most frequent letters come first, and a name no number has gives -1.
TEST(GeneratedNamesTest, NumbersAndNamesMatch) {
  std::array<uint64_t, 128> counts{};
  counts['e'] = 9;
  counts['t'] = 8;
  counts['0'] = 10;  // a digit never starts a name
  const pack::NameAlphabet alphabet(counts);
  EXPECT_EQ(alphabet.Name(0), u"e");
  EXPECT_EQ(alphabet.Name(1), u"t");
  EXPECT_EQ(alphabet.Name(2), u"a");
  EXPECT_EQ(alphabet.Name(54), u"e0");
  for (uint64_t n : {0ull, 53ull, 54ull, 55ull, 54ull * 65 - 1, 54ull * 65, 54ull * 65 * 64 + 7}) {
    EXPECT_EQ(alphabet.NumberOf(alphabet.Name(n)), static_cast<int64_t>(n)) << n;
  }
  for (const char16_t* none : {u"", u"0a", u"a-b", u"\u00e9", u"abcdefghi"}) {
    EXPECT_EQ(alphabet.NumberOf(none), -1);
  }
}
