// The lexer: reads one token at a time from a source text, in the goal the
// parser asks for. A `/` is read as division unless the parser, standing where
// an expression begins, asks for a regular expression (RescanRegExp); a `}` that
// closes a template substitution is read again as the rest of the template
// when the parser asks (RescanTemplateContinuation). The lexer never guesses
// either from the tokens before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text_tables.h"
#include "token.h"
#include "word_cache.h"

namespace pack {

// Told how many code units of the current text have been read, at each
// multiple of 1024, 0 included.
using ProgressCallback = void (*)(int32_t position);

// Kinds of lexeme beyond the token kinds.
constexpr int32_t kEndOfInput = -1;

// What the parser asks of a lexeme besides its kind and value.
enum LexemeFact : uint8_t {
  kEscapedName = 1,    // a name written with \u escapes: it never acts as a keyword
  kLegacyOctal = 2,    // 017, 08, "\01", "\8": refused in strict code
  kTemplateTail = 4,   // a template part that ends with the closing backtick
  kBadEscape = 8,      // a template part with an escape that only a tag may hold
  kStringLiteral = 16, // a quoted string (a Literal that is not a number or word)
  kPrivateName = 32,   // #name
  kEscapedKeyword = 64,  // a reserved word written with escapes: `v\u0061r`
};

struct Lexeme {
  int32_t kind = kEndOfInput;  // a TokenKind or kEndOfInput
  int32_t value = -1;
  // A name's identity: its value, or for one written with escapes that stay
  // in the output (caf\u00e9) the entry of its plain spelling (café).
  int32_t key = -1;
  size_t begin = 0;  // the token's units in the text: [begin, end)
  size_t end = 0;
  int32_t line = 1;
  bool newLineBefore = false;  // a line terminator stands between it and the token before
  uint8_t facts = 0;

  bool IsPunct(int32_t code) const { return kind == Punctuator && value == code; }
  bool IsKeyword(int32_t code) const { return kind == Keyword && value == code; }
  bool Has(LexemeFact f) const { return (facts & f) != 0; }
};

// Thrown by the lexer and the parser; caught where parsing starts.
struct SyntaxError {
  size_t offset;  // units into the text
  std::string message;
  bool needsModule = false;  // import, export or import.meta in a script
  bool tooDeep = false;      // nesting past what the parser was allowed
};

// Which comments are kept in the output: none, the licence comments (/*! */,
// //!, and any holding @license or @preserve), or all.
enum class KeepComments : uint8_t { None, Legal, All };

// A comment to keep: where it starts, its text (in the literals table) and
// the line it ends on.
struct KeptComment {
  size_t offset;
  int32_t text;
  int32_t line;
};

// The tables a lexer interns its texts in.
struct LexTables {
  TextTable& identifiers;
  TextTable& literals;
  TextTable& regExps;
};

// `Unit` is char16_t for UTF-16 text, uint8_t for well-formed UTF-8.
template <typename Unit>
class Lexer {
 public:
  Lexer(const Unit* text, size_t size, LexTables tables, bool module, ProgressCallback progress);

  const Lexeme& Current() const { return current_; }
  // Reads the next token; at the start of the text a `#!` line is read as one
  // Hashbang token.
  void Next();
  // The current token is `/` or `/=`: reads it as a regular expression instead.
  void RescanRegExp();
  // The current token is the `}` that closes a template substitution: reads it
  // as the template's next part.
  void RescanTemplateContinuation();
  // The token after the current one, read without moving (division goal).
  Lexeme Peek() { return PeekAhead(1); }
  // The token after that one.
  Lexeme PeekSecond() { return PeekAhead(2); }

  // Whether the current token is the name spelled `ascii`, written without escapes.
  bool IsWord(std::string_view ascii) const { return IsWord(current_, ascii); }
  bool IsWord(const Lexeme& l, std::string_view ascii) const;
  // Whether a `-->` at a line start opens a comment (scripts only).
  bool Module() const { return module_; }

  [[noreturn]] void Fail(size_t offset, const std::string& message) const;
  // The line and column (both from 1; the column in UTF-16 units) of an offset.
  static void LineAndColumn(const Unit* text, size_t size, size_t offset, int32_t& line,
                            int32_t& column);
  size_t Size() const { return static_cast<size_t>(end_ - begin_); }
  const LexTables& Tables() const { return tables_; }
  const Unit* Text() const { return begin_; }
  // Reports progress up to the end of the text.
  void FinishProgress();
  void SetKeptComments(pack::KeepComments which) { keep_ = which; }
  // Where `offset` stands: its line and UTF-16 column, from 0. Offsets asked
  // for in increasing order cost one pass over the text in all.
  TokenPosition PositionOf(size_t offset);
  // The comments kept so far, in the order they stand.
  const std::vector<KeptComment>& Comments() const { return comments_; }

 private:
  struct State {
    const Unit* p;
    int32_t line;
    Lexeme current;
  };
  char32_t CodePointAt(const Unit* p, size_t& length) const;
  bool SkipBlanksAndComments();
  void SkipLineComment();
  void SkipBlockComment();
  void KeepComment(const Unit* from, bool htmlLike);
  void LineBreak();
  bool AtHtmlCloseComment(bool newLine) const;
  void ScanHashbang();
  void ScanWord(bool privateName);
  void ScanWordSlowly(bool privateName);
  void ScanString();
  void ScanTemplate(const Unit* from);
  void ScanNumber();
  void ScanPunctuator();
  const Unit* ScanDigits(const Unit* q, int radix, bool separators);
  const Unit* ScanEscape(const Unit* q, bool templatePart, bool& bad);
  const Unit* ScanUnicodeEscape(const Unit* q, char32_t& cp, bool& ok) const;
  void Set(int32_t kind, int32_t value, const Unit* end);
  template <typename Make>
  Token Cached(const Unit* q, Make make);
  Token WordToken(std::u16string_view word);
  void ReportProgress();
  Lexeme PeekAhead(int steps);

  const Unit* const begin_;
  const Unit* p_;
  const Unit* const end_;
  const LexTables tables_;
  const bool module_;
  const ProgressCallback progress_;
  bool reporting_;  // progress is reported: off while looking ahead
  int32_t line_ = 1;
  int32_t nextReport_ = 0;
  const Unit* reportAt_;
  const Unit* counted_;
  int32_t countedUnits_ = 0;
  Lexeme current_;
  pack::KeepComments keep_ = pack::KeepComments::None;
  std::vector<KeptComment> comments_;
  size_t keptUpTo_ = 0;  // the end of the last comment kept: a look ahead reads it again
  TokenPosition placed_{0, 0, -1};  // the position of placedOffset_, for PositionOf
  size_t placedOffset_ = 0;
  WordCache words_;
  std::u16string wide_;
  std::u16string plain_;
};

}  // namespace pack
