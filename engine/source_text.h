// How file bytes become the engine's UTF-16 text and back.
#pragma once

#include <string>
#include <string_view>

namespace pack {

// Input that is well-formed UTF-8 and holds a character beyond ASCII, or that
// starts with a UTF-8 byte-order mark, is UTF-8; anything else is code page 1251.
enum class TextEncoding { Cp1251, Utf8 };

struct SourceText {
  std::u16string text;  // without the byte-order mark
  TextEncoding encoding = TextEncoding::Cp1251;
  bool byteOrderMark = false;
};

SourceText DecodeSource(std::string_view bytes);

// The packed text in the encoding of its input, with the byte-order mark when
// the input had one.
std::string EncodeOutput(std::u16string_view text, TextEncoding encoding, bool byteOrderMark);

// A text whose first character (after any byte-order mark) is "<" is an HTML page.
inline bool IsHtmlPage(const SourceText& source) {
  return !source.text.empty() && source.text[0] == u'<';
}

}  // namespace pack
