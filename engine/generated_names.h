// The names the renaming stage gives: numbered, shortest first, from an
// alphabet ordered by how often each character occurs in the output, which
// helps gzip. Number 0 is the most frequent letter alone; after the 54
// names of one character come the 54 x 64 of two, and so on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text_tables.h"

namespace pack {

// The characters of generated names, the most frequent first: 54 that may
// start a name, 64 that may follow.
class NameAlphabet {
 public:
  // `counts`: how often each ASCII character occurs.
  explicit NameAlphabet(const std::array<uint64_t, 128>& counts);
  // The name of number `index`.
  std::u16string Name(uint64_t index) const;
  // The number whose name `name` is, or -1 when no number has it.
  int64_t NumberOf(std::u16string_view name) const;

 private:
  std::u16string first_;
  std::u16string rest_;
};

// Whether a generated name may be `name`: no keyword, literal word, word
// reserved in strict code or modules, nor a word with a meaning of its own
// (arguments, eval, async, of, ...).
bool MayBeGenerated(std::u16string_view name);

// The generated names by number, each interned in the identifier table once
// it is given, and which of them may be given: not a word of MayBeGenerated,
// not a name `reserved` marks (indexed by identifier).
class GeneratedNames {
 public:
  GeneratedNames(const NameAlphabet& alphabet, const std::vector<uint8_t>& reserved, TextTable& names)
      : alphabet_(alphabet), reserved_(reserved), names_(names) {}
  bool MayGive(size_t number);
  // The identifier of number `number`.
  int32_t Identifier(size_t number);
  // The number of the generated name that `identifier` spells, or -1.
  int64_t NumberOfName(int32_t identifier) const { return alphabet_.NumberOf(names_.Text(identifier)); }

 private:
  void Settle(size_t number);

  const NameAlphabet& alphabet_;
  const std::vector<uint8_t>& reserved_;
  TextTable& names_;
  std::vector<uint8_t> usable_;
  std::vector<int32_t> identifier_;
};

}  // namespace pack
