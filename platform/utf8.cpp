// UTF-8 to UTF-16 and back.
#include <cstdint>
#include <cstring>

#include "platform.h"

namespace platform {
namespace {

// Length of the well-formed sequence at `i`, or 0.
size_t SequenceLength(std::string_view s, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t b0 = byte(i);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
  else return 0;
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

// The length of the run of ASCII bytes at `i`, eight at a time.
size_t AsciiRun(std::string_view s, size_t i) {
  const size_t start = i;
  while (i + 8 <= s.size()) {
    uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if (word & 0x8080808080808080ull) break;
    i += 8;
  }
  while (i < s.size() && static_cast<uint8_t>(s[i]) < 0x80) ++i;
  return i - start;
}

bool IsPair(std::u16string_view text, size_t i) {
  return text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
         text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
}

// The UTF-8 length of UTF-16 text; a lone surrogate becomes U+FFFD.
size_t Utf8Length(std::u16string_view text) {
  size_t length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      length += 1;
    } else if (c < 0x800) {
      length += 2;
    } else if (IsPair(text, i)) {
      length += 4;
      ++i;
    } else {
      length += 3;
    }
  }
  return length;
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
  char32_t cp;
  for (size_t i = 0; i < bytes.size();) {
    i += AsciiRun(bytes, i);
    if (i >= bytes.size()) break;
    const size_t len = SequenceLength(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::u16string Utf8ToWide(std::string_view bytes) {
  // Counted as the loop below writes them: one code unit for a sequence, two for
  // one beyond U+FFFF, one U+FFFD for each byte of malformed input.
  size_t units = 0;
  char32_t cp;
  for (size_t i = 0; i < bytes.size();) {
    const size_t ascii = AsciiRun(bytes, i);
    units += ascii;
    i += ascii;
    if (i >= bytes.size()) break;
    const size_t len = SequenceLength(bytes, i, cp);
    units += len == 0 ? 1 : cp < 0x10000 ? 1 : 2;
    i += len == 0 ? 1 : len;
  }
  std::u16string text;
  text.reserve(units);
  text.assign(units, u'\0');
  char16_t* out = &text[0];
  for (size_t i = 0; i < bytes.size();) {
    for (const size_t end = i + AsciiRun(bytes, i); i < end; ++i) {
      *out++ = static_cast<char16_t>(bytes[i]);
    }
    if (i >= bytes.size()) break;
    const size_t len = SequenceLength(bytes, i, cp);
    if (len == 0) {  // not expected after IsUtf8; keep going with U+FFFD
      *out++ = 0xFFFD;
      ++i;
      continue;
    }
    i += len;
    if (cp < 0x10000) {
      *out++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
  }
  text.resize(static_cast<size_t>(out - text.data()));
  return text;
}

std::string WideToUtf8(std::u16string_view text) {
  std::string bytes(Utf8Length(text), '\0');
  char* out = &bytes[0];
  const auto put = [&out](char32_t value) { *out++ = static_cast<char>(value); };
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp < 0x80) {
      put(cp);
      continue;
    }
    if (IsPair(text, i)) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    out = PutUtf8(cp, out);
  }
  bytes.resize(static_cast<size_t>(out - bytes.data()));
  return bytes;
}

}  // namespace platform
