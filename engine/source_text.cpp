#include "source_text.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "platform.h"

namespace pack {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

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

SourceForm DetectSource(std::string_view bytes) {
  SourceForm form;
  const bool marked = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
  if (marked) {
    form.byteOrderMark = true;
    bytes.remove_prefix(kUtf8Mark.size());
  }
  form.body = bytes;
  const bool ascii = !HasNonAscii(bytes);
  // A marked file that is not well-formed UTF-8 after all is read as code page
  // 1251, byte for byte, so that nothing is lost.
  if ((marked || !ascii) && (ascii || IsUtf8(bytes))) form.encoding = TextEncoding::Utf8;
  form.utf8Body = ascii || form.encoding == TextEncoding::Utf8;
  return form;
}

SourceText DecodeSource(std::string_view bytes) { return DecodeSource(DetectSource(bytes)); }

SourceText DecodeSource(const SourceForm& form) {
  SourceText source;
  source.encoding = form.encoding;
  source.byteOrderMark = form.byteOrderMark;
  source.text = form.encoding == TextEncoding::Utf8 ? platform::Utf8ToWide(form.body)
                                                    : platform::ToWide(form.body);
  return source;
}

std::string EncodeOutput(std::u16string_view text, TextEncoding encoding, bool byteOrderMark) {
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
