// Character classes of the scanner, by table for ASCII and by one function for
// the code units above it.
#pragma once

#include <array>
#include <cstdint>

namespace pack {

enum CharFlag : uint8_t {
  kBlank = 1,       // space, tab, vertical tab, form feed
  kLineBreak = 2,   // LF, CR, and SUB (the old end-of-file mark, dropped like a line end)
  kDigit = 4,
  kPunctStart = 8,  // can begin a punctuator, a quote included
  kWordPart = 16,   // letters, digits, _ $ \ and the other characters that join words
};

constexpr std::array<uint8_t, 128> MakeAsciiClasses() {
  std::array<uint8_t, 128> t{};
  for (int c = 0; c < 128; ++c) t[c] = kWordPart;
  t[' '] = t['\t'] = t['\v'] = t['\f'] = kBlank;
  t['\n'] = t['\r'] = t[26] = kLineBreak;
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit | kWordPart;
  for (char c : "{}()[].;,<>=!+-*%&|^~?:/'\"") {
    if (c != 0) t[static_cast<unsigned char>(c)] = kPunctStart;
  }
  return t;
}

inline constexpr std::array<uint8_t, 128> AsciiClasses = MakeAsciiClasses();

// White space above ASCII: no-break space, the byte-order mark and the Unicode
// space separators. U+2028 and U+2029 end lines.
constexpr bool IsWideBlank(char16_t c) {
  return c == 0x00A0 || c == 0xFEFF || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}
constexpr bool IsWideLineBreak(char16_t c) { return c == 0x2028 || c == 0x2029; }

constexpr bool IsBlank(char16_t c) {
  return c < 128 ? (AsciiClasses[c] & kBlank) != 0 : IsWideBlank(c);
}
constexpr bool IsLineBreak(char16_t c) {
  return c < 128 ? (AsciiClasses[c] & kLineBreak) != 0 : IsWideLineBreak(c);
}
constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The language's own line terminators, which end a line continuation in a
// string: LF, CR, U+2028 and U+2029.
constexpr bool IsLineTerminator(char16_t c) {
  return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

// The value of a hexadecimal digit, or -1.
constexpr int HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  const char16_t lower = static_cast<char16_t>(c | 0x20);
  return lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}
constexpr bool IsPunctStart(char16_t c) { return c < 128 && (AsciiClasses[c] & kPunctStart) != 0; }

// A character that continues a word: anything that is not a blank, a line break
// or the start of a punctuator or string.
constexpr bool IsWordChar(char16_t c) {
  return c < 128 ? (AsciiClasses[c] & kWordPart) != 0 : !IsWideBlank(c) && !IsWideLineBreak(c);
}

}  // namespace pack
