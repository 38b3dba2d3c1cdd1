#include "vocabulary.h"

namespace pack {

namespace {

// The keywords of each length and first letter; few share both.
struct KeywordStarts {
  int8_t codes[11][26][3];
  constexpr KeywordStarts() : codes() {
    for (auto& byLength : codes) {
      for (auto& byLetter : byLength) {
        for (int8_t& c : byLetter) c = -1;
      }
    }
    for (size_t k = 0; k < KeywordTable.size(); ++k) {
      int8_t* cell = codes[KeywordTable[k].size()][KeywordTable[k][0] - u'a'];
      size_t n = 0;
      while (cell[n] >= 0) ++n;
      cell[n] = static_cast<int8_t>(k);
    }
  }
};

constexpr KeywordStarts kKeywordStarts;

}  // namespace

int32_t FindKeyword(std::u16string_view word) {
  if (word.size() < 2 || word.size() > 10 || word[0] < u'a' || word[0] > u'z') return -1;
  for (const int8_t k : kKeywordStarts.codes[word.size()][word[0] - u'a']) {
    if (k < 0) break;
    if (KeywordTable[static_cast<size_t>(k)] == word) return k;
  }
  return -1;
}

namespace {

constexpr std::array<std::u16string_view, 21> kMeaningfulNames = {
    u"let",     u"static",    u"yield",  u"await",     u"implements", u"interface", u"package",
    u"private", u"protected", u"public", u"arguments", u"eval",       u"async",     u"as",
    u"of",      u"get",       u"set",    u"from",      u"target",     u"meta",      u"using",
};

}  // namespace

bool ActsAsWord(std::u16string_view word) {
  if (FindKeyword(word) >= 0 || IsLiteralWord(word)) return true;
  for (std::u16string_view w : kMeaningfulNames) {
    if (w == word) return true;
  }
  return false;
}

bool IsLiteralWord(std::u16string_view word) {
  for (std::u16string_view w : LiteralWords) {
    if (w == word) return true;
  }
  return false;
}

PunctMatch MatchPunctuator(std::u16string_view text) {
  return MatchPunctuatorWith(
      [&](size_t i) -> char16_t { return i < text.size() ? text[i] : char16_t{0}; });
}

}  // namespace pack
