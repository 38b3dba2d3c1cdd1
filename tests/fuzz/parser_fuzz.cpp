// The parser and the packer object as the console program drives them for
// several inputs: up to four sources added to one packer, the stages the
// options switch on, and the output. A source is either file bytes decoded as a
// front end decodes them, or raw UTF-16 code units (which reach lone surrogates,
// U+2028 and NUL in any place).
//
// What must hold for any sources:
// - a source is refused only with a problem that names a place inside it, and
//   a refused source leaves the token list as it was;
// - every token is well formed: a known kind, a value inside its table, a
//   non-empty text, the source index it was added with (or -1 when inserted);
// - the output exists, is empty only when there are no tokens, and is
//   JavaScript again: packed once more it reads, and without the optional
//   stages it comes out the same (the separators keep every token apart, as in
//   `a + +b`, `x-- > y`, `/re/ / 2`, and every ";" the line breaks stood for is
//   written).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "pack_document.h"
#include "packer.h"
#include "source_text.h"
#include "text_tables.h"
#include "token.h"
#include "vocabulary.h"

namespace {

void CheckTokens(const trimlet& packer, int32_t sources) {
  const pack::TokenList& tokens = packer.Tokens();
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    FUZZ_CHECK(t.kind == pack::Punctuator || t.kind == pack::Keyword ||
                   t.kind == pack::Identifier || t.kind == pack::Literal ||
                   t.kind == pack::RegExp || t.kind == pack::Template || t.kind == pack::Hashbang,
               "unknown token kind");
    FUZZ_CHECK(!packer.Texts().TokenText(t).empty(), "token value outside its table");
    FUZZ_CHECK(t.source == -1 || (t.source >= 1 && t.source <= sources), "wrong source index");
    FUZZ_CHECK(t.source != -1 || t.IsPunct(pack::kSemicolon) || t.IsPunct(pack::kColon) ||
                   t.kind == pack::Identifier,
               "an inserted token that is neither ';' nor the key of an expanded shorthand");
  }
}

// The packed text read as one source once more.
std::optional<std::u16string> Repack(const std::u16string& packed, const pack::PackOptions& options,
                                     pack::SourceGoal goal) {
  trimlet again;
  if (!again.AddSource(packed, 1, nullptr, goal)) return std::nullopt;
  pack::RunStages(again, options);
  return again.Output();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const uint8_t bits = provider.ConsumeIntegral<uint8_t>();
  const pack::PackOptions options = fuzz::OptionsFrom(bits);
  const int32_t sources = 1 + ((bits >> 2) & 3);
  const bool rawUnits = (bits & 0x10) != 0;
  const pack::SourceGoal goal = (bits & 0x20) ? pack::SourceGoal::Module : pack::SourceGoal::Detect;

  trimlet packer;
  for (int32_t i = 1; i <= sources; ++i) {
    const std::string bytes =
        i == sources ? provider.ConsumeRemainingBytesAsString()
                     : provider.ConsumeRandomLengthString();
    const std::u16string text = rawUnits ? fuzz::RawUnits(bytes) : pack::DecodeSource(bytes).text;
    const size_t before = packer.Tokens().Size();
    const bool added = packer.AddSource(text, i, nullptr, goal);
    if (added) continue;
    FUZZ_CHECK(packer.Tokens().Size() == before, "a refused source appended tokens");
    FUZZ_CHECK(text.empty() == !packer.Problem().has_value(), "refused without a reason");
    if (packer.Problem()) {
      FUZZ_CHECK(packer.Problem()->line >= 1 && packer.Problem()->column >= 1,
                 "a problem outside the text");
      FUZZ_CHECK(!packer.Problem()->message.empty(), "a problem without a message");
    }
  }
  CheckTokens(packer, sources);
  pack::RunStages(packer, options);
  CheckTokens(packer, sources);
  const std::optional<std::u16string> packed = packer.Output();
  FUZZ_CHECK(packed.has_value(), "Output failed on a small input");
  FUZZ_CHECK(packed->empty() == packer.Tokens().Empty(), "output empty although there are tokens");
  if (packed->empty()) return 0;
  // Sources joined into one text are one script: two of them may declare the
  // same lexical name, or one be a module; each alone reads as it did.
  if (sources > 1) return 0;
  const std::optional<std::u16string> repacked = Repack(*packed, pack::PackOptions{false, false}, goal);
  FUZZ_CHECK(repacked.has_value(), "the packed text is not JavaScript");
  if (!options.encodeStrings && !options.changeVariableNames) {
    FUZZ_CHECK(*repacked == *packed, "the packed text packs to something else");
  }
  return 0;
}
