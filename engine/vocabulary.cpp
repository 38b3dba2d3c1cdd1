#include "vocabulary.h"

namespace pack {

int32_t FindKeyword(std::u16string_view word) {
  // Keywords are 2 to 10 letters, all lowercase ASCII; most words fail the
  // first test and never reach the table.
  if (word.size() < 2 || word.size() > 10 || word[0] < u'b' || word[0] > u'w') return -1;
  for (size_t i = 0; i < KeywordTable.size(); ++i) {
    if (KeywordTable[i] == word) return static_cast<int32_t>(i);
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
