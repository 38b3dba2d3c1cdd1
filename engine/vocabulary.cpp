#include "vocabulary.h"

namespace pack {

namespace {

// The first keyword of each length and first letter; keywords are sorted, so
// the others of the same length and letter (only "if" and "in") follow it.
struct KeywordStarts {
  int8_t first[11][26];
  constexpr KeywordStarts() : first() {
    for (auto& row : first) {
      for (int8_t& cell : row) cell = -1;
    }
    for (size_t k = KeywordTable.size(); k-- > 0;) {
      first[KeywordTable[k].size()][KeywordTable[k][0] - u'a'] = static_cast<int8_t>(k);
    }
  }
};

constexpr KeywordStarts kKeywordStarts;

}  // namespace

int32_t FindKeyword(std::u16string_view word) {
  if (word.size() < 2 || word.size() > 10 || word[0] < u'a' || word[0] > u'z') return -1;
  for (int32_t k = kKeywordStarts.first[word.size()][word[0] - u'a'];
       k >= 0 && k < static_cast<int32_t>(KeywordTable.size()) &&
       KeywordTable[static_cast<size_t>(k)].size() == word.size() &&
       KeywordTable[static_cast<size_t>(k)][0] == word[0];
       ++k) {
    if (KeywordTable[static_cast<size_t>(k)] == word) return k;
  }
  return -1;
}

bool IsLiteralWord(std::u16string_view word) {
  for (std::u16string_view w : LiteralWords) {
    if (w == word) return true;
  }
  return false;
}

}  // namespace pack
