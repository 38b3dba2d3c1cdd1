// trimlet::Process: the walks that put a ";" token wherever a line break of the
// source was ending a statement, since the packed text has no line breaks.
// Each pass collects the positions it inserts at and merges them when it ends,
// so a pass never sees its own insertions and stays linear.
#include <algorithm>
#include <vector>

#include "context_rules.h"
#include "packer.h"
#include "platform.h"
#include "vocabulary.h"

namespace {

using pack::Token;
using pack::TokenList;

const Token kInsertedSemicolon{pack::kSemicolon, -1, -1, pack::Punctuator, 1, 0};

bool IsVarListEnd(const Token& t) {
  return t.IsKeyword(pack::kIn) || t.IsPunct(pack::kComma) || t.IsPunct(pack::kSemicolon);
}

// `var x` followed by anything but `=`, `,`, `;` or `in` ends the declaration:
//   var x\ny = 1   ->   var x;y=1
// Returns where the walk goes on.
size_t EndShortDeclaration(const TokenList& tokens, size_t var, std::vector<size_t>& inserts) {
  const size_t t = var + 2;
  if (t >= tokens.Size()) return t;
  if (tokens[t].IsPunct(pack::kAssign)) return t + 1;
  if (!IsVarListEnd(tokens[t])) inserts.push_back(t);
  return t;
}

// `return`, `throw`, `break` and `continue` take nothing from a later line:
//   return\nx   ->   return;x
bool RestrictedStatementEnds(const Token& cur, const Token& next) {
  return pack::IsRestrictedKeyword(cur) && next.newLine && !next.IsPunct(pack::kSemicolon) &&
         !next.IsPunct(pack::kCloseBrace);
}

// Each source is a script of its own: whatever its last statement lacked, it
// ends where the next source begins.
//   a.js: x = f      b.js: (function () {})()   ->   x=f;(function(){})()
bool SourceEndsBetween(const Token& cur, const Token& next) {
  return next.source != cur.source && !cur.IsPunct(pack::kSemicolon);
}

// Declarations, the statement ends of restricted keywords, and statements that
// end after an identifier, literal, regular expression, `this`, `]` or the `}`
// of an object literal: one step at `i`, which has a token after it. Returns
// the next position the step looks at.
size_t EndOfDeclarationOrOperand(const TokenList& tokens, size_t i, std::vector<size_t>& inserts) {
  const Token& cur = tokens[i];
  const Token& next = tokens[i + 1];
  if (cur.IsKeyword(pack::kVar) && next.kind == pack::Identifier) {
    return EndShortDeclaration(tokens, i, inserts);
  }
  if (SourceEndsBetween(cur, next) || RestrictedStatementEnds(cur, next) ||
      (cur.IsKeyword(pack::kBreak) &&
       (next.IsKeyword(pack::kCase) || next.IsKeyword(pack::kDefault))) ||
      (!cur.IsPunct(pack::kCloseParen) && pack::StatementEndsAfter(tokens, i))) {
    inserts.push_back(i + 1);
  }
  return i + 1;
}

// Statements that end after the `)` of a call or group, and `++`/`--` that
// belong to the next statement:
//   f()\ng()     ->  f();g()
//   x\n++y       ->  x;++y
//   x++\ny       ->  x++;y
// One step at `i`, which has a token after it; returns the next position.
size_t EndAfterCallOrIncrement(const TokenList& tokens, size_t i, std::vector<size_t>& inserts) {
  const Token& cur = tokens[i];
  const Token& next = tokens[i + 1];
  if (cur.IsPunct(pack::kCloseParen) && pack::StatementEndsAfter(tokens, i)) {
    inserts.push_back(i + 1);
  } else if (pack::EndsOperand(cur) && !cur.Has(pack::kHeaderClose) && !next.newLine &&
             (next.IsPunct(pack::kIncrement) || next.IsPunct(pack::kDecrement)) &&
             i + 2 < tokens.Size()) {
    const Token& after = tokens[i + 2];
    if (after.newLine && pack::CannotContinueExpression(after)) inserts.push_back(i + 2);
    return i + 2;
  }
  return i + 1;
}

// Function bodies, nested ones included: a statement ends after the `}` when
// what follows cannot continue the expression the function was part of.
//   var f = function () {}\ng()   ->   var f=function(){};g()
// but never in   function () {}.bind(x)   (function () {}())   [function () {}, 1]
void FunctionBodies(const trimlet& packer, const size_t* first, const size_t* stop,
                    std::vector<size_t>& inserts) {
  const TokenList& tokens = packer.Tokens();
  for (const size_t* f = first; f != stop; ++f) {
    pack::TokenIterator it = *f;
    packer.SkipTo(it, pack::kOpenBrace);
    if (it >= tokens.Size()) continue;
    const size_t close = tokens.Matches()[it];
    const size_t v = close + 1;
    if (v < tokens.Size() && pack::CannotContinueExpression(tokens[v])) inserts.push_back(v);
  }
}

// Where SkipTo(`,`, `;`, `}`) from `from` stops once a ";" stands before each
// position marked in `semicolonBefore`: the index of the stop, and whether it
// is one of those semicolons. Groups are stepped over whole, with whatever
// semicolons go inside them.
size_t SkipToListEnd(const TokenList& tokens, const std::vector<bool>& semicolonBefore,
                     size_t from, bool& atInserted) {
  const std::vector<uint32_t>& matches = tokens.Matches();
  const size_t end = tokens.Size();
  atInserted = false;
  for (size_t p = from; p < end;) {
    if (p != from && semicolonBefore[p]) {
      atInserted = true;
      return p;
    }
    const Token& t = tokens[p];
    if (t.kind == pack::Punctuator) {
      if (t.value == pack::kComma || t.value == pack::kSemicolon || t.value == pack::kCloseBrace) {
        return p;
      }
      if (t.value == pack::kOpenBrace || t.value == pack::kOpenParen ||
          t.value == pack::kOpenBracket) {
        p = matches[p] < end ? matches[p] + 1 : end;
        continue;
      }
    }
    ++p;
  }
  return end;
}

// Every declarator of a `var` list after the first: the list ends where a name
// is followed by anything but `=`, `,`, `;`, `in` or `}`. It reads the list as
// it will stand with the other walks' semicolons (marked in `semicolonBefore`),
// so that the end of a statement inside an initialiser is not taken for the
// `,` of the list itself.
//   var a = 1, b\n(c)   ->   var a=1,b;(c)
void LaterDeclarators(const TokenList& tokens, const std::vector<bool>& semicolonBefore,
                      const size_t* first, const size_t* stop, std::vector<size_t>& inserts) {
  const size_t end = tokens.Size();
  for (const size_t* v = first; v != stop; ++v) {
    const size_t i = *v;
    size_t it = i + 1;
    while (it + 1 < end && !semicolonBefore[it] && tokens[it].kind == pack::Identifier) {
      const bool endsAfterName = semicolonBefore[it + 1];
      const Token& after = tokens[it + 1];
      if (endsAfterName || !after.IsPunct(pack::kAssign)) {
        if (!endsAfterName && !IsVarListEnd(after) && !after.IsPunct(pack::kCloseBrace) &&
            it > i + 1) {
          inserts.push_back(it + 1);
        }
        if (endsAfterName || !after.IsPunct(pack::kComma)) break;
      }
      bool atInserted = false;
      it = SkipToListEnd(tokens, semicolonBefore, it, atInserted);
      if (atInserted || it >= end || !tokens[it].IsPunct(pack::kComma)) break;
      ++it;
    }
  }
}

// What one pass over the list finds: the ends of the first two walks, the
// `function` and `var` keywords that the other two start from, and the bracket
// matches they step over groups with.
struct FirstPass {
  std::vector<size_t> ends;
  std::vector<size_t> functions;
  std::vector<size_t> vars;
};

// Most pairs of tokens answer both walks at once, by the same rules the walks
// use: within one source, no keyword and no end of an operand can end
// anything, and neither can an operand that the next token continues (unless
// that is `++` or `--`, which the second walk looks further at).
//   a = b . c ( d , e )
bool NeitherWalkEndsAt(const Token& cur, const Token& next) {
  if (next.source != cur.source || cur.kind == pack::Keyword) return false;
  if (!pack::EndsOperand(cur)) return true;
  return !pack::CannotContinueExpression(next) && !next.IsPunct(pack::kIncrement) &&
         !next.IsPunct(pack::kDecrement);
}

// The pass over the tokens from `first` up to `stop`, where both walks look at
// `first` (the list start, or the token after a ";", which no step passes over).
void WalkPart(const TokenList& tokens, size_t first, size_t stop, TokenList::MatchWalk& matches,
              FirstPass& found, std::vector<size_t>& calls) {
  const size_t size = tokens.Size();
  size_t nextEnd = first;
  size_t nextCall = first;
  for (size_t i = first; i < stop; ++i) {
    matches.See(i);
    const Token& t = tokens[i];
    if (t.kind == pack::Keyword) {
      if (t.value == pack::kFunction) found.functions.push_back(i);
      if (t.value == pack::kVar) found.vars.push_back(i);
    }
    if (i + 1 >= size) break;
    if (i == nextEnd && i == nextCall && NeitherWalkEndsAt(t, tokens[i + 1])) {
      nextEnd = nextCall = i + 1;
      continue;
    }
    if (i == nextEnd) nextEnd = EndOfDeclarationOrOperand(tokens, i, found.ends);
    if (i == nextCall) nextCall = EndAfterCallOrIncrement(tokens, i, calls);
  }
}

template <typename T>
void Append(std::vector<T>& to, const std::vector<T>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

// The positions `find(first, stop, out)` finds for each of `items`, in order; a
// long list of items is gone through in two halves at once.
template <typename Find>
std::vector<size_t> FindForEach(const std::vector<size_t>& items, Find find) {
  constexpr size_t kTwoHalvesFrom = 8192;
  std::vector<size_t> found;
  const size_t* const begin = items.data();
  const size_t* const end = begin + items.size();
  if (items.size() < kTwoHalvesFrom) {
    find(begin, end, found);
    return found;
  }
  const size_t* const half = begin + items.size() / 2;
  std::vector<size_t> later;
  if (!platform::RunBeside([&] { find(half, end, later); }, [&] { find(begin, half, found); })) {
    later.clear();
    find(half, end, later);
  }
  Append(found, later);
  return found;
}

// The pass over the list from `split` on (a token after a ";") on a second
// thread, while the caller walks the part before it; false when memory ran out
// there, and the caller walks the rest itself.
bool WalkLaterPart(const TokenList& tokens, size_t split, TokenList::MatchWalk& matches,
                   FirstPass& found, std::vector<size_t>& calls) {
  FirstPass later;
  std::vector<size_t> laterCalls;
  TokenList::MatchWalk laterMatches(tokens, TokenList::MatchWalk::kLaterPart);
  const bool laterDone = platform::RunBeside(
      [&] { WalkPart(tokens, split, tokens.Size(), laterMatches, later, laterCalls); },
      [&] { WalkPart(tokens, 0, split, matches, found, calls); });
  if (!laterDone) return false;
  matches.Join(laterMatches);
  Append(found.ends, later.ends);
  Append(calls, laterCalls);
  Append(found.functions, later.functions);
  Append(found.vars, later.vars);
  return true;
}

// The pass over the whole list, in two parts from `split` when that follows a ";".
FirstPass WalkOnce(const TokenList& tokens, size_t split) {
  FirstPass found;
  std::vector<size_t> calls;
  TokenList::MatchWalk matches(tokens);
  const size_t size = tokens.Size();
  const bool inTwo = split > 0 && split < size && tokens[split - 1].IsPunct(pack::kSemicolon);
  if (!inTwo || !WalkLaterPart(tokens, split, matches, found, calls)) {
    WalkPart(tokens, inTwo ? split : 0, size, matches, found, calls);
  }
  matches.Finish();
  Append(found.ends, calls);
  return found;
}

// Where a long list is cut for two threads: after the first ";" past the middle.
size_t WalkSplit(const TokenList& tokens) {
  constexpr size_t kTwoPartsFrom = size_t{1} << 17;
  if (tokens.Size() < kTwoPartsFrom) return 0;
  for (size_t i = tokens.Size() / 2; i + 1 < tokens.Size(); ++i) {
    if (tokens[i].IsPunct(pack::kSemicolon)) return i + 1;
  }
  return 0;
}

}  // namespace

// The first three walks look only at tokens of the source, never at a ";" that
// another of them inserts; the var lists need those semicolons to find where a
// statement ends, and read them from marks. The first two walks, the bracket
// matches and the search for the keywords the others start from share one pass
// over the list, and every position is merged into it in one step.
void trimlet::Process() { ProcessInTwo(WalkSplit(Tokens())); }

void trimlet::ProcessInTwo(size_t split) {
  pack::TokenList& tokens = Tokens();
  FirstPass found = WalkOnce(tokens, split);
  std::vector<size_t>& inserts = found.ends;
  std::vector<size_t> bodies = FindForEach(
      found.functions, [&](const size_t* first, const size_t* stop, std::vector<size_t>& out) {
        FunctionBodies(*this, first, stop, out);
      });
  std::sort(bodies.begin(), bodies.end());
  inserts.insert(inserts.end(), bodies.begin(), bodies.end());
  std::sort(inserts.begin(), inserts.end());
  std::vector<bool> semicolonBefore(tokens.Size() + 1, false);
  for (const size_t position : inserts) semicolonBefore[position] = true;
  std::vector<size_t> later = FindForEach(
      found.vars, [&](const size_t* first, const size_t* stop, std::vector<size_t>& out) {
        LaterDeclarators(tokens, semicolonBefore, first, stop, out);
      });
  std::sort(later.begin(), later.end());
  const size_t firstWalks = inserts.size();
  inserts.insert(inserts.end(), later.begin(), later.end());
  std::inplace_merge(inserts.begin(), inserts.begin() + static_cast<std::ptrdiff_t>(firstWalks),
                     inserts.end());
  tokens.InsertBefore(inserts, kInsertedSemicolon);
}
