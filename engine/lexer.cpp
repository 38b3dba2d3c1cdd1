#include "lexer.h"

#include <algorithm>
#include <cstring>

#include "char_class.h"
#include "regexp_syntax.h"
#include "text_units.h"
#include "unicode_id.h"
#include "vocabulary.h"

namespace pack {

namespace {

bool IsAsciiNameStart(char32_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'$' || c == u'_';
}
bool IsAsciiNamePart(char32_t c) { return IsAsciiNameStart(c) || (c >= u'0' && c <= u'9'); }
bool IsNameStart(char32_t c) { return c < 128 ? IsAsciiNameStart(c) : IsIdStartWide(c); }
bool IsNamePart(char32_t c) {
  return c < 128 ? IsAsciiNamePart(c) : (IsIdContinueWide(c) || c == 0x200C || c == 0x200D);
}
bool IsTerminator(char32_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }
int DigitValue(char32_t c) {
  if (c >= u'0' && c <= u'9') return static_cast<int>(c - u'0');
  const char32_t lower = c | 0x20;
  if (lower >= u'a' && lower <= u'z') return static_cast<int>(lower - u'a' + 10);
  return 99;
}

// `\u0078yz` and `xyz` are one name: a name whose escapes all stand for ASCII
// letters, digits, `_` or `$` is kept in its plain spelling. Other escapes stay
// as written, since the output's code page may not hold the characters.
bool IsPlainNameChar(char32_t c) { return IsAsciiNamePart(c); }

}  // namespace

template <typename Unit>
Lexer<Unit>::Lexer(const Unit* text, size_t size, LexTables tables, bool module,
                   ProgressCallback progress)
    : begin_(text), p_(text), end_(text + size), tables_(tables), module_(module),
      progress_(progress), reporting_(progress != nullptr), reportAt_(text), counted_(text),
      words_(size * sizeof(Unit)) {}

template <typename Unit>
char32_t Lexer<Unit>::CodePointAt(const Unit* p, size_t& length) const {
  if constexpr (sizeof(Unit) == 2) {
    const char32_t c = *p;
    if (c >= 0xD800 && c <= 0xDBFF && p + 1 < end_ && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      length = 2;
      return 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
    }
    length = 1;
    return c;
  } else {
    length = TextUnits<uint8_t>::Length(p);
    if (static_cast<size_t>(end_ - p) < length) length = static_cast<size_t>(end_ - p);
    return TextUnits<uint8_t>::At(p, end_);
  }
}

template <typename Unit>
void Lexer<Unit>::Fail(size_t offset, const std::string& message) const {
  throw SyntaxError{offset, message};
}

template <typename Unit>
void Lexer<Unit>::LineAndColumn(const Unit* text, size_t size, size_t offset, int32_t& line,
                                int32_t& column) {
  line = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < offset && i < size; ++i) {
    const Unit c = text[i];
    bool breaks = c == u'\n' || (c == u'\r' && !(i + 1 < size && text[i + 1] == u'\n'));
    if constexpr (sizeof(Unit) == 2) {
      breaks = breaks || c == 0x2028 || c == 0x2029;
    } else {
      if (c == 0xE2 && i + 2 < size && text[i + 1] == 0x80 &&
          (text[i + 2] == 0xA8 || text[i + 2] == 0xA9)) {
        ++line;
        lineStart = i + 3;
        i += 2;
        continue;
      }
    }
    if (breaks) {
      ++line;
      lineStart = i + 1;
    }
  }
  const size_t stop = std::min(offset, size);
  column = 1 + static_cast<int32_t>(TextUnits<Unit>::CodeUnits(text + std::min(lineStart, stop),
                                                                text + stop));
}

template <typename Unit>
void Lexer<Unit>::ReportProgress() {
  countedUnits_ += static_cast<int32_t>(TextUnits<Unit>::CodeUnits(counted_, p_));
  counted_ = p_;
  if (countedUnits_ >= nextReport_) {
    const int32_t step = countedUnits_ - countedUnits_ % 1024;
    progress_(step);
    nextReport_ = step + 1024;
  }
  const auto ahead = static_cast<size_t>(nextReport_ - countedUnits_);
  reportAt_ = ahead < static_cast<size_t>(end_ - p_) ? p_ + ahead : end_;
}

template <typename Unit>
void Lexer<Unit>::FinishProgress() {
  if (progress_ == nullptr) return;
  p_ = end_;
  ReportProgress();
}

template <typename Unit>
bool Lexer<Unit>::IsWord(const Lexeme& l, std::string_view ascii) const {
  if (l.kind != Identifier || l.Has(kEscapedName) || l.end - l.begin != ascii.size()) return false;
  for (size_t i = 0; i < ascii.size(); ++i) {
    if (begin_[l.begin + i] != static_cast<unsigned char>(ascii[i])) return false;
  }
  return true;
}

template <typename Unit>
void Lexer<Unit>::LineBreak() {
  if (*p_ == u'\r' && p_ + 1 < end_ && p_[1] == u'\n') ++p_;
  p_ = p_ + TextUnits<Unit>::Length(p_);
  if (p_ > end_) p_ = end_;
  ++line_;
}

template <typename Unit>
void Lexer<Unit>::SkipLineComment() {
  while (p_ < end_) {
    p_ = TextUnits<Unit>::SkipCommentText(p_, end_);
    if (p_ >= end_) return;
    if (*p_ == u'\n' || *p_ == u'\r') return;
    size_t length = 1;
    const char32_t c = *p_ < 128 ? *p_ : CodePointAt(p_, length);
    if (c == 0x2028 || c == 0x2029) return;
    p_ += length;
  }
}

// Returns with the cursor after `*/`; true when a line terminator was inside.
template <typename Unit>
void Lexer<Unit>::SkipBlockComment() {
  const Unit* const start = p_;
  p_ += 2;
  while (p_ < end_) {
    p_ = TextUnits<Unit>::SkipCommentText(p_, end_);
    if (p_ >= end_) break;
    if (*p_ == u'*') {
      if (p_ + 1 < end_ && p_[1] == u'/') {
        p_ += 2;
        return;
      }
      ++p_;
      continue;
    }
    size_t length = 1;
    const char32_t c = *p_ < 128 ? *p_ : CodePointAt(p_, length);
    if (IsTerminator(c)) {
      LineBreak();
      current_.newLineBefore = true;
    } else {
      p_ += length;
    }
  }
  Fail(static_cast<size_t>(start - begin_), "unterminated comment");
}

template <typename Unit>
TokenPosition Lexer<Unit>::PositionOf(size_t offset) {
  if (offset < placedOffset_) {
    placedOffset_ = 0;
    placed_ = TokenPosition{0, 0, -1};
  }
  const Unit* q = begin_ + placedOffset_;
  const Unit* const stop = begin_ + std::min(offset, Size());
  while (q < stop) {
    const Unit c = *q;
    if (c == u'\n' || c == u'\r') {
      q += c == u'\r' && q + 1 < end_ && q[1] == u'\n' ? 2 : 1;
      ++placed_.line;
      placed_.column = 0;
      continue;
    }
    if (c < 128) {
      ++q;
      ++placed_.column;
      continue;
    }
    size_t length = 1;
    const char32_t cp = CodePointAt(q, length);
    q += length;
    if (cp == 0x2028 || cp == 0x2029) {
      ++placed_.line;
      placed_.column = 0;
    } else {
      placed_.column += cp >= 0x10000 ? 2 : 1;
    }
  }
  placedOffset_ = static_cast<size_t>(q - begin_);
  return placed_;
}

namespace {

// Whether a comment is a licence that redistributed code must keep: /*! ... */,
// //! ..., or one that says @license or @preserve.
template <typename Unit>
bool IsLicenceComment(const Unit* from, const Unit* to) {
  if (to - from >= 3 && from[2] == u'!') return true;
  for (const Unit* q = from; q < to; ++q) {
    if (*q != u'@') continue;
    for (const char* word : {"license", "preserve"}) {
      const size_t n = std::strlen(word);
      if (static_cast<size_t>(to - q - 1) >= n && std::equal(word, word + n, q + 1)) return true;
    }
  }
  return false;
}

}  // namespace

// Keeps the comment from `from` to the cursor, as the options ask; an HTML-like
// comment (<!-- or -->) is kept as a line comment.
template <typename Unit>
void Lexer<Unit>::KeepComment(const Unit* from, bool htmlLike) {
  const auto offset = static_cast<size_t>(from - begin_);
  if (offset < keptUpTo_) return;
  if (keep_ == KeepComments::Legal && (htmlLike || !IsLicenceComment(from, p_))) return;
  keptUpTo_ = static_cast<size_t>(p_ - begin_);
  std::u16string text = htmlLike ? u"//" : u"";
  text.append(TextUnits<Unit>::Wide(from, p_, wide_));
  comments_.push_back(KeptComment{offset, tables_.literals.Intern(text), line_});
}

// `-->` opens a comment when only blanks and comments stand before it on its
// line (or at the start of the text), in a script.
template <typename Unit>
bool Lexer<Unit>::AtHtmlCloseComment(bool newLine) const {
  return !module_ && (newLine || p_ == begin_) && end_ - p_ >= 3 && p_[1] == u'-' &&
         p_[2] == u'>';
}

// Skips blanks, line terminators and comments; false at the end of the text.
template <typename Unit>
bool Lexer<Unit>::SkipBlanksAndComments() {
  const Unit* const start = begin_;
  bool sawNewLine = p_ == start;  // the start of the text counts as a line start
  while (p_ < end_) {
    const Unit c = *p_;
    if (c < 128) {
      if (c == u' ' || c == u'\t' || c == 0x0B || c == 0x0C) {
        ++p_;
        continue;
      }
      if (c == u'\n' || c == u'\r') {
        LineBreak();
        current_.newLineBefore = true;
        sawNewLine = true;
        continue;
      }
      const Unit* const from = p_;
      if (c == u'/' && p_ + 1 < end_) {
        if (p_[1] == u'/') {
          SkipLineComment();
          if (keep_ != KeepComments::None) KeepComment(from, false);
          continue;
        }
        if (p_[1] == u'*') {
          SkipBlockComment();
          if (keep_ != KeepComments::None) KeepComment(from, false);
          if (current_.newLineBefore) sawNewLine = true;
          continue;
        }
      }
      const bool htmlOpen = c == u'<' && !module_ && end_ - p_ >= 4 && p_[1] == u'!' &&
                            p_[2] == u'-' && p_[3] == u'-';
      if (htmlOpen || (c == u'-' && AtHtmlCloseComment(sawNewLine || current_.newLineBefore))) {
        SkipLineComment();
        if (keep_ == KeepComments::All) KeepComment(from, true);
        continue;
      }
      return true;
    }
    size_t length = 1;
    const char32_t wide = CodePointAt(p_, length);
    if (wide == 0x2028 || wide == 0x2029) {
      LineBreak();
      current_.newLineBefore = true;
      sawNewLine = true;
      continue;
    }
    if (IsWideSpace(wide)) {
      p_ += length;
      continue;
    }
    return true;
  }
  return false;
}

template <typename Unit>
void Lexer<Unit>::Set(int32_t kind, int32_t value, const Unit* end) {
  current_.kind = kind;
  current_.value = value;
  current_.key = value;
  current_.end = static_cast<size_t>(end - begin_);
  p_ = end;
}

template <typename Unit>
void Lexer<Unit>::Next() {
  current_.newLineBefore = false;
  current_.facts = 0;
  if (reporting_ && p_ >= reportAt_) ReportProgress();
  if (p_ == begin_ && end_ - p_ >= 2 && p_[0] == u'#' && p_[1] == u'!') {
    ScanHashbang();
    return;
  }
  if (!SkipBlanksAndComments()) {
    current_.kind = kEndOfInput;
    current_.value = -1;
    current_.begin = current_.end = Size();
    current_.line = line_;
    return;
  }
  current_.begin = static_cast<size_t>(p_ - begin_);
  current_.line = line_;
  const Unit c = *p_;
  if (c < 128) {
    if (IsAsciiNameStart(c) || c == u'\\') {
      ScanWord(false);
    } else if (IsDigit(c) || (c == u'.' && p_ + 1 < end_ && IsDigit(p_[1]))) {
      ScanNumber();
    } else if (c == u'"' || c == u'\'') {
      ScanString();
    } else if (c == u'`') {
      ScanTemplate(p_);
    } else if (c == u'#') {
      ScanWord(true);
    } else {
      ScanPunctuator();
    }
    return;
  }
  size_t length = 1;
  const char32_t wide = CodePointAt(p_, length);
  if (IsNameStart(wide)) {
    ScanWord(false);
  } else {
    Fail(current_.begin, "unexpected character");
  }
}

// The token `steps` tokens on, read without moving and without a progress report.
template <typename Unit>
Lexeme Lexer<Unit>::PeekAhead(int steps) {
  const State saved{p_, line_, current_};
  const bool reporting = reporting_;
  reporting_ = false;
  for (int k = 0; k < steps; ++k) Next();
  const Lexeme ahead = current_;
  p_ = saved.p;
  line_ = saved.line;
  current_ = saved.current;
  reporting_ = reporting;
  return ahead;
}

template <typename Unit>
void Lexer<Unit>::ScanHashbang() {
  current_.begin = 0;
  current_.line = line_;
  SkipLineComment();
  const std::u16string_view text = TextUnits<Unit>::Wide(begin_, p_, wide_);
  current_.kind = Hashbang;
  current_.value = tables_.literals.Intern(text);
  current_.end = static_cast<size_t>(p_ - begin_);
}

template <typename Unit>
void Lexer<Unit>::ScanPunctuator() {
  const Unit* const p = p_;
  const Unit* const end = end_;
  const PunctMatch m = MatchPunctuatorWith([p, end](size_t i) -> char16_t {
    return i < static_cast<size_t>(end - p) && p[i] < 128 ? static_cast<char16_t>(p[i]) : 0;
  });
  if (m.code < 0) Fail(current_.begin, "unexpected character");
  Set(Punctuator, m.code, p_ + m.length);
}

// \uXXXX or \u{X...}; `q` is just past the `u`.
template <typename Unit>
const Unit* Lexer<Unit>::ScanUnicodeEscape(const Unit* q, char32_t& cp, bool& ok) const {
  cp = 0;
  ok = false;
  if (q < end_ && *q == u'{') {
    ++q;
    int digits = 0;
    while (q < end_ && *q < 128 && DigitValue(*q) < 16) {
      cp = cp * 16 + static_cast<char32_t>(DigitValue(*q));
      if (cp > 0x10FFFF) return q;
      ++q;
      ++digits;
    }
    if (digits == 0 || q >= end_ || *q != u'}') return q;
    ok = true;
    return q + 1;
  }
  for (int k = 0; k < 4; ++k) {
    if (q >= end_ || *q >= 128 || DigitValue(*q) >= 16) return q;
    cp = cp * 16 + static_cast<char32_t>(DigitValue(*q));
    ++q;
  }
  ok = true;
  return q;
}

template <typename Unit>
void Lexer<Unit>::ScanWord(bool privateName) {
  // Most names are ASCII letters, digits, `$` and `_` alone: read on the fast
  // path, without spelling them out again.
  if (!privateName && *p_ < 128 && *p_ != u'\\') {
    const Unit* q = p_ + 1;
    while (q < end_ && *q < 128 && IsAsciiNamePart(*q)) ++q;
    if (q >= end_ || (*q != u'\\' && *q < 128)) {
      const Token t = Cached(q, [&] { return WordToken(TextUnits<Unit>::Wide(p_, q, wide_)); });
      Set(t.kind, t.value, q);
      return;
    }
  }
  ScanWordSlowly(privateName);
}

// Names with escapes or characters beyond ASCII, and private names.
template <typename Unit>
void Lexer<Unit>::ScanWordSlowly(bool privateName) {
  const Unit* q = p_ + (privateName ? 1 : 0);
  bool escaped = false;
  bool first = true;
  bool plain = true;  // every escape stands for an ASCII name character
  plain_.clear();
  if (privateName) plain_.push_back(u'#');
  while (q < end_) {
    const Unit c = *q;
    char32_t cp;
    size_t length = 1;
    if (c == u'\\') {
      if (q + 1 >= end_ || q[1] != u'u') Fail(static_cast<size_t>(q - begin_), "invalid escape in name");
      bool ok = false;
      const Unit* after = ScanUnicodeEscape(q + 2, cp, ok);
      if (!ok || !(first ? IsNameStart(cp) : IsNamePart(cp))) {
        Fail(static_cast<size_t>(q - begin_), "invalid escape in name");
      }
      escaped = true;
      if (!IsPlainNameChar(cp)) plain = false;
      if (cp < 0x10000) {
        plain_.push_back(static_cast<char16_t>(cp));
      } else {
        plain_.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        plain_.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      }
      q = after;
      first = false;
      continue;
    }
    cp = c < 128 ? static_cast<char32_t>(c) : CodePointAt(q, length);
    if (!(first ? IsNameStart(cp) : IsNamePart(cp))) break;
    if (cp < 0x10000) {
      plain_.push_back(static_cast<char16_t>(cp));
    } else {
      plain_.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      plain_.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
    q += length;
    first = false;
  }
  if (first) Fail(current_.begin, privateName ? "expected a name after #" : "unexpected character");
  if (privateName) current_.facts |= kPrivateName;
  if (!escaped) {
    const Token t = privateName ? Token{tables_.identifiers.Intern(plain_), 0, 0, Identifier, 0, 0}
                                : Cached(q, [&] { return WordToken(TextUnits<Unit>::Wide(p_, q, wide_)); });
    Set(t.kind, t.value, q);
    return;
  }
  current_.facts |= kEscapedName;
  if (FindKeyword(plain_) >= 0 || IsLiteralWord(plain_)) current_.facts |= kEscapedKeyword;
  if (plain) {
    Set(Identifier, tables_.identifiers.Intern(plain_), q);
  } else {
    const int32_t key = tables_.identifiers.Intern(plain_);
    Set(Identifier, tables_.identifiers.Intern(TextUnits<Unit>::Wide(p_, q, wide_)), q);
    current_.key = key;
  }
}

template <typename Unit>
template <typename Make>
Token Lexer<Unit>::Cached(const Unit* q, Make make) {
  const auto bytes = static_cast<size_t>(q - p_) * sizeof(Unit);
  if (!words_.Enabled() || bytes > WordCache::kMostBytes) return make();
  const auto room = static_cast<size_t>(end_ - p_) * sizeof(Unit);
  const WordCache::Key key = WordCache::KeyOf(p_, bytes, room, false);
  Token t{};
  if (!words_.Find(key, t.kind, t.value)) {
    t = make();
    words_.Store(key, t.kind, t.value);
  }
  return t;
}

template <typename Unit>
Token Lexer<Unit>::WordToken(std::u16string_view word) {
  Token t{};
  const int32_t keyword = FindKeyword(word);
  if (keyword >= 0) {
    t.kind = Keyword;
    t.value = keyword;
  } else if (IsLiteralWord(word)) {
    t.kind = Literal;
    t.value = tables_.literals.Intern(word);
  } else {
    t.kind = Identifier;
    t.value = tables_.identifiers.Intern(word);
  }
  return t;
}

// Digits of `radix` with `_` between two of them when `separators` allows.
template <typename Unit>
const Unit* Lexer<Unit>::ScanDigits(const Unit* q, int radix, bool separators) {
  bool lastWasDigit = false;
  while (q < end_) {
    const Unit c = *q;
    if (c == u'_' && separators) {
      if (!lastWasDigit || q + 1 >= end_ || q[1] >= 128 || DigitValue(q[1]) >= radix) {
        Fail(static_cast<size_t>(q - begin_), "misplaced numeric separator");
      }
      lastWasDigit = false;
      ++q;
      continue;
    }
    if (c >= 128 || DigitValue(c) >= radix) break;
    lastWasDigit = true;
    ++q;
  }
  return q;
}

// 0x1F 0o17 0b11 017 08 1_000 1.5e+3 .5 10n
template <typename Unit>
void Lexer<Unit>::ScanNumber() {
  const Unit* q = p_;
  bool integerOnly = true;
  if (*q == u'0' && q + 1 < end_ && (q[1] | 0x20) < 128 &&
      ((q[1] | 0x20) == u'x' || (q[1] | 0x20) == u'o' || (q[1] | 0x20) == u'b')) {
    const int radix = (q[1] | 0x20) == u'x' ? 16 : (q[1] | 0x20) == u'o' ? 8 : 2;
    const Unit* digits = q + 2;
    q = ScanDigits(digits, radix, true);
    if (q == digits) Fail(current_.begin, "expected digits after the number's prefix");
    if (q < end_ && *q == u'n') ++q;
  } else if (*q == u'0' && q + 1 < end_ && IsDigit(q[1] < 128 ? static_cast<char16_t>(q[1]) : 0)) {
    // 017 is octal; 08 and 019 are decimal; neither is allowed in strict code.
    current_.facts |= kLegacyOctal;
    bool octal = true;
    while (q < end_ && *q < 128 && IsDigit(static_cast<char16_t>(*q))) {
      if (*q >= u'8') octal = false;
      ++q;
    }
    if (!octal) {
      if (q < end_ && *q == u'.') q = ScanDigits(q + 1, 10, false);
      if (q < end_ && (*q | 0x20) == u'e') {
        const Unit* e = q + 1;
        if (e < end_ && (*e == u'+' || *e == u'-')) ++e;
        const Unit* digits = e;
        q = ScanDigits(e, 10, false);
        if (q == digits) Fail(static_cast<size_t>(digits - begin_), "expected exponent digits");
      }
    }
  } else {
    // 0_1 is neither octal nor decimal
    if (*q == u'0' && q + 1 < end_ && q[1] == u'_') Fail(static_cast<size_t>(q + 1 - begin_), "misplaced numeric separator");
    if (*q != u'.') q = ScanDigits(q, 10, true);
    if (q < end_ && *q == u'.') {
      integerOnly = false;
      ++q;
      if (q < end_ && *q == u'_') Fail(static_cast<size_t>(q - begin_), "misplaced numeric separator");
      q = ScanDigits(q, 10, true);
    }
    if (q < end_ && (*q | 0x20) == u'e') {
      integerOnly = false;
      const Unit* e = q + 1;
      if (e < end_ && (*e == u'+' || *e == u'-')) ++e;
      const Unit* digits = e;
      if (e < end_ && *e == u'_') Fail(static_cast<size_t>(e - begin_), "misplaced numeric separator");
      q = ScanDigits(e, 10, true);
      if (q == digits) Fail(static_cast<size_t>(digits - begin_), "expected exponent digits");
    }
    if (integerOnly && q < end_ && *q == u'n') ++q;
  }
  if (q < end_) {
    size_t length = 1;
    const char32_t after = *q < 128 ? static_cast<char32_t>(*q) : CodePointAt(q, length);
    if (IsNameStart(after) || after == u'\\' || (after >= u'0' && after <= u'9')) {
      Fail(static_cast<size_t>(q - begin_), "a name cannot follow a number directly");
    }
  }
  const Token t = Cached(q, [&] {
    return Token{tables_.literals.Intern(TextUnits<Unit>::Wide(p_, q, wide_)), 0, 0, Literal, 0, 0};
  });
  Set(Literal, t.value, q);
}

// One escape after a backslash, `q` just past it; returns where it ends. In a
// template part an escape that only a tag may hold sets `bad` instead of failing.
template <typename Unit>
const Unit* Lexer<Unit>::ScanEscape(const Unit* q, bool templatePart, bool& bad) {
  const size_t at = static_cast<size_t>(q - 1 - begin_);
  if (q >= end_) Fail(at, "unterminated string");
  const Unit e = *q;
  if (e == u'\r') {
    ++line_;
    return q + 1 < end_ && q[1] == u'\n' ? q + 2 : q + 1;
  }
  if (e == u'\n') {
    ++line_;
    return q + 1;
  }
  if (e == u'x') {
    if (end_ - q >= 3 && q[1] < 128 && q[2] < 128 && DigitValue(q[1]) < 16 &&
        DigitValue(q[2]) < 16) {
      return q + 3;
    }
    if (!templatePart) Fail(at, "invalid hexadecimal escape");
    bad = true;
    return q + 1;
  }
  if (e == u'u') {
    char32_t cp;
    bool ok = false;
    const Unit* after = ScanUnicodeEscape(q + 1, cp, ok);
    if (ok) return after;
    if (!templatePart) Fail(at, "invalid unicode escape");
    bad = true;
    return q + 1;
  }
  if (e >= u'0' && e <= u'9') {
    const bool nul = e == u'0' && !(q + 1 < end_ && q[1] < 128 && IsDigit(static_cast<char16_t>(q[1])));
    if (!nul) {
      if (templatePart) {
        bad = true;
      } else {
        current_.facts |= kLegacyOctal;
      }
    }
    return q + 1;
  }
  size_t length = 1;
  if (e >= 128) {
    const char32_t cp = CodePointAt(q, length);
    if (cp == 0x2028 || cp == 0x2029) ++line_;
  }
  return q + length;
}

template <typename Unit>
void Lexer<Unit>::ScanString() {
  const Unit quote = *p_;
  const Unit* q = p_ + 1;
  bool bad = false;
  for (;;) {
    if (q >= end_) Fail(current_.begin, "unterminated string");
    const Unit c = *q;
    if (c == quote) {
      ++q;
      break;
    }
    if (c == u'\n' || c == u'\r') Fail(current_.begin, "unterminated string");
    if (c == u'\\') {
      q = ScanEscape(q + 1, false, bad);
      continue;
    }
    q += c < 128 ? 1 : TextUnits<Unit>::Length(q);
  }
  if (q > end_) q = end_;
  current_.facts |= kStringLiteral;
  const Token t = Cached(q, [&] {
    return Token{tables_.literals.Intern(TextUnits<Unit>::Wide(p_, q, wide_)), 0, 0, Literal, 0, 0};
  });
  Set(Literal, t.value, q);
}

// A template part from `from` (its backtick or the `}` that closes a
// substitution) through the closing backtick or the next `${`, kept as written.
template <typename Unit>
void Lexer<Unit>::ScanTemplate(const Unit* from) {
  const Unit* q = from + 1;
  bool bad = false;
  for (;;) {
    if (q >= end_) Fail(static_cast<size_t>(from - begin_), "unterminated template");
    const Unit c = *q;
    if (c == u'`') {
      ++q;
      current_.facts |= kTemplateTail;
      break;
    }
    if (c == u'$' && q + 1 < end_ && q[1] == u'{') {
      q += 2;
      break;
    }
    if (c == u'\\') {
      q = ScanEscape(q + 1, true, bad);
      continue;
    }
    if (c == u'\r') {
      ++line_;
      q += q + 1 < end_ && q[1] == u'\n' ? 2 : 1;
      continue;
    }
    if (c == u'\n') ++line_;
    q += c < 128 ? 1 : TextUnits<Unit>::Length(q);
  }
  if (q > end_) q = end_;
  if (bad) current_.facts |= kBadEscape;
  current_.begin = static_cast<size_t>(from - begin_);
  Set(Template, tables_.literals.Intern(TextUnits<Unit>::Wide(from, q, wide_)), q);
}

template <typename Unit>
void Lexer<Unit>::RescanTemplateContinuation() {
  current_.facts = 0;
  ScanTemplate(begin_ + current_.begin);
}

// The body as the language reads it: a backslash escapes one character, `[`
// opens a class that the first unescaped `]` closes, and a `/` inside a class
// does not end the literal. Flags are checked: each of dgimsuyv at most once,
// and not both u and v.
template <typename Unit>
void Lexer<Unit>::RescanRegExp() {
  const Unit* const start = begin_ + current_.begin;
  const Unit* q = start + 1;
  bool inClass = false;
  for (;;) {
    if (q >= end_ || TextUnits<Unit>::IsBreakAt(q, end_)) {
      Fail(current_.begin, "unterminated regular expression");
    }
    const Unit c = *q;
    q += c < 128 ? 1 : TextUnits<Unit>::Length(q);
    if (c == u'\\') {
      if (q >= end_ || TextUnits<Unit>::IsBreakAt(q, end_)) {
        Fail(current_.begin, "unterminated regular expression");
      }
      q += *q < 128 ? 1 : TextUnits<Unit>::Length(q);
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u']') {
      inClass = false;
    } else if (c == u'/' && !inClass) {
      break;
    }
  }
  unsigned seen = 0;
  while (q < end_) {
    size_t length = 1;
    const char32_t c = *q < 128 ? static_cast<char32_t>(*q) : CodePointAt(q, length);
    if (c == u'\\') Fail(static_cast<size_t>(q - begin_), "invalid regular expression flags");
    if (!IsNamePart(c)) break;
    static constexpr std::u16string_view kFlags = u"dgimsuyv";
    const size_t bit = c < 128 ? kFlags.find(static_cast<char16_t>(c)) : std::u16string_view::npos;
    if (bit == std::u16string_view::npos || (seen & (1u << bit)) != 0) {
      Fail(static_cast<size_t>(q - begin_), "invalid regular expression flags");
    }
    seen |= 1u << bit;
    q += length;
  }
  constexpr unsigned kUnicode = 1u << 5, kSets = 1u << 7;
  if ((seen & kUnicode) && (seen & kSets)) {
    Fail(current_.begin, "invalid regular expression flags");
  }
  const std::u16string_view text = TextUnits<Unit>::Wide(start, q, wide_);
  const size_t close = text.rfind(u'/');
  RegExpProblem problem;
  if (!CheckRegExpPattern(text.substr(1, close - 1), text.substr(close + 1), problem)) {
    // The offset is exact in UTF-16 text; in UTF-8 it is counted from the
    // literal's start all the same, which is near enough for a message.
    const size_t at = sizeof(Unit) == 2 ? current_.begin + 1 + problem.offset : current_.begin;
    Fail(at, "invalid regular expression: " + problem.message);
  }
  Set(RegExp, tables_.regExps.Intern(text), q);
}

template class Lexer<char16_t>;
template class Lexer<uint8_t>;

}  // namespace pack
