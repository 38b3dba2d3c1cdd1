// The two forms of text the scanner reads: UTF-16 code units, and the bytes of
// well-formed UTF-8, read as they are without a UTF-16 copy of the whole text.
// What differs between them is here; the scanner is written once for both.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "char_class.h"
#include "platform.h"

namespace pack {

#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the first byte of a word is its lowest");
#endif

template <typename Unit>
struct TextUnits;

template <>
struct TextUnits<char16_t> {
  // The units of the character that starts at `p`.
  static size_t Length(const char16_t*) { return 1; }
  // The character that starts at `p`, for the classes above ASCII.
  static char32_t At(const char16_t* p, const char16_t*) { return *p; }
  static bool IsBreakAt(const char16_t* p, const char16_t*) { return IsLineBreak(*p); }
  static bool IsWordAt(const char16_t* p, const char16_t*) { return IsWordChar(*p); }
  // The text from `p` to `q` as UTF-16.
  static std::u16string_view Wide(const char16_t* p, const char16_t* q, std::u16string&) {
    return {p, static_cast<size_t>(q - p)};
  }
  // UTF-16 code units in [p, q).
  static size_t CodeUnits(const char16_t* p, const char16_t* q) {
    return static_cast<size_t>(q - p);
  }
  // Where the plain text of a comment that starts at `p` may end; see below.
  static const char16_t* SkipCommentText(const char16_t* p, const char16_t*) { return p; }
};

template <>
struct TextUnits<uint8_t> {
  static bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }
  // How many bytes of `w` have their top bit set, the other bits clear.
  static size_t BytesMarked(uint64_t w) {
    return static_cast<size_t>(((w >> 7) * 0x0101010101010101ull) >> 56);
  }

  static size_t Length(const uint8_t* p) {
    const uint8_t b = *p;
    return b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  }
  static char32_t At(const uint8_t* p, const uint8_t* end) {
    const size_t length = Length(p);
    if (static_cast<size_t>(end - p) < length) return 0xFFFD;
    static constexpr uint8_t kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = p[0] & kLeadBits[length];
    for (size_t i = 1; i < length; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    return cp;
  }
  // The first byte from `p` on that is `*`, a line end (LF, CR, SUB) or part of
  // a character beyond ASCII (which may be U+2028 or U+2029): the place where a
  // comment may end. Before it lies text a comment skips whole; eight bytes a step.
  static const uint8_t* SkipCommentText(const uint8_t* p, const uint8_t* end) {
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    // The top bit of each byte of `w` that is zero (exact up to the first one).
    const auto zeroBytes = [](uint64_t w) { return (w - kOnes) & ~w & kHigh; };
    for (; end - p >= 8; p += 8) {
      uint64_t w;
      std::memcpy(&w, p, sizeof w);
      const uint64_t marks = zeroBytes(w ^ (kOnes * '*')) | zeroBytes(w ^ (kOnes * '\n')) |
                             zeroBytes(w ^ (kOnes * '\r')) | zeroBytes(w ^ (kOnes * 26)) |
                             (w & kHigh);
      if (marks != 0) return p + __builtin_ctzll(marks) / 8;
    }
    return p;
  }
  // U+2028 and U+2029 are E2 80 A8 and E2 80 A9.
  static bool IsBreakAt(const uint8_t* p, const uint8_t* end) {
    if (*p < 0x80) return IsLineBreak(*p);
    return *p == 0xE2 && end - p >= 3 && p[1] == 0x80 && (p[2] == 0xA8 || p[2] == 0xA9);
  }
  // The bytes after the first of a character share its class: a loop that
  // stops at a character never reaches them.
  static bool IsWordAt(const uint8_t* p, const uint8_t* end) {
    if (*p < 0x80) return IsWordChar(*p);
    if (IsContinuation(*p)) return true;
    const char32_t cp = At(p, end);
    return cp > 0xFFFF || IsWordChar(static_cast<char16_t>(cp));
  }
  // `scratch` keeps its room from token to token.
  static std::u16string_view Wide(const uint8_t* p, const uint8_t* q, std::u16string& scratch) {
    const auto n = static_cast<size_t>(q - p);
    if (scratch.size() < n) scratch.resize(std::max(n, 2 * scratch.size()));
    char16_t* out = &scratch[0];
    for (size_t i = 0; i < n; ++i) {
      if (p[i] >= 0x80) {
        scratch = platform::Utf8ToWide({reinterpret_cast<const char*>(p), n});
        return scratch;
      }
      out[i] = p[i];
    }
    return {out, n};
  }
  // One unit for every byte that starts a character, two for a four-byte one;
  // eight bytes a step, and ASCII at once.
  static size_t CodeUnits(const uint8_t* p, const uint8_t* q) {
    auto units = static_cast<size_t>(q - p);
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    for (; q - p >= 32; p += 32) {  // runs of ASCII, 32 bytes a step
      uint64_t w[4];
      std::memcpy(w, p, sizeof w);
      if (((w[0] | w[1] | w[2] | w[3]) & kHigh) != 0) break;
    }
    for (; q - p >= 8; p += 8) {
      uint64_t w;
      std::memcpy(&w, p, sizeof w);
      if ((w & kHigh) == 0) continue;
      const uint64_t continuation = w & ~(w << 1) & kHigh;
      const uint64_t fourByteLead = w & (w << 1) & (w << 2) & (w << 3) & kHigh;
      units -= BytesMarked(continuation);
      units += BytesMarked(fourByteLead);
    }
    for (; p < q; ++p) {
      if (IsContinuation(*p)) --units;
      if (*p >= 0xF0) ++units;
    }
    return units;
  }
};

}  // namespace pack
