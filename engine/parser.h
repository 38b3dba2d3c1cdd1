// The parser of the whole language, scripts and modules. It drives the lexer
// (asking for a regular expression or a template's continuation where the
// grammar allows one), appends every token it consumes to the token list, puts
// a ";" token wherever a line break ended a statement, and tells the later
// stages what they need: which names are properties rather than variables,
// which strings must stay literals, and the scopes with every binding and use.
// Input that is not valid JavaScript throws SyntaxError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lexer.h"
#include "scopes.h"
#include "token.h"

namespace pack {

// CommonJs: node's CommonJS module, a script that runs as the body of a
// function: its top-level names are its own, and it may return.
enum class Goal { Script, Module, CommonJs };

// How deeply the parser's functions may nest (two or three calls a level of
// the source) before it refuses the input; the caller gives the parser a
// stack deep enough for it.
constexpr int32_t kMostNesting = 50000;
// How deeply they may nest on an ordinary thread's stack; past it the parser
// throws SyntaxError with `tooDeep`, and the caller may parse again on a
// thread with room for kMostNesting.
constexpr int32_t kShallowNesting = 1000;
struct ParseOptions {
  Goal goal = Goal::Script;
  int32_t source = 0;
  // Whether a ";" goes before the first token: an earlier source's last
  // statement ends where this one begins.
  bool endPreviousSource = false;
  // Whether a #! line is kept (only the first source of an output can hold one).
  bool keepHashbang = true;
  int32_t mostNesting = kShallowNesting;
  // How much of the thread's stack the parse may use, in bytes: past it the
  // parser throws SyntaxError with `tooDeep`, whatever the frames' size.
  size_t stackBudget = size_t{512} << 10;
};

// Parses one source into `tokens`, declaring and referring names in `scopes`.
template <typename Unit>
void ParseSource(Lexer<Unit>& lexer, TokenList& tokens, Scopes& scopes, const ParseOptions& options);

}  // namespace pack
