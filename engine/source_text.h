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

// Writes UTF-16 text, piece by piece, straight into the bytes of the output
// file: the same bytes as EncodeOutput gives for all the pieces joined, without
// holding the whole text as UTF-16 first. A surrogate pair split between two
// pieces still becomes one four-byte sequence.
class OutputEncoder {
 public:
  OutputEncoder(TextEncoding encoding, bool byteOrderMark, size_t expectedBytes);

  void Append(char16_t c) {
    if (c < 0x80 && pendingHigh_ == 0) {
      bytes_.push_back(static_cast<char>(c));
    } else {
      AppendWide(c);
    }
  }
  void Append(std::u16string_view text) {
    for (char16_t c : text) Append(c);
  }
  // The bytes; the encoder is left empty.
  std::string Finish();

 private:
  void AppendWide(char16_t c);
  void AppendCodePoint(char32_t cp);

  std::string bytes_;
  TextEncoding encoding_;
  char16_t pendingHigh_ = 0;  // a high surrogate waiting for its low half (UTF-8 only)
};

// A text whose first character (after any byte-order mark) is "<" is an HTML page.
inline bool IsHtmlPage(const SourceText& source) {
  return !source.text.empty() && source.text[0] == u'<';
}

}  // namespace pack
