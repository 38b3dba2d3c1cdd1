// Every context decision of the engine as one named predicate over tokens, so
// that a fix is one edit here and never a special case in a pass.
#pragma once

#include "text_tables.h"
#include "token.h"
#include "vocabulary.h"

namespace pack {

// A token that cannot continue the expression before it, so a statement ended
// in front of it: an identifier, literal or regular expression, a keyword other
// than `in` and `instanceof`, `!`, `~`, `{`, or `++`/`--` on a later line.
//   a = b          a = b
//   c()        ->  ;c()     but   a = b\n(c)  stays a call, as the language reads it
inline bool CannotContinueExpression(const Token& t) {
  switch (t.kind) {
    case Identifier:
    case Literal:
    case RegExp:
      return true;
    case Keyword:
      return t.value != kIn && t.value != kInstanceof;
    case Punctuator:
      return t.value == kNot || t.value == kTilde || t.value == kOpenBrace ||
             ((t.value == kIncrement || t.value == kDecrement) && t.newLine);
    default:
      return false;
  }
}

// Whether an expression can end with this token: an identifier, literal,
// regular expression, `this`, `)`, `]`, or the `}` of an object literal.
inline bool EndsOperand(const Token& t) {
  switch (t.kind) {
    case Identifier:
    case Literal:
    case RegExp:
      return true;
    case Keyword:
      return t.value == kThis;
    case Punctuator:
      return t.value == kCloseParen || t.value == kCloseBracket ||
             (t.value == kCloseBrace && t.Has(kObjectBrace));
    default:
      return false;
  }
}

// Whether `{` after `prev` opens an object literal rather than a block or body.
//   x = {a: 1}     return {a: 1}     f({a: 1})   c ? {} : {}   -> object literal
//   if (a) {}      do {}   };{   l: {}   case 1: {}   start of source  -> block
bool BraceOpensObject(const Token* prev);

// Whether `function` after `prev` is a function expression (a value), not a
// declaration: the same places where `{` opens an object literal.
//   x = function () {}   (function () {})   !function () {}()   return function () {}
inline bool FunctionIsValue(const Token* prev) { return BraceOpensObject(prev); }

// Whether `/` after `prev` starts a regular expression rather than a division.
//   a / b    f() / 2    x[0] / 2   this / 2   x = {} / 2   f = function () {} / 2
//                                                    -> division
//   return /x/   (/x/)   if (s) /x/.test(s)          -> regular expression
bool SlashStartsRegExp(const Token* prev);

// Whether `(` after `prev` opens the header of if, while, for, with or switch,
// whose `)` is followed by a statement or block, not by an operator.
bool ParenOpensHeader(const Token* prev);

// Whether the token ends a statement that the language ends at a line break:
// `return`, `throw`, `break` and `continue` take nothing from the next line.
inline bool IsRestrictedKeyword(const Token& t) {
  return t.kind == Keyword && (t.value == kReturn || t.value == kThrow ||
                               t.value == kBreak || t.value == kContinue);
}

}  // namespace pack

namespace pack {

// Whether the token is `get` or `set` where an object literal's key goes, the
// word that may begin an accessor: {get x() {}}. Its text is looked up in
// `identifiers`, the process-wide table unless a scan keeps its own.
bool IsAccessorWord(const Token& t, const TextTable& identifiers);
bool IsAccessorWord(const Token& t);

// Whether the tokens at `i` and `i + 1` are `get`/`set` and the name of an
// accessor in an object literal (`{get x() {}}`), which nothing may separate.
bool IsAccessorPrefix(const TokenList& tokens, size_t i);

// Whether a statement ends between the token at `i` and the one after it, which
// the source separated only by a line break:
//   a = b\nc()       x = 7\n"abc".length       f()\n!g()       o = {}\nx()
// but never in   a\n(b)   a\n[0]   a\n.b   if (a) b   f() {   a in b   {get x() {}}
// Inline: the semicolon walks ask it of nearly every token.
inline bool StatementEndsAfter(const TokenList& tokens, size_t i) {
  if (i + 1 >= tokens.Size()) return false;
  const Token& cur = tokens[i];
  const Token& next = tokens[i + 1];
  if (!EndsOperand(cur) || !CannotContinueExpression(next)) return false;
  if (cur.IsPunct(kCloseParen) &&
      (cur.Has(kHeaderClose) || (cur.Has(kParamsClose) && next.IsPunct(kOpenBrace)))) {
    return false;  // `if (a) b`, `function f() {`, `catch (e) {`; but `f()\n{ g() }` ends
  }
  return !IsAccessorPrefix(tokens, i);
}

}  // namespace pack
