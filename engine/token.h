// The token record and the token list that every stage after the scanner works on.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace pack {

// The numbers are fixed: the emitter indexes its separator table with them,
// and 3 belongs to no kind.
enum TokenKind : int32_t {
  Punctuator = 0,
  Keyword = 1,
  Identifier = 2,
  Literal = 4,
  RegExp = 5,
  Template = 6,  // a part of a template literal, kept as written: `a${  }b${  }c`
  Hashbang = 7,  // the #! line a source may start with
  Comment = 8,   // a comment kept as written: /*! licence */, // note
};

// What the parser tells the stages after it about a token.
enum TokenFlag : uint8_t {
  kPropertyName = 1,  // a name that is no variable: o.x, {x: 1}, labels, get/set/static/async
  kShorthand = 2,     // {x} or {x = 1}: both a key and a variable; renaming writes {x: y}
  kKeepLiteral = 4,   // a string that must stay a literal: directive, key, module specifier
  // The ";" after a function declaration that packed text has always had
  // (function f(){};g()); compact output leaves it out.
  kAfterFunctionDeclaration = 8,
  // A ";" that ends a statement or a field, never an empty statement: before
  // a "}" compact output leaves it out (if (a) b(); } but not if (a); }).
  kEndsStatement = 16,
};

// Sixteen bytes: every stage walks the whole list, several times.
struct Token {
  int32_t value;     // code, or index into the text table of the kind; -1: no text
  int32_t line;      // 1-based line of the token's last character; -1 when inserted
  int32_t source;    // the source index given to AddSource; -1 when inserted
  int8_t kind;       // a TokenKind
  uint8_t newLine;   // 1 when a line break or a source start lies before the token
  uint8_t flags;     // TokenFlag bits

  bool Is(TokenKind k, int32_t v) const { return kind == k && value == v; }
  bool IsPunct(int32_t code) const { return kind == Punctuator && value == code; }
  bool IsKeyword(int32_t code) const { return kind == Keyword && value == code; }
  bool Has(TokenFlag f) const { return (flags & f) != 0; }
};

static_assert(sizeof(Token) == 16, "a token stays sixteen bytes");

// Makes room for tokens without writing it: a list grows by whole ranges that
// are written right after.
template <typename T>
struct UninitializedRoom : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedRoom<U>;
  };
  UninitializedRoom() = default;
  template <typename U>
  UninitializedRoom(const UninitializedRoom<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// Where a token stood in its source, kept only when asked for (source maps):
// its line and the UTF-16 column of its first character, both from 0 (-1:
// inserted, no place of its own), and for a renamed name the identifier it had.
struct TokenPosition {
  int32_t line = -1;
  int32_t column = -1;
  int32_t name = -1;
};

// A position in a TokenList: the index of a token, or Size() for the end.
using TokenIterator = size_t;

// Ordered tokens of one packer object. The parser appends; the renaming stage
// inserts the keys of expanded shorthands in one batch, which keeps it linear;
// the stages re-point values in place.
class TokenList {
 public:
  size_t Size() const { return tokens_.size(); }
  bool Empty() const { return tokens_.empty(); }
  Token& operator[](size_t i) { return tokens_[i]; }
  const Token& operator[](size_t i) const { return tokens_[i]; }
  const Token* Last() const { return tokens_.empty() ? nullptr : &tokens_.back(); }
  Token* Last() { return tokens_.empty() ? nullptr : &tokens_.back(); }

  void Append(const Token& t) {
    tokens_.push_back(t);
    if (keepsPositions_) positions_.emplace_back();
    matchesValid_ = false;
  }
  // From now on each token appended gets a position, which the caller sets.
  void KeepPositions() {
    keepsPositions_ = true;
    positions_.resize(tokens_.size());
  }
  bool KeepsPositions() const { return keepsPositions_; }
  TokenPosition& PositionOf(size_t i) { return positions_[i]; }
  const TokenPosition& PositionOf(size_t i) const { return positions_[i]; }
  // Appends the tokens of `from` at positions [first, stop), as they are.
  void AppendCopies(const TokenList& from, size_t first, size_t stop) {
    tokens_.insert(tokens_.end(), from.tokens_.begin() + static_cast<std::ptrdiff_t>(first),
                   from.tokens_.begin() + static_cast<std::ptrdiff_t>(stop));
    if (keepsPositions_) positions_.resize(tokens_.size());
    matchesValid_ = false;
  }
  // Makes room for `n` tokens; growth stays geometric over many sources.
  void Reserve(size_t n);
  // Adds `n` tokens left unwritten, for the caller to write before anything
  // reads them; returns the index of the first.
  size_t AppendUnwritten(size_t n) {
    const size_t first = tokens_.size();
    tokens_.resize(first + n);
    if (keepsPositions_) positions_.resize(tokens_.size());
    matchesValid_ = false;
    return first;
  }

  // Drops every token from position `n` on.
  void Truncate(size_t n) {
    if (n < tokens_.size()) tokens_.resize(n);
    if (n < positions_.size()) positions_.resize(n);
    matchesValid_ = false;
  }

  // Inserts `token` before each position in `before` (ascending, duplicates
  // ignored). Positions refer to the list as it was before the call.
  void InsertBefore(const std::vector<size_t>& before, const Token& token);

  // For an opener ( `{` `(` `[` ), the index of its closer, or Size() when it is
  // never closed. A closer closes the innermost open group of its own kind only
  // when that group is the innermost open one; a stray closer is an ordinary token.
  const std::vector<uint32_t>& Matches() const;

  // Inserts each token before the position it is paired with (positions of the
  // list as it was, ascending; tokens for one position keep their order).
  // With positions kept, an inserted token stands where the token at
  // `standsAt[k]` stood (an index of the list as it was), or, without that,
  // where the token it goes before stood.
  void Insert(const std::vector<std::pair<size_t, Token>>& items,
              const std::vector<size_t>* standsAt = nullptr);

 private:
  std::vector<Token, UninitializedRoom<Token>> tokens_;
  std::vector<TokenPosition> positions_;  // one for each token, when kept
  bool keepsPositions_ = false;
  mutable std::vector<uint32_t> matches_;
  mutable bool matchesValid_ = false;
};

}  // namespace pack
