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
// - the output exists, and is empty only when there are no tokens;
// - the output, scanned again, gives the same tokens (";" aside, which the
//   emitter may add or leave out): the separators keep every token apart, as
//   in `a + +b`, `x-- > y`, `/re/ / 2`. Checked without string encoding, whose
//   `unescape("%41")` is one token that scans as four, for one source (a
//   source can end inside a construct, `if (`, that the next one closes), and
//   only when nothing marks the text as broken (HasNoOpenLiterals).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "context_rules.h"
#include "fuzz_check.h"
#include "pack_document.h"
#include "packer.h"
#include "source_text.h"
#include "text_tables.h"
#include "token.h"
#include "vocabulary.h"

namespace {

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

// A string literal that ends with its own, unescaped quote.
bool IsClosedString(std::u16string_view text) {
  if (text.empty() || (text[0] != u'"' && text[0] != u'\'')) return true;  // not a string
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] == u'\\') {
      ++i;
    } else if (text[i] == text[0]) {
      return i + 1 == text.size();
    }
  }
  return false;
}

// The texts of `tokens` without ";". Kinds are left out: whether `new` in
// `{a: 1,\n new: 2}` is a keyword or a property name can differ when sources are
// joined, while the text is the same.
std::vector<std::u16string> Significant(const pack::TokenList& tokens) {
  std::vector<std::u16string> list;
  for (size_t i = 0; i < tokens.Size(); ++i) {
    if (!tokens[i].IsPunct(pack::kSemicolon)) list.emplace_back(pack::TokenText(tokens[i]));
  }
  return list;
}

bool IsNumber(std::u16string_view text) {
  return (text[0] >= u'0' && text[0] <= u'9') || (text[0] == u'.' && text.size() > 1);
}

// Two punctuators that run together into a longer one or a comment, and that
// no working script has side by side: `= =`, `& &`, `a / *b`, `a.\n1`. The pairs that do
// occur, `a + +b`, `a + ++b`, `a - -b`, `a - --b`, `x-- > y`, `a < !--b`, are
// the emitter's to keep apart and stay in the check.
bool FuseInBrokenScriptOnly(const pack::Token& cur, const pack::Token& next) {
  const std::u16string_view a = pack::TokenText(cur), b = pack::TokenText(next);
  // `2.` then `.x` is written `2..x`, right for the language, but the scanner
  // reads a number with all its dots: one token where there were three.
  // `5e - 7`, a number without its exponent, would become `5e-7`.
  if (cur.kind == pack::Literal && IsNumber(a)) {
    const bool hex = a.size() > 1 && (a[1] == u'x' || a[1] == u'X');
    const bool openExponent = !hex && (a.back() == u'e' || a.back() == u'E');
    return next.IsPunct(pack::kDot) || (openExponent && (b[0] == u'+' || b[0] == u'-'));
  }
  if (cur.kind != pack::Punctuator) return false;
  if (next.kind != pack::Punctuator) return a == u"." && b[0] >= u'0' && b[0] <= u'9';
  const std::u16string joined = std::u16string(a) + std::u16string(b);
  const bool fuse = pack::MatchPunctuator(joined).length > static_cast<int32_t>(a.size()) ||
                    (a.back() == u'/' && (b[0] == u'/' || b[0] == u'*'));
  const bool occurs = (a == u"+" && (b == u"+" || b == u"++")) ||
                      (a == u"-" && (b == u"-" || b == u"--")) || (a == u"--" && b == u">") ||
                      (a == u"<" && b == u"!");
  return fuse && !occurs;
}

// Whether the scanned sources are free of what makes a broken text read
// differently once packed: a string left open, a "/" where a regular expression
// should start but none ends (`a = /x`, `a /\n/ b`), which the scanner takes as
// division, and punctuators that only a broken script has side by side.
bool HasNoOpenLiterals(const pack::TokenList& tokens) {
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const pack::Token& t = tokens[i];
    if (i + 1 < tokens.Size() && FuseInBrokenScriptOnly(t, tokens[i + 1])) return false;
    if (t.kind == pack::Literal && !IsClosedString(pack::TokenText(t))) return false;
    if (t.IsPunct(pack::kSlash) || t.IsPunct(pack::kSlashAssign)) {
      const bool sourceStart = i == 0 || tokens[i - 1].source != t.source;
      if (pack::SlashStartsRegExp(sourceStart ? nullptr : &tokens[i - 1])) return false;
    }
  }
  return true;
}

void CheckRescan(const pack::TokenList& tokens, const std::u16string& packed) {
  const auto expected = Significant(tokens);
  trimlet again;
  again.AddSource(packed, 1, nullptr);
  const auto found = Significant(again.Tokens());
  FUZZ_CHECK(found == expected, "the packed text scans to other tokens");
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
        i == sources ? provider.ConsumeRemainingBytesAsString()
                     : provider.ConsumeRandomLengthString();
    const std::u16string text = rawUnits ? fuzz::RawUnits(bytes) : pack::DecodeSource(bytes).text;
    const size_t before = packer.Tokens().Size();
    const bool added = packer.AddSource(text, i, nullptr);
    FUZZ_CHECK(added == !text.empty(), "AddSource must fail exactly for an empty text");
    if (!added) FUZZ_CHECK(packer.Tokens().Size() == before, "a failed AddSource appended tokens");
  }
  CheckTokens(packer.Tokens(), sources);
  const bool rescannable =
      sources == 1 && !options.encodeStrings && HasNoOpenLiterals(packer.Tokens());
  pack::RunStages(packer, options);
  CheckTokens(packer.Tokens(), sources);
  const std::optional<std::u16string> packed = packer.Output();
  FUZZ_CHECK(packed.has_value(), "Output failed on a small input");
  FUZZ_CHECK(packed->empty() == packer.Tokens().Empty(), "output empty although there are tokens");
  // An inserted ";" can stand where a "/" was division (`var i/3/`): checked again.
  if (rescannable && HasNoOpenLiterals(packer.Tokens())) CheckRescan(packer.Tokens(), *packed);
  return 0;
}
