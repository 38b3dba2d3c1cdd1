// The state of one scan of a text: the cursor, the open brackets, and what the
// context rules need to know of the tokens before the cursor. The scanner runs
// one per source; a large source is scanned by two at once (split_scan.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scanner.h"
#include "text_tables.h"
#include "text_units.h"
#include "token.h"
#include "word_cache.h"

namespace pack {

// What an open bracket of the source is, for the decisions that depend on it.
enum class Open : uint8_t { Block, FunctionValue, Object, Paren, Header, Params, Bracket };

inline bool IsBrace(Open o) { return o == Open::Block || o == Open::FunctionValue || o == Open::Object; }
inline bool IsParen(Open o) { return o == Open::Paren || o == Open::Header || o == Open::Params; }

// An open bracket, with the `?` and `case` inside it that still wait for their
// `:`, which tells a ternary's or a key's colon from a label's or a case's.
struct Group {
  Open kind;
  uint32_t questions = 0;
  uint32_t cases = 0;
};

// A `function` keyword waiting for the `{` of its body.
struct PendingBody {
  size_t depth;  // open brackets at the keyword
  bool value;    // a function expression
};

// The tables a scan interns its texts in: the process-wide ones, or private
// ones for a scan on a second thread.
struct ScanTables {
  TextTable& identifiers;
  TextTable& literals;
  TextTable& regExps;
};

ScanTables ProcessTables();

// How the text indices of a scan with tables of its own map to the
// process-wide tables, by kind.
struct ScanRemap {
  std::vector<int32_t> identifiers;
  std::vector<int32_t> literals;
  std::vector<int32_t> regExps;
};

// `Unit` is char16_t for UTF-16 text, uint8_t for the bytes of UTF-8.
template <typename Unit>
class Scanner::Run {
 public:
  Run(TokenList& tokens, const Unit* text, size_t size, int32_t source, ProgressCallback progress,
      ScanTables tables);

  void ScanAll() { ScanUntil(static_cast<size_t>(end_ - begin_)); }
  // Scans tokens until the cursor reaches `stop` units into the text; it stops
  // past `stop` when a token, comment or blank run goes over it.
  void ScanUntil(size_t stop);
  size_t Position() const { return static_cast<size_t>(p_ - begin_); }
  int32_t Line() const { return line_; }
  // Whether the cursor is where a line begins, as StartAfterStatement assumes.
  bool AtFreshLine() const { return newLine_ && !lineHasToken_; }
  const Token* Prev() const {
    return tokens_.Size() > firstToken_ ? tokens_.Last() : nullptr;
  }

  // Makes this a scan that begins at `position`, the start of a line, as if
  // a ";" ended the line before: the token list gets that ";" first. With
  // `noteReports`, it notes the progress reports one scan would make from there
  // (it calls no callback: it runs on another thread).
  void StartAfterStatement(size_t position, bool noteReports);

  // Appends the tokens of a scan started with StartAfterStatement where this
  // scan stopped, recomputing every flag with this scan's brackets. False when
  // that scan read a slash or named a keyword otherwise than this one would have:
  // the caller then scans the rest itself. `values` maps the other scan's text
  // indices to this one's, by kind; `keywordNames` is its identifier table.
  using Remap = ScanRemap;
  bool Adopt(const Run& other, const Remap& values, const TextTable& keywordNames);
  // Makes the progress reports that `other`, which scanned the rest of the
  // text, noted and this scan has not made yet.
  void ReportRest(const Run& other);
  // Back to the state of `saved`, a copy of this scan made earlier.
  void Restore(const Run& saved);

 private:
  const Token* BeforePrev() const {
    return tokens_.Size() > firstToken_ + 1 ? &tokens_[tokens_.Size() - 2] : nullptr;
  }
  void Append(int32_t kind, int32_t value);
  void Push(Token t);
  void NoteBracket(Token& t, const Token* prev);
  Open ParenKind(const Token* prev);
  void NameKeywordAccessor();
  void DropFinishedBodies();
  void KeywordIsName(Token* word);
  bool SlashReadAlike(const Token& t, bool refused) const;
  void OpenGroup(Open kind);
  void CloseGroup();
  void CopyTokens(const TokenList& theirs, size_t first, size_t stop, const Remap& values,
                  int32_t lines);
  // Tokens [first, stop) of another scan, to be written from index `to` on.
  struct GroupCopy {
    size_t to;
    size_t first;
    size_t stop;
  };
  void FillCopies(const TokenList& theirs, const std::vector<GroupCopy>& copies,
                  const Remap& values, int32_t lines);
  // Past the character at `p`, and never past the end, even when a scan that
  // began inside a character reads its last bytes as the start of one.
  const Unit* NextCharacter(const Unit* p) const {
    const size_t n = Units::Length(p);
    return n < static_cast<size_t>(end_ - p) ? p + n : end_;
  }
  void ReportProgress();
  int32_t ReportedPosition();
  void LineBreak();
  bool AtLineStart() const { return !lineHasToken_; }
  bool IsHtmlOpenComment() const;
  bool IsHtmlCloseComment() const;
  void SkipLineComment();
  void SkipBlockComment();
  void ScanSlash();
  bool TryScanRegExp();
  void ScanString();
  void ScanNumber();
  int32_t LiteralValue(const Unit* q);
  void ScanWord();
  Token WordToken(std::u16string_view word, bool afterDot);
  template <typename Make>
  Token Cached(const Unit* q, bool afterDot, Make make);
  void ScanPunctuator();

  using Units = TextUnits<Unit>;

  TokenList& tokens_;
  const Unit* const begin_;
  const Unit* p_;
  const Unit* const end_;
  const int32_t source_;
  const ProgressCallback progress_;
  const ScanTables tables_;
  const size_t firstToken_;
  bool reporting_;  // progress is reported, to the callback or into recordedReports_
  std::vector<int32_t> recordedReports_;
  int32_t line_ = 1;
  int32_t nextReport_ = 0;
  const Unit* reportAt_ = begin_;  // no report is due before it
  const Unit* counted_ = begin_;   // progress positions are counted in UTF-16 up to here
  int32_t countedUnits_ = 0;
  bool newLine_ = true;        // a line break or the source start lies before the next token
  bool lineHasToken_ = false;  // a token stands before the cursor on its line
  Group& Innermost() { return open_.empty() ? topLevel_ : open_.back(); }
  bool InnermostIs(Open kind) const { return !open_.empty() && open_.back().kind == kind; }
  bool ColonIntroducesValue(const Token* prev);

  std::vector<Group> open_;
  Group topLevel_{Open::Block};
  std::vector<PendingBody> pendingBodies_;
  // The tokens where a regular expression was allowed but none could be read,
  // so the slash became a division.
  std::vector<size_t> refusedRegExps_;
  // A group that a scan started after a statement opened at its first level:
  // the indices of its opener and closer (kNoCloser: never closed) and its kind.
  struct BaseGroup {
    size_t opener;
    size_t closer;
    Open kind;
  };
  static constexpr size_t kNoCloser = SIZE_MAX;
  bool notesGroups_ = false;
  std::vector<BaseGroup> baseGroups_;
  WordCache words_;        // words and short literals read before, for this scan's tables
  std::u16string plain_;  // the plain spelling of an escaped identifier
  std::u16string wide_;   // a token's text as UTF-16, when the text is UTF-8
};

}  // namespace pack
