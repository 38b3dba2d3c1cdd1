// The process-wide text tables that token values index, and the text builder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "token.h"

namespace pack {

// Distinct texts, indexed from 0 in the order they were first seen. Each text is
// copied into storage the table owns; indices never change while it lives.
class TextTable {
 public:
  int32_t Intern(std::u16string_view text);
  bool Contains(std::u16string_view text) const { return Find(text) >= 0; }
  int32_t Find(std::u16string_view text) const;
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  std::u16string_view Text(int32_t index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<size_t>(index)]
                                         : std::u16string_view();
  }
  // Asks the processor to bring an entry, or its text, into the cache ahead of
  // use: a walk over many tokens otherwise waits on each lookup in turn.
  void PrefetchEntry(int32_t index) const {
    if (index >= 0 && index < Count()) __builtin_prefetch(&entries_[static_cast<size_t>(index)]);
  }
  void PrefetchText(int32_t index) const {
    if (index >= 0 && index < Count()) {
      __builtin_prefetch(entries_[static_cast<size_t>(index)].data());
    }
  }
  // Makes room for `count` texts in all, so that adding up to that many needs
  // no further rehashing.
  void Reserve(size_t count);
  // Forgets every text from index `count` on.
  void Truncate(int32_t count);
  void Release();

 private:
  static uint64_t Hash(std::u16string_view text);
  const char16_t* Store(std::u16string_view text);
  void Grow();
  void Rehash(size_t size);

  // Open addressing: each slot holds an entry's index (-1: empty), the top bits
  // of its text's hash, so that a probe rarely looks at another text, and the
  // stored text itself, so that a match costs one look into memory.
  struct Slot {
    const char16_t* text;
    int32_t entry;
    uint32_t tag;
  };
  static bool SameText(const char16_t* stored, std::u16string_view text);
  size_t Probe(std::u16string_view text, uint64_t hash) const;
  static uint32_t Tag(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

  std::vector<std::u16string_view> entries_;
  std::vector<Slot> slots_;
  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  size_t blockUsed_ = 0;
  size_t blockSize_ = 0;
};

// The texts token values index, for one output: the packer objects that make
// it share one session (the script blocks of a page, whose names meet in one
// global scope), and nothing else does, so that what a packer writes never
// depends on what else the process packs.
struct Session {
  TextTable identifiers;
  TextTable literals;  // numbers, strings, literal words, template parts, the #! line
  TextTable regExps;

  // The text of a token as it is written out; empty for a value outside its table.
  std::u16string_view TokenText(int32_t kind, int32_t value) const;
  std::u16string_view TokenText(const Token& t) const { return TokenText(t.kind, t.value); }
};

// A growable buffer of UTF-16 code units. A new builder holds 16; appending one
// unit to a full builder makes room for 2n+1, appending n units to one without
// room for them makes room for 2(capacity+n)+1.
class TextBuilder {
 public:
  virtual ~TextBuilder() = default;
  void Append(char16_t ch) {
    if (count_ == capacity_) Reallocate(2 * capacity_ + 1);
    data_[count_++] = ch;
  }
  void Append(std::u16string_view text) {
    if (capacity_ - count_ < text.size()) Reallocate(2 * (capacity_ + text.size()) + 1);
    text.copy(data_.get() + count_, text.size());
    count_ += text.size();
  }
  void Restart(char16_t ch) { count_ = 0; Append(ch); }
  void Clear() { count_ = 0; }
  void Reserve(size_t n) { if (n > capacity_) Reallocate(n); }
  // Moves the text into `target` and empties the builder; the capacity stays.
  void Detach(std::u16string& target) {
    target.assign(data_.get(), count_);
    count_ = 0;
  }
  std::u16string_view View() const { return {data_.get(), count_}; }
  size_t count() const { return count_; }
  size_t capacity() const { return capacity_; }

 private:
  void Reallocate(size_t capacity);

  std::unique_ptr<char16_t[]> data_ = std::make_unique<char16_t[]>(16);
  size_t count_ = 0;
  size_t capacity_ = 16;
};

}  // namespace pack
