#include "text_tables.h"

#include <algorithm>
#include <cstring>

#include "vocabulary.h"

namespace pack {
namespace {

constexpr size_t kMinBlock = 1 << 16;

}  // namespace

uint64_t TextTable::Hash(std::u16string_view text) {
  // FNV-1a over code units: cheap, and good enough for names and literals.
  uint64_t h = 1469598103934665603ull;
  for (char16_t c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h ^ (h >> 29);
}

int32_t TextTable::Find(std::u16string_view text) const {
  if (slots_.empty()) return -1;
  const size_t mask = slots_.size() - 1;
  for (size_t i = Hash(text) & mask;; i = (i + 1) & mask) {
    const int32_t e = slots_[i];
    if (e < 0) return -1;
    if (entries_[static_cast<size_t>(e)] == text) return e;
  }
}

const char16_t* TextTable::Store(std::u16string_view text) {
  const size_t need = text.size() + 1;
  if (blocks_.empty() || blockSize_ - blockUsed_ < need) {
    blockSize_ = std::max(kMinBlock, need);
    blocks_.push_back(std::make_unique<char16_t[]>(blockSize_));
    blockUsed_ = 0;
  }
  char16_t* place = blocks_.back().get() + blockUsed_;
  text.copy(place, text.size());
  place[text.size()] = 0;
  blockUsed_ += need;
  return place;
}

void TextTable::Grow() { Rehash(slots_.empty() ? 1024 : slots_.size() * 2); }

void TextTable::Rehash(size_t size) {
  slots_.assign(size, -1);
  const size_t mask = size - 1;
  for (size_t e = 0; e < entries_.size(); ++e) {
    size_t i = Hash(entries_[e]) & mask;
    while (slots_[i] >= 0) i = (i + 1) & mask;
    slots_[i] = static_cast<int32_t>(e);
  }
}

int32_t TextTable::Intern(std::u16string_view text) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
  const size_t mask = slots_.size() - 1;
  size_t i = Hash(text) & mask;
  for (;; i = (i + 1) & mask) {
    const int32_t e = slots_[i];
    if (e < 0) break;
    if (entries_[static_cast<size_t>(e)] == text) return e;
  }
  const int32_t index = Count();
  entries_.emplace_back(Store(text), text.size());
  slots_[i] = index;
  return index;
}

void TextTable::Truncate(int32_t count) {
  if (count < 0 || count >= Count()) return;
  entries_.resize(static_cast<size_t>(count));
  Rehash(slots_.size());
}

void TextTable::Release() {
  entries_.clear();
  entries_.shrink_to_fit();
  slots_.clear();
  slots_.shrink_to_fit();
  blocks_.clear();
  blockUsed_ = blockSize_ = 0;
}

TextTable& IdentifierTable() {
  static TextTable table;
  return table;
}

TextTable& LiteralTable() {
  static TextTable table;
  return table;
}

TextTable& RegExpTable() {
  static TextTable table;
  return table;
}

NamePosition& TakenNamesEnd() {
  static NamePosition end;
  return end;
}

void ReleaseTextTables() {
  TakenNamesEnd() = NamePosition{};
  IdentifierTable().Release();
  LiteralTable().Release();
  RegExpTable().Release();
}

std::u16string_view TokenText(int32_t kind, int32_t value) {
  switch (kind) {
    case Punctuator:
      return value >= 0 && value < static_cast<int32_t>(PunctuatorTable.size())
                 ? PunctuatorTable[static_cast<size_t>(value)] : std::u16string_view();
    case Keyword:
      return value >= 0 && value < static_cast<int32_t>(KeywordTable.size())
                 ? KeywordTable[static_cast<size_t>(value)] : std::u16string_view();
    case Identifier: return IdentifierTable().Text(value);
    case Literal: return LiteralTable().Text(value);
    case RegExp: return RegExpTable().Text(value);
    default: return {};
  }
}

void TextBuilder::Reallocate(size_t capacity) {
  auto fresh = std::make_unique<char16_t[]>(capacity);  // zero-filled
  std::copy(data_.get(), data_.get() + count_, fresh.get());
  data_ = std::move(fresh);
  capacity_ = capacity;
}

}  // namespace pack
