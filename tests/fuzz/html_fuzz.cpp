// PackHtml on arbitrary pages, as code page 1251 bytes or as raw UTF-16 code
// units, with every option combination. The first byte picks the options and
// the form of the page.
//
// What must hold for any page:
// - a page without "<script" (in any letter case) comes out as it went in;
// - everything before the first "<script" comes out as it went in.
// (Whether a packed body still ends at its own end tag, `a < /script/.x` not
// written as `a</script/.x`, is the page splitter's own check; counting
// "</script" here would not do, since "<!--" in a body can hide one.)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "html_script.h"
#include "platform.h"

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The first position from `from` of `word` (lower case ASCII) in `text`, letter case ignored.
size_t FindFrom(std::u16string_view text, std::u16string_view word, size_t from) {
  for (size_t i = from; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && Lower(text[i + k]) == word[k]) ++k;
    if (k == word.size()) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const pack::PackOptions options = fuzz::OptionsFrom(data[0]);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::u16string page = (data[0] & 4) != 0 ? fuzz::RawUnits(bytes) : platform::ToWide(bytes);

  const std::u16string packed = pack::PackHtml(page, options);

  const size_t firstScript = FindFrom(page, u"<script", 0);
  if (firstScript == std::u16string::npos) {
    FUZZ_CHECK(packed == page, "a page without script blocks changed");
    return 0;
  }
  FUZZ_CHECK(std::u16string_view(packed).substr(0, firstScript) ==
                 std::u16string_view(page).substr(0, firstScript),
             "the text before the first script block changed");
  return 0;
}
