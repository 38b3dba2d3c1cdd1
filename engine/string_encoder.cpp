// trimlet::EncodeStrings: rewrites string literals as calls of the language's
// unescape on a percent-escaped copy of their text:
//   "Hi"   'Hi'   "\x48i"   ->  unescape("%48%69")
//   "Ж"                      ->  unescape("%u0416")
//   "\u{1F680}"              ->  unescape("%uD83D%uDE80")
// Every code unit is escaped, letters and digits included. Strings that must
// stay literals are left as written:
//   {"k": 1}   case "x":   c ? "x" : y    a literal is needed before `:`
//   "use strict";   {"use asm"}             a directive, which only a literal makes
//   {get "x"() {}}   class {"m"() {}}      a method's or accessor's name
//   import "m"   export * from "m"   import("m")   require("m")
//                                           module names, which tools read as written
//   `a${b}`                                 templates are no string literals
//   "%41"                                   text that starts with a percent sign
// The parser marks all but the last two (kKeepLiteral).
// When the sources use the name `unescape` other than in a call (a function,
// variable or parameter of that name, an assignment to it, a property), or
// another script block of the same page uses it at all, nothing is encoded:
// the calls might reach that instead of the built-in one.
#include <string>

#include "char_class.h"
#include "packer.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

using pack::Token;
using pack::TokenList;

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

bool IsOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }

// Reads `count` hexadecimal digits at `at`; -1 when they are not all there.
int32_t ReadHex(std::u16string_view text, size_t at, size_t count) {
  if (text.size() - at < count) return -1;
  int32_t value = 0;
  for (size_t k = 0; k < count; ++k) {
    const int digit = pack::HexValue(text[at + k]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// Turns string text into the code units it stands for, escapes decoded.
class StringDecoder {
 public:
  explicit StringDecoder(std::u16string_view text) : text_(text) {}

  // The value of the literal whose opening quote is text[0]: everything up to
  // the first unescaped quote of the same kind, or to the end of the text.
  std::u16string Decode() {
    const char16_t quote = text_[0];
    for (at_ = 1; at_ < text_.size() && text_[at_] != quote;) {
      if (text_[at_] == u'\\') {
        ++at_;
        DecodeEscape();
      } else {
        units_.push_back(text_[at_++]);
      }
    }
    return std::move(units_);
  }

 private:
  void DecodeEscape();
  bool DecodeHexEscape(char16_t kind);
  void DecodeOctal();
  void AppendCodePoint(uint32_t codePoint);

  std::u16string_view text_;
  size_t at_ = 0;
  std::u16string units_;
};

// `at_` is just past the backslash.
//   \n \t \r \f \b \v    control characters
//   \0 \12 \101          legacy octal (\0 alone is the null character)
//   \x41 \u0041 \u{41}   code units and code points
//   \ + line break       a line continuation: nothing
//   \q \" \\             the character itself
// A backslash that ends the text, as in an unterminated string, gives nothing.
void StringDecoder::DecodeEscape() {
  if (at_ >= text_.size()) return;
  const char16_t c = text_[at_];
  switch (c) {
    case u'n': units_.push_back(0x0A); break;
    case u't': units_.push_back(0x09); break;
    case u'r': units_.push_back(0x0D); break;
    case u'f': units_.push_back(0x0C); break;
    case u'b': units_.push_back(0x08); break;
    case u'v': units_.push_back(0x0B); break;
    case u'x':
    case u'u':
      if (DecodeHexEscape(c)) return;
      units_.push_back(c);  // malformed: the letter stands for itself
      break;
    case u'\r':
      if (at_ + 1 < text_.size() && text_[at_ + 1] == u'\n') ++at_;
      break;
    default:
      if (IsOctalDigit(c)) {
        DecodeOctal();
        return;
      }
      if (!pack::IsLineTerminator(c)) units_.push_back(c);
      break;
  }
  ++at_;
}

// `at_` is on the `x` or `u`; on success it moves past the escape.
bool StringDecoder::DecodeHexEscape(char16_t kind) {
  if (kind == u'x') {
    const int32_t value = ReadHex(text_, at_ + 1, 2);
    if (value < 0) return false;
    units_.push_back(static_cast<char16_t>(value));
    at_ += 3;
    return true;
  }
  if (at_ + 1 < text_.size() && text_[at_ + 1] == u'{') {
    size_t end = at_ + 2;
    uint32_t codePoint = 0;
    while (end < text_.size() && pack::HexValue(text_[end]) >= 0 && codePoint <= 0x10FFFF) {
      codePoint = codePoint * 16 + static_cast<uint32_t>(pack::HexValue(text_[end++]));
    }
    if (end == at_ + 2 || end >= text_.size() || text_[end] != u'}' || codePoint > 0x10FFFF) {
      return false;
    }
    AppendCodePoint(codePoint);
    at_ = end + 1;
    return true;
  }
  const int32_t value = ReadHex(text_, at_ + 1, 4);
  if (value < 0) return false;
  units_.push_back(static_cast<char16_t>(value));
  at_ += 5;
  return true;
}

// Up to three octal digits whose value stays below 256: \0 \7 \101 \377, and
// \400 is \40 followed by "0". \8 and \9 are not octal and stand for the digit.
void StringDecoder::DecodeOctal() {
  uint32_t value = 0;
  const size_t limit = text_[at_] <= u'3' ? 3 : 2;
  for (size_t k = 0; k < limit && at_ < text_.size() && IsOctalDigit(text_[at_]); ++k) {
    value = value * 8 + static_cast<uint32_t>(text_[at_++] - u'0');
  }
  units_.push_back(static_cast<char16_t>(value));
}

void StringDecoder::AppendCodePoint(uint32_t codePoint) {
  if (codePoint < 0x10000) {
    units_.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  codePoint -= 0x10000;
  units_.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
  units_.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

// unescape("...") for the code units: %XX up to 0xFF, %uXXXX above.
std::u16string EncodedCall(std::u16string_view units) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string call = u"unescape(\"";
  call.reserve(call.size() + units.size() * 3 + 2);
  for (char16_t u : units) {
    call.push_back(u'%');
    if (u > 0xFF) {
      call.push_back(u'u');
      call.push_back(kHex[(u >> 12) & 0xF]);
      call.push_back(kHex[(u >> 8) & 0xF]);
    }
    call.push_back(kHex[(u >> 4) & 0xF]);
    call.push_back(kHex[u & 0xF]);
  }
  call += u"\")";
  return call;
}

// Whether any token uses the name `unescape` other than to call it:
//   function unescape(s) {}   var unescape   unescape = f   o.unescape = f
// The script blocks of a page share one global scope, and their packer objects
// one identifier table: a name in the table that no token of this list carries
// belongs to another block, whose use of it is unknown here, so it counts too.
bool ShadowsUnescape(const TokenList& tokens, const pack::TextTable& identifiers) {
  const int32_t name = identifiers.Find(u"unescape");
  if (name < 0) return false;
  bool seen = false;
  for (size_t i = 0; i < tokens.Size(); ++i) {
    if (!tokens[i].Is(pack::Identifier, name)) continue;
    const bool called = i + 1 < tokens.Size() && tokens[i + 1].IsPunct(pack::kOpenParen) &&
                        !(i > 0 && tokens[i - 1].IsKeyword(pack::kFunction));
    if (!called) return true;
    seen = true;
  }
  return !seen;
}

}  // namespace

void trimlet::EncodeStrings() {
  pack::TokenList& tokens = Tokens();
  if (ShadowsUnescape(tokens, Texts().identifiers)) return;
  const size_t n = tokens.Size();
  for (size_t i = 0; i < n; ++i) {
    Token& t = tokens[i];
    if (t.kind != pack::Literal) continue;
    if (i + 1 < n && tokens[i + 1].IsPunct(pack::kColon)) {
      ++i;  // the literal and its `:`
      continue;
    }
    if (t.flags & pack::kKeepLiteral) continue;
    const std::u16string_view text = Texts().TokenText(t);
    if (text.empty() || !IsQuote(text[0])) continue;  // numbers and literal words
    if (text.size() > 1 && text[1] == u'%') continue;
    t.value = Texts().literals.Intern(EncodedCall(StringDecoder(text).Decode()));
  }
}
