#include "token.h"

#include <algorithm>
#include <cstdint>

#include "vocabulary.h"

namespace pack {

void TokenList::Reserve(size_t n) {
  if (n <= tokens_.capacity()) return;
  tokens_.reserve(std::max(n, 2 * tokens_.capacity()));
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
  if (keepsPositions_) positions_.resize(tokens_.size());  // positions are not kept through this
  matchesValid_ = false;
}

void TokenList::Insert(const std::vector<std::pair<size_t, Token>>& items,
                       const std::vector<size_t>* standsAt) {
  if (items.empty()) return;
  std::vector<TokenPosition> placed;
  if (keepsPositions_ && standsAt != nullptr) {
    for (const size_t at : *standsAt) placed.push_back(at < positions_.size() ? positions_[at] : TokenPosition{});
  }
  size_t from = tokens_.size();
  tokens_.resize(tokens_.size() + items.size());
  if (keepsPositions_) positions_.resize(tokens_.size());
  size_t to = tokens_.size();
  for (size_t k = items.size(); k-- > 0;) {
    const size_t pos = std::min(items[k].first, from);
    while (from > pos) {
      --to;
      --from;
      tokens_[to] = tokens_[from];
      if (keepsPositions_) positions_[to] = positions_[from];
    }
    --to;
    tokens_[to] = items[k].second;
    // An inserted token stands where the token it goes before stood.
    if (keepsPositions_) {
      positions_[to] = !placed.empty()             ? placed[k]
                       : to + 1 < positions_.size() ? positions_[to + 1]
                                                    : TokenPosition{};
    }
  }
  matchesValid_ = false;
}

static_assert(kOpenBrace == 0 && kCloseBrace == 1 && kOpenParen == 2 && kCloseParen == 3 &&
                  kOpenBracket == 4 && kCloseBracket == 5,
              "Matches reads brackets by their codes");

// A closer closes the innermost open group if it is of its kind; else it is stray.
const std::vector<uint32_t>& TokenList::Matches() const {
  if (matchesValid_) return matches_;
  matches_.assign(tokens_.size(), static_cast<uint32_t>(tokens_.size()));
  std::vector<uint32_t> open;
  for (size_t i = 0; i < tokens_.size(); ++i) {
    const Token& t = tokens_[i];
    if (t.kind != Punctuator || t.value < 0 || t.value > 5) continue;
    if (t.value % 2 == 0) {
      open.push_back(static_cast<uint32_t>(i));
    } else if (!open.empty() && tokens_[open.back()].value + 1 == t.value) {
      matches_[open.back()] = static_cast<uint32_t>(i);
      open.pop_back();
    }
  }
  matchesValid_ = true;
  return matches_;
}

}  // namespace pack
