// The words a scan has read lately, by the units they are spelled with, and the
// token each became. A script spends most of its words on a few hundred names
// and keywords (`function`, `return`, `this`, `length`), and most of its short
// literals on a few strings and numbers ("object", "", 0, 1): a word found here
// needs no widening, no keyword search and no look into the text tables, whose
// slots lie far apart in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pack {

#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "keys mask the first bytes as the low ones");
#endif

class WordCache {
 public:
  // Words of up to this many bytes are kept; longer ones are always looked up.
  static constexpr size_t kMostBytes = 16;

  // One entry for every 256 bytes of text, from 64 up to 4,096; none for a
  // text under 16 KB, which would gain less than the entries cost to clear.
  explicit WordCache(size_t textBytes) {
    size_t n = 0;
    if (textBytes >= kFewestTextBytes) {
      n = 64;
      while (n < kMostEntries && n * 256 < textBytes) n *= 2;
    }
    entries_.resize(n);
  }

  // The spelling of a word or literal: `bytes` (at most kMostBytes) at `p`, and
  // whether a `.` came before it, since after one every word is a name.
  struct Key {
    uint64_t head = 0;
    uint64_t tail = 0;
    uint32_t size = 0;  // bytes, plus kAfterDot
  };
  static constexpr uint32_t kAfterDot = 1u << 8;

  bool Enabled() const { return !entries_.empty(); }

  // `room` is how many bytes may be read at `p`: with sixteen, the key is
  // taken in two loads and masked, not assembled byte by byte.
  static Key KeyOf(const void* p, size_t bytes, size_t room, bool afterDot) {
    Key key;
    const auto* b = static_cast<const unsigned char*>(p);
    if (room >= kMostBytes) {
      std::memcpy(&key.head, b, 8);
      std::memcpy(&key.tail, b + 8, 8);
      key.head &= LowBytes(bytes);
      key.tail &= bytes > 8 ? LowBytes(bytes - 8) : 0;
    } else {
      std::memcpy(&key.head, b, bytes < 8 ? bytes : 8);
      if (bytes > 8) std::memcpy(&key.tail, b + 8, bytes - 8);
    }
    key.size = static_cast<uint32_t>(bytes) | (afterDot ? kAfterDot : 0);
    return key;
  }

  // The token kind and value stored for `key`; false when it is not here.
  bool Find(const Key& key, int8_t& kind, int32_t& value) const {
    const Entry& e = entries_[Slot(key)];
    if (e.size != key.size || e.head != key.head || e.tail != key.tail) return false;
    kind = e.kind;
    value = e.value;
    return true;
  }

  void Store(const Key& key, int8_t kind, int32_t value) {
    entries_[Slot(key)] = Entry{key.head, key.tail, key.size, kind, value};
  }

 private:
  static constexpr size_t kFewestTextBytes = 16 * 1024;
  static constexpr size_t kMostEntries = 4096;

  struct Entry {
    uint64_t head;
    uint64_t tail;
    uint32_t size;  // 0: empty; no word is empty
    int8_t kind;
    int32_t value;
  };

  // A mask of the first `n` bytes of a little-endian word (all of it from 8).
  static uint64_t LowBytes(size_t n) {
    return n >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * n)) - 1;
  }

  size_t Slot(const Key& key) const {
    uint64_t h = (key.head ^ (key.tail * 0x9E3779B97F4A7C15ull) ^ key.size) * 0xFF51AFD7ED558CCDull;
    return static_cast<size_t>(h >> 40) & (entries_.size() - 1);
  }

  std::vector<Entry> entries_;
};

}  // namespace pack
