#include "emitter.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "text_tables.h"
#include "vocabulary.h"

namespace pack {
namespace {

// Rows: the kind of the current token; columns: the kind of the next one.
// 1: the two would run together into one word. Kind 3 is unused.
constexpr std::array<std::array<int32_t, 5>, 5> SeparatorTable = {{
    {0, 0, 0, 0, 0},
    {0, 1, 1, 1, 1},
    {0, 1, 1, 1, 1},
    {0, 1, 1, 1, 1},
    {0, 1, 1, 1, 1},
}};

bool IsWordKind(int32_t kind) {
  return kind == Keyword || kind == Identifier || kind == Literal;
}

// A number written with digits only: `1 .toString()` must keep its space.
bool IsDigitsOnly(std::u16string_view text) {
  if (text.empty()) return false;
  for (char16_t c : text) {
    if ((c < u'0' || c > u'9') && c != u'_') return false;
  }
  return true;
}

// Which punctuator `b` written right after punctuator `a` reads as something
// else: a longer punctuator (`+ +` as `++`, `= =` as `==`, `- --` as `---`) or a
// comment (`/ /`, `/ *`). Every longer punctuator is split at each inner point:
// the part before it is an `a`, and any `b` that starts with the rest fuses.
struct FuseTable {
  bool fuses[PunctuatorTable.size()][PunctuatorTable.size()];
  constexpr FuseTable() : fuses() {
    for (const std::u16string_view longer : PunctuatorTable) {
      for (size_t split = 1; split < longer.size(); ++split) {
        MarkPairs(longer.substr(0, split), longer.substr(split));
      }
    }
    MarkPairs(u"/", u"/");
    MarkPairs(u"/", u"*");
  }
  constexpr void MarkPairs(std::u16string_view first, std::u16string_view rest) {
    for (size_t a = 0; a < PunctuatorTable.size(); ++a) {
      if (PunctuatorTable[a] != first) continue;
      for (size_t b = 0; b < PunctuatorTable.size(); ++b) {
        if (PunctuatorTable[b].substr(0, rest.size()) == rest) fuses[a][b] = true;
      }
    }
  }
};

constexpr FuseTable kFuseTable;
static_assert(kFuseTable.fuses[kPlus][kPlus] && kFuseTable.fuses[kPlus][kIncrement]);
static_assert(kFuseTable.fuses[kMinus][kDecrement] && kFuseTable.fuses[kSlash][kSlash]);
static_assert(!kFuseTable.fuses[kCloseParen][kSemicolon] && !kFuseTable.fuses[kIncrement][kPlus]);

// Tokens that would fuse with the next one, or spell something that changes how
// the text is read (a comment, or an end tag on an HTML page):
//   a + +b   a - --b   a = = b   a / /re/   /re/ / 2   a < !--b   a < /script/   x-- > y
bool OperatorsFuse(const Token& cur, const Token& next, const Token* after) {
  if (cur.kind == Punctuator) {
    if (next.kind == Punctuator) {
      constexpr int32_t kCodes = static_cast<int32_t>(PunctuatorTable.size());
      if (cur.value >= 0 && cur.value < kCodes && next.value >= 0 && next.value < kCodes &&
          kFuseTable.fuses[cur.value][next.value]) {
        return true;
      }
      if (cur.IsPunct(kDecrement)) return next.IsPunct(kGreater);
      return cur.IsPunct(kLess) && next.IsPunct(kNot) && after != nullptr &&
             after->IsPunct(kDecrement);
    }
    return (cur.IsPunct(kSlash) || cur.IsPunct(kLess)) && next.kind == RegExp;
  }
  if (cur.kind == RegExp) return next.IsPunct(kSlash) || next.IsPunct(kSlashAssign);
  return false;
}

// A private name's `#` keeps it apart from the word before: get#x, static#y.
bool IsPrivateName(const Session& texts, const Token& t) {
  if (t.kind != Identifier) return false;
  const std::u16string_view text = texts.TokenText(t);
  return !text.empty() && text[0] == u'#';
}

bool NeedsSpace(const Session& texts, const Token& cur, const Token& next, const Token* after) {
  if (cur.kind >= 0 && cur.kind < 5 && next.kind >= 0 && next.kind < 5 &&
      SeparatorTable[cur.kind][next.kind] == 1) {
    return !(cur.kind != Literal && IsPrivateName(texts, next));
  }
  if (cur.kind == RegExp && IsWordKind(next.kind)) return true;
  if (cur.kind == Literal && next.IsPunct(kDot) && IsDigitsOnly(texts.TokenText(cur))) return true;
  return OperatorsFuse(cur, next, after);
}

}  // namespace

bool NeedsSpace(const Session& texts, const Token& cur, const Token& next) {
  return NeedsSpace(texts, cur, next, nullptr);
}

namespace {

// TokenText, with the three tables looked up once for the whole list.
class TextOf {
 public:
  explicit TextOf(const Session& texts)
      : identifiers_(texts.identifiers), literals_(texts.literals), regExps_(texts.regExps) {}
  std::u16string_view operator()(const Token& t) const {
    switch (t.kind) {
      case Punctuator: return InTable(PunctuatorTable, t.value);
      case Keyword: return InTable(KeywordTable, t.value);
      case Identifier: return identifiers_.Text(t.value);
      case Literal:
      case Template:
      case Hashbang:
      case Comment: return literals_.Text(t.value);
      case RegExp: return regExps_.Text(t.value);
      default: return {};
    }
  }

 private:
  template <typename Table>
  static std::u16string_view InTable(const Table& table, int32_t value) {
    return value >= 0 && static_cast<size_t>(value) < table.size()
               ? std::u16string_view(table[static_cast<size_t>(value)]) : std::u16string_view();
  }

  const TextTable* TableOf(int32_t kind) const {
    switch (kind) {
      case Identifier: return &identifiers_;
      case Literal:
      case Template:
      case Hashbang:
      case Comment: return &literals_;
      case RegExp: return &regExps_;
      default: return nullptr;
    }
  }

 public:
  // Fetches ahead the entry of a token some way down the list, and the text of
  // one nearer, so that neither lookup waits on memory when its turn comes.
  void Prefetch(const TokenList& tokens, size_t i, size_t end) const {
    constexpr size_t kEntryAhead = 16;
    constexpr size_t kTextAhead = 8;
    if (i + kEntryAhead < end) {
      const Token& t = tokens[i + kEntryAhead];
      if (const TextTable* table = TableOf(t.kind)) table->PrefetchEntry(t.value);
    }
    if (i + kTextAhead < end) {
      const Token& t = tokens[i + kTextAhead];
      if (const TextTable* table = TableOf(t.kind)) table->PrefetchText(t.value);
    }
  }

 private:
  const TextTable& identifiers_;
  const TextTable& literals_;
  const TextTable& regExps_;
};

// Appends the text of the tokens to `out`: a std::u16string, or an
// OutputEncoder writing the final bytes.
// Writes the tokens from `first` up to `stop`; the separator after each one
// depends on the tokens that follow it, up to `end`.
// A quote keeps a string apart from a word on either side: case"a"  "a"in o.
bool QuoteSeparates(const Session& texts, const Token& cur, const Token& next) {
  const auto quoted = [&](const Token& t) {
    if (t.kind != Literal) return false;
    const std::u16string_view text = texts.TokenText(t);
    return !text.empty() && (text[0] == u'"' || text[0] == u'\'');
  };
  return quoted(cur) || quoted(next);
}

// Compact text leaves out the ";" that nothing needs: after a function
// declaration, which ends at its "}", and before the "}" that closes the
// statement's block or class body.
bool LeftOut(const TokenList& tokens, size_t i, size_t end, bool compact) {
  const Token& t = tokens[i];
  if (!compact || t.kind != Punctuator) return false;
  if (t.flags & kAfterFunctionDeclaration) return true;
  return (t.flags & kEndsStatement) != 0 && i + 1 < end && tokens[i + 1].IsPunct(kCloseBrace);
}

// The first token from `i` on that is written and is no comment: the one the
// separator after a token depends on.
size_t NextShown(const TokenList& tokens, size_t i, size_t end, bool compact) {
  while (i < end && (tokens[i].kind == Comment || LeftOut(tokens, i, end, compact))) ++i;
  return i;
}

// Comments kept between two tokens stand after the separator that the two
// need, as written; a line comment ends at a line break, and a "/" before a
// comment keeps a space, or the two would read as //.
// `marks.Mark(i)` is called where token i starts in the output (source maps).
struct NoMarks {
  void Mark(size_t) {}
};

template <typename Texts, typename Out, typename Marks = NoMarks>
void Emit(const Session& texts, const TokenList& tokens, size_t first, size_t stop, size_t end,
          const Texts& textOf, Out& out, bool compact, Marks&& marks = NoMarks{}) {
  for (size_t i = first; i < stop; ++i) {
    textOf.Prefetch(tokens, i, end);
    const Token& t = tokens[i];
    if (LeftOut(tokens, i, end, compact)) continue;
    marks.Mark(i);
    out.append(textOf(t));
    if (t.kind == Hashbang) {  // the #! line ends at its line break
      out.push_back(u'\n');
      continue;
    }
    if (t.kind == Comment) {
      const std::u16string_view text = texts.TokenText(t);
      if (text.size() > 1 && text[1] == u'/') out.push_back(u'\n');
      continue;
    }
    const bool commentNext = i + 1 < end && tokens[i + 1].kind == Comment;
    const size_t next = NextShown(tokens, i + 1, end, compact);
    if (next >= end) {
      if (commentNext && t.IsPunct(kSlash)) out.push_back(u' ');
      continue;
    }
    const Token& n = tokens[next];
    const Token* after = next + 1 < end ? &tokens[next + 1] : nullptr;
    if (NeedsSpace(texts, t, n, after) && !(compact && QuoteSeparates(texts, t, n))) {
      // `return` before `else` ends its statement: if (a) return\nelse b
      out.push_back(t.IsKeyword(kReturn) && n.IsKeyword(kElse) ? u';' : u' ');
    } else if (n.IsKeyword(kReturn) && !compact) {
      out.push_back(u'\n');
    } else if (n.IsKeyword(kIf) && t.IsPunct(kCloseBracket)) {
      out.push_back(u';');
    } else if (n.IsKeyword(kElse) && !t.IsPunct(kSemicolon) && !t.IsPunct(kCloseBrace)) {
      out.push_back(u';');
    } else if (commentNext && t.IsPunct(kSlash)) {
      out.push_back(u' ');
    }
  }
}

// The text of the tokens as the encoder writes them.
struct EncoderOut {
  OutputEncoder& encoder;
  void append(std::u16string_view text) { encoder.Append(text); }
  void push_back(char16_t c) { encoder.Append(c); }
};

// Every text a token can have, encoded once: a long list writes the same few
// thousand names, literals and punctuators over and over.
class EncodedTexts {
 public:
  // False when a text begins or ends with half of a surrogate pair, which the
  // encoder would join with the text beside it: such a list is written unit by
  // unit.
  bool Build(const Session& texts, TextEncoding encoding) {
    OutputEncoder encoder(encoding, false, 0);
    const bool whole = AddTable(texts, encoder, Punctuator, PunctuatorTable) &&
                       AddTable(texts, encoder, Keyword, KeywordTable) &&
                       AddTable(texts, encoder, Identifier, texts.identifiers) &&
                       AddTable(texts, encoder, Literal, texts.literals) &&
                       AddTable(texts, encoder, RegExp, texts.regExps);
    bytes_ = encoder.Finish();
    bytes_.append(OutputEncoder::kBlock, '\0');  // so that every text can be read as a block
    return whole;
  }

  std::string_view operator()(const Token& t) const {
    if (t.kind < 0 || t.kind > Comment) return {};
    const bool literal = t.kind == Template || t.kind == Hashbang || t.kind == Comment;
    const std::vector<uint64_t>& spans = spans_[static_cast<size_t>(literal ? int32_t{Literal} : t.kind)];
    if (t.value < 0 || static_cast<size_t>(t.value) >= spans.size()) return {};
    const uint64_t span = spans[static_cast<size_t>(t.value)];
    return {bytes_.data() + (span >> 32), static_cast<size_t>(span & 0xFFFFFFFFu)};
  }
  void Prefetch(const TokenList&, size_t, size_t) const {}

 private:
  static bool Splits(std::u16string_view text) {
    return !text.empty() && ((text.front() >= 0xDC00 && text.front() <= 0xDFFF) ||
                             (text.back() >= 0xD800 && text.back() <= 0xDBFF));
  }
  template <typename Table>
  bool AddTable(const Session& texts, OutputEncoder& encoder, int32_t kind, const Table& table) {
    std::vector<uint64_t>& spans = spans_[static_cast<size_t>(kind)];
    const auto count = static_cast<int32_t>(CountOf(table));
    spans.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
      const std::u16string_view text = texts.TokenText(kind, i);
      if (Splits(text)) return false;
      const size_t start = encoder.Size();
      encoder.Append(text);
      spans[static_cast<size_t>(i)] = uint64_t{start} << 32 | (encoder.Size() - start);
    }
    return encoder.Size() <= 0xFFFFFFFFu;
  }
  template <typename Table>
  static size_t CountOf(const Table& table) { return table.size(); }
  static size_t CountOf(const TextTable& table) { return static_cast<size_t>(table.Count()); }

  std::vector<uint64_t> spans_[Comment + 1];
  std::string bytes_;
};

// Encoded texts, appended as they are.
struct EncodedOut {
  OutputEncoder& encoder;
  void append(std::string_view bytes) {
    if (bytes.size() <= OutputEncoder::kBlock) {
      encoder.AppendEncodedBlock(bytes.data(), bytes.size());
    } else {
      encoder.AppendEncoded(bytes);
    }
  }
  void push_back(char16_t c) { encoder.AppendEncodedByte(static_cast<char>(c)); }
};

}  // namespace

struct OutputTexts {
  EncodedTexts encoded;
};

std::u16string EmitTokens(const Session& texts, const TokenList& tokens, size_t first, size_t end,
                          bool compact) {
  std::u16string out;
  out.reserve((end - first) * 4);
  Emit(texts, tokens, first, end, end, TextOf(texts), out, compact);
  return out;
}

namespace {

// UTF-16 output that knows the line and column it has reached.
struct MappedOut {
  std::u16string text;
  int32_t line = 0;
  size_t lineStart = 0;
  void append(std::u16string_view piece) {
    const size_t from = text.size();
    text.append(piece);
    Advance(from);
  }
  void push_back(char16_t c) {
    text.push_back(c);
    Advance(text.size() - 1);
  }
  void Advance(size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
      const char16_t c = text[i];
      const bool breaks = c == u'\n' || c == 0x2028 || c == 0x2029 ||
                          (c == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n'));
      if (!breaks) continue;
      ++line;
      lineStart = i + 1;
    }
  }
};

// Notes where each token that has a place in a source starts in the output.
struct MappingMarks {
  const TokenList& tokens;
  const MappedOut& out;
  std::vector<Mapping>& mappings;
  void Mark(size_t i) {
    const TokenPosition& p = tokens.PositionOf(i);
    if (p.line < 0 || tokens[i].source < 0) return;
    mappings.push_back(Mapping{out.line, static_cast<int32_t>(out.text.size() - out.lineStart),
                               tokens[i].source, p.line, p.column, p.name});
  }
};

}  // namespace

std::u16string EmitTokensMapped(const Session& texts, const TokenList& tokens, bool compact,
                                std::vector<Mapping>& mappings) {
  MappedOut out;
  Emit(texts, tokens, 0, tokens.Size(), tokens.Size(), TextOf(texts), out, compact,
       MappingMarks{tokens, out, mappings});
  return std::move(out.text);
}

namespace {

// Writes the tokens from `first` up to `stop` into `encoder`, separators after
// each decided by the tokens up to `end`.
void EncodeRange(const Session& texts, const TokenList& tokens, size_t first, size_t stop,
                 size_t end, const EncodedTexts* encoded, OutputEncoder& encoder, bool compact) {
  if (encoded != nullptr) {
    EncodedOut out{encoder};
    Emit(texts, tokens, first, stop, end, *encoded, out, compact);
  } else {
    EncoderOut out{encoder};
    Emit(texts, tokens, first, stop, end, TextOf(texts), out, compact);
  }
}

}  // namespace

// A punctuator near the middle: its text begins with ASCII, so nothing the
// first part ends with (a high surrogate waiting for its low half) could have
// joined it.
size_t EmitCutPoint(const TokenList& tokens, size_t first, size_t end) {
  for (size_t i = first + (end - first) / 2; i < end; ++i) {
    if (tokens[i].kind == Punctuator) return i;
  }
  return end;
}

// The table texts encoded once, when that pays: when the list is longer than
// the tables, as it is for one large script (not for one small block of a
// page among many).
std::shared_ptr<const OutputTexts> EncodeTableTexts(const Session& session, size_t first,
                                                    size_t end, TextEncoding encoding) {
  const size_t entries = static_cast<size_t>(session.identifiers.Count()) +
                         static_cast<size_t>(session.literals.Count()) +
                         static_cast<size_t>(session.regExps.Count());
  if (end - first < 2 * entries) return nullptr;
  auto texts = std::make_shared<OutputTexts>();
  if (!texts->encoded.Build(session, encoding)) return nullptr;
  return texts;
}

std::string EmitBytesPart(const Session& session, const TokenList& tokens, size_t first,
                          size_t stop, size_t end, TextEncoding encoding, bool byteOrderMark,
                          const OutputTexts* texts, size_t expectedBytes, bool compact) {
  OutputEncoder encoder(encoding, byteOrderMark, expectedBytes);
  EncodeRange(session, tokens, first, stop, end, texts != nullptr ? &texts->encoded : nullptr,
              encoder, compact);
  return encoder.Finish();
}

}  // namespace pack
