#include "scanner.h"

#include <algorithm>
#include <type_traits>

#include "scanner_run.h"

#include "char_class.h"
#include "context_rules.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace pack {

namespace {

// The punctuator that starts at `p`, read as far as `end`; for either form of text.
template <typename Unit>
PunctMatch MatchPunctuatorAt(const Unit* p, const Unit* end) {
  if (p >= end) return {-1, 0};
  auto at = [&](ptrdiff_t i) -> char16_t { return i < end - p ? p[i] : 0; };
  const char16_t c1 = at(1), c2 = at(2), c3 = at(3);
  switch (p[0]) {
    case u'{': return {0, 1};
    case u'}': return {1, 1};
    case u'(': return {2, 1};
    case u')': return {3, 1};
    case u'[': return {4, 1};
    case u']': return {5, 1};
    case u'.':  // `.5` is a number, `a.b` a property access
      return IsDigit(c1) ? PunctMatch{-1, 0} : PunctMatch{6, 1};
    case u';': return {7, 1};
    case u',': return {8, 1};
    case u'<':  // <<= << <= <
      if (c1 == u'<') return c2 == u'=' ? PunctMatch{40, 3} : PunctMatch{23, 2};
      return c1 == u'=' ? PunctMatch{11, 2} : PunctMatch{9, 1};
    case u'>':  // >>>= >>> >>= >> >= >
      if (c1 == u'>') {
        if (c2 == u'>') return c3 == u'=' ? PunctMatch{42, 4} : PunctMatch{25, 3};
        return c2 == u'=' ? PunctMatch{41, 3} : PunctMatch{24, 2};
      }
      return c1 == u'=' ? PunctMatch{12, 2} : PunctMatch{10, 1};
    case u'=':  // === == =
      if (c1 == u'=') return c2 == u'=' ? PunctMatch{15, 3} : PunctMatch{13, 2};
      return {35, 1};
    case u'!':  // !== != !
      if (c1 == u'=') return c2 == u'=' ? PunctMatch{16, 3} : PunctMatch{14, 2};
      return {29, 1};
    case u'+':  // ++ += +
      return c1 == u'+' ? PunctMatch{21, 2} : c1 == u'=' ? PunctMatch{36, 2} : PunctMatch{17, 1};
    case u'-':  // -- -= -> -
      if (c1 == u'-') return {22, 2};
      if (c1 == u'=') return {37, 2};
      return c1 == u'>' ? PunctMatch{48, 2} : PunctMatch{18, 1};
    case u'*': return c1 == u'=' ? PunctMatch{38, 2} : PunctMatch{19, 1};
    case u'%': return c1 == u'=' ? PunctMatch{39, 2} : PunctMatch{20, 1};
    case u'&':  // && &= &
      return c1 == u'&' ? PunctMatch{31, 2} : c1 == u'=' ? PunctMatch{43, 2} : PunctMatch{26, 1};
    case u'|':  // || |= |
      return c1 == u'|' ? PunctMatch{32, 2} : c1 == u'=' ? PunctMatch{44, 2} : PunctMatch{27, 1};
    case u'^': return c1 == u'=' ? PunctMatch{45, 2} : PunctMatch{28, 1};
    case u'~': return {30, 1};
    case u'?': return {33, 1};
    case u':': return {34, 1};
    case u'/': return c1 == u'=' ? PunctMatch{47, 2} : PunctMatch{46, 1};
    case u'\'': return {49, 1};
    case u'"': return {50, 1};
    default: return {-1, 0};
  }
}

}  // namespace

PunctMatch MatchPunctuator(std::u16string_view text) {
  return MatchPunctuatorAt(text.data(), text.data() + text.size());
}

template <typename Unit>
Scanner::Run<Unit>::Run(TokenList& tokens, const Unit* text, size_t size, int32_t source,
                        ProgressCallback progress, ScanTables tables)
    : tokens_(tokens), begin_(text), p_(text), end_(text + size), source_(source),
      progress_(progress), tables_(tables), firstToken_(tokens.Size()),
      reporting_(progress != nullptr), words_(size * sizeof(Unit)) {}

template <typename Unit>
void Scanner::Run<Unit>::ScanUntil(size_t stop) {
  const Unit* const until = begin_ + stop;
  while (p_ < until) {
    if (reporting_ && p_ >= reportAt_) ReportProgress();
    const Unit c = *p_;
    if (c >= 128) {
      const char32_t wide = Units::At(p_, end_);
      if (wide <= 0xFFFF && IsWideBlank(static_cast<char16_t>(wide))) {
        p_ = NextCharacter(p_);
      } else if (wide <= 0xFFFF && IsWideLineBreak(static_cast<char16_t>(wide))) {
        LineBreak();
      } else {
        ScanWord();
      }
      continue;
    }
    const uint8_t cls = AsciiClasses[c];
    if (cls & kBlank) {  // indentation comes in runs
      do {
        ++p_;
      } while (p_ < end_ && *p_ < 128 && (AsciiClasses[*p_] & kBlank));
      continue;
    }
    if (cls & kLineBreak) {
      LineBreak();
      continue;
    }
    switch (c) {
      case u'"':
      case u'\'':
        ScanString();
        continue;
      case u'/':
        ScanSlash();
        continue;
      case u'<':  // `<!--` opens a comment to the end of its line, as browsers read scripts
        if (IsHtmlOpenComment()) {
          SkipLineComment();
          continue;
        }
        break;
      case u'-':  // `-->` is a comment too when nothing but blanks stands before it on its line
        if (IsHtmlCloseComment()) {
          SkipLineComment();
          continue;
        }
        break;
      case u'.':  // `.5` against `a.b`
        if (p_ + 1 < end_ && IsDigit(p_[1])) {
          ScanNumber();
          continue;
        }
        break;
      default:
        break;
    }
    if (cls & kDigit) {
      ScanNumber();
    } else if (cls & kPunctStart) {
      ScanPunctuator();
    } else {
      ScanWord();
    }
  }
  if (reporting_ && p_ >= end_) ReportProgress();
}

template <typename Unit>
void Scanner::Run<Unit>::ReportProgress() {
  const int32_t position = ReportedPosition();
  if (position >= nextReport_) {
    const int32_t step = position - position % 1024;
    if (progress_ != nullptr) {
      progress_(step);
    } else {
      recordedReports_.push_back(step);
    }
    nextReport_ = step + 1024;
  }
  // A unit of text is at least one unit of UTF-16: no report is due before.
  const auto ahead = static_cast<size_t>(nextReport_ - position);
  reportAt_ = ahead < static_cast<size_t>(end_ - p_) ? p_ + ahead : end_;
}

// The UTF-16 code units before the cursor.
template <typename Unit>
int32_t Scanner::Run<Unit>::ReportedPosition() {
  countedUnits_ += static_cast<int32_t>(Units::CodeUnits(counted_, p_));
  counted_ = p_;
  return countedUnits_;
}

template <typename Unit>
void Scanner::Run<Unit>::LineBreak() {
  // CR LF is one line end; a lone CR, LF, U+2028 or U+2029 each end a line.
  if (*p_ == u'\r' && p_ + 1 < end_ && p_[1] == u'\n') ++p_;
  p_ = NextCharacter(p_);
  ++line_;
  newLine_ = true;
  lineHasToken_ = false;
}

template <typename Unit>
bool Scanner::Run<Unit>::IsHtmlOpenComment() const {
  return end_ - p_ >= 4 && p_[1] == u'!' && p_[2] == u'-' && p_[3] == u'-';
}

template <typename Unit>
bool Scanner::Run<Unit>::IsHtmlCloseComment() const {
  return AtLineStart() && end_ - p_ >= 3 && p_[1] == u'-' && p_[2] == u'>';
}

template <typename Unit>
void Scanner::Run<Unit>::SkipLineComment() {
  while (p_ < end_) {
    p_ = Units::SkipCommentText(p_, end_);
    if (p_ >= end_ || Units::IsBreakAt(p_, end_)) return;
    ++p_;
  }
}

template <typename Unit>
void Scanner::Run<Unit>::SkipBlockComment() {
  p_ += 2;
  while (p_ < end_) {
    p_ = Units::SkipCommentText(p_, end_);
    if (p_ >= end_) return;
    if (*p_ == u'*' && p_ + 1 < end_ && p_[1] == u'/') {
      p_ += 2;
      return;
    }
    if (Units::IsBreakAt(p_, end_)) {
      LineBreak();
    } else {
      ++p_;
    }
  }
}

template <typename Unit>
void Scanner::Run<Unit>::ScanSlash() {
  const Unit next = p_ + 1 < end_ ? p_[1] : 0;
  if (next == u'/') {
    SkipLineComment();
  } else if (next == u'*') {
    SkipBlockComment();
  } else if (!SlashStartsRegExp(Prev())) {
    ScanPunctuator();
  } else if (!TryScanRegExp()) {
    refusedRegExps_.push_back(tokens_.Size());
    ScanPunctuator();
  }
}

// The body of a regular expression as the language reads it: a backslash escapes
// one character, `[` opens a class that the first unescaped `]` closes, and a `/`
// inside a class does not end the literal. A line break, or the end of the text,
// before the closing `/` means the slash was a division after all.
template <typename Unit>
bool Scanner::Run<Unit>::TryScanRegExp() {
  const Unit* q = p_ + 1;
  bool inClass = false;
  for (;;) {
    if (q >= end_ || Units::IsBreakAt(q, end_)) return false;
    const Unit c = *q++;
    if (c == u'\\') {
      if (q >= end_ || Units::IsBreakAt(q, end_)) return false;
      ++q;
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u']') {
      inClass = false;
    } else if (c == u'/' && !inClass) {
      break;
    }
  }
  while (q < end_ && Units::IsWordAt(q, end_)) ++q;  // flags
  const std::u16string_view text = Units::Wide(p_, q, wide_);
  p_ = q;
  Append(RegExp, tables_.regExps.Intern(text));
  return true;
}

// A string runs to its closing quote; an escaped character never closes it, and
// a string that is never closed takes the rest of the text. The text is kept
// exactly as written, escapes and line continuations included.
template <typename Unit>
void Scanner::Run<Unit>::ScanString() {
  const Unit quote = *p_;
  const Unit* q = p_ + 1;
  int32_t lines = 0;
  while (q < end_) {
    const bool breaks = Units::IsBreakAt(q, end_);
    const Unit c = *q++;
    if (c == quote) break;
    if (c == u'\\' && q < end_) {
      const bool escapedBreaks = Units::IsBreakAt(q, end_);
      const Unit escaped = *q++;
      if (escaped == u'\r' && q < end_ && *q == u'\n') ++q;
      if (escapedBreaks) ++lines;
    } else if (breaks) {
      ++lines;
    }
  }
  const int32_t value = LiteralValue(q);
  p_ = q;
  Append(Literal, value);
  line_ += lines;  // the token stands on the line where it begins
}

// A number takes word characters and dots, and the sign of a decimal exponent:
// `0x1F`, `1.5e+3`, `.5`, `1..toString`.
template <typename Unit>
void Scanner::Run<Unit>::ScanNumber() {
  const Unit* q = p_;
  const bool hex = *q == u'0' && q + 1 < end_ && (q[1] == u'x' || q[1] == u'X');
  while (q < end_) {
    const Unit c = *q;
    if (c == u'.' || Units::IsWordAt(q, end_)) {
      ++q;
      if (!hex && (c == u'e' || c == u'E') && q + 1 < end_ && (*q == u'+' || *q == u'-') &&
          IsDigit(q[1])) {
        ++q;
      }
    } else {
      break;
    }
  }
  const int32_t value = LiteralValue(q);
  p_ = q;
  Append(Literal, value);
}

// The literal table's index of the text from the cursor up to `q`.
template <typename Unit>
int32_t Scanner::Run<Unit>::LiteralValue(const Unit* q) {
  return Cached(q, false, [&] {
           return Token{tables_.literals.Intern(Units::Wide(p_, q, wide_)), 0, 0, Literal, 0, 0};
         }).value;
}

namespace {

// `\u0078yz` and `xyz` are one name: an identifier whose escapes all stand for
// ASCII letters, digits, `_` or `$` is kept in its plain spelling, so that every
// later comparison of names sees one name. Other escapes stay as written.
bool IsPlainNameChar(char16_t c) {
  const char16_t lower = static_cast<char16_t>(c | 0x20);
  return IsDigit(c) || c == u'_' || c == u'$' || (lower >= u'a' && lower <= u'z');
}

bool DecodeAsciiEscapes(std::u16string_view word, std::u16string& plain) {
  plain.clear();
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] != u'\\') {
      plain.push_back(word[i]);
      continue;
    }
    if (i + 6 > word.size() || word[i + 1] != u'u') return false;
    int code = 0;
    for (size_t k = i + 2; k < i + 6; ++k) {
      const int digit = HexValue(word[k]);
      if (digit < 0) return false;
      code = code * 16 + digit;
    }
    const char16_t c = static_cast<char16_t>(code);
    if (!IsPlainNameChar(c)) return false;
    plain.push_back(c);
    i += 5;
  }
  return !plain.empty() && !IsDigit(plain[0]);
}

}  // namespace

// A word after `.` is a property name, whatever it spells (`o.if`, `p.catch`).
template <typename Unit>
void Scanner::Run<Unit>::ScanWord() {
  const Unit* q = NextCharacter(p_);
  bool escaped = *p_ == u'\\';
  for (; q < end_; ++q) {
    const Unit c = *q;
    if (c < 128 ? (AsciiClasses[c] & kWordPart) == 0 : !Units::IsWordAt(q, end_)) break;
    escaped |= c == u'\\';
  }
  const Token* prev = Prev();
  const bool afterDot = prev != nullptr && prev->IsPunct(kDot);
  if (!escaped) {
    const Token t =
        Cached(q, afterDot, [&] { return WordToken(Units::Wide(p_, q, wide_), afterDot); });
    p_ = q;
    Append(t.kind, t.value);
    return;
  }
  std::u16string_view word = Units::Wide(p_, q, wide_);
  p_ = q;
  const Token t = DecodeAsciiEscapes(word, plain_)
                      ? Token{tables_.identifiers.Intern(plain_), 0, 0, Identifier, 0, 0}
                      : WordToken(word, afterDot);
  Append(t.kind, t.value);
}

// The token of the text from the cursor up to `q`: from the word cache when
// the text is short enough to be kept there, else (and the first time) made by
// `make`. A string or number never has the spelling of a word, as it starts
// with a quote, a digit or a dot, so both share the cache.
template <typename Unit>
template <typename Make>
Token Scanner::Run<Unit>::Cached(const Unit* q, bool afterDot, Make make) {
  const auto bytes = static_cast<size_t>(q - p_) * sizeof(Unit);
  if (!words_.Enabled() || bytes > WordCache::kMostBytes) return make();
  const auto room = static_cast<size_t>(end_ - p_) * sizeof(Unit);
  const WordCache::Key key = WordCache::KeyOf(p_, bytes, room, afterDot);
  Token t{};
  if (!words_.Find(key, t.kind, t.value)) {
    t = make();
    words_.Store(key, t.kind, t.value);
  }
  return t;
}

// The kind and value of a word spelled out in plain characters: after a `.`
// every word is a name.
template <typename Unit>
Token Scanner::Run<Unit>::WordToken(std::u16string_view word, bool afterDot) {
  Token t{};
  if (!afterDot) {
    const int32_t keyword = FindKeyword(word);
    if (keyword >= 0) {
      t.kind = Keyword;
      t.value = keyword;
      return t;
    }
    if (IsLiteralWord(word)) {
      t.kind = Literal;
      t.value = tables_.literals.Intern(word);
      return t;
    }
  }
  t.kind = Identifier;
  t.value = tables_.identifiers.Intern(word);
  return t;
}

template <typename Unit>
void Scanner::Run<Unit>::ScanPunctuator() {
  const PunctMatch m = MatchPunctuatorAt(p_, end_);
  if (m.code < 0) {
    ScanWord();
    return;
  }
  p_ += m.length;
  Append(Punctuator, m.code);
}

template <typename Unit>
void Scanner::Run<Unit>::Append(int32_t kind, int32_t value) {
  Push(Token{value, line_, source_, static_cast<int8_t>(kind),
             static_cast<uint8_t>(newLine_ ? 1 : 0), 0});
}

// Adds a token with what its context tells about it.
template <typename Unit>
void Scanner::Run<Unit>::Push(Token t) {
  const Token* prev = Prev();
  const int32_t kind = t.kind;
  const int32_t value = t.value;
  if (prev != nullptr) {
    if (prev->IsPunct(kDot)) t.flags |= kAfterDot;
    if ((prev->IsPunct(kOpenBrace) && prev->Has(kObjectBrace)) ||
        (prev->IsPunct(kComma) && InnermostIs(Open::Object))) {
      t.flags |= kKeyPosition;
    }
  }
  if (kind == Punctuator) NoteBracket(t, prev);
  if (kind == Keyword && value == kCase) ++Innermost().cases;
  if (kind == Keyword && value == kFunction) {
    pendingBodies_.push_back({open_.size(), FunctionIsValue(prev)});
  }
  tokens_.Append(t);
  newLine_ = false;
  lineHasToken_ = true;
}

// Keeps the stack of open brackets, and marks what later stages ask about:
// object-literal braces, function-expression bodies, control-header and
// parameter-list parentheses, and keyword spellings used as property names
// (`{default: 1}`, `{get if() {}}`).
template <typename Unit>
void Scanner::Run<Unit>::NoteBracket(Token& t, const Token* prev) {
  switch (t.value) {
    case kOpenBrace: {
      Open kind = BraceOpensObject(prev) ? Open::Object : Open::Block;
      if (!pendingBodies_.empty() && pendingBodies_.back().depth == open_.size()) {
        kind = pendingBodies_.back().value ? Open::FunctionValue : Open::Block;
        pendingBodies_.pop_back();
      }
      if (kind == Open::Object) t.flags |= kObjectBrace;
      OpenGroup(kind);
      break;
    }
    case kCloseBrace:
      if (!open_.empty() && IsBrace(open_.back().kind)) {
        if (open_.back().kind == Open::Object) t.flags |= kObjectBrace;
        if (open_.back().kind == Open::FunctionValue) t.flags |= kFunctionValue;
        CloseGroup();
      }
      break;
    case kOpenParen:
      OpenGroup(ParenKind(prev));
      break;
    case kCloseParen:
      if (!open_.empty() && IsParen(open_.back().kind)) {
        if (open_.back().kind == Open::Header) t.flags |= kHeaderClose;
        if (open_.back().kind == Open::Params) t.flags |= kParamsClose;
        CloseGroup();
      }
      break;
    case kOpenBracket:
      OpenGroup(Open::Bracket);
      break;
    case kCloseBracket:
      if (InnermostIs(Open::Bracket)) CloseGroup();
      break;
    case kQuestion:
      ++Innermost().questions;
      break;
    case kColon:
      if (ColonIntroducesValue(prev)) t.flags |= kValueColon;
      if (prev != nullptr && prev->kind == Keyword && prev->Has(kKeyPosition)) {
        KeywordIsName(tokens_.Last());  // {default: 1}
      }
      break;
    default:
      break;
  }
}

// The token being added (not yet in the list) opens or closes a group. A scan
// started after a statement notes the groups its own first level opens: the
// scan that adopts its tokens takes each such group whole when it agrees on
// what the group is.
template <typename Unit>
void Scanner::Run<Unit>::OpenGroup(Open kind) {
  if (notesGroups_ && open_.empty()) baseGroups_.push_back({tokens_.Size(), kNoCloser, kind});
  open_.push_back({kind});
}

template <typename Unit>
void Scanner::Run<Unit>::CloseGroup() {
  open_.pop_back();
  if (notesGroups_ && open_.empty()) baseGroups_.back().closer = tokens_.Size();
  DropFinishedBodies();
}

// The colon of `c ? a : b` and of `{key: value}` introduces a value; that of a
// label or a case does not, and a `{` after it opens a block:
//   x = c ? {} : d     o = {a: {}}     l: {}     case 1: {}
template <typename Unit>
bool Scanner::Run<Unit>::ColonIntroducesValue(const Token* prev) {
  Group& group = Innermost();
  if (group.questions > 0) {
    --group.questions;
    return true;
  }
  if (group.cases > 0) {
    --group.cases;
    return false;
  }
  return prev != nullptr && prev->Has(kKeyPosition);
}

// What a `(` opens: a control header, a parameter list, or a group or call.
//   if (a)   function f(a)   function (a)   catch (e)   {get x() {}}   {m(a) {}}
template <typename Unit>
Open Scanner::Run<Unit>::ParenKind(const Token* prev) {
  if (prev == nullptr) return Open::Paren;
  if (prev->kind == Keyword) NameKeywordAccessor();
  if (ParenOpensHeader(prev)) return Open::Header;
  if (prev->IsKeyword(kFunction) || prev->IsKeyword(kCatch)) return Open::Params;
  const Token* before = BeforePrev();
  if (prev->kind == Identifier && before != nullptr && before->IsKeyword(kFunction)) {
    return Open::Params;
  }
  if ((prev->kind == Identifier || prev->kind == Literal) && prev->Has(kKeyPosition)) {
    return Open::Params;  // a method: {m() {}}
  }
  if (before != nullptr && IsAccessorWord(*before, tables_.identifiers) &&
      (prev->kind == Identifier || prev->kind == Literal)) {
    return Open::Params;  // an accessor: {get x() {}}
  }
  return Open::Paren;
}

// `get if() {}`: an accessor named by a keyword spelling.
template <typename Unit>
void Scanner::Run<Unit>::NameKeywordAccessor() {
  const Token* before = BeforePrev();
  if (before != nullptr && IsAccessorWord(*before, tables_.identifiers)) KeywordIsName(tokens_.Last());
}

// A keyword spelling that turned out to be a property name; `{function: 1}`
// has no function body to wait for.
template <typename Unit>
void Scanner::Run<Unit>::KeywordIsName(Token* word) {
  if (word->IsKeyword(kFunction) && !pendingBodies_.empty() &&
      pendingBodies_.back().depth == open_.size()) {
    pendingBodies_.pop_back();
  }
  word->value = tables_.identifiers.Intern(KeywordTable[static_cast<size_t>(word->value)]);
  word->kind = Identifier;
  word->flags |= kKeywordName;
}

// A `function` whose enclosing bracket closed before its body opened had none.
template <typename Unit>
void Scanner::Run<Unit>::DropFinishedBodies() {
  while (!pendingBodies_.empty() && pendingBodies_.back().depth > open_.size()) {
    pendingBodies_.pop_back();
  }
}

ScanTables ProcessTables() { return {IdentifierTable(), LiteralTable(), RegExpTable()}; }

template <typename Unit>
bool Scanner::AddUnits(const Unit* text, size_t size, int32_t sourceIndex,
                       ProgressCallback progress) {
  if (size == 0) return false;
  // Real code holds about one token for every four or five characters; room for
  // one in three is only address space until it is used.
  tokens_.Reserve(tokens_.Size() + size / 3 + 16);
  // Below a megabyte a second thread would gain less than it costs to start.
  constexpr size_t kSplitFrom = size_t{1} << 20;
  size_t split = 0;
  if (size >= kSplitFrom) {
    if constexpr (std::is_same_v<Unit, char16_t>) {
      split = SplitPoint(std::u16string_view(text, size));
    } else {
      split = SplitPoint(std::string_view(reinterpret_cast<const char*>(text), size));
    }
  }
  if (split > 0) {
    ScanInTwo(text, size, sourceIndex, progress, split);
    return true;
  }
  Run<Unit> run(tokens_, text, size, sourceIndex, progress, ProcessTables());
  run.ScanAll();
  return true;
}

bool Scanner::AddSource(std::u16string_view text, int32_t sourceIndex, ProgressCallback progress) {
  return AddUnits(text.data(), text.size(), sourceIndex, progress);
}

bool Scanner::AddSourceUtf8(std::string_view bytes, int32_t sourceIndex,
                            ProgressCallback progress) {
  return AddUnits(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sourceIndex,
                  progress);
}

template class Scanner::Run<char16_t>;
template class Scanner::Run<uint8_t>;

}  // namespace pack
