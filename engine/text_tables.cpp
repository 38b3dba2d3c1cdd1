#include "text_tables.h"

#include <algorithm>
#include <cstring>

#include "vocabulary.h"

namespace pack {
namespace {

constexpr size_t kMinBlock = 1 << 16;

}  // namespace

uint64_t TextTable::Hash(std::u16string_view text) {
  // Eight bytes (four code units) a step, each mixed in by a multiplication.
  const char* p = reinterpret_cast<const char*>(text.data());
  size_t n = text.size() * sizeof(char16_t);
  uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 31;
  }
  if (n > 0) {
    uint64_t word = 0;
    std::memcpy(&word, p, n);
    h = (h ^ word) * 0xC4CEB9FE1A85EC53ull;
  }
  return h ^ (h >> 29);
}

// A stored text is preceded by its length, two code units wide, so that the
// comparison reads one place in memory.
bool TextTable::SameText(const char16_t* stored, std::u16string_view text) {
  uint32_t length;
  std::memcpy(&length, stored - 2, sizeof length);
  return length == text.size() &&
         std::memcmp(stored, text.data(), text.size() * sizeof(char16_t)) == 0;
}

// The slot that holds `text`, or the empty one where it would go.
size_t TextTable::Probe(std::u16string_view text, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].entry >= 0 && (slots_[i].tag != Tag(hash) || !SameText(slots_[i].text, text))) {
    i = (i + 1) & mask;
  }
  return i;
}

int32_t TextTable::Find(std::u16string_view text) const {
  if (slots_.empty()) return -1;
  return slots_[Probe(text, Hash(text))].entry;
}

const char16_t* TextTable::Store(std::u16string_view text) {
  const size_t need = text.size() + 3;
  if (blocks_.empty() || blockSize_ - blockUsed_ < need) {
    blockSize_ = std::max(kMinBlock, need);
    blocks_.push_back(std::make_unique<char16_t[]>(blockSize_));
    blockUsed_ = 0;
  }
  char16_t* place = blocks_.back().get() + blockUsed_ + 2;
  const auto length = static_cast<uint32_t>(text.size());
  std::memcpy(place - 2, &length, sizeof length);
  text.copy(place, text.size());
  place[text.size()] = 0;
  blockUsed_ += need;
  return place;
}

void TextTable::Grow() { Rehash(slots_.empty() ? 1024 : slots_.size() * 2); }

void TextTable::Reserve(size_t count) {
  size_t size = slots_.empty() ? 1024 : slots_.size();
  while ((count + 1) * 2 > size) size *= 2;
  if (size > slots_.size()) Rehash(size);
  entries_.reserve(count);
}

void TextTable::Rehash(size_t size) {
  slots_.assign(size, Slot{nullptr, -1, 0});
  const size_t mask = size - 1;
  for (size_t e = 0; e < entries_.size(); ++e) {
    const uint64_t hash = Hash(entries_[e]);
    size_t i = hash & mask;
    while (slots_[i].entry >= 0) i = (i + 1) & mask;
    slots_[i] = Slot{entries_[e].data(), static_cast<int32_t>(e), Tag(hash)};
  }
}

int32_t TextTable::Intern(std::u16string_view text) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
  const uint64_t hash = Hash(text);
  Slot& slot = slots_[Probe(text, hash)];
  if (slot.entry >= 0) return slot.entry;
  const int32_t index = Count();
  const char16_t* stored = Store(text);
  entries_.emplace_back(stored, text.size());
  slot = Slot{stored, index, Tag(hash)};
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

std::u16string_view Session::TokenText(int32_t kind, int32_t value) const {
  switch (kind) {
    case Punctuator:
      return value >= 0 && value < static_cast<int32_t>(PunctuatorTable.size())
                 ? PunctuatorTable[static_cast<size_t>(value)] : std::u16string_view();
    case Keyword:
      return value >= 0 && value < static_cast<int32_t>(KeywordTable.size())
                 ? KeywordTable[static_cast<size_t>(value)] : std::u16string_view();
    case Identifier: return identifiers.Text(value);
    case Literal:
    case Template:
    case Hashbang:
    case Comment: return literals.Text(value);
    case RegExp: return regExps.Text(value);
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
