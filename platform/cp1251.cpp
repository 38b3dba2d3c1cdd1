// Code page 1251 by table, the same on every platform, so that packing gives
// the same bytes everywhere.
#include <array>
#include <cstdint>

#include "platform.h"

namespace platform {
namespace {

// 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F (А to я). 0x98, unassigned
// in the code page, maps to U+0098 so that every byte survives a round trip.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0455, 0x00BC, 0x0457,
};

constexpr char16_t ByteToChar(uint8_t b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0));
  return kHighHalf[b - 0x80];
}

constexpr std::array<char16_t, 256> MakeToWide() {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = ByteToChar(static_cast<uint8_t>(b));
  return t;
}

constexpr std::array<char16_t, 256> kToWide = MakeToWide();

// The reverse for the characters 0x0400 to 0x04FF and 0x2000 to 0x21FF, the
// only ranges besides ASCII and Latin-1 that the code page reaches.
int CharToByte(char16_t c) {
  if (c < 0x80) return c;
  if (c >= 0x0410 && c <= 0x044F) return 0xC0 + (c - 0x0410);
  for (int i = 0; i < 64; ++i) {
    if (kHighHalf[i] == c) return 0x80 + i;
  }
  return -1;
}

struct NarrowTable {
  std::array<int16_t, 0x0500> low{};    // U+0000 .. U+04FF
  std::array<int16_t, 0x0200> punct{};  // U+2000 .. U+21FF
  NarrowTable() {
    for (int c = 0; c < 0x0500; ++c) low[c] = static_cast<int16_t>(CharToByte(static_cast<char16_t>(c)));
    for (int c = 0; c < 0x0200; ++c) {
      punct[c] = static_cast<int16_t>(CharToByte(static_cast<char16_t>(0x2000 + c)));
    }
  }
  int Lookup(char16_t c) const {
    if (c < 0x0500) return low[c];
    if (c >= 0x2000 && c < 0x2200) return punct[c - 0x2000];
    return -1;
  }
};

}  // namespace

std::u16string ToWide(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  text.assign(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) text[i] = kToWide[static_cast<uint8_t>(bytes[i])];
  return text;
}

std::string ToNarrow(std::u16string_view text) {
  static const NarrowTable table;
  std::string bytes(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const int b = table.Lookup(text[i]);
    bytes[i] = static_cast<char>(b < 0 ? '_' : b);
  }
  return bytes;
}

}  // namespace platform
