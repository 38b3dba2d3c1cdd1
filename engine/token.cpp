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

static_assert(kOpenBrace == 0 && kCloseBrace == 1 && kOpenParen == 2 && kCloseParen == 3 &&
                  kOpenBracket == 4 && kCloseBracket == 5,
              "MatchWalk reads brackets by their codes");

TokenList::MatchWalk::MatchWalk(const TokenList& tokens, Part part)
    : tokens_(tokens), part_(part) {
  if (part == kLaterPart) return;  // the walk of the earlier part has made room
  std::vector<uint32_t>& matches = tokens.matches_;
  if (matches.capacity() < tokens.Size()) {
    matches.clear();
    matches.reserve(tokens.Size());
    platform::PreferHugePages(matches.data(), tokens.Size() * sizeof(uint32_t));
  }
  matches.assign(tokens.Size(), static_cast<uint32_t>(tokens.Size()));
}

void TokenList::MatchWalk::Join(const MatchWalk& later) {
  for (const uint32_t closer : later.unmatched_) {
    if (!open_.empty()) Close(closer);
  }
  open_.insert(open_.end(), later.open_.begin(), later.open_.end());
}

const std::vector<uint32_t>& TokenList::Matches() const {
  if (matchesValid_) return matches_;
  MatchWalk walk(*this);
  for (size_t i = 0; i < tokens_.size(); ++i) walk.See(i);
  walk.Finish();
  return matches_;
}

}  // namespace pack
