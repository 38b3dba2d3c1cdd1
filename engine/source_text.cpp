#include "source_text.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "platform.h"

namespace pack {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Eight bytes at a time: this reads the whole file once.
bool HasNonAscii(std::string_view bytes) {
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + i, sizeof word);
    if (word & 0x8080808080808080ull) return true;
  }
  for (; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0x80) return true;
  }
  return false;
}

// Whether the bytes are well-formed UTF-8; a large text is checked in two
// halves at once, cut where a character starts.
bool IsUtf8(std::string_view bytes) {
  constexpr size_t kTwoHalvesFrom = size_t{4} << 20;
  if (bytes.size() < kTwoHalvesFrom) return platform::IsUtf8(bytes);
  size_t half = bytes.size() / 2;
  while (half < bytes.size() && (static_cast<unsigned char>(bytes[half]) & 0xC0) == 0x80) ++half;
  bool second = false;
  bool first = false;
  if (!platform::RunBeside([&] { second = platform::IsUtf8(bytes.substr(half)); },
                           [&] { first = platform::IsUtf8(bytes.substr(0, half)); })) {
    second = platform::IsUtf8(bytes.substr(half));
  }
  return first && second;
}

}  // namespace

SourceForm DetectSource(std::string_view bytes, std::optional<TextEncoding> charset) {
  SourceForm form;
  // A UTF-16 mark decides, unless an odd byte count says the file is no UTF-16
  // (it is then read byte for byte, so that nothing is lost).
  for (const auto& [mark, encoding] : {std::pair{kUtf16LeMark, TextEncoding::Utf16Le},
                                       std::pair{kUtf16BeMark, TextEncoding::Utf16Be}}) {
    if (bytes.substr(0, mark.size()) != mark || bytes.size() % 2 != 0) continue;
    form.encoding = encoding;
    form.byteOrderMark = true;
    form.body = bytes.substr(mark.size());
    return form;
  }
  const bool marked = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
  if (marked) {
    form.byteOrderMark = true;
    bytes.remove_prefix(kUtf8Mark.size());
  }
  form.body = bytes;
  const bool ascii = !HasNonAscii(bytes);
  if (charset && !IsUtf16(*charset)) {
    form.encoding = *charset;
    form.utf8Body = ascii || (*charset == TextEncoding::Utf8 && IsUtf8(bytes));
    return form;
  }
  // A marked file that is not well-formed UTF-8 after all is read as code page
  // 1251, byte for byte, so that nothing is lost.
  if ((marked || !ascii) && (ascii || IsUtf8(bytes))) form.encoding = TextEncoding::Utf8;
  form.utf8Body = ascii || form.encoding == TextEncoding::Utf8;
  return form;
}

namespace {

// The units of a UTF-16 body, of either byte order; an odd last byte is a U+FFFD.
std::u16string Utf16ToText(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  if (bytes.size() % 2 != 0) text.push_back(u'\uFFFD');
  return text;
}

std::string TextToUtf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t c : text) {
    const auto high = static_cast<char>(c >> 8);
    const auto low = static_cast<char>(c & 0xFF);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

std::u16string Latin1ToText(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
  return text;
}

// Characters beyond Latin-1 become "_", as they do in code page 1251.
std::string TextToLatin1(std::u16string_view text) {
  std::string bytes(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) bytes[i] = text[i] <= 0xFF ? static_cast<char>(text[i]) : '_';
  return bytes;
}

// The first character of the body other than blanks and line breaks; 0 for none.
char16_t FirstCharacter(const SourceForm& form) {
  const bool wide = IsUtf16(form.encoding);
  const size_t step = wide ? 2 : 1;
  for (size_t i = 0; i + step <= form.body.size(); i += step) {
    const auto a = static_cast<unsigned char>(form.body[i]);
    const char16_t c = !wide ? a
                       : form.encoding == TextEncoding::Utf16Le
                           ? static_cast<char16_t>(static_cast<unsigned char>(form.body[i + 1]) << 8 | a)
                           : static_cast<char16_t>(a << 8 | static_cast<unsigned char>(form.body[i + 1]));
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') return c;
  }
  return 0;
}

}  // namespace

bool IsHtmlPage(const SourceForm& form) { return FirstCharacter(form) == u'<'; }

bool IsXmlPage(const SourceForm& form) {
  if (!IsHtmlPage(form)) return false;
  SourceForm head = form;
  head.body = form.body.substr(0, 4096);
  const std::u16string start = DecodeSource(head).text;
  const size_t at = start.find(u'<');
  return at != std::u16string::npos && start.compare(at, 5, u"<?xml") == 0;
}

SourceText DecodeSource(std::string_view bytes) { return DecodeSource(DetectSource(bytes)); }

SourceText DecodeSource(const SourceForm& form) {
  SourceText source;
  source.encoding = form.encoding;
  source.byteOrderMark = form.byteOrderMark;
  switch (form.encoding) {
    case TextEncoding::Utf8: source.text = platform::Utf8ToWide(form.body); break;
    case TextEncoding::Cp1251: source.text = platform::ToWide(form.body); break;
    case TextEncoding::Latin1: source.text = Latin1ToText(form.body); break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      source.text = Utf16ToText(form.body, form.encoding == TextEncoding::Utf16Be);
      break;
  }
  return source;
}

std::string EncodeOutput(std::u16string_view text, TextEncoding encoding, bool byteOrderMark) {
  switch (encoding) {
    case TextEncoding::Utf16Le: return std::string(kUtf16LeMark) + TextToUtf16(text, false);
    case TextEncoding::Utf16Be: return std::string(kUtf16BeMark) + TextToUtf16(text, true);
    case TextEncoding::Latin1: return (byteOrderMark ? std::string(kUtf8Mark) : std::string()) + TextToLatin1(text);
    case TextEncoding::Utf8:
    case TextEncoding::Cp1251: break;
  }
  std::string bytes = byteOrderMark ? std::string(kUtf8Mark) : std::string();
  bytes += encoding == TextEncoding::Utf8 ? platform::WideToUtf8(text) : platform::ToNarrow(text);
  return bytes;
}

OutputEncoder::OutputEncoder(TextEncoding encoding, bool byteOrderMark, size_t expectedBytes)
    : encoding_(encoding) {
  bytes_.reserve(expectedBytes + kUtf8Mark.size());
  if (byteOrderMark) bytes_ = kUtf8Mark;
}

// Everything beyond ASCII, and whatever follows a high surrogate. A lone
// surrogate becomes U+FFFD in UTF-8; code page 1251 maps each unit alone.
void OutputEncoder::PutWide(char16_t c) {
  if (encoding_ == TextEncoding::Cp1251) {
    stage_[used_++] = platform::ToNarrow(std::u16string_view(&c, 1))[0];
    return;
  }
  if (encoding_ == TextEncoding::Latin1) {
    stage_[used_++] = c <= 0xFF ? static_cast<char>(c) : '_';
    return;
  }
  const bool high = c >= 0xD800 && c <= 0xDBFF;
  const bool low = c >= 0xDC00 && c <= 0xDFFF;
  if (pendingHigh_ != 0) {
    const char16_t first = pendingHigh_;
    pendingHigh_ = 0;
    if (low) {
      PutCodePoint(0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (c - 0xDC00));
      return;
    }
    PutCodePoint(0xFFFD);
  }
  if (high) {
    pendingHigh_ = c;
  } else if (low) {
    PutCodePoint(0xFFFD);
  } else {
    PutCodePoint(c);
  }
}

void OutputEncoder::PutCodePoint(char32_t cp) {
  used_ = static_cast<size_t>(platform::PutUtf8(cp, stage_ + used_) - stage_);
}

std::string OutputEncoder::Finish() {
  Flush();
  if (pendingHigh_ != 0) {
    pendingHigh_ = 0;
    PutCodePoint(0xFFFD);
    Flush();
  }
  return std::move(bytes_);
}

}  // namespace pack
