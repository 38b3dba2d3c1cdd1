#include "source_text.h"

#include "platform.h"

namespace pack {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

SourceText DecodeSource(std::string_view bytes) {
  SourceText source;
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    source.byteOrderMark = true;
    bytes.remove_prefix(kUtf8Mark.size());
    source.encoding = TextEncoding::Utf8;
  } else if (HasNonAscii(bytes) && platform::IsUtf8(bytes)) {
    source.encoding = TextEncoding::Utf8;
  }
  // A marked file that is not well-formed UTF-8 after all is read as code page
  // 1251, byte for byte, so that nothing is lost.
  if (source.encoding == TextEncoding::Utf8 && source.byteOrderMark && !platform::IsUtf8(bytes)) {
    source.encoding = TextEncoding::Cp1251;
  }
  source.text = source.encoding == TextEncoding::Utf8 ? platform::Utf8ToWide(bytes)
                                                      : platform::ToWide(bytes);
  return source;
}

std::string EncodeOutput(std::u16string_view text, TextEncoding encoding, bool byteOrderMark) {
  std::string bytes = byteOrderMark ? std::string(kUtf8Mark) : std::string();
  bytes += encoding == TextEncoding::Utf8 ? platform::WideToUtf8(text) : platform::ToNarrow(text);
  return bytes;
}

}  // namespace pack
