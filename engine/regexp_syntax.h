// The syntax check of a regular expression's pattern: the lexer finds where a
// literal `/…/flags` ends and checks its flags; this decides whether the text
// between the slashes is a pattern for those flags. Without u or v the old web
// grammar applies (`/{/`, `/]/`, `/\c/`, `/a{,5}/` and `/\1/` with no group
// are all accepted); with u the strict one; with v the strict one and class
// sets (`[\w--\d]`, `[[a-z]&&\p{L}]`, `[\q{ab|c}]`).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pack {

struct RegExpProblem {
  size_t offset = 0;    // UTF-16 units into the body; a fault of the flags is at body.size()
  std::string message;  // short and lower-case: "invalid group", "nothing to repeat"
};

// `body` is the text between the slashes, `flags` the flags as written.
// Returns true when the pattern is valid for those flags, else false with
// `problem` set. Runs in time linear in the body (a group name used again
// adds one binary search over the groups open there) and without recursion,
// so any nesting depth and any input are safe.
bool CheckRegExpPattern(std::u16string_view body, std::u16string_view flags,
                        RegExpProblem& problem);

}  // namespace pack
