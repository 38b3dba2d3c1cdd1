// The text conversions between file bytes and the engine's UTF-16 text.
//
// What must hold, the bytes read both as a file and as UTF-16 code units:
// - code page 1251: ToNarrow(ToWide(b)) == b for any bytes; ToWide(ToNarrow(t))
//   gives back every character of t the code page holds and '_' for the rest;
// - UTF-8: well-formed bytes survive Utf8ToWide and WideToUtf8 unchanged;
//   WideToUtf8 of any text is well-formed; Utf8ToWide(WideToUtf8(t)) == t when
//   t has no lone surrogate;
// - IsUtf8 agrees with a plain decoder written here from the definition;
// - a file survives DecodeSource and EncodeOutput byte for byte, whatever it holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform.h"
#include "source_text.h"

namespace {

// Well-formed UTF-8 by the definition: the shortest form, no surrogates,
// nothing above U+10FFFF.
bool ReferenceIsUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const uint32_t b = static_cast<uint8_t>(s[i]);
    size_t extra;
    uint32_t cp;
    if (b < 0x80) { ++i; continue; }
    if (b >= 0xC2 && b <= 0xDF) { extra = 1; cp = b & 0x1F; }
    else if (b >= 0xE0 && b <= 0xEF) { extra = 2; cp = b & 0x0F; }
    else if (b >= 0xF0 && b <= 0xF4) { extra = 3; cp = b & 0x07; }
    else return false;
    if (s.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const uint32_t c = static_cast<uint8_t>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return false;
    if (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) return false;
    i += extra + 1;
  }
  return true;
}

bool HasLoneSurrogate(std::u16string_view t) {
  for (size_t i = 0; i < t.size(); ++i) {
    const char16_t c = t[i];
    const bool pairs = i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF;
    if (c >= 0xD800 && c <= 0xDBFF && pairs) {
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }

  const std::u16string wide = platform::ToWide(bytes);
  FUZZ_CHECK(wide.size() == bytes.size(), "code page 1251 is one character per byte");
  FUZZ_CHECK(platform::ToNarrow(wide) == bytes, "code page 1251 round trip lost bytes");

  const std::string narrow = platform::ToNarrow(units);
  FUZZ_CHECK(narrow.size() == units.size(), "ToNarrow gives one byte per code unit");
  const std::u16string back = platform::ToWide(narrow);
  for (size_t i = 0; i < units.size(); ++i) {
    FUZZ_CHECK(back[i] == units[i] || (narrow[i] == '_' && units[i] != u'_'),
               "a character of the code page did not come back");
  }

  const bool utf8 = platform::IsUtf8(bytes);
  FUZZ_CHECK(utf8 == ReferenceIsUtf8(bytes), "IsUtf8 disagrees with the definition");
  if (utf8) {
    FUZZ_CHECK(platform::WideToUtf8(platform::Utf8ToWide(bytes)) == bytes,
               "UTF-8 round trip of well-formed bytes changed them");
  }
  const std::string encoded = platform::WideToUtf8(units);
  FUZZ_CHECK(platform::IsUtf8(encoded), "WideToUtf8 wrote bytes that are not UTF-8");
  if (!HasLoneSurrogate(units)) {
    FUZZ_CHECK(platform::Utf8ToWide(encoded) == units, "UTF-16 to UTF-8 and back changed the text");
  }

  const pack::SourceText source = pack::DecodeSource(bytes);
  FUZZ_CHECK(pack::EncodeOutput(source.text, source.encoding, source.byteOrderMark) == bytes,
             "a file did not survive DecodeSource and EncodeOutput");
  return 0;
}
