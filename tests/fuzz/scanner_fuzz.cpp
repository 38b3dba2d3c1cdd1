// The scanner and the packer object as the console program drives them for
// several inputs: up to four sources added to one packer, the stages the
// options switch on, and the output. A source is either file bytes decoded as a
// front end decodes them, or raw UTF-16 code units (which reach lone surrogates,
// U+2028 and NUL in any place).
//
// What must hold for any sources:
// - every token is well formed: a known kind, a value inside its table, a
//   non-empty text, the source index it was added with (or -1 when inserted);
// - a bracket's recorded match is a later closer of the same kind;
// - the output exists, and is empty only when there are no tokens.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "pack_document.h"
#include "packer.h"
#include "source_text.h"
#include "text_tables.h"
#include "token.h"
#include "vocabulary.h"

namespace {

std::u16string RawUnits(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                    (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  }
  return text;
}

void CheckTokens(const pack::TokenList& tokens, int32_t sources) {
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    FUZZ_CHECK(t.kind == pack::Punctuator || t.kind == pack::Keyword ||
                   t.kind == pack::Identifier || t.kind == pack::Literal || t.kind == pack::RegExp,
               "unknown token kind");
    if (t.kind == pack::Punctuator) {
      FUZZ_CHECK(t.value != pack::kSingleQuote && t.value != pack::kDoubleQuote,
                 "a quote became a token");
    }
    FUZZ_CHECK(!pack::TokenText(t).empty(), "token value outside its table");
    FUZZ_CHECK(t.source == -1 || (t.source >= 1 && t.source <= sources), "wrong source index");
    FUZZ_CHECK(t.source != -1 || t.IsPunct(pack::kSemicolon), "an inserted token that is not ';'");
  }
  const std::vector<uint32_t>& matches = tokens.Matches();
  FUZZ_CHECK(matches.size() == tokens.Size(), "matches and tokens differ in length");
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    const bool opener = t.IsPunct(pack::kOpenBrace) || t.IsPunct(pack::kOpenParen) ||
                        t.IsPunct(pack::kOpenBracket);
    if (!opener || matches[i] == tokens.Size()) continue;
    FUZZ_CHECK(matches[i] > i && matches[i] < tokens.Size(), "match outside the list");
    FUZZ_CHECK(tokens[matches[i]].IsPunct(t.value + 1), "match is not the closer of its kind");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const uint8_t bits = provider.ConsumeIntegral<uint8_t>();
  const pack::PackOptions options = fuzz::OptionsFrom(bits);
  const int32_t sources = 1 + ((bits >> 2) & 3);
  const bool rawUnits = (bits & 0x10) != 0;

  trimlet packer;
  for (int32_t i = 1; i <= sources; ++i) {
    const std::string bytes =
        i == sources ? provider.ConsumeRemainingBytesAsString() : provider.ConsumeRandomLengthString();
    const std::u16string text = rawUnits ? RawUnits(bytes) : pack::DecodeSource(bytes).text;
    const size_t before = packer.Tokens().Size();
    const bool added = packer.AddSource(text, i, nullptr);
    FUZZ_CHECK(added == !text.empty(), "AddSource must fail exactly for an empty text");
    if (!added) FUZZ_CHECK(packer.Tokens().Size() == before, "a failed AddSource appended tokens");
  }
  CheckTokens(packer.Tokens(), sources);
  pack::RunStages(packer, options);
  CheckTokens(packer.Tokens(), sources);
  const std::optional<std::u16string> packed = packer.Output();
  FUZZ_CHECK(packed.has_value(), "Output failed on a small input");
  FUZZ_CHECK(packed->empty() == packer.Tokens().Empty(), "output empty although there are tokens");
  return 0;
}
