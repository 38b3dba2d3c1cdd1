// The fixed vocabulary: punctuators, keywords and literal words, from the one
// list in vocabulary.def. A token's code is the position of its text in these
// tables; the stages test tokens by the named codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pack {

enum Punct : int32_t {
#define PUNCTUATOR(name, text) k##name,
#define KEYWORD(name, text)
#include "vocabulary.def"
#undef PUNCTUATOR
#undef KEYWORD
  kPunctuatorCount
};

enum Kw : int32_t {
#define PUNCTUATOR(name, text)
#define KEYWORD(name, text) k##name,
#include "vocabulary.def"
#undef PUNCTUATOR
#undef KEYWORD
  kKeywordCount
};

inline constexpr std::array<std::u16string_view, kPunctuatorCount> PunctuatorTable = {
#define PUNCTUATOR(name, text) u"" text,
#define KEYWORD(name, text)
#include "vocabulary.def"
#undef PUNCTUATOR
#undef KEYWORD
};

inline constexpr std::array<std::u16string_view, kKeywordCount> KeywordTable = {
#define PUNCTUATOR(name, text)
#define KEYWORD(name, text) u"" text,
#include "vocabulary.def"
#undef PUNCTUATOR
#undef KEYWORD
};

// Words scanned as Literal tokens instead of names, tested in this order.
inline constexpr std::array<std::u16string_view, 6> LiteralWords = {
    u"true", u"false", u"null", u"NaN", u"Infinity", u"undefined",
};

// Codes that other code tests by range: `{` `}` `(` `)` `[` `]` are 0 to 5,
// each closer its opener's plus one.
static_assert(kOpenBrace == 0 && kCloseBrace == 1 && kOpenParen == 2 && kCloseParen == 3);
static_assert(kOpenBracket == 4 && kCloseBracket == 5 && kSemicolon == 7);
static_assert(PunctuatorTable[kShiftRightUnsignedAssign] == u">>>=");

// Keyword code of a word, or -1.
int32_t FindKeyword(std::u16string_view word);

// Whether a word is one of the six literal words.
bool IsLiteralWord(std::u16string_view word);

// Whether a word may read as something else than a plain name somewhere: a
// keyword, a literal word, or a word the grammar gives a meaning in some
// place (let, static, yield, await, async, of, get, set, as, from, ...),
// also arguments and eval.
bool ActsAsWord(std::u16string_view word);

// The punctuator that starts a text: the longest spelling in the table, with
// the language's two exceptions: `.` before a digit starts a number (`.5`), and
// `?.` before a digit is `?` (`a?.5:1` is a conditional).
struct PunctMatch {
  int32_t code;
  int32_t length;
};

namespace detail {

// For each ASCII character, the codes of the punctuators that begin with it,
// longest first.
struct PunctStarts {
  int8_t codes[128][8];
  constexpr PunctStarts() : codes() {
    for (auto& row : codes) {
      for (int8_t& c : row) c = -1;
    }
    for (size_t length = 4; length >= 1; --length) {
      for (size_t k = 0; k < PunctuatorTable.size(); ++k) {
        if (PunctuatorTable[k].size() != length) continue;
        int8_t* row = codes[PunctuatorTable[k][0]];
        size_t n = 0;
        while (row[n] >= 0) ++n;
        row[n] = static_cast<int8_t>(k);
      }
    }
  }
};

inline constexpr PunctStarts kPunctStarts;

}  // namespace detail

// `at(i)` gives the i-th code unit from the start (0 past the end).
template <typename At>
constexpr PunctMatch MatchPunctuatorWith(At at) {
  const char16_t first = at(0);
  if (first == 0 || first >= 128) return {-1, 0};
  for (const int8_t code : detail::kPunctStarts.codes[first]) {
    if (code < 0) break;
    const std::u16string_view text = PunctuatorTable[static_cast<size_t>(code)];
    size_t i = 1;
    while (i < text.size() && at(i) == text[i]) ++i;
    if (i < text.size()) continue;
    const char16_t after = at(text.size());
    if ((code == kDot || code == kQuestionDot) && after >= u'0' && after <= u'9') continue;
    return {code, static_cast<int32_t>(text.size())};
  }
  return {-1, 0};
}

PunctMatch MatchPunctuator(std::u16string_view text);

}  // namespace pack
