// How file bytes become the engine's UTF-16 text and back.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace pack {

// Input that is well-formed UTF-8 and holds a character beyond ASCII, or that
// starts with a UTF-8 byte-order mark, is UTF-8; input that starts with a
// UTF-16 byte-order mark is UTF-16 of that byte order; anything else is code
// page 1251. Latin-1 (ISO 8859-1) only when asked for.
enum class TextEncoding { Cp1251, Utf8, Latin1, Utf16Le, Utf16Be };

inline bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

struct SourceText {
  std::u16string text;  // without the byte-order mark
  TextEncoding encoding = TextEncoding::Cp1251;
  bool byteOrderMark = false;
};

SourceText DecodeSource(std::string_view bytes);

// How a file's bytes are read, found without decoding them: the encoding and
// byte-order mark DecodeSource would give, the bytes after the mark, and whether
// those can be scanned as they are, being ASCII or well-formed UTF-8.
struct SourceForm {
  TextEncoding encoding = TextEncoding::Cp1251;
  bool byteOrderMark = false;
  bool utf8Body = false;
  std::string_view body;
};

// `charset`, when given, says how the bytes after a UTF-8 byte-order mark are
// read (UTF-8, code page 1251 or Latin-1) instead of the detection; a UTF-16
// byte-order mark always decides.
SourceForm DetectSource(std::string_view bytes, std::optional<TextEncoding> charset = std::nullopt);

// The body of bytes whose form DetectSource found, decoded to UTF-16.
SourceText DecodeSource(const SourceForm& form);

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
    if (used_ + kMostBytesPerUnit > kStageSize) Flush();
    Put(c);
  }
  void Append(std::u16string_view text) {
    while (!text.empty()) {
      const size_t room = (kStageSize - used_) / kMostBytesPerUnit;
      if (room == 0) {
        Flush();
        continue;
      }
      const size_t n = room < text.size() ? room : text.size();
      size_t i = 0;
      if (pendingHigh_ == 0) {  // the run of ASCII, with nothing to check per unit
        char* out = stage_ + used_;
        for (; i < n && text[i] < 0x80; ++i) out[i] = static_cast<char>(text[i]);
        used_ += i;
      }
      for (; i < n; ++i) Put(text[i]);
      text.remove_prefix(n);
    }
  }
  // Appends bytes already in the output encoding.
  void AppendEncoded(std::string_view bytes) {
    if (used_ + bytes.size() > kStageSize) {
      Flush();
      if (bytes.size() > kStageSize) {
        bytes_.append(bytes);
        return;
      }
    }
    std::memcpy(stage_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  // The same for at most kBlock bytes at `bytes`, which may be read as one block
  // of kBlock: one fixed-size copy in place of a call.
  static constexpr size_t kBlock = 16;
  void AppendEncodedBlock(const char* bytes, size_t n) {
    if (used_ + kBlock > kStageSize) Flush();
    std::memcpy(stage_ + used_, bytes, kBlock);
    used_ += n;
  }
  void AppendEncodedByte(char byte) {
    if (used_ == kStageSize) Flush();
    stage_[used_++] = byte;
  }
  // The bytes written so far.
  size_t Size() const { return bytes_.size() + used_; }
  // The bytes; the encoder is left empty.
  std::string Finish();

 private:
  // Bytes are gathered in a small stage and moved to the output a few
  // kilobytes at a time, so that the common case, one ASCII unit, is one store.
  static constexpr size_t kStageSize = 4096;
  // A U+FFFD for a high surrogate left alone, then three bytes for the unit.
  static constexpr size_t kMostBytesPerUnit = 6;

  void Put(char16_t c) {
    if (c < 0x80 && pendingHigh_ == 0) {
      stage_[used_++] = static_cast<char>(c);
    } else {
      PutWide(c);
    }
  }
  void PutWide(char16_t c);
  void PutCodePoint(char32_t cp);
  void Flush() {
    bytes_.append(stage_, used_);
    used_ = 0;
  }

  std::string bytes_;
  TextEncoding encoding_;
  char16_t pendingHigh_ = 0;  // a high surrogate waiting for its low half (UTF-8 only)
  size_t used_ = 0;
  char stage_[kStageSize];
};

// A text whose first character other than blanks and line breaks (after any
// byte-order mark) is "<" is an HTML page.
bool IsHtmlPage(const SourceForm& form);
// A page that starts with an XML declaration (<?xml) is XHTML.
bool IsXmlPage(const SourceForm& form);

}  // namespace pack
