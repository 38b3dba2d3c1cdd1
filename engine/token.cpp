#include "token.h"

#include <algorithm>
#include <cstdint>

#include "platform.h"
#include "vocabulary.h"

namespace pack {

void TokenList::Reserve(size_t n) {
  if (n <= tokens_.capacity()) return;
  tokens_.reserve(std::max(n, 2 * tokens_.capacity()));
  platform::PreferHugePages(tokens_.data(), tokens_.capacity() * sizeof(Token));
}

void TokenList::InsertBefore(const std::vector<size_t>& before, const Token& token) {
  if (before.empty()) return;
  size_t count = 1;
  for (size_t k = 1; k < before.size(); ++k) count += before[k] != before[k - 1];
  // Grow once, then move every token to its final place from the back, so that
  // no second copy of the list is ever made.
  size_t from = tokens_.size();
  tokens_.resize(tokens_.size() + count);
  size_t to = tokens_.size();
  for (size_t k = before.size(); k-- > 0;) {
    if (k + 1 < before.size() && before[k] == before[k + 1]) continue;
    const size_t pos = std::min(before[k], from);
    while (from > pos) tokens_[--to] = tokens_[--from];
    tokens_[--to] = token;
  }
  matchesValid_ = false;
}

const std::vector<uint32_t>& TokenList::Matches() const {
  if (matchesValid_) return matches_;
  const uint32_t end = static_cast<uint32_t>(tokens_.size());
  if (matches_.capacity() < tokens_.size()) {
    matches_.clear();
    matches_.reserve(tokens_.size());
    platform::PreferHugePages(matches_.data(), tokens_.size() * sizeof(uint32_t));
  }
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
