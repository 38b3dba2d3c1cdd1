// The widest target: a whole file of arbitrary bytes through PackDocument, the
// route of a single input in both front ends, with every option combination.
// The first byte picks the options; the rest is the file.
//
// What must hold for any bytes:
// - packing ends with Ok, or with EmptySource exactly when there is no text;
// - a file that is UTF-8 stays UTF-8 and keeps its byte-order mark;
// - an HTML page is reported as one.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "pack_document.h"
#include "platform.h"
#include "source_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const pack::PackOptions options = fuzz::OptionsFrom(data[0]);
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

  const pack::SourceText source = pack::DecodeSource(file);
  const pack::PackResult result = pack::PackDocument(file, options);

  FUZZ_CHECK(result.status != pack::PackStatus::OutOfMemory, "out of memory on a small input");
  FUZZ_CHECK(result.html == pack::IsHtmlPage(pack::DetectSource(file)), "page detection differs from IsHtmlPage");
  if (!result.html) {
    FUZZ_CHECK((result.status == pack::PackStatus::EmptySource) == source.text.empty(),
               "EmptySource must mean exactly: no text");
  }
  if (result.status != pack::PackStatus::Ok) return 0;
  if (source.byteOrderMark) {
    const std::string_view mark = pack::IsUtf16(source.encoding) ? file.substr(0, 2) : "\xEF\xBB\xBF";
    FUZZ_CHECK(std::string_view(result.bytes).substr(0, mark.size()) == mark, "the byte-order mark was lost");
  }
  if (source.encoding == pack::TextEncoding::Utf8) {
    FUZZ_CHECK(platform::IsUtf8(result.bytes), "a UTF-8 input packed to bytes that are not UTF-8");
  }
  return 0;
}
