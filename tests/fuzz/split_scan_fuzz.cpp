// A text scanned in two parts on two threads must leave exactly what one scan
// leaves: every token with its kind, text, line, source, line-break mark and
// flags, and the same texts in each table. The first two bytes choose the cut;
// the rest is the text, decoded as a front end decodes file bytes, or taken as
// raw UTF-16 code units when the first byte is odd. Short texts are also cut
// at every line start, where the two parts are most often joined. Bytes that
// are ASCII or UTF-8 are also scanned as they are, whole and cut, and must give
// what their decoded text gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "scanner.h"
#include "source_text.h"
#include "text_tables.h"

namespace {

std::u16string Describe(const pack::TokenList& tokens) {
  std::u16string out;
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    out += pack::TokenText(t);
    for (const int32_t field : {int32_t{t.kind}, t.line, t.source, int32_t{t.newLine},
                                int32_t{t.flags}}) {
      out += u' ';
      out += static_cast<char16_t>(field);
    }
    out += u'\n';
  }
  for (const pack::TextTable* table :
       {&pack::IdentifierTable(), &pack::LiteralTable(), &pack::RegExpTable()}) {
    for (int32_t e = 0; e < table->Count(); ++e) {
      out += table->Text(e);
      out += u'\n';
    }
  }
  return out;
}

// What a fresh scanner holds after `add`, the tables released after.
template <typename Add>
std::u16string ScanWith(Add add) {
  pack::Scanner scanner;
  add(scanner);
  std::u16string described = Describe(scanner.Tokens());
  pack::ReleaseTextTables();
  return described;
}

// Whole when `cut` is 0.
std::u16string Scan(std::u16string_view text, size_t cut) {
  return ScanWith([&](pack::Scanner& scanner) {
    if (cut == 0) {
      scanner.AddSource(text, 0, nullptr);
    } else {
      scanner.AddSourceInTwo(text, 0, nullptr, cut);
    }
  });
}

std::u16string ScanBytes(std::string_view bytes, size_t cut) {
  return ScanWith([&](pack::Scanner& scanner) {
    if (cut == 0) {
      scanner.AddSourceUtf8(bytes, 0, nullptr);
    } else {
      scanner.AddSourceUtf8InTwo(bytes, 0, nullptr, cut);
    }
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::u16string text =
      (data[0] & 1) != 0 ? fuzz::RawUnits(bytes) : pack::DecodeSource(bytes).text;
  if (text.empty()) return 0;
  const std::u16string whole = Scan(text, 0);
  std::vector<size_t> cuts = {1 + (static_cast<size_t>(data[0] | (data[1] << 8)) % text.size())};
  if (text.size() <= 4096) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] == u'\n' || text[i] == u'\r' || text[i] == 0x2028 || text[i] == 0x2029) {
        cuts.push_back(i + 1);
      }
    }
  }
  for (const size_t cut : cuts) {
    FUZZ_CHECK(Scan(text, cut) == whole, "two parts scanned otherwise than one");
  }
  const pack::SourceForm form = pack::DetectSource(bytes);
  if ((data[0] & 1) == 0 && form.utf8Body && !form.body.empty()) {
    FUZZ_CHECK(ScanBytes(form.body, 0) == whole, "UTF-8 bytes scanned otherwise than their text");
    const size_t cut = 1 + (static_cast<size_t>(data[1]) * 131) % form.body.size();
    FUZZ_CHECK(ScanBytes(form.body, cut) == whole, "UTF-8 bytes in two parts scanned otherwise");
  }
  return 0;
}
