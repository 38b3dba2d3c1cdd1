#include "token.h"

#include <cstdint>

#include "vocabulary.h"

namespace pack {

void TokenList::InsertBefore(const std::vector<size_t>& before, const Token& token) {
  if (before.empty()) return;
  std::vector<Token> merged;
  merged.reserve(tokens_.size() + before.size());
  size_t next = 0;
  size_t lastInserted = SIZE_MAX;
  for (size_t pos : before) {
    if (pos == lastInserted) continue;
    while (next < pos && next < tokens_.size()) merged.push_back(tokens_[next++]);
    merged.push_back(token);
    lastInserted = pos;
  }
  merged.insert(merged.end(), tokens_.begin() + static_cast<std::ptrdiff_t>(next), tokens_.end());
  tokens_.swap(merged);
  matchesValid_ = false;
}

const std::vector<uint32_t>& TokenList::Matches() const {
  if (matchesValid_) return matches_;
  const uint32_t end = static_cast<uint32_t>(tokens_.size());
  matches_.assign(tokens_.size(), end);
  std::vector<uint32_t> open;  // indices of open groups, innermost last
  for (uint32_t i = 0; i < end; ++i) {
    const Token& t = tokens_[i];
    if (t.kind != Punctuator) continue;
    switch (t.value) {
      case kOpenBrace: case kOpenParen: case kOpenBracket:
        open.push_back(i);
        break;
      case kCloseBrace: case kCloseParen: case kCloseBracket:
        // `}` is 1, `)` 3, `]` 5: each closer's code is its opener's plus one.
        if (!open.empty() && tokens_[open.back()].value + 1 == t.value) {
          matches_[open.back()] = i;
          open.pop_back();
        }
        break;
      default:
        break;
    }
  }
  matchesValid_ = true;
  return matches_;
}

}  // namespace pack
