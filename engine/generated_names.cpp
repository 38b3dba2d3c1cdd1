#include "generated_names.h"

#include <algorithm>

#include "vocabulary.h"

namespace pack {

NameAlphabet::NameAlphabet(const std::array<uint64_t, 128>& counts) {
  const std::u16string_view letters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_$";
  const std::u16string_view digits = u"0123456789";
  const auto byCount = [&](char16_t a, char16_t b) { return counts[a] > counts[b]; };
  first_.assign(letters);
  std::stable_sort(first_.begin(), first_.end(), byCount);
  rest_ = first_;
  rest_.append(digits);
  std::stable_sort(rest_.begin(), rest_.end(), byCount);
}

std::u16string NameAlphabet::Name(uint64_t index) const {
  std::u16string name(1, first_[index % first_.size()]);
  index /= first_.size();
  while (index > 0) {
    --index;
    name.push_back(rest_[index % rest_.size()]);
    index /= rest_.size();
  }
  return name;
}

// Name, read backwards; names of more than eight characters are never given.
int64_t NameAlphabet::NumberOf(std::u16string_view name) const {
  if (name.empty() || name.size() > 8) return -1;
  uint64_t rest = 0;
  for (size_t k = name.size() - 1; k >= 1; --k) {
    const size_t digit = rest_.find(name[k]);
    if (digit == std::u16string::npos) return -1;
    rest = 1 + digit + rest_.size() * rest;
  }
  const size_t lead = first_.find(name[0]);
  if (lead == std::u16string::npos) return -1;
  return static_cast<int64_t>(lead + first_.size() * rest);
}

bool MayBeGenerated(std::u16string_view name) { return !ActsAsWord(name); }

bool GeneratedNames::MayGive(size_t number) {
  Settle(number);
  return usable_[number] != 0;
}

int32_t GeneratedNames::Identifier(size_t number) {
  Settle(number);
  if (identifier_[number] < 0) identifier_[number] = names_.Intern(alphabet_.Name(number));
  return identifier_[number];
}

void GeneratedNames::Settle(size_t number) {
  while (usable_.size() <= number) {
    const std::u16string name = alphabet_.Name(usable_.size());
    const int32_t known = names_.Find(name);
    const bool free = known < 0 || static_cast<size_t>(known) >= reserved_.size() ||
                      !reserved_[static_cast<size_t>(known)];
    usable_.push_back(free && MayBeGenerated(name) ? 1 : 0);
    identifier_.push_back(-1);
  }
}

}  // namespace pack
